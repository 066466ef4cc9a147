// Lines: the Bresenham pixels with their tie rule, outcode clipping and the graphics position.

#include "RasterFixture.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

struct LineCase {
    const char* name;
    int32_t clip_left, clip_right, clip_top, clip_bottom;
    int32_t x0, y0, x1, y1;
    std::vector<std::string> expected; // the top-left 10 x 6 pixels
};

const LineCase kLines[] = {
    {"shallow, tie steps y at once", 0, 9, 0, 5, 0, 0, 4, 2,
     {"X.........", ".XX.......", "...XX.....", "..........", "..........", ".........."}},
    {"same line drawn backwards", 0, 9, 0, 5, 4, 2, 0, 0,
     {"X.........", ".XX.......", "...XX.....", "..........", "..........", ".........."}},
    {"steep", 0, 9, 0, 5, 1, 0, 3, 5,
     {".X........", ".X........", "..X.......", "..X.......", "...X......", "...X......"}},
    {"steep, leaning left", 0, 9, 0, 5, 5, 1, 3, 4,
     {"..........", ".....X....", "....X.....", "....X.....", "...X......", ".........."}},
    {"single pixel", 0, 9, 0, 5, 6, 3, 6, 3,
     {"..........", "..........", "..........", "......X...", "..........", ".........."}},
    {"vertical", 0, 9, 0, 5, 9, 5, 9, 2,
     {"..........", "..........", ".........X", ".........X", ".........X", ".........X"}},
    {"from left of the clip", 0, 9, 0, 9, -5, 3, 4, 3,
     {"..........", "..........", "..........", "XXXXX.....", "..........", ".........."}},
    {"wholly left of the clip", 0, 9, 0, 9, -9, 1, -1, 5,
     {"..........", "..........", "..........", "..........", "..........", ".........."}},
    {"wholly below the clip", 2, 7, 1, 3, 0, 4, 9, 5,
     {"..........", "..........", "..........", "..........", "..........", ".........."}},
    {"through a small clip", 2, 7, 1, 3, 0, 0, 9, 4,
     {"..........", "...X......", "....XX....", "......XX..", "..........", ".........."}},
    {"diagonal cut at two edges", 1, 3, 1, 3, 0, 0, 5, 5,
     {"..........", ".X........", "..X.......", "...X......", "..........", ".........."}},
    {"steep, cut at top and bottom", 0, 9, 2, 3, 0, 0, 3, 5,
     {"..........", "..........", ".X........", "..X.......", "..........", ".........."}},
    {"clip reaching outside the buffer", -50, 50, -50, 50, -100, 2, 100, 2,
     {"..........", "..........", "XXXXXXXXXX", "..........", "..........", ".........."}},
    {"inverted clip draws nothing", 5, 2, 0, 5, 0, 1, 9, 1,
     {"..........", "..........", "..........", "..........", "..........", ".........."}},
    {"extreme ends", 0, 9, 0, 5, INT32_MIN, 0, INT32_MAX, 0,
     {"XXXXXXXXXX", "..........", "..........", "..........", "..........", ".........."}},
};

using LineDepthTest = DepthTest;

TEST_P(LineDepthTest, LinesPlotTheExpectedPixels)
{
    for (const LineCase& c : kLines) {
        ras_init();
        open_new_buffer(depth(), 10, 6);
        ras_set_clip(c.clip_left, c.clip_right, c.clip_top, c.clip_bottom);
        ras_set_color(ink());
        ras_move_to(c.x0, c.y0);
        ras_draw_to(c.x1, c.y1);
        EXPECT_EQ(picture(10, 6, ".X", {0, ink()}), c.expected) << c.name;
        EXPECT_EQ(raster_internal::state.pos_x, c.x1) << c.name;
        EXPECT_EQ(raster_internal::state.pos_y, c.y1) << c.name;
    }
}

TEST_P(LineDepthTest, LinesNeverLeaveTheBufferWhateverTheClip)
{
    open_new_buffer(depth(), 6, 5);
    ras_set_clip(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX);
    ras_set_color(ink());
    const int32_t ends[][2] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX},
                               {INT32_MAX, INT32_MIN}, {-7, 2},                {12, 3},
                               {2, -9},                {3, 40},                {0, 0}};
    for (const auto& from : ends)
        for (const auto& to : ends) {
            ras_move_to(from[0], from[1]);
            ras_draw_to(to[0], to[1]);
        }
    // Any write outside would be caught by the address sanitizer; the buffer stays readable.
    EXPECT_EQ(ras_get_pixel(0, 0), ink());
}

// Random lines and clip rectangles: nothing is ever drawn outside the clip rectangle, and a line
// with both ends inside it is drawn whole: both ends, one pixel per step of the longer axis.
TEST_P(LineDepthTest, RandomLinesStayInsideTheClipAndInsideLinesAreWhole)
{
    open_new_buffer(depth(), 14, 9); // stored width 16
    uint32_t seed = 88172645u;
    auto between = [&seed](int32_t low, int32_t high) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return low + static_cast<int32_t>(seed % static_cast<uint32_t>(high - low + 1));
    };
    for (int round = 0; round < 1500; ++round) {
        ras_set_clip(0, 15, 0, 8);
        ras_erase();
        const int32_t left = between(-2, 12), right = between(left, 17);
        const int32_t top = between(-2, 7), bottom = between(top, 10);
        const int32_t x0 = between(-20, 35), y0 = between(-20, 28);
        const int32_t x1 = between(-20, 35), y1 = between(-20, 28);
        ras_set_clip(left, right, top, bottom);
        ras_set_color(ink());
        ras_move_to(x0, y0);
        ras_draw_to(x1, y1);

        int32_t drawn = 0;
        for (int32_t y = 0; y < 9; ++y)
            for (int32_t x = 0; x < 16; ++x)
                if (ras_get_pixel(x, y) != 0) {
                    ++drawn;
                    ASSERT_TRUE(x >= left && x <= right && y >= top && y <= bottom)
                        << "round " << round << ": (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") drew " << x
                        << "," << y;
                }
        const auto inside = [&](int32_t x, int32_t y) {
            return x >= std::max(left, 0) && x <= std::min(right, 15) && y >= std::max(top, 0) &&
                   y <= std::min(bottom, 8);
        };
        if (inside(x0, y0) && inside(x1, y1)) {
            EXPECT_EQ(drawn, std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1) << "round " << round;
            EXPECT_EQ(ras_get_pixel(x0, y0), ink()) << "round " << round;
            EXPECT_EQ(ras_get_pixel(x1, y1), ink()) << "round " << round;
        }
    }
}

INSTANTIATE_FOR_ALL_DEPTHS(LineDepthTest);

} // namespace
