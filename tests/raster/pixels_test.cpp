// Colours and their conversions, single pixels, rectangles and whole-buffer fills.

#include "RasterFixture.h"

#include <vector>

namespace {

struct MakeColorCase {
    int32_t depth, r, g, b, expected;
};

TEST_F(RasterTest, MakeColorPacksForTheActiveDepth)
{
    const MakeColorCase cases[] = {
        {16, 255, 255, 255, 0xFFFF}, {16, 255, 0, 0, 0xF800},   {16, 0, 255, 0, 0x07E0},
        {16, 0, 0, 255, 0x001F},     {16, 7, 3, 7, 0},          {16, 0x1FF, 0x100, 0x108, 0xF801},
        {24, 1, 2, 3, 0x010203},     {32, 1, 2, 3, 0x010203},   {24, 0x1FF, 0x1FF, 0x1FF, 0xFFFFFF},
        {8, 255, 255, 255, 0},       {8, 1, 2, 3, 0},
    };
    for (const MakeColorCase& c : cases) {
        open_new_buffer(c.depth, 4, 4);
        EXPECT_EQ(ras_make_color(c.r, c.g, c.b), c.expected) << c.depth << ": " << c.r << "," << c.g << "," << c.b;
    }
}

struct ToRgbCase {
    int32_t depth, value, r, g, b;
};

TEST_F(RasterTest, ColorToRgbWidensForTheActiveDepth)
{
    const ToRgbCase cases[] = {
        {16, 0xF800, 255, 0, 0}, {16, 0x8410, 131, 129, 131}, {16, 0xFFFF, 255, 255, 255},
        {16, 0x0821, 8, 4, 8},   {24, 0x010203, 1, 2, 3},     {32, 0x7F010203, 1, 2, 3},
    };
    for (const ToRgbCase& c : cases) {
        open_new_buffer(c.depth, 4, 4);
        int32_t r = -1, g = -1, b = -1;
        EXPECT_EQ(ras_color_to_rgb(c.value, &r, &g, &b), 0);
        EXPECT_EQ(r, c.r) << std::hex << c.value;
        EXPECT_EQ(g, c.g) << std::hex << c.value;
        EXPECT_EQ(b, c.b) << std::hex << c.value;
    }
}

TEST_F(RasterTest, ColorToRgbLeavesTheOutputsAloneForIndices)
{
    open_new_buffer(8, 4, 4);
    int32_t r = 7, g = 8, b = 9;
    ras_color_to_rgb(200, &r, &g, &b);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(b, 9);
}

struct SetColorCase {
    int32_t depth, value, stored;
};

// What a point, a rectangle and a fill store for a colour value, including values with bits the
// depth does not hold.
TEST_F(RasterTest, SetColorKeepsWhatTheDepthHolds)
{
    const SetColorCase cases[] = {
        {8, 0x1FF, 255},         {8, -1, 255},           {16, -1, 0xFFFF},  {16, 0x12345, 0x2345},
        {24, -1, 0xFFFFFF},      {32, -1, -1},           {24, 0x010203, 0x010203},
    };
    for (const SetColorCase& c : cases) {
        open_new_buffer(c.depth, 8, 8);
        ras_set_color(c.value);
        ras_point(1, 1);
        ras_rect(3, 4, 3, 4);
        ras_move_to(0, 6);
        ras_draw_to(2, 6);
        EXPECT_EQ(ras_get_pixel(1, 1), c.stored) << c.depth << " " << c.value;
        EXPECT_EQ(ras_get_pixel(4, 4), c.stored) << c.depth << " " << c.value;
        EXPECT_EQ(ras_get_pixel(2, 6), c.stored) << c.depth << " " << c.value;
        ras_fill_buffer();
        EXPECT_EQ(ras_get_pixel(7, 7), c.stored) << c.depth << " " << c.value;
    }
}

TEST_F(RasterTest, A24BitValueIsStoredBlueGreenRed)
{
    open_new_buffer(24, 4, 4);
    ras_set_color(ras_make_color(1, 2, 3));
    ras_point(0, 3);
    const uint8_t* p = ras_row_address(3);
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(ras_get_pixel(0, 3), 0x010203);
}

TEST_F(RasterTest, FillingA24BitBufferWithIndex255GivesPureBlue)
{
    open_new_buffer(24, 5, 3);
    ras_set_color(255);
    ras_fill_buffer();
    const std::vector<uint8_t> bytes = buffer_bytes();
    ASSERT_EQ(bytes.size(), 8u * 3 * 3);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        EXPECT_EQ(bytes[i], 255);
        EXPECT_EQ(bytes[i + 1], 0);
        EXPECT_EQ(bytes[i + 2], 0);
    }
}

using PixelDepthTest = DepthTest;

TEST_P(PixelDepthTest, PointDrawsOnTheClipEdgeAndNotBeyond)
{
    open_new_buffer(depth(), 8, 6);
    ras_set_clip(1, 5, 1, 4);
    ras_set_color(ink());
    const int32_t points[][2] = {{5, 2}, {6, 2}, {1, 1}, {0, 1}, {2, 4}, {2, 5}, {2, 0}, {-1, -1}};
    for (const auto& p : points)
        ras_point(p[0], p[1]);
    EXPECT_EQ(picture(8, 6, ".X", {0, ink()}), (std::vector<std::string>{
                                                   "........",
                                                   ".X......",
                                                   ".....X..",
                                                   "........",
                                                   "..X.....",
                                                   "........",
                                               }));
}

