// Mirrored puts (each block row reversed left to right, clipped, value 0 transparent) and the
// in-place flips that turn a block upside down. The cel transformations are built from these.

#include "raster/BlockFrame.h"
#include "raster/RasterState.h"
#include "raster/raster.h"

#include <algorithm>
#include <cstring>

using namespace raster_internal;

namespace {

// Writers of one destination pixel from one source pixel, by block format and buffer depth.
// Each returns without writing when the source pixel is 0.
struct index_to_8 {
    static constexpr int kSource = 1;
    static constexpr int kTarget = 1;
    static void put(uint8_t* dst, const uint8_t* src)
    {
        if (*src != 0)
            *dst = *src;
    }
};

template <int Target>
struct index_through_table {
    static constexpr int kSource = 1;
    static constexpr int kTarget = Target;
    static void put(uint8_t* dst, const uint8_t* src)
    {
        if (*src == 0)
            return;
        const uint32_t v = state.conversion[*src];
        for (int i = 0; i < Target; ++i)
            dst[i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

// Direct blocks: 2 bytes at 16 bits, 3 bytes at 24 and 32 bits (a 32-bit pixel gets a fourth
// byte of 0).
template <int Source, int Target>
struct direct_copy {
    static constexpr int kSource = Source;
    static constexpr int kTarget = Target;
    static void put(uint8_t* dst, const uint8_t* src)
    {
        bool zero = true;
        for (int i = 0; i < Source; ++i)
            zero = zero && src[i] == 0;
        if (zero)
            return;
        std::memcpy(dst, src, Source);
        if (Target > Source)
            dst[Source] = 0;
    }
};

// A mirrored put covers the rectangle of an ordinary put, so it clips the same way; only the
// source column runs backwards: buffer column x + c takes block column width - 1 - c.
template <typename Pixel>
void put_mirrored(const uint8_t* block, int32_t width, const BlockFrame& f)
{
    const size_t block_line = static_cast<size_t>(width) * Pixel::kSource;
    const size_t last_column = static_cast<size_t>(width - 1 - f.first_column);
    for (int32_t i = 0; i < f.rows; ++i) {
        uint8_t* dst = pixel_address(f.x, f.y - i);
        const uint8_t* row = block + static_cast<size_t>(f.first_row + i) * block_line;
        for (size_t c = 0; c < static_cast<size_t>(f.columns); ++c) {
            Pixel::put(dst, row + (last_column - c) * Pixel::kSource);
            dst += Pixel::kTarget;
        }
    }
}

BlockFrame clipped_frame(const uint8_t* block, int32_t width, int32_t height)
{
    if (state.active < 0 || block == nullptr)
        return BlockFrame{};
    return block_frame(state.pos_x, state.pos_y, width, height, state.vis_left, state.vis_right,
                       state.vis_top, state.vis_bottom);
}

void flip_rows(uint8_t* block, int32_t width, int32_t height, int32_t pixel_bytes)
{
    if (block == nullptr || width <= 0 || height <= 1)
        return;
    const size_t line = static_cast<size_t>(width) * static_cast<size_t>(pixel_bytes);
    for (int32_t r = 0; r < height / 2; ++r) {
        uint8_t* low = block + static_cast<size_t>(r) * line;
        uint8_t* high = block + static_cast<size_t>(height - 1 - r) * line;
        std::swap_ranges(low, low + line, high);
    }
}

} // namespace

int32_t ras_put_block_mirror(const uint8_t* block, int32_t width, int32_t height)
{
    const BlockFrame f = clipped_frame(block, width, height);
    if (f.empty())
        return 0;
    switch (state.depth_index) {
    case 1:
        put_mirrored<direct_copy<2, 2>>(block, width, f);
        break;
    case 2:
        put_mirrored<direct_copy<3, 3>>(block, width, f);
        break;
    case 3:
        put_mirrored<direct_copy<3, 4>>(block, width, f);
        break;
    default:
        break; // direct blocks do not fit an 8-bit buffer
    }
    return 0;
}

int32_t ras_put_block8_mirror(const uint8_t* block, int32_t width, int32_t height)
{
    const BlockFrame f = clipped_frame(block, width, height);
    if (f.empty())
        return 0;
    switch (state.depth_index) {
    case 0:
        put_mirrored<index_to_8>(block, width, f);
        break;
    case 1:
        put_mirrored<index_through_table<2>>(block, width, f);
        break;
    case 2:
        put_mirrored<index_through_table<3>>(block, width, f);
        break;
    case 3:
        put_mirrored<index_through_table<4>>(block, width, f);
        break;
    default:
        break;
    }
    return 0;
}

int32_t ras_flip_block(uint8_t* block, int32_t width, int32_t height)
{
    // Direct blocks of 24- and 32-bit buffers hold 3 bytes per pixel, of the rest 2.
    const int32_t pixel_bytes = state.depth_index >= 2 ? 3 : 2;
    flip_rows(block, width, height, pixel_bytes);
    return 0;
}

int32_t ras_flip_block8(uint8_t* block, int32_t width, int32_t height)
{
    flip_rows(block, width, height, 1);
    return 0;
}
