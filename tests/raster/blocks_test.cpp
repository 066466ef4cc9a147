// Block transfers: row order, per-depth formats, conversion through the palette, the reverse
// lookup, clipping, transparency, and requests that reach outside the buffer.

#include "RasterFixture.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A palette whose conversion entries differ at every depth, 5-6-5 included: entry i is
// ((i >> 6) << 6, (i & 63) << 2, 255 - i), so the top bits of red and green's six bits tell
// the index, and no entry is black.
void load_distinct_palette()
{
    for (int i = 0; i < 256; ++i)
        set_palette_entry(i, static_cast<uint8_t>((i >> 6) << 6), static_cast<uint8_t>((i & 63) << 2),
                          static_cast<uint8_t>(255 - i));
}

TEST_F(RasterTest, IndexBlockRowsGoBottomUp)
{
    open_new_buffer(8, 4, 2);
    const Bytes block = {1, 2, 3, 4, 5, 6};
    ras_move_to(0, 1);
    ras_put_block8(block.data(), 3, 2);
    EXPECT_EQ(picture(4, 2, ".123456", {0, 1, 2, 3, 4, 5, 6}), (std::vector<std::string>{"456.", "123."}));

    Bytes back(6, 0xEE);
    ras_move_to(0, ras_max_y());
    ras_get_block8(back.data(), 3, 2);
    EXPECT_EQ(back, block);
}

TEST_F(RasterTest, BlockSizeFollowsTheLastOpenedDepth)
{
    const int32_t expected[][2] = {{8, 100}, {16, 200}, {24, 300}, {32, 300}};
    for (const auto& e : expected) {
        open_new_buffer(e[0], 4, 4);
        ras_close_buffer();
        EXPECT_EQ(ras_block_size(10, 10), e[1]) << e[0];
    }
    EXPECT_EQ(ras_block_size(-1, 10), 0);
    EXPECT_EQ(ras_block_size(65536, 65536), 0);
}

TEST_F(RasterTest, A32BitPixelLosesItsFourthByteOnTheWayThroughABlock)
{
    open_new_buffer(32, 4, 1);
    uint8_t* row = ras_row_address(0);
    const uint8_t pixel[4] = {10, 20, 30, 99};
    std::memcpy(row, pixel, 4);
    Bytes block(3);
    ras_move_to(0, 0);
    ras_get_block(block.data(), 1, 1);
    EXPECT_EQ(block, (Bytes{10, 20, 30}));
    ras_put_block(block.data(), 1, 1);
    EXPECT_EQ(Bytes(row, row + 4), (Bytes{10, 20, 30, 0}));
}

TEST_F(RasterTest, DirectBlocksDoNothingOnAnEightBitBuffer)
{
    open_new_buffer(8, 4, 4);
    ras_set_color(7);
    ras_fill_buffer();
    Bytes block(16 * 3, 0x55);
    ras_move_to(0, 3);
    ras_put_block(block.data(), 4, 4);
    ras_put_block_clip(block.data(), 4, 4);
    EXPECT_EQ(picture(4, 4, "7", {7}), (std::vector<std::string>(4, "7777")));
    ras_get_block(block.data(), 4, 4);
    EXPECT_EQ(block, Bytes(16 * 3, 0x55));
}

TEST_F(RasterTest, ReverseLookupTakesTheLowestMatchingIndex)
{
    load_distinct_palette();
    set_palette_entry(12, 8, 16, 24);
    set_palette_entry(40, 8, 16, 24);
    open_new_buffer(16, 4, 1);
    const int32_t shared = ras_make_color(8, 16, 24);
    const int32_t other = ras_make_color(64, 144, 155); // index 100 of the distinct palette
    ras_set_color(shared);
    ras_point(0, 0);
    ras_set_color(other);
    ras_point(1, 0);
    ras_set_color(0x1234); // found nowhere
    ras_point(2, 0);
    ras_point(3, 0);
    Bytes block(4, 0xEE);
    ras_move_to(0, 0);
    ras_get_block8(block.data(), 4, 1);
    EXPECT_EQ(block, (Bytes{12, 100, 0, 0}));
}

TEST_F(RasterTest, ReverseLookupOfA32BitPixelComparesAllFourBytes)
{
    load_distinct_palette();
    open_new_buffer(32, 4, 1);
    ras_set_color(ras_make_color(0, 36, 246));
    ras_point(0, 0);
    ras_set_color(ras_make_color(0, 36, 246) | 0x01000000);
    ras_point(1, 0);
    Bytes block(2, 0xEE);
    ras_move_to(0, 0);
    ras_get_block8(block.data(), 2, 1);
    EXPECT_EQ(block, (Bytes{9, 0}));
}

