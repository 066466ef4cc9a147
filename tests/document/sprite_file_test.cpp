#include "document/Spritedata.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void PutLE(Bytes& out, std::int64_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The bytes of a current-format file; cels are filled with 0x11, 0x22, ... and the palette with a
// 6-bit ramp, unless the test writes its own.
Bytes CurrentFile(std::int32_t count, std::int32_t depth, std::int32_t width, std::int32_t height,
                  std::size_t celBytesPresent) {
  Bytes out = {'q', 'm', 'c', 'w', '9', '5'};
  PutLE(out, count, 4);
  PutLE(out, depth, 4);
  PutLE(out, width, 4);
  PutLE(out, height, 4);
  if (depth == 8)
    for (int i = 0; i < 768; ++i) out.push_back(static_cast<std::uint8_t>(i % 64));
  for (std::size_t i = 0; i < celBytesPresent; ++i) out.push_back(static_cast<std::uint8_t>(0x11 * (1 + i % 15)));
  return out;
}

Bytes LegacyFile(std::int16_t count, std::int16_t width, std::int16_t height, std::size_t celBytesPresent) {
  Bytes out;
  PutLE(out, count, 2);
  PutLE(out, width, 2);
  PutLE(out, height, 2);
  for (int i = 0; i < 768; ++i) out.push_back(static_cast<std::uint8_t>((i * 7) % 64));
  for (std::size_t i = 0; i < celBytesPresent; ++i) out.push_back(static_cast<std::uint8_t>(i));
  return out;
}

class SpriteFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/celwright-spr-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    SpritePath = "/previous/";
    SpriteName = "previous.spr";
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::string Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

// A sprite whose every cel byte is distinct enough to catch misplaced blocks.
TSpriteUnit PatternSprite(int width, int height, int depth, int cels) {
  TSpriteUnit sprite(width, height, depth);
  for (int c = 0; c < cels; ++c) {
    TCelBlock block = sprite.NewCelBlock();
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(c * 31 + i * 7);
    sprite.AddCel(std::move(block));
  }
  return sprite;
}

TSpritePalette RampPalette() {
  TSpritePalette palette;
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)};
  return palette;
}

TEST_F(SpriteFileTest, RoundTripsAtEveryDepth) {
  for (int depth : {8, 16, 24, 32}) {
    TSpriteUnit saved = PatternSprite(3, 2, depth, 3);
    const std::string path = PathOf("round" + std::to_string(depth) + ".spr");
    ASSERT_TRUE(SaveSpriteFile(saved, path, RampPalette())) << depth;

    TSpriteUnit loaded(20, 20, 8);
    loaded.FCurrent = 2;
    TSpritePalette palette{};
    bool hasPalette = true;
    const TSpriteFileResult result = LoadSpriteFile(loaded, path, palette, hasPalette);
    ASSERT_TRUE(result) << result.Reason;
    EXPECT_EQ(loaded.FDepth, depth);
    EXPECT_EQ(loaded.FWidth, 3);
    EXPECT_EQ(loaded.FHeight, 2);
    EXPECT_EQ(loaded.FPixelCount, 6);
    EXPECT_EQ(loaded.FCelBytes, saved.FCelBytes);
    EXPECT_EQ(loaded.FCurrent, 0);
    EXPECT_EQ(loaded.FCels, saved.FCels);
    EXPECT_EQ(hasPalette, depth == 8);
    EXPECT_EQ(SpritePath, dir_.string() + "/");
    EXPECT_EQ(SpriteName, "round" + std::to_string(depth) + ".spr");
    if (depth == 8) {
      // Six bits survive the trip: each component comes back as (c >> 2) * 255 / 63.
      for (int i = 0; i < 256; ++i) EXPECT_EQ(palette[i].Green, (255 - i) / 4 * 255 / 63) << i;
    } else {
      EXPECT_EQ(palette, TSpritePalette{});
    }
  }
}

TEST_F(SpriteFileTest, FileSizesAndCelOffsets) {
  struct Case { int cels, depth, width, height; std::size_t size, firstCel; };
  const Case cases[] = {
      {3, 8, 20, 20, 1990, 790},
      {3, 24, 20, 20, 3622, 22},
      {1, 32, 10, 10, 322, 22},
      {2, 16, 10, 4, 182, 22},
  };
  for (const Case& c : cases) {
    TSpriteUnit sprite = PatternSprite(c.width, c.height, c.depth, c.cels);
    const std::string path = PathOf("size.spr");
    ASSERT_TRUE(SaveSpriteFile(sprite, path, RampPalette()));
    const Bytes bytes = Read(path);
    ASSERT_EQ(bytes.size(), c.size) << "depth " << c.depth;
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{'q', 'm', 'c', 'w', '9', '5'}));
    // Count, depth, width, height, in that order.
    EXPECT_EQ(bytes[6], c.cels);
    EXPECT_EQ(bytes[10], c.depth);
    EXPECT_EQ(bytes[14], c.width);
    EXPECT_EQ(bytes[18], c.height);
    EXPECT_EQ(Bytes(bytes.begin() + c.firstCel, bytes.begin() + c.firstCel + sprite.FCelBytes),
              sprite.FCels[0]);
    EXPECT_EQ(Bytes(bytes.end() - sprite.FCelBytes, bytes.end()), sprite.FCels.back());
  }
}

