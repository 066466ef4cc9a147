// Mirrored puts, the in-place block flips, and the cel transformations built from them.

#include "RasterFixture.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<int>>;

// ---- Flips of blocks in memory ------------------------------------------------------------

struct Flip8Case {
    int32_t width, height;
    std::vector<uint8_t> before, after;
};

TEST_F(RasterTest, FlipBlock8TurnsRowsUpsideDown)
{
    const Flip8Case cases[] = {
        {2, 3, {1, 2, 3, 4, 5, 6}, {5, 6, 3, 4, 1, 2}},
        {2, 1, {1, 2}, {1, 2}},
        {3, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3}},
        {1, 2, {7, 9}, {9, 7}},
    };
    for (const Flip8Case& c : cases) {
        std::vector<uint8_t> block = c.before;
        EXPECT_EQ(ras_flip_block8(block.data(), c.width, c.height), 0);
        EXPECT_EQ(block, c.after) << c.width << "x" << c.height;
    }
}

TEST_F(RasterTest, FlipsWithEmptyOrNegativeSizesChangeNothing)
{
    const int32_t sizes[][2] = {{2, 0}, {0, 3}, {-2, 3}, {2, -3}, {INT32_MIN, 2}};
    for (const auto& s : sizes) {
        std::vector<uint8_t> block = {1, 2, 3, 4, 5, 6};
        ras_flip_block8(block.data(), s[0], s[1]);
        ras_flip_block(block.data(), s[0], s[1]);
        EXPECT_EQ(block, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6})) << s[0] << "x" << s[1];
    }
    ras_flip_block8(nullptr, 2, 3);
    ras_flip_block(nullptr, 2, 3);
}

// The direct-block pixel size follows the last opened buffer (3 bytes for 24 and 32 bits, 2
// otherwise), even once it is closed. The vector is exactly the block's size, so a wrong pixel
// size either scrambles the rows or reads past the end.
class FlipTest : public DepthTest {};

TEST_P(FlipTest, FlipBlockUsesTheDirectPixelSizeOfTheDepth)
{
    open_new_buffer(depth(), 4, 4);
    ras_close_buffer();
    const int32_t pixel_bytes = depth() >= 24 ? 3 : 2;
    const int32_t width = 2, height = 3, line = width * pixel_bytes;
    std::vector<uint8_t> block(static_cast<size_t>(line * height));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i + 1);
    const std::vector<uint8_t> before = block;
    ras_flip_block(block.data(), width, height);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t i = 0; i < line; ++i)
            EXPECT_EQ(block[r * line + i], before[(height - 1 - r) * line + i]) << r << "," << i;
}

// ---- Mirrored puts ------------------------------------------------------------------------

// Native value of a small test colour number at the depth; 0 stays 0.
int32_t native(int32_t depth, int v)
{
    switch (depth) {
    case 8: return v;
    case 16: return v * 0x0841;
    default: return v * 0x010101;
    }
}

// A direct (or, at depth 8, index) block from rows given top row first: the block holds them
// bottom row first.
std::vector<uint8_t> block_of(int32_t depth, const Rows& rows)
{
    std::vector<uint8_t> block;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (int v : *row) {
            const uint32_t n = static_cast<uint32_t>(native(depth, v));
            const int bytes = depth == 8 ? 1 : depth == 16 ? 2 : 3;
            for (int i = 0; i < bytes; ++i)
                block.push_back(static_cast<uint8_t>(n >> (8 * i)));
        }
    }
    return block;
}

// The active buffer's top-left pixels as test colour numbers (-1 for a value that is none).
Rows shown(int32_t depth, int32_t width, int32_t height)
{
    Rows rows(static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            int found = -1;
            for (int v = 0; v < 16; ++v)
                if (ras_get_pixel(x, y) == native(depth, v))
                    found = v;
            rows[y].push_back(found);
        }
    }
    return rows;
}

class MirrorTest : public DepthTest {
protected:
    // The palette gives index i the test colour i, so index blocks show the same numbers at
    // every depth. Opening the buffer after it rebuilds the conversion table.
    void SetUp() override
    {
        DepthTest::SetUp();
        for (int i = 0; i < 16; ++i) {
            const uint32_t v = static_cast<uint32_t>(i * 0x10101);
            set_palette_entry(i, static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v));
        }
    }
    // A buffer of the test's depth whose pixels all hold test colour fill.
    void open_filled(int32_t width, int32_t height, int fill)
    {
        open_new_buffer(depth(), width, height);
        if (depth() == 16) {
            // 5-6-5 cannot hold i * 0x10101, so the 16-bit colours are set directly.
            for (int i = 0; i < 16; ++i)
                raster_internal::state.conversion[i] = static_cast<uint32_t>(native(16, i));
        }
        ras_set_color(native(depth(), fill));
        ras_fill_buffer();
    }
    // Puts rows with the index form at every depth, and additionally checks the direct form.
    void put_both(const Rows& rows, int32_t x, int32_t y, int32_t width, int32_t height,
                  const Rows& expected, int fill)
    {
        const int32_t w = static_cast<int32_t>(rows[0].size());
        const int32_t h = static_cast<int32_t>(rows.size());
        open_filled(width, height, fill);
        ras_move_to(x, y);
        ras_put_block8_mirror(block_of(8, rows).data(), w, h);
        EXPECT_EQ(shown(depth(), width, height), expected) << "index block at " << x << "," << y;

        open_filled(width, height, fill);
        const std::vector<uint8_t> before = buffer_bytes();
        ras_move_to(x, y);
        ras_put_block_mirror(block_of(depth(), rows).data(), w, h);
        if (depth() == 8)
            EXPECT_EQ(buffer_bytes(), before) << "a direct block does not fit an 8-bit buffer";
        else
            EXPECT_EQ(shown(depth(), width, height), expected) << "direct block at " << x << "," << y;
    }
};