// Per depth: an index block goes in through the conversion table and comes back unchanged; a
// direct block comes back byte for byte.
using BlockDepthTest = DepthTest;

// Width 5 leaves padding columns in the buffer; width 16 fills whole buffer rows, which are
// then moved as one run.
TEST_P(BlockDepthTest, BlocksComeBackAsTheyWent)
{
    load_distinct_palette();
    for (const int32_t width : {5, 16}) {
        ras_init();
        open_new_buffer(depth(), width, 3);
        const auto pixels = static_cast<size_t>(width * 3);
        Bytes indices(pixels);
        for (size_t i = 0; i < pixels; ++i)
            indices[i] = static_cast<uint8_t>(i * 37 + 1);
        indices[4] = 0;
        ras_move_to(0, ras_max_y());
        ras_put_block8(indices.data(), width, 3);
        Bytes back(pixels, 0xEE);
        ras_get_block8(back.data(), width, 3);
        EXPECT_EQ(back, indices) << width;
        EXPECT_EQ(ras_get_pixel(0, 2), depth() == 8 ? 1 : ras_make_color(0, 4, 254)) << width;

        if (depth() == 8)
            continue;
        const int32_t size = ras_block_size(width, 3);
        Bytes direct(static_cast<size_t>(size));
        for (int32_t i = 0; i < size; ++i)
            direct[static_cast<size_t>(i)] = static_cast<uint8_t>(3 * i + 1);
        ras_put_block(direct.data(), width, 3);
        Bytes direct_back(static_cast<size_t>(size), 0xEE);
        ras_get_block(direct_back.data(), width, 3);
        EXPECT_EQ(direct_back, direct) << width;
        if (depth() == 32) {
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < width; ++x)
                    ASSERT_EQ(static_cast<uint32_t>(ras_get_pixel(x, y)) >> 24, 0u) << x << "," << y;
        }
    }
}

TEST_P(BlockDepthTest, UnclippedPutsWriteZeroAndClippedPutsSkipIt)
{
    load_distinct_palette();
    open_new_buffer(depth(), 4, 1);
    ras_set_color(ink());
    ras_fill_buffer();
    const Bytes indices = {0, 5, 0, 6};
    const Bytes direct(static_cast<size_t>(ras_block_size(4, 1)), 0);
    ras_move_to(0, 0);

    ras_put_block8_clip(indices.data(), 4, 1);
    const int32_t five = ras_get_pixel(1, 0);
    const int32_t six = ras_get_pixel(3, 0);
    EXPECT_EQ(picture(4, 1, "X56", {ink(), five, six}), (std::vector<std::string>{"X5X6"}));
    if (depth() != 8) {
        ras_put_block_clip(direct.data(), 4, 1);
        EXPECT_EQ(picture(4, 1, "X56", {ink(), five, six}), (std::vector<std::string>{"X5X6"}));
        ras_put_block(direct.data(), 4, 1);
        EXPECT_EQ(picture(4, 1, ".", {0}), (std::vector<std::string>{"...."}));
    }
    ras_fill_buffer();
    ras_put_block8(indices.data(), 4, 1);
    EXPECT_EQ(picture(4, 1, "056", {ras_get_pixel(0, 0), five, six}), (std::vector<std::string>{"0506"}));
    EXPECT_NE(ras_get_pixel(0, 0), ink());
}

TEST_P(BlockDepthTest, ClippedPutsDropWhatFallsOutsideTheClipRectangle)
{
    load_distinct_palette();
    open_new_buffer(depth(), 6, 5);
    ras_set_clip(0, 3, 0, 3);
    // 4 x 4 block at (-1, 3): column 0 is dropped, column c lands at x = c - 1, and buffer
    // column 3 keeps its pixels. Rows bottom first: the block's row 0 lands on y = 3.
    const Bytes block = {
        1, 2, 3, 4,     // lands on y = 3
        5, 6, 7, 8,     // y = 2
        9, 10, 11, 12,  // y = 1
        13, 14, 15, 16, // y = 0
    };
    ras_move_to(-1, 3);
    ras_put_block8_clip(block.data(), 4, 4);
    Bytes back(4 * 5, 0);
    ras_move_to(0, 4);
    ras_get_block8(back.data(), 4, 5);
    EXPECT_EQ(back, (Bytes{
                        0, 0, 0, 0,    // y = 4, below the clip rectangle
                        2, 3, 4, 0,    // y = 3
                        6, 7, 8, 0,    // y = 2
                        10, 11, 12, 0, // y = 1
                        14, 15, 16, 0, // y = 0
                    }));
}