TEST_F(SpriteFileTest, PaletteComponentsScaleBetweenSixAndEightBits) {
  struct Case { std::uint8_t stored, read, written; };
  const Case cases[] = {{63, 255, 63}, {32, 129, 32}, {0, 0, 0}, {1, 4, 1}, {64, 3, 0}};
  for (const Case& c : cases) {
    Bytes file = CurrentFile(1, 8, 1, 1, 1);
    file[22 + 3 * 100 + 1] = c.stored;  // green of entry 100
    const std::string path = Write("pal.spr", file);
    TSpriteUnit sprite(20, 20, 8);
    TSpritePalette palette{};
    bool hasPalette = false;
    ASSERT_TRUE(LoadSpriteFile(sprite, path, palette, hasPalette));
    ASSERT_TRUE(hasPalette);
    EXPECT_EQ(palette[100].Green, c.read) << int(c.stored);
    ASSERT_TRUE(SaveSpriteFile(sprite, path, palette));
    EXPECT_EQ(Read(path)[22 + 3 * 100 + 1], c.written) << int(c.stored);
  }
}

TEST_F(SpriteFileTest, ReadingAndWritingBackGivesTheSameBytes) {
  const Bytes original = CurrentFile(2, 8, 5, 3, 30);
  const std::string path = Write("same.spr", original);
  TSpriteUnit sprite(20, 20, 8);
  TSpritePalette palette{};
  bool hasPalette = false;
  ASSERT_TRUE(LoadSpriteFile(sprite, path, palette, hasPalette));
  ASSERT_TRUE(SaveSpriteFile(sprite, path, palette));
  EXPECT_EQ(Read(path), original);
}

TEST_F(SpriteFileTest, ReadsTheLegacyFormatAndSavesTheCurrentOne) {
  const Bytes legacy = LegacyFile(2, 16, 8, 256);
  const std::string path = Write("old.spr", legacy);
  TSpriteUnit sprite(20, 20, 24);
  TSpritePalette palette{};
  bool hasPalette = false;
  const TSpriteFileResult result = LoadSpriteFile(sprite, path, palette, hasPalette);
  ASSERT_TRUE(result) << result.Reason;
  EXPECT_TRUE(hasPalette);
  EXPECT_EQ(sprite.FDepth, 8);
  EXPECT_EQ(sprite.FWidth, 16);
  EXPECT_EQ(sprite.FHeight, 8);
  EXPECT_EQ(sprite.FCelBytes, 128);
  ASSERT_EQ(sprite.CelCount(), 2);
  EXPECT_EQ(sprite.FCels[1], Bytes(legacy.begin() + 774 + 128, legacy.end()));
  EXPECT_EQ(palette[1].Red, 21 * 255 / 63);  // file byte 6 + 3 holds (3 * 7) % 64

  ASSERT_TRUE(SaveSpriteFile(sprite, path, palette));
  const Bytes saved = Read(path);
  EXPECT_EQ(saved.size(), 22u + 768 + 256);
  EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 6), (Bytes{'q', 'm', 'c', 'w', '9', '5'}));
  EXPECT_EQ(Bytes(saved.begin() + 22, saved.begin() + 790), Bytes(legacy.begin() + 6, legacy.begin() + 774));
}

TEST_F(SpriteFileTest, BytesAfterTheLastCelAreIgnored) {
  Bytes file = CurrentFile(1, 24, 2, 2, 12);
  file.insert(file.end(), {1, 2, 3});
  TSpriteUnit sprite(20, 20, 8);
  TSpritePalette palette{};
  bool hasPalette = true;
  ASSERT_TRUE(LoadSpriteFile(sprite, Write("tail.spr", file), palette, hasPalette));
  EXPECT_EQ(sprite.CelCount(), 1);
  EXPECT_FALSE(hasPalette);
}

