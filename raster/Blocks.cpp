// Transfers between caller blocks and the active buffer. Each call picks one row routine for the
// active depth, reduces the rectangle to the buffer (or to the clip rectangle for the clipped
// puts) and runs that routine once per remaining row.

#include "raster/BlockFrame.h"
#include "raster/RasterState.h"
#include "raster/RowKernels.h"
#include "raster/raster.h"

#include <cstring>

using namespace raster_internal;

namespace {

using PutRow = void (*)(uint8_t* dst, const uint8_t* src, int32_t pixels);
using GetRow = void (*)(uint8_t* dst, const uint8_t* src, int32_t pixels);

// ---- direct blocks ----

template <int Bytes>
void copy_row(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    std::memcpy(dst, src, static_cast<size_t>(pixels) * Bytes);
}

void put_row_16_skip0(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, dst += 2, src += 2) {
        if (src[0] | src[1]) {
            dst[0] = src[0];
            dst[1] = src[1];
        }
    }
}

template <int DstBytes>
void put_row_rgb_skip0(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, dst += DstBytes, src += 3) {
        if (src[0] | src[1] | src[2]) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            if constexpr (DstBytes == 4)
                dst[3] = 0;
        }
    }
}

// ---- index blocks ----

template <int DstBytes, bool SkipZero>
void put_row_index(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    const uint32_t* table = state.conversion;
    for (int32_t i = 0; i < pixels; ++i, dst += DstBytes) {
        const uint8_t index = src[i];
        if (SkipZero && index == 0)
            continue;
        const uint32_t value = table[index];
        std::memcpy(dst, &value, DstBytes);
    }
}

void put_row_8_skip0(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i)
        if (src[i] != 0)
            dst[i] = src[i];
}

// The lowest index whose conversion entry equals the pixel, 0 if none. Runs of equal pixels
// are common, so the last answer is kept for the next pixel.
template <int SrcBytes>
void get_row_index(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    const uint32_t* table = state.conversion;
    bool have_last = false;
    uint32_t last_value = 0;
    uint8_t last_index = 0;
    for (int32_t i = 0; i < pixels; ++i, src += SrcBytes) {
        uint32_t value = 0;
        std::memcpy(&value, src, SrcBytes);
        if (!have_last || value != last_value) {
            int found = 0;
            while (found < 256 && table[found] != value)
                ++found;
            last_index = found < 256 ? static_cast<uint8_t>(found) : 0;
            last_value = value;
            have_last = true;
        }
        dst[i] = last_index;
    }
}

// ---- the frame ----

// When the frame spans whole rows of both the block and the buffer, the rows lie back to back in
// both (block row r + 1 follows row r, and so does the buffer row above), so one call moves them.
bool whole_rows(const BlockFrame& f, int32_t width)
{
    return f.first_column == 0 && f.columns == width && width == state.width;
}

template <typename Row>
void put_rows(const BlockFrame& f, const uint8_t* block, int32_t width, int32_t block_bytes, Row row)
{
    if (whole_rows(f, width)) {
        row(pixel_address(f.x, f.y), block + static_cast<int64_t>(f.first_row) * width * block_bytes,
            f.columns * f.rows);
        return;
    }
    for (int32_t r = f.first_row; r < f.first_row + f.rows; ++r) {
        const uint8_t* src = block + (static_cast<int64_t>(r) * width + f.first_column) * block_bytes;
        row(pixel_address(f.x, f.y - (r - f.first_row)), src, f.columns);
    }
}

template <typename Row>
void get_rows(const BlockFrame& f, uint8_t* block, int32_t width, int32_t block_bytes, Row row)
{
    if (whole_rows(f, width)) {
        row(block + static_cast<int64_t>(f.first_row) * width * block_bytes, pixel_address(f.x, f.y),
            f.columns * f.rows);
        return;
    }
    for (int32_t r = f.first_row; r < f.first_row + f.rows; ++r) {
        uint8_t* dst = block + (static_cast<int64_t>(r) * width + f.first_column) * block_bytes;
        row(dst, pixel_address(f.x, f.y - (r - f.first_row)), f.columns);
    }
}

BlockFrame frame_in_buffer(int32_t width, int32_t height)
{
    return block_frame(state.pos_x, state.pos_y, width, height, 0, state.width - 1, 0, state.max_y);
}

BlockFrame frame_in_clip(int32_t width, int32_t height)
{
    return block_frame(state.pos_x, state.pos_y, width, height, state.vis_left, state.vis_right,
                       state.vis_top, state.vis_bottom);
}

} // namespace

int32_t ras_block_size(int32_t width, int32_t height)
{
    if (width < 0 || height < 0)
        return 0;
    const int64_t bytes = static_cast<int64_t>(width) * height * kBlockPixelBytes[state.depth_index];
    return bytes > INT32_MAX ? 0 : static_cast<int32_t>(bytes);
}

int32_t ras_get_block(uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || state.depth_index == 0 || block == nullptr)
        return 0;
    const GetRow rows[4] = {nullptr, copy_row<2>, copy_row<3>, row_kernels().bgr0_to_bgr};
    const BlockFrame f = frame_in_buffer(width, height);
    if (!f.empty())
        get_rows(f, block, width, kBlockPixelBytes[state.depth_index], rows[state.depth_index]);
    return 0;
}

int32_t ras_get_block8(uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || block == nullptr)
        return 0;
    static constexpr GetRow rows[4] = {copy_row<1>, get_row_index<2>, get_row_index<3>,
                                       get_row_index<4>};
    const BlockFrame f = frame_in_buffer(width, height);
    if (!f.empty())
        get_rows(f, block, width, 1, rows[state.depth_index]);
    return 0;
}

int32_t ras_put_block(const uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || state.depth_index == 0 || block == nullptr)
        return 0;
    const PutRow rows[4] = {nullptr, copy_row<2>, copy_row<3>, row_kernels().bgr_to_bgr0};
    const BlockFrame f = frame_in_buffer(width, height);
    if (!f.empty())
        put_rows(f, block, width, kBlockPixelBytes[state.depth_index], rows[state.depth_index]);
    return 0;
}

int32_t ras_put_block8(const uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || block == nullptr)
        return 0;
    static constexpr PutRow rows[4] = {copy_row<1>, put_row_index<2, false>,
                                       put_row_index<3, false>, put_row_index<4, false>};
    const BlockFrame f = frame_in_buffer(width, height);
    if (!f.empty())
        put_rows(f, block, width, 1, rows[state.depth_index]);
    return 0;
}

int32_t ras_put_block_clip(const uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || state.depth_index == 0 || block == nullptr)
        return 0;
    static constexpr PutRow rows[4] = {nullptr, put_row_16_skip0, put_row_rgb_skip0<3>,
                                       put_row_rgb_skip0<4>};
    const BlockFrame f = frame_in_clip(width, height);
    if (!f.empty())
        put_rows(f, block, width, kBlockPixelBytes[state.depth_index], rows[state.depth_index]);
    return 0;
}

int32_t ras_put_block8_clip(const uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || block == nullptr)
        return 0;
    static constexpr PutRow rows[4] = {put_row_8_skip0, put_row_index<2, true>,
                                       put_row_index<3, true>, put_row_index<4, true>};
    const BlockFrame f = frame_in_clip(width, height);
    if (!f.empty())
        put_rows(f, block, width, 1, rows[state.depth_index]);
    return 0;
}