struct MirrorCase {
    const char* name;
    Rows block;
    int32_t x, y;
    Rows expected; // the 4 x 3 buffer afterwards, every pixel of it filled with 9 before
};

TEST_P(MirrorTest, ReversesEveryRowClipsAndSkipsZero)
{
    const MirrorCase cases[] = {
        {"3 x 1 at (0, 0)", {{1, 2, 3}}, 0, 0, {{3, 2, 1, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        {"4 x 1 at (-1, 0): destination column -1 is dropped with source column 3",
         {{1, 2, 3, 4}}, -1, 0, {{3, 2, 1, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        {"bottom-first rows land upwards from y", {{1, 2}, {3, 4}}, 1, 2,
         {{9, 9, 9, 9}, {9, 2, 1, 9}, {9, 4, 3, 9}}},
        {"zero leaves the buffer pixel", {{5, 0, 7}}, 1, 1, {{9, 9, 9, 9}, {9, 7, 9, 5}, {9, 9, 9, 9}}},
        {"past the right and bottom edges", {{1, 2, 3}, {4, 5, 6}}, 2, 3,
         {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 3, 2}}},
        {"past the top edge", {{1, 2}, {3, 4}, {5, 6}}, 0, 0, {{6, 5, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
        {"wholly outside", {{1, 2}}, -2, 0, {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}}},
    };
    for (const MirrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        put_both(c.block, c.x, c.y, 4, 3, c.expected, 9);
    }
}

TEST_P(MirrorTest, HonoursTheClipRectangle)
{
    open_filled(4, 4, 9);
    ras_set_clip(1, 2, 1, 2);
    ras_move_to(0, 2);
    ras_put_block8_mirror(block_of(8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}).data(), 3, 3);
    const Rows expected = {{9, 9, 9, 9}, {9, 5, 4, 9}, {9, 8, 7, 9}, {9, 9, 9, 9}};
    EXPECT_EQ(shown(depth(), 4, 4), expected);
}

// A clip rectangle reaching far outside the buffer and positions at the ends of the int32 range
// must still keep every write inside the pixel memory.
TEST_P(MirrorTest, AClipRectangleBeyondTheBufferStaysInside)
{
    open_filled(4, 3, 9);
    ras_set_clip(-100, 100, -100, 100);
    const std::vector<uint8_t> block8 = block_of(8, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6},
                                                     {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}});
    const std::vector<uint8_t> direct = block_of(depth(), {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6},
                                                           {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}});
    const int32_t positions[][2] = {{-1, 3},        {2, 1},          {INT32_MAX, INT32_MAX},
                                    {INT32_MIN, 0}, {0, INT32_MIN},  {INT32_MIN, INT32_MAX}};
    for (const auto& p : positions) {
        ras_move_to(p[0], p[1]);
        ras_put_block8_mirror(block8.data(), 6, 4);
        ras_put_block_mirror(direct.data(), 6, 4);
    }
    // The first position puts destination columns 0..3 from source columns 4..1 on rows 0..2.
    open_filled(4, 3, 9);
    ras_set_clip(-100, 100, -100, 100);
    ras_move_to(-1, 3);
    ras_put_block8_mirror(block8.data(), 6, 4);
    EXPECT_EQ(shown(depth(), 4, 3), (Rows{{5, 4, 3, 2}, {5, 4, 3, 2}, {5, 4, 3, 2}}));
}

TEST_P(MirrorTest, NothingWithoutAnActiveBufferOrBlock)
{
    open_filled(4, 1, 9);
    const int32_t handle = ras_get_active_buffer();
    ras_close_buffer();
    const std::vector<uint8_t> block = block_of(8, {{1, 2, 3, 4}});
    ras_move_to(0, 0);
    ras_put_block8_mirror(block.data(), 4, 1);
    ras_put_block_mirror(block.data(), 4, 1);
    ras_open_buffer(handle);
    ras_put_block8_mirror(nullptr, 4, 1);
    ras_put_block_mirror(nullptr, 4, 1);
    EXPECT_EQ(shown(depth(), 4, 1), (Rows{{9, 9, 9, 9}}));
}

// A 32-bit buffer pixel with a non-zero fourth byte gets 0 there from a mirrored put.
TEST_F(RasterTest, MirroredPutsWriteAZeroFourthByteAt32Bits)
{
    open_new_buffer(32, 4, 1);
    ras_set_color(static_cast<int32_t>(0x7F000000u));
    ras_fill_buffer();
    const uint8_t direct[] = {10, 20, 30};
    ras_move_to(0, 0);
    ras_put_block_mirror(direct, 1, 1);
    EXPECT_EQ(ras_get_pixel(0, 0), 0x1E140A);
    set_palette_entry(5, 1, 2, 3);
    ras_open_buffer(ras_get_active_buffer());
    const uint8_t index[] = {5};
    ras_move_to(1, 0);
    ras_put_block8_mirror(index, 1, 1);
    EXPECT_EQ(ras_get_pixel(1, 0), 0x010203);
}

INSTANTIATE_FOR_ALL_DEPTHS(MirrorTest);
INSTANTIATE_FOR_ALL_DEPTHS(FlipTest);

// ---- Cel transformations ------------------------------------------------------------------

// The editor's transformations of a 3 x 3 cel in its edit buffer (stored 4 wide), each run the
// way the editor runs it: index forms for 8-bit cels, direct forms for the others.
struct EditBuffer {
    bool index_forms;

    void put(const std::vector<uint8_t>& cel) const
    {
        index_forms ? ras_put_block8(cel.data(), 3, 3) : ras_put_block(cel.data(), 3, 3);
    }
    void put_clip(const std::vector<uint8_t>& cel) const
    {
        index_forms ? ras_put_block8_clip(cel.data(), 3, 3) : ras_put_block_clip(cel.data(), 3, 3);
    }
    void get(std::vector<uint8_t>& cel) const
    {
        ras_move_to(0, ras_max_y());
        index_forms ? ras_get_block8(cel.data(), 3, 3) : ras_get_block(cel.data(), 3, 3);
    }
    void shift(std::vector<uint8_t>& cel, int32_t x, int32_t y) const
    {
        ras_erase();
        ras_move_to(x, y);
        put_clip(cel);
        get(cel);
    }
};

class TransformTest : public DepthTest {};

struct TransformCase {
    const char* name;
    std::function<void(const EditBuffer&, std::vector<uint8_t>&)> run;
    Rows after;
};

TEST_P(TransformTest, CelTransformationsMoveEveryPixelWhereExpected)
{
    const Rows cel = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    constexpr int32_t top = 2; // ras_max_y of the 3-row buffer
    const TransformCase cases[] = {
        {"upside down",
         [](const EditBuffer& t, std::vector<uint8_t>& c) {
             t.index_forms ? ras_flip_block8(c.data(), 3, 3) : ras_flip_block(c.data(), 3, 3);
             ras_move_to(0, ras_max_y());
             t.put(c);
         },
         {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}}},
        {"mirrored left to right",
         [](const EditBuffer& t, std::vector<uint8_t>& c) {
             ras_move_to(0, ras_max_y());
             ras_erase();
             t.index_forms ? ras_put_block8_mirror(c.data(), 3, 3) : ras_put_block_mirror(c.data(), 3, 3);
             t.get(c);
         },
         {{3, 2, 1}, {6, 5, 4}, {9, 8, 7}}},
        {"left", [](const EditBuffer& t, std::vector<uint8_t>& c) { t.shift(c, -1, top); },
         {{2, 3, 0}, {5, 6, 0}, {8, 9, 0}}},
        {"right: the last column goes into the padding and is lost",
         [](const EditBuffer& t, std::vector<uint8_t>& c) { t.shift(c, 1, top); },
         {{0, 1, 2}, {0, 4, 5}, {0, 7, 8}}},
        {"up", [](const EditBuffer& t, std::vector<uint8_t>& c) { t.shift(c, 0, top - 1); },
         {{4, 5, 6}, {7, 8, 9}, {0, 0, 0}}},
        {"down", [](const EditBuffer& t, std::vector<uint8_t>& c) { t.shift(c, 0, top + 1); },
         {{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}},
        {"left then right loses the first column",
         [](const EditBuffer& t, std::vector<uint8_t>& c) {
             t.shift(c, -1, top);
             t.shift(c, 1, top);
         },
         {{0, 2, 3}, {0, 5, 6}, {0, 8, 9}}},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        open_new_buffer(depth(), 3, 3);
        std::vector<uint8_t> block = block_of(depth(), cel);
        ras_move_to(0, ras_max_y());
        const EditBuffer edit{depth() == 8};
        edit.put(block);
        c.run(edit, block);
        EXPECT_EQ(block, block_of(depth(), c.after));
        EXPECT_EQ(shown(depth(), 3, 3), c.after);
    }
}

INSTANTIATE_FOR_ALL_DEPTHS(TransformTest);

} // namespace