TEST_F(SpriteFileTest, MalformedFilesAreRejectedAndChangeNothing) {
  auto truncated = [](Bytes bytes, std::size_t size) { bytes.resize(size); return bytes; };
  struct Case { const char* name; Bytes bytes; const char* reason; };
  const Case cases[] = {
      {"empty", {}, "not a sprite file"},
      {"short magic", {'q', 'm', 'c', 'w', '9'}, "not a sprite file"},
      {"header cut", truncated(CurrentFile(1, 8, 2, 2, 4), 15), "header is incomplete"},
      {"palette cut", truncated(CurrentFile(1, 8, 2, 2, 4), 400), "1 cels announced, 0 present"},
      {"cels cut", CurrentFile(3, 8, 2, 2, 5), "3 cels announced, 1 present"},
      {"last byte missing", CurrentFile(2, 16, 2, 2, 15), "2 cels announced, 1 present"},
      {"no cels", CurrentFile(0, 8, 2, 2, 0), "announces 0 cels"},
      {"negative count", CurrentFile(-4, 24, 2, 2, 12), "announces -4 cels"},
      {"depth 12", CurrentFile(1, 12, 2, 2, 12), "depth 12"},
      {"depth 0", CurrentFile(1, 0, 2, 2, 12), "depth 0"},
      {"width 0", CurrentFile(1, 24, 0, 2, 12), "0 x 2 is impossible"},
      {"negative height", CurrentFile(1, 24, 2, -3, 12), "2 x -3 is impossible"},
      {"cel beyond 32 bits", CurrentFile(1, 24, 65536, 65536, 12), "too large"},
      {"cel beyond 64 bits", CurrentFile(3, 24, 0x7fffffff, 0x7fffffff, 12), "too large"},
      {"huge count, tiny file", CurrentFile(0x7fffffff, 24, 100, 100, 30000), "2147483647 cels announced, 1 present"},
      {"legacy one byte short", LegacyFile(2, 16, 8, 255), "not a sprite file"},
      {"legacy one byte long", LegacyFile(2, 16, 8, 257), "not a sprite file"},
      {"legacy zero size", LegacyFile(1, 0, 8, 0), "not a sprite file"},
      {"text", Bytes(900, 'a'), "not a sprite file"},
  };
  for (const Case& c : cases) {
    TSpriteUnit sprite = PatternSprite(4, 3, 16, 2);
    sprite.FCurrent = 1;
    const auto celsBefore = sprite.FCels;
    TSpritePalette palette = RampPalette();
    bool hasPalette = false;
    const TSpriteFileResult result = LoadSpriteFile(sprite, Write("bad.spr", c.bytes), palette, hasPalette);
    EXPECT_FALSE(result) << c.name;
    EXPECT_NE(result.Reason.find(c.reason), std::string::npos) << c.name << ": " << result.Reason;
    EXPECT_EQ(sprite.FCels, celsBefore) << c.name;
    EXPECT_EQ(sprite.FWidth, 4) << c.name;
    EXPECT_EQ(sprite.FHeight, 3) << c.name;
    EXPECT_EQ(sprite.FDepth, 16) << c.name;
    EXPECT_EQ(sprite.FCelBytes, 24) << c.name;
    EXPECT_EQ(sprite.FCurrent, 1) << c.name;
    EXPECT_EQ(palette, RampPalette()) << c.name;
    EXPECT_FALSE(hasPalette) << c.name;
    EXPECT_EQ(SpritePath, "/previous/") << c.name;
    EXPECT_EQ(SpriteName, "previous.spr") << c.name;
  }
}

TEST_F(SpriteFileTest, MissingFilesAndFoldersAreReported) {
  TSpriteUnit sprite = PatternSprite(2, 2, 8, 1);
  TSpritePalette palette{};
  bool hasPalette = false;
  const TSpriteFileResult missing = LoadSpriteFile(sprite, PathOf("none.spr"), palette, hasPalette);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Reason, "the file does not exist");
  const TSpriteFileResult folder = LoadSpriteFile(sprite, dir_.string(), palette, hasPalette);
  EXPECT_FALSE(folder);
  EXPECT_EQ(folder.Reason, "the path is not a regular file");
  EXPECT_EQ(SpriteName, "previous.spr");
}

TEST_F(SpriteFileTest, SaveIntoAMissingFolderFailsWithAReason) {
  const TSpriteFileResult result =
      SaveSpriteFile(PatternSprite(2, 2, 8, 1), PathOf("nowhere/x.spr"), RampPalette());
  EXPECT_FALSE(result);
  EXPECT_NE(result.Reason.find("cannot be created"), std::string::npos) << result.Reason;
}

// A save that runs out of room must leave the previous file whole and no temporary file behind.
// A file size limit stands in for a full disk; unlike permissions it also binds root.
TEST_F(SpriteFileTest, FailedWriteKeepsTheOldFile) {
  const std::string path = Write("keep.spr", CurrentFile(1, 8, 2, 2, 4));
  const Bytes before = Read(path);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const TSpriteFileResult result = SaveSpriteFile(PatternSprite(50, 50, 24, 2), path, RampPalette());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(result);
  EXPECT_NE(result.Reason.find("cannot be written"), std::string::npos) << result.Reason;
  EXPECT_EQ(Read(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SpriteFileTest, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string path = Write("keep.spr", CurrentFile(1, 8, 2, 2, 4));
  const Bytes before = Read(path);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  const TSpriteFileResult result = SaveSpriteFile(PatternSprite(3, 3, 8, 1), path, RampPalette());
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.Reason.empty());
  EXPECT_EQ(Read(path), before);
}

}  // namespace