TEST_P(PixelDepthTest, RectFillsExactlyItsPixels)
{
    open_new_buffer(depth(), 7, 5);
    ras_set_color(paper());
    ras_fill_buffer();
    ras_set_color(ink());
    ras_rect(3, 3, 1, 1);
    ras_rect(0, 1, 3, 4);
    ras_rect(4, 7, 2, 3);
    EXPECT_EQ(picture(8, 5, "X.", {ink(), paper()}), (std::vector<std::string>{
                                                         "........",
                                                         "...X....",
                                                         "....XXXX",
                                                         "XX..XXXX",
                                                         "XX......",
                                                     }));
}

// Runs of every length up to well past the widest store, starting at an odd pixel: each covers
// exactly its pixels, nothing before or after.
TEST_P(PixelDepthTest, RectRunsOfEveryLengthStopAtTheirEnd)
{
    open_new_buffer(depth(), 40, 3);
    for (int32_t length = 1; length <= 37; ++length) {
        ras_set_color(paper());
        ras_fill_buffer();
        ras_set_color(ink());
        ras_rect(1, length, 1, 1);
        const std::string expected = "." + std::string(static_cast<size_t>(length), 'X') +
                                     std::string(static_cast<size_t>(39 - length), '.');
        EXPECT_EQ(picture(40, 3, ".X", {paper(), ink()}),
                  (std::vector<std::string>{std::string(40, '.'), expected, std::string(40, '.')}))
            << length;
    }
}

TEST_P(PixelDepthTest, RectIgnoresTheClipRectangle)
{
    open_new_buffer(depth(), 4, 4);
    ras_set_clip(0, 0, 0, 0);
    ras_set_color(ink());
    ras_rect(1, 2, 1, 2);
    EXPECT_EQ(picture(4, 4, ".X", {0, ink()}), (std::vector<std::string>{"....", ".XX.", ".XX.", "...."}));
}

struct RectCase {
    int32_t x1, x2, y1, y2;
    std::vector<std::string> expected;
};

TEST_P(PixelDepthTest, RectsReachingOutsideAreCutToTheBuffer)
{
    const RectCase cases[] = {
        {-3, 1, -2, 0, {"XX..", "....", "...."}},
        {2, 9, 1, 7, {"....", "..XX", "..XX"}},
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, {"XXXX", "XXXX", "XXXX"}},
        {3, 2, 0, 2, {"....", "....", "...."}},
        {0, 3, 2, 1, {"....", "....", "...."}},
        {4, 9, 0, 2, {"....", "....", "...."}},
        {0, 3, -5, -1, {"....", "....", "...."}},
    };
    for (const RectCase& c : cases) {
        ras_init();
        open_new_buffer(depth(), 4, 3);
        ras_set_color(ink());
        ras_rect(c.x1, c.x2, c.y1, c.y2);
        EXPECT_EQ(picture(4, 3, ".X", {0, ink()}), c.expected) << c.x1 << " " << c.x2 << " " << c.y1 << " " << c.y2;
    }
}

TEST_P(PixelDepthTest, GetPixelOutsideTheBufferIsZero)
{
    open_new_buffer(depth(), 4, 3);
    ras_set_color(ink());
    ras_fill_buffer();
    EXPECT_EQ(ras_get_pixel(3, 2), ink());
    for (const auto& p : {std::pair{4, 0}, std::pair{-1, 0}, std::pair{0, 3}, std::pair{0, -1},
                          std::pair{INT32_MIN, INT32_MAX}})
        EXPECT_EQ(ras_get_pixel(p.first, p.second), 0);
}

TEST_P(PixelDepthTest, EraseClearsEveryByteAndFillReachesThePaddingColumns)
{
    open_new_buffer(depth(), 5, 3);
    ras_set_color(ink());
    ras_fill_buffer();
    EXPECT_EQ(picture(8, 3, "X", {ink()}), (std::vector<std::string>(3, "XXXXXXXX")));
    ras_erase();
    for (uint8_t byte : buffer_bytes())
        ASSERT_EQ(byte, 0);
}

TEST_P(PixelDepthTest, GetPixelReturnsTheStoredValue)
{
    open_new_buffer(depth(), 4, 4);
    ras_set_color(ink());
    ras_point(2, 1);
    EXPECT_EQ(ras_get_pixel(2, 1), ink());
    EXPECT_EQ(ras_get_pixel(1, 2), 0);
}

INSTANTIATE_FOR_ALL_DEPTHS(PixelDepthTest);

TEST_F(RasterTest, A32BitPixelKeepsItsFourthByte)
{
    open_new_buffer(32, 4, 4);
    uint8_t* row = ras_row_address(0);
    row[0] = 10;
    row[1] = 20;
    row[2] = 30;
    row[3] = 99;
    EXPECT_EQ(ras_get_pixel(0, 0), static_cast<int32_t>(0x631E140Au));
}

TEST_F(RasterTest, TheColourIsNotConvertedWhenAnotherDepthIsOpened)
{
    open_new_buffer(8, 4, 4);
    ras_set_color(0x21);
    open_new_buffer(16, 4, 4);
    ras_point(0, 0);
    EXPECT_EQ(ras_get_pixel(0, 0), 0x2121); // the 8-bit colour word's low half
}

} // namespace
