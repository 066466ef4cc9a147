// Pasting the active buffer onto the window surface: geometry, conversion per depth, clipping
// to the buffer and the surface, and the changed rectangle reported to the owner.

#include "RasterFixture.h"

#include <climits>
#include <vector>

namespace {

constexpr uint32_t kUntouched = 0x5A5A5A5A;

struct Rect {
    int32_t left, top, width, height;
    bool operator==(const Rect&) const = default;
};

// A surface with 3 spare pixels after every row, so that a write past a row's end shows.
struct TestSurface {
    static constexpr int32_t kSpare = 3;
    std::vector<uint32_t> storage;
    ras_surface surface{};
    std::vector<Rect> changes;

    TestSurface(int32_t width, int32_t height)
        : storage(static_cast<size_t>((width + kSpare) * height), kUntouched)
    {
        surface = {storage.data(), width, height, (width + kSpare) * 4, &TestSurface::record, this};
        ras_set_window_dc(&surface);
    }
    ~TestSurface() { ras_set_window_dc(nullptr); }

    static void record(void* owner, int32_t left, int32_t top, int32_t width, int32_t height)
    {
        static_cast<TestSurface*>(owner)->changes.push_back({left, top, width, height});
    }
    uint32_t at(int32_t x, int32_t y) const
    {
        return storage[static_cast<size_t>(y * (surface.width + kSpare) + x)];
    }
    // Every pixel, spare ones included, as '.' for untouched and 'X' for written.
    std::vector<std::string> written() const
    {
        std::vector<std::string> rows;
        for (int32_t y = 0; y < surface.height; ++y) {
            std::string row;
            for (int32_t x = 0; x < surface.width + kSpare; ++x)
                row += at(x, y) == kUntouched ? '.' : 'X';
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(RasterTest, PasteLandsTheLowerLeftPixelOnThePoint)
{
    TestSurface window(120, 60);
    open_new_buffer(24, 20, 10);
    ras_paste(0, 9, 0, 4, 100, 50);
    ASSERT_EQ(window.changes, (std::vector<Rect>{{100, 46, 10, 5}}));
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 123; ++x) {
            const bool inside = x >= 100 && x <= 109 && y >= 46 && y <= 50;
            ASSERT_EQ(window.at(x, y) != kUntouched, inside) << x << "," << y;
        }
}

TEST_F(RasterTest, PasteKeepsTheRowsTheRightWayUp)
{
    TestSurface window(4, 4);
    open_new_buffer(24, 3, 2);
    const int32_t values[2][3] = {{0x010101, 0x020202, 0x030303}, {0x040404, 0x050505, 0x060606}};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) {
            ras_set_color(values[y][x]);
            ras_point(x, y);
        }
    ras_paste(1, 2, 0, 1, 0, 3);
    EXPECT_EQ(window.at(0, 2), 0xFF020202u);
    EXPECT_EQ(window.at(1, 2), 0xFF030303u);
    EXPECT_EQ(window.at(0, 3), 0xFF050505u);
    EXPECT_EQ(window.at(1, 3), 0xFF060606u);
}

struct ConversionCase {
    int32_t depth;
    int32_t value;
    uint32_t shown;
};

TEST_F(RasterTest, PasteConvertsEveryDepthToOpaqueRgb)
{
    set_palette_entry(5, 1, 2, 3);
    const ConversionCase cases[] = {
        {8, 5, 0xFF010203},       {16, 0x8410, 0xFF838183}, {16, 0xFFFF, 0xFFFFFFFF},
        {16, 0x0821, 0xFF080408}, {24, 0x010203, 0xFF010203}, {32, 0x63010203, 0xFF010203},
    };
    for (const ConversionCase& c : cases) {
        TestSurface window(2, 1);
        open_new_buffer(c.depth, 1, 1);
        ras_set_color(c.value);
        ras_point(0, 0);
        ras_paste(0, 0, 0, 0, 0, 0);
        EXPECT_EQ(window.at(0, 0), c.shown) << c.depth << " " << std::hex << c.value;
    }
}

TEST_F(RasterTest, PasteOfAnEightBitBufferFollowsItsColourTable)
{
    TestSurface window(1, 1);
    set_palette_entry(9, 10, 20, 30);
    open_new_buffer(8, 1, 1);
    ras_set_color(9);
    ras_point(0, 0);
    set_palette_entry(9, 40, 50, 60);
    ras_paste(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(window.at(0, 0), 0xFF0A141Eu); // the table copied when the buffer was opened
    ras_open_buffer(ras_get_active_buffer());
    ras_paste(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(window.at(0, 0), 0xFF28323Cu);
}

struct ClipCase {
    int32_t x1, x2, y1, y2, x, y;
    std::vector<Rect> changes;
    std::vector<std::string> written;
};

using PasteDepthTest = DepthTest;

TEST_P(PasteDepthTest, PasteIsCutToTheBufferAndTheSurface)
{
    // The buffer is 8 x 3 (stored width 8); the surface 6 x 4 plus 3 spare pixels per row.
    const ClipCase cases[] = {
        {0, 7, 0, 2, -3, 1, {{0, 0, 5, 2}},
         {"XXXXX....", "XXXXX....", ".........", "........."}},
        {0, 1, 0, 1, 5, 4, {{5, 3, 1, 1}},
         {".........", ".........", ".........", ".....X..."}},
        {-4, 20, -4, 20, 0, 20, {{4, 0, 2, 3}},
         {"....XX...", "....XX...", "....XX...", "........."}},
        {2, 3, 0, 0, 6, 0, {}, std::vector<std::string>(4, ".........")},
        {2, 3, 0, 0, 0, -1, {}, std::vector<std::string>(4, ".........")},
        {3, 2, 0, 0, 0, 0, {}, std::vector<std::string>(4, ".........")},
        {8, 9, 0, 0, 0, 0, {}, std::vector<std::string>(4, ".........")},
        {0, 7, 0, 2, INT32_MAX, INT32_MIN, {}, std::vector<std::string>(4, ".........")},
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, 0, 0, {}, std::vector<std::string>(4, ".........")},
    };
    for (const ClipCase& c : cases) {
        ras_init();
        TestSurface window(6, 4);
        open_new_buffer(depth(), 8, 3);
        ras_paste(c.x1, c.x2, c.y1, c.y2, c.x, c.y);
        EXPECT_EQ(window.changes, c.changes) << c.x1 << " " << c.x2 << " " << c.y1 << " " << c.y2 << " " << c.x << " " << c.y;
        EXPECT_EQ(window.written(), c.written) << c.x1 << " " << c.x2 << " " << c.y1 << " " << c.y2 << " " << c.x << " " << c.y;
    }
}

// Rows wide enough for the grouped conversions, each pixel different: every surface pixel is the
// opaque RGB of its own buffer pixel.
TEST_P(PasteDepthTest, EveryPixelOfAWideRowIsConvertedInPlace)
{
    for (int i = 0; i < 256; ++i)
        set_palette_entry(i, static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i));
    constexpr int32_t kWide = 37;
    TestSurface window(kWide, 2);
    open_new_buffer(depth(), kWide, 2);
    std::vector<uint32_t> expected;
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < kWide; ++x) {
            const int32_t n = y * kWide + x + 1;
            int32_t r = 0, g = 0, b = 0;
            if (depth() == 8) {
                ras_set_color(n);
                r = n;
                g = (n * 7) & 255;
                b = 255 - n;
            } else {
                ras_set_color(ras_make_color(n * 3, 255 - n, n * 5));
                ras_color_to_rgb(ras_make_color(n * 3, 255 - n, n * 5), &r, &g, &b);
            }
            ras_point(x, y);
            expected.push_back(0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b));
        }
    ras_paste(0, kWide - 1, 0, 1, 0, 1);
    std::vector<uint32_t> shown;
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < kWide; ++x)
            shown.push_back(window.at(x, y));
    EXPECT_EQ(shown, expected);
}

INSTANTIATE_FOR_ALL_DEPTHS(PasteDepthTest);

TEST_F(RasterTest, PasteIgnoresASurfaceWhoseRowsCannotHoldItsWidth)
{
    std::vector<uint32_t> pixels(16, kUntouched);
    const int32_t bad_strides[] = {3 * 4, 4 * 4 + 2, -16};
    for (const int32_t stride : bad_strides) {
        ras_surface surface{pixels.data(), 4, 4, stride, nullptr, nullptr};
        ras_set_window_dc(&surface);
        open_new_buffer(24, 4, 4);
        ras_paste(0, 3, 0, 3, 0, 3);
        EXPECT_EQ(pixels, std::vector<uint32_t>(16, kUntouched)) << stride;
    }
    ras_set_window_dc(nullptr);
}

TEST_F(RasterTest, PasteWithoutASurfaceDoesNothing)
{
    ras_set_window_dc(nullptr);
    open_new_buffer(8, 4, 4);
    EXPECT_EQ(ras_paste(0, 3, 0, 3, 0, 3), 0);
}

} // namespace
