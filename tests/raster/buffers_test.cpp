// The buffer table, opening and closing, geometry and the clip rectangle that belongs to a buffer.

#include "RasterFixture.h"

#include <cstring>

namespace {

uint32_t u32_at(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

uint16_t u16_at(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

using BufferDepthTest = DepthTest;

TEST_P(BufferDepthTest, StoredWidthIsRoundedUpToFourAndRowsAreBottomUp)
{
    open_new_buffer(depth(), 30, 20);
    EXPECT_EQ(ras_max_x(), 31);
    EXPECT_EQ(ras_max_y(), 19);
    const ras_memory_dc* dc = ras_get_memory_dc();
    const int32_t bytes_per_line = 32 * depth() / 8;
    EXPECT_EQ(dc->bytes_per_line, bytes_per_line);
    EXPECT_EQ(dc->width, 32);
    EXPECT_EQ(dc->height, 20);
    EXPECT_EQ(dc->depth, depth());
    EXPECT_EQ(ras_row_address(19), dc->pixels);
    EXPECT_EQ(ras_row_address(0), dc->pixels + 19 * bytes_per_line);
    EXPECT_EQ(ras_row_address(20), nullptr);
    EXPECT_EQ(ras_row_address(-1), nullptr);
}

TEST_P(BufferDepthTest, NewPixelsAreZero)
{
    open_new_buffer(depth(), 13, 7);
    for (uint8_t byte : buffer_bytes())
        ASSERT_EQ(byte, 0);
}

TEST_P(BufferDepthTest, HeaderDescribesTheBuffer)
{
    const int32_t handle = open_new_buffer(depth(), 30, 20);
    const uint8_t* h = raster_internal::state.slots[handle].header.get();
    EXPECT_EQ(u32_at(h + 0), 40u);
    EXPECT_EQ(u32_at(h + 4), 32u);
    EXPECT_EQ(u32_at(h + 8), 20u);
    EXPECT_EQ(u16_at(h + 12), 1);
    EXPECT_EQ(u16_at(h + 14), depth());
    const bool bit_fields = depth() == 16 || depth() == 32;
    EXPECT_EQ(u32_at(h + 16), bit_fields ? 3u : 0u);
    for (int field = 20; field < 40; field += 4)
        EXPECT_EQ(u32_at(h + field), 0u);
    if (depth() == 16) {
        EXPECT_EQ(u32_at(h + 40), 0xF800u);
        EXPECT_EQ(u32_at(h + 44), 0x07E0u);
        EXPECT_EQ(u32_at(h + 48), 0x001Fu);
    } else if (depth() == 32) {
        EXPECT_EQ(u32_at(h + 40), 0x00FF0000u);
        EXPECT_EQ(u32_at(h + 44), 0x0000FF00u);
        EXPECT_EQ(u32_at(h + 48), 0x000000FFu);
        EXPECT_EQ(u32_at(h + 52), 0xFF000000u);
    }
}

INSTANTIATE_FOR_ALL_DEPTHS(BufferDepthTest);

// The header block must fit the depth being allocated, whatever depth the open buffer has: an
// 8-bit buffer made while a 24-bit one is open still carries its whole colour table.
TEST_F(RasterTest, AnEightBitBufferMadeWhileA24BitOneIsOpenHasItsColourTable)
{
    set_palette_entry(255, 1, 2, 3);
    ras_set_buffer_depth(24);
    const int32_t deep = ras_alloc_buffer(4, 4);
    ras_set_buffer_depth(8);
    ASSERT_EQ(ras_open_buffer(deep), 0);
    const int32_t handle = ras_alloc_buffer(4, 4);
    ASSERT_GE(handle, 0);
    const uint8_t* table = raster_internal::state.slots[handle].header.get() + 40;
    EXPECT_EQ(table[255 * 4 + 0], 3);
    EXPECT_EQ(table[255 * 4 + 1], 2);
    EXPECT_EQ(table[255 * 4 + 2], 1);
    EXPECT_EQ(raster_internal::state.slots[handle].depth, 8);
}

TEST_F(RasterTest, TheThirtyThirdAllocationFailsAndAFreedSlotIsReused)
{
    for (int32_t i = 0; i < 32; ++i)
        ASSERT_EQ(ras_alloc_buffer(4, 4), i);
    EXPECT_EQ(ras_alloc_buffer(4, 4), -1);
    ras_free_buffer(5);
    EXPECT_EQ(ras_alloc_buffer(4, 4), 5);
    EXPECT_EQ(ras_alloc_buffer(4, 4), -1);
}

TEST_F(RasterTest, ImpossibleAllocationsFailWithoutTakingASlot)
{
    struct Case {
        int32_t depth, width, height;
    };
    const Case cases[] = {
        {8, 0, 10}, {8, 10, 0}, {8, -4, 10}, {24, 10, -1}, {12, 10, 10}, {0, 10, 10},
        {32, 65536, 65536}, {8, INT32_MAX, 1}, {32, 1 << 20, 1 << 11},
    };
    for (const Case& c : cases) {
        ras_set_buffer_depth(c.depth);
        EXPECT_EQ(ras_alloc_buffer(c.width, c.height), -2) << c.depth << " " << c.width << "x" << c.height;
    }
    ras_set_buffer_depth(8);
    EXPECT_EQ(ras_alloc_buffer(1, 1), 0);
}

TEST_F(RasterTest, OpeningABadHandleKeepsTheActiveBuffer)
{
    const int32_t a = open_new_buffer(8, 8, 8);
    const int32_t freed = ras_alloc_buffer(8, 8);
    ras_free_buffer(freed);
    EXPECT_EQ(ras_open_buffer(32), -1);
    EXPECT_EQ(ras_open_buffer(-1), -1);
    EXPECT_EQ(ras_open_buffer(freed), -2);
    EXPECT_EQ(ras_open_buffer(20), -2);
    EXPECT_EQ(ras_get_active_buffer(), a);
}

TEST_F(RasterTest, TheActiveBufferIsFreedOnlyAfterClosing)
{
    const int32_t a = open_new_buffer(8, 8, 8);
    ras_free_buffer(a);
    EXPECT_EQ(ras_get_active_buffer(), a);
    EXPECT_NE(ras_get_memory_dc()->pixels, nullptr);
    ras_close_buffer();
    EXPECT_EQ(ras_get_active_buffer(), -1);
    EXPECT_EQ(ras_get_memory_dc()->pixels, nullptr);
    ras_free_buffer(a);
    EXPECT_EQ(ras_open_buffer(a), -2);
    ras_free_buffer(a); // freeing a free slot changes nothing
    ras_free_buffer(-3);
    ras_free_buffer(99);
    EXPECT_EQ(ras_alloc_buffer(2, 2), a);
}

TEST_F(RasterTest, EachBufferKeepsItsOwnClipRectangle)
{
    const int32_t a = open_new_buffer(8, 10, 10);
    ras_set_clip(2, 5, 3, 6);
    const int32_t b = open_new_buffer(8, 10, 10);
    ras_set_color(9);
    ras_point(0, 0); // B has the whole buffer as its clip rectangle
    EXPECT_EQ(ras_get_pixel(0, 0), 9);

    ASSERT_EQ(ras_open_buffer(a), 0);
    ras_point(0, 0);
    ras_point(2, 3);
    ras_point(5, 6);
    ras_point(6, 6);
    EXPECT_EQ(ras_get_pixel(0, 0), 0);
    EXPECT_EQ(ras_get_pixel(2, 3), 9);
    EXPECT_EQ(ras_get_pixel(5, 6), 9);
    EXPECT_EQ(ras_get_pixel(6, 6), 0);
    EXPECT_EQ(raster_internal::state.clip_right, 5);

    ASSERT_EQ(ras_open_buffer(b), 0);
    EXPECT_EQ(raster_internal::state.clip_right, 11); // stored width 12
}

TEST_F(RasterTest, OpeningKeepsThePositionAndTheColour)
{
    open_new_buffer(16, 8, 8);
    ras_move_to(3, 4);
    ras_set_color(0x1234);
    open_new_buffer(16, 8, 8);
    ras_point(1, 1);
    EXPECT_EQ(ras_get_pixel(1, 1), 0x1234);
    EXPECT_EQ(raster_internal::state.pos_x, 3);
    EXPECT_EQ(raster_internal::state.pos_y, 4);
}

TEST_F(RasterTest, WithoutAnActiveBufferNothingIsTouched)
{
    EXPECT_EQ(ras_max_x(), -1);
    EXPECT_EQ(ras_max_y(), -1);
    EXPECT_EQ(ras_row_address(0), nullptr);
    EXPECT_EQ(ras_get_pixel(0, 0), 0);
    EXPECT_EQ(ras_point(0, 0), 0);
    EXPECT_EQ(ras_rect(0, 3, 0, 3), 0);
    EXPECT_EQ(ras_draw_to(3, 3), 0);
    EXPECT_EQ(ras_erase(), 0);
    EXPECT_EQ(ras_fill_buffer(), 0);
    EXPECT_EQ(ras_set_clip(0, 3, 0, 3), 0);
    EXPECT_EQ(ras_paste(0, 3, 0, 3, 0, 0), 0);
    uint8_t block[16] = {};
    EXPECT_EQ(ras_put_block8(block, 4, 4), 0);
    EXPECT_EQ(ras_get_block8(block, 4, 4), 0);
}

TEST_F(RasterTest, ShutdownReleasesEveryBuffer)
{
    open_new_buffer(8, 4, 4);
    ras_alloc_buffer(4, 4);
    ras_shutdown();
    EXPECT_EQ(ras_get_active_buffer(), -1);
    ras_init();
    EXPECT_EQ(ras_alloc_buffer(4, 4), 0);
}

} // namespace
