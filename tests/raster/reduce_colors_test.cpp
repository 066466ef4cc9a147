// Colour reduction of 8-bit pictures: which colours merge, in which order, and how the survivors
// are packed, moved up and renumbered.

#include "RasterFixture.h"

#include <array>
#include <set>
#include <vector>

namespace {

using Palette = std::array<uint8_t, 768>;

// A palette whose every entry is far from every other (distinct in red by 1, green by 7 ...);
// tests then place the colours they want close together.
Palette spread_palette()
{
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        p[3 * i + 0] = static_cast<uint8_t>(i);
        p[3 * i + 1] = static_cast<uint8_t>(i * 7);
        p[3 * i + 2] = static_cast<uint8_t>(i * 13);
    }
    return p;
}

void set_colour(Palette& p, int i, uint8_t r, uint8_t g, uint8_t b)
{
    p[3 * i + 0] = r;
    p[3 * i + 1] = g;
    p[3 * i + 2] = b;
}

std::array<uint8_t, 3> colour(const Palette& p, int i)
{
    return {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
}

// The index now held by the pixel that showed each use's colour (its first pixel).
std::vector<int32_t> indices_now(const std::vector<std::pair<int, int>>& uses)
{
    std::vector<int32_t> now;
    int at = 0;
    for (const auto& u : uses) {
        now.push_back(ras_get_pixel(at % 8, at / 8));
        for (int k = 0; k < u.second; ++k, ++at)
            EXPECT_EQ(ras_get_pixel(at % 8, at / 8), now.back()) << "pixels of one colour stay together";
    }
    return now;
}

class ReduceTest : public RasterTest {
protected:
    // An 8-bit buffer 8 pixels wide holding, row by row, the pixels of each use (index, count) in
    // turn. The counts add up to whole rows, so no other index appears.
    static void open_picture(const std::vector<std::pair<int, int>>& uses)
    {
        int total = 0;
        for (const auto& u : uses)
            total += u.second;
        ASSERT_EQ(total % 8, 0);
        const int32_t width = 8;
        open_new_buffer(8, width, (total + width - 1) / width);
        int at = 0;
        for (const auto& [index, count] : uses) {
            ras_set_color(index);
            for (int k = 0; k < count; ++k, ++at)
                ras_point(at % width, at / width);
        }
    }
};

TEST_F(ReduceTest, ReductionWithoutMergesPacksAndMovesUp)
{
    const std::vector<std::pair<int, int>> uses = {{0, 3}, {5, 2}, {200, 3}};
    open_picture(uses);
    Palette p = spread_palette();
    const Palette before = p;
    EXPECT_EQ(ras_reduce_colors(10, 236, p.data()), 0);
    EXPECT_EQ(indices_now(uses), (std::vector<int32_t>{10, 11, 12}));
    EXPECT_EQ(colour(p, 10), colour(before, 0));
    EXPECT_EQ(colour(p, 11), colour(before, 5));
    EXPECT_EQ(colour(p, 12), colour(before, 200));
    // Entries 3.. kept their values through the packing and moved up with the rest.
    EXPECT_EQ(colour(p, 13), colour(before, 3));
    EXPECT_EQ(colour(p, 245), colour(before, 235));
    for (int i : {0, 9, 246, 255})
        EXPECT_EQ(colour(p, i), (std::array<uint8_t, 3>{0, 0, 0})) << i;
}

TEST_F(ReduceTest, ReductionWithOffsetZeroLeavesTheRestOfThePalette)
{
    const std::vector<std::pair<int, int>> uses = {{4, 8}, {9, 8}};
    open_picture(uses);
    Palette p = spread_palette();
    const Palette before = p;
    ras_reduce_colors(0, 256, p.data());
    EXPECT_EQ(indices_now(uses), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(colour(p, 0), colour(before, 4));
    EXPECT_EQ(colour(p, 1), colour(before, 9));
    for (int i = 2; i < 256; ++i)
        EXPECT_EQ(colour(p, i), colour(before, i)) << i;
}

struct MergeCase {
    const char* name;
    std::vector<std::pair<int, int>> uses;           // index, pixel count
    std::vector<std::array<int, 4>> colours;         // index, r, g, b placed close together
    int32_t n;
    std::vector<int32_t> indices_after;              // per use, offset 0
    std::vector<int> survivors;                      // old indices whose colours remain, in order
};

TEST_F(ReduceTest, ReductionMergesTheClosestPairsInOrder)
{
    const MergeCase cases[] = {
        {"the colour with fewer pixels loses",
         {{3, 5}, {7, 9}, {100, 2}},
         {{3, 10, 10, 10}, {7, 12, 10, 10}, {100, 200, 200, 200}},
         2, {0, 0, 1}, {7, 100}},
        {"equal counts: the lower index loses",
         {{3, 5}, {7, 5}, {100, 6}},
         {{3, 10, 10, 10}, {7, 12, 10, 10}, {100, 200, 200, 200}},
         2, {0, 0, 1}, {7, 100}},
        {"the higher index can win by count",
         {{3, 9}, {7, 5}, {100, 2}},
         {{3, 10, 10, 10}, {7, 12, 10, 10}, {100, 200, 200, 200}},
         2, {0, 0, 1}, {3, 100}},
        {"distance tie: (1, 3) takes over since min(10, 4) > 2",
         {{1, 10}, {2, 4}, {3, 2}},
         {{1, 100, 100, 100}, {2, 110, 100, 100}, {3, 90, 100, 100}},
         2, {0, 1, 0}, {1, 2}},
        {"distance tie: (1, 2) stays since min(15, 4) is not above 5",
         {{1, 15}, {2, 4}, {3, 5}},
         {{1, 100, 100, 100}, {2, 110, 100, 100}, {3, 90, 100, 100}},
         2, {0, 0, 1}, {1, 3}},
        {"distance tie: (1, 2) stays when min(16, 4) only equals 4",
         {{1, 16}, {2, 4}, {3, 4}},
         {{1, 100, 100, 100}, {2, 110, 100, 100}, {3, 90, 100, 100}},
         2, {0, 0, 1}, {1, 3}},
        {"a tie decided in green and blue too",
         {{1, 10}, {2, 4}, {3, 2}},
         {{1, 100, 100, 100}, {2, 100, 106, 108}, {3, 100, 92, 106}},
         2, {0, 1, 0}, {1, 2}},
        {"merged counts add up for the next merge",
         {{1, 2}, {2, 2}, {3, 3}, {4, 17}},
         {{1, 0, 0, 0}, {2, 10, 0, 0}, {3, 25, 0, 0}, {4, 65, 0, 0}},
         2, {0, 0, 0, 1}, {2, 4}},
        {"one colour left",
         {{1, 8}, {2, 8}, {3, 8}},
         {{1, 0, 0, 0}, {2, 10, 0, 0}, {3, 25, 0, 0}},
         1, {0, 0, 0}, {2}},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        open_picture(c.uses);
        Palette p = spread_palette();
        for (const auto& [i, r, g, b] : c.colours)
            set_colour(p, i, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
        const Palette before = p;
        ras_reduce_colors(0, c.n, p.data());
        EXPECT_EQ(indices_now(c.uses), c.indices_after);
        for (size_t k = 0; k < c.survivors.size(); ++k)
            EXPECT_EQ(colour(p, static_cast<int>(k)), colour(before, c.survivors[k])) << "entry " << k;
    }
}

// Indices 1 and 2 are the closest pair with (apparently) equal counts: index 1's 70000 pixels count
// as 65535, the same as index 2's, so the lower index loses despite having more pixels.
TEST_F(ReduceTest, ReductionCountsSaturate)
{
    open_new_buffer(8, 400, 340); // 136000 pixels
    ras_set_color(1);
    ras_rect(0, 399, 0, 174);     // 70000 pixels
    ras_set_color(2);
    ras_rect(0, 399, 175, 338);   // 65600 pixels, of which 65535 are counted
    ras_set_color(3);
    ras_rect(0, 399, 339, 339);   // 400 pixels
    Palette p = spread_palette();
    set_colour(p, 1, 50, 50, 50);
    set_colour(p, 2, 51, 50, 50);
    set_colour(p, 3, 250, 0, 0);
    ras_reduce_colors(0, 2, p.data());
    EXPECT_EQ(ras_get_pixel(0, 0), 0);
    EXPECT_EQ(ras_get_pixel(0, 200), 0);
    EXPECT_EQ(ras_get_pixel(0, 339), 1);
    EXPECT_EQ(colour(p, 0), (std::array<uint8_t, 3>{51, 50, 50}));
}

TEST_F(ReduceTest, ReducingAllIndicesTo236UsesOnly10To245)
{
    open_new_buffer(8, 16, 16);
    for (int i = 0; i < 256; ++i) {
        ras_set_color(i);
        ras_point(i % 16, i / 16);
    }
    Palette p = spread_palette();
    ras_reduce_colors(10, 236, p.data());
    std::set<int32_t> used;
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            used.insert(ras_get_pixel(x, y));
    EXPECT_EQ(used.size(), 236u) << "exactly 20 merges";
    EXPECT_EQ(*used.begin(), 10);
    EXPECT_EQ(*used.rbegin(), 245);
}

TEST_F(ReduceTest, ReductionCoversOnlyTheClipRectangle)
{
    open_new_buffer(8, 4, 2);
    const uint8_t pixels[] = {7, 7, 9, 9, 7, 7, 9, 9}; // both rows 7, 7, 9, 9
    ras_move_to(0, 1);
    ras_put_block8(pixels, 4, 2);
    ras_set_clip(2, 3, 0, 0);
    Palette p = spread_palette();
    const Palette before = p;
    ras_reduce_colors(10, 236, p.data());
    EXPECT_EQ(picture(4, 2, "79a", {7, 9, 10}), (std::vector<std::string>{"77aa", "7799"}));
    EXPECT_EQ(colour(p, 10), colour(before, 9));

    // A clip rectangle reaching outside the buffer counts and renumbers the buffer only.
    ras_set_clip(-50, 50, -50, 50);
    p = before;
    ras_reduce_colors(0, 236, p.data());
    EXPECT_EQ(picture(4, 2, "012", {0, 1, 2}), (std::vector<std::string>{"0022", "0011"}));
}

TEST_F(ReduceTest, ReductionChangesNothingWhereItDoesNotApply)
{
    struct Case {
        int32_t depth, offset, n;
        bool null_palette;
    };
    const Case cases[] = {
        {16, 10, 236, false}, {24, 0, 1, false}, {32, 10, 236, false}, {8, 10, 0, false},
        {8, 10, 247, false},  {8, -1, 10, false}, {8, 256, 1, false},  {8, 10, 236, true},
    };
    for (const Case& c : cases) {
        open_new_buffer(c.depth, 4, 2);
        ras_set_color(c.depth == 8 ? 200 : 0x123456);
        ras_rect(0, 1, 0, 1);
        const std::vector<uint8_t> pixels = buffer_bytes();
        Palette p = spread_palette();
        ras_reduce_colors(c.offset, c.n, c.null_palette ? nullptr : p.data());
        EXPECT_EQ(buffer_bytes(), pixels) << c.depth << " " << c.offset << " " << c.n;
        EXPECT_EQ(p, spread_palette()) << c.depth << " " << c.offset << " " << c.n;
    }
    ras_close_buffer();
    Palette p = spread_palette();
    ras_reduce_colors(10, 236, p.data());
    EXPECT_EQ(p, spread_palette()) << "no active buffer";
}

} // namespace
