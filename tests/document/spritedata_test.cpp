#include "document/Spritedata.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A sprite of the given number of cels, each filled with its own index so moves are visible.
TSpriteUnit MakeSprite(int cels) {
  TSpriteUnit sprite(2, 2, 8);
  for (int i = 0; i < cels; ++i) sprite.AddCel(TCelBlock(4, static_cast<std::uint8_t>(i)));
  return sprite;
}

std::vector<int> CelTags(TSpriteUnit& sprite) {
  std::vector<int> tags;
  for (int i = 0; i < sprite.CelCount(); ++i) tags.push_back(sprite.GetCel(i)[0]);
  return tags;
}

TEST(SpriteUnit, CelBytesFollowTheDepth) {
  struct Case { int depth; int bytes; };
  for (Case c : {Case{8, 40}, Case{16, 80}, Case{24, 120}, Case{32, 120}}) {
    TSpriteUnit sprite(10, 4, c.depth);
    EXPECT_EQ(sprite.FPixelCount, 40);
    EXPECT_EQ(sprite.FCelBytes, c.bytes) << "depth " << c.depth;
    EXPECT_EQ(sprite.NewCelBlock().size(), std::size_t(c.bytes));
  }
}

TEST(SpriteUnit, RejectsImpossibleShapes) {
  EXPECT_THROW(TSpriteUnit(10, 4, 12), std::invalid_argument);
  EXPECT_THROW(TSpriteUnit(0, 4, 8), std::invalid_argument);
  EXPECT_THROW(TSpriteUnit(4, -1, 8), std::invalid_argument);
  EXPECT_THROW(TSpriteUnit(40000, 40000, 24), std::invalid_argument);
  EXPECT_THROW(TSpriteUnit(0x7fffffff, 0x7fffffff, 32), std::invalid_argument);
}

TEST(SpriteUnit, AddMakesTheNewCelCurrent) {
  TSpriteUnit sprite = MakeSprite(2);
  EXPECT_EQ(sprite.FCurrent, 1);
  EXPECT_EQ(sprite.AddCel(TCelBlock(4, 9)), 2);
  EXPECT_EQ(sprite.FCurrent, 2);
  EXPECT_EQ(sprite.CurrentCel()[0], 9);
}

TEST(SpriteUnit, InsertPutsTheCelAtTheCurrentIndex) {
  TSpriteUnit sprite = MakeSprite(3);
  sprite.FCurrent = 0;
  sprite.InsertCel(TCelBlock(4, 7));
  EXPECT_EQ(sprite.FCurrent, 0);
  EXPECT_EQ(CelTags(sprite), (std::vector<int>{7, 0, 1, 2}));
  sprite.FCurrent = 2;
  sprite.InsertCel(TCelBlock(4, 8));
  EXPECT_EQ(CelTags(sprite), (std::vector<int>{7, 0, 8, 1, 2}));
  EXPECT_EQ(sprite.CurrentCel()[0], 8);
}

TEST(SpriteUnit, DeleteKeepsCurrentInsideTheList) {
  struct Case { int current; int index; std::vector<int> tags; int currentAfter; };
  const Case cases[] = {
      {2, 2, {0, 1}, 1},     // the last cel while it is current
      {2, 0, {1, 2}, 1},     // an earlier cel: the current index now points past the end
      {0, 1, {0, 2}, 0},
  };
  for (const Case& c : cases) {
    TSpriteUnit sprite = MakeSprite(3);
    sprite.FCurrent = c.current;
    sprite.DeleteCel(c.index);
    EXPECT_EQ(CelTags(sprite), c.tags) << "deleting " << c.index;
    EXPECT_EQ(sprite.FCurrent, c.currentAfter) << "deleting " << c.index;
  }
}

TEST(SpriteUnit, DeleteNeverRemovesTheOnlyCel) {
  TSpriteUnit sprite = MakeSprite(1);
  sprite.DeleteCel(0);
  EXPECT_EQ(sprite.CelCount(), 1);
  EXPECT_EQ(sprite.FCurrent, 0);
}

TEST(SpriteUnit, FreeCelsEmptiesTheListAndKeepsCurrent) {
  TSpriteUnit sprite = MakeSprite(3);
  sprite.FreeCels();
  EXPECT_EQ(sprite.CelCount(), 0);
  EXPECT_EQ(sprite.FCurrent, 2);
}

TEST(SpriteUnit, BlockPointersSurviveInsertion) {
  TSpriteUnit sprite = MakeSprite(2);
  std::uint8_t* first = sprite.GetCel(0);
  sprite.FCurrent = 0;
  for (int i = 0; i < 20; ++i) sprite.InsertCel(TCelBlock(4, 5));
  EXPECT_EQ(first[0], 0);
  EXPECT_EQ(sprite.GetCel(sprite.CelCount() - 2), first);
}

TEST(SpriteUnit, OutOfRangeAccessFailsLoudly) {
  TSpriteUnit sprite = MakeSprite(2);
  EXPECT_THROW(sprite.GetCel(2), std::out_of_range);
  EXPECT_THROW(sprite.GetCel(-1), std::out_of_range);
  EXPECT_THROW(sprite.DeleteCel(5), std::out_of_range);
  sprite.FCurrent = 7;
  EXPECT_THROW(sprite.CurrentCel(), std::out_of_range);
  EXPECT_THROW(sprite.AddCel(TCelBlock(3)), std::invalid_argument);
}

}  // namespace