TEST_P(BlockDepthTest, ClippedPutsDropRowsAboveTheTopAndBelowTheBottom)
{
    load_distinct_palette();
    open_new_buffer(depth(), 4, 4);
    ras_set_clip(0, 3, 0, 2);
    const Bytes column = {1, 2, 3, 4}; // 1 x 4, bottom first
    ras_move_to(2, 1);                  // rows at y = 1, 0, -1, -2
    ras_put_block8_clip(column.data(), 1, 4);
    ras_move_to(0, 4);                  // rows at y = 4, 3, 2, 1; y 4 and 3 are below the clip
    ras_put_block8_clip(column.data(), 1, 4);
    Bytes back(16, 0xEE);
    ras_move_to(0, 3);
    ras_get_block8(back.data(), 4, 4);
    EXPECT_EQ(back, (Bytes{
                        0, 0, 0, 0, // y = 3
                        3, 0, 0, 0, // y = 2
                        4, 0, 1, 0, // y = 1
                        0, 0, 2, 0, // y = 0
                    }));
}

struct OutsideCase {
    int32_t x, y, width, height;
};

// Requests reaching past the buffer: the part inside is transferred, nothing outside the buffer
// or the block is touched (the address sanitizer checks the memory), and block pixels that lie
// outside the buffer are left as they were on a get.
TEST_P(BlockDepthTest, TransfersReachingOutsideTheBufferAreCutToIt)
{
    const OutsideCase cases[] = {
        {-2, 2, 3, 2}, {3, 0, 3, 2}, {0, 4, 2, 3}, {1, 1, 2, 4}, {-100, 100, 50, 50},
        {INT32_MIN, INT32_MAX, 2, 2}, {INT32_MAX, INT32_MIN, 2, 2}, {0, 0, 0, 5}, {0, 0, 5, -1},
    };
    load_distinct_palette();
    for (const OutsideCase& c : cases) {
        ras_init();
        open_new_buffer(depth(), 5, 3); // stored width 8
        const int64_t pixels = c.width > 0 && c.height > 0 ? int64_t{c.width} * c.height : 0;
        const auto count = static_cast<size_t>(pixels);
        const size_t direct_count = count * (depth() == 16 ? 2 : 3);
        Bytes indices(count, 7);
        Bytes direct(direct_count, 0x42);
        ras_move_to(c.x, c.y);
        ras_put_block8(indices.data(), c.width, c.height);
        ras_put_block8_clip(indices.data(), c.width, c.height);
        ras_put_block(direct.data(), c.width, c.height);
        ras_put_block_clip(direct.data(), c.width, c.height);

        // Which buffer pixels the rectangle covers, worked out independently.
        std::vector<std::string> expected;
        for (int64_t y = 0; y < 3; ++y) {
            std::string row;
            for (int64_t x = 0; x < 8; ++x) {
                const bool covered = pixels > 0 && x >= c.x && x < int64_t{c.x} + c.width && y <= c.y &&
                                     y > int64_t{c.y} - c.height;
                row += covered ? 'X' : '.';
            }
            expected.push_back(row);
        }
        std::vector<std::string> seen;
        for (int32_t y = 0; y < 3; ++y) {
            std::string row;
            for (int32_t x = 0; x < 8; ++x)
                row += ras_get_pixel(x, y) == 0 ? '.' : 'X';
            seen.push_back(row);
        }
        EXPECT_EQ(seen, expected) << c.x << "," << c.y << " " << c.width << "x" << c.height;

        Bytes got_indices(count, 0xEE);
        ras_get_block8(got_indices.data(), c.width, c.height);
        Bytes got_direct(direct_count, 0xEE);
        ras_get_block(got_direct.data(), c.width, c.height);
        for (size_t i = 0; i < count; ++i) {
            const int64_t bx = int64_t{c.x} + static_cast<int64_t>(i) % c.width;
            const int64_t by = int64_t{c.y} - static_cast<int64_t>(i) / c.width;
            const bool inside = bx >= 0 && bx < 8 && by >= 0 && by < 3;
            if (!inside) {
                ASSERT_EQ(got_indices[i], 0xEE) << "block pixel " << i << " outside the buffer was written";
            }
        }
    }
}

INSTANTIATE_FOR_ALL_DEPTHS(BlockDepthTest);

} // namespace
