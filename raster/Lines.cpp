// Clipped lines: outcode clipping against the clip rectangle, then Bresenham from the upper end
// down, a tie (error exactly 0) stepping the minor axis.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <cstring>
#include <utility>

using namespace raster_internal;

namespace {

constexpr int kLeft = 1;
constexpr int kTop = 2;
constexpr int kRight = 4;
constexpr int kBottom = 8;

int outcode(int32_t x, int32_t y)
{
    int code = 0;
    if (x < state.vis_left)
        code |= kLeft;
    if (y < state.vis_top)
        code |= kTop;
    if (x > state.vis_right)
        code |= kRight;
    if (y > state.vis_bottom)
        code |= kBottom;
    return code;
}

// The other coordinate where the segment crosses an edge. The edge lies between the two ends, so
// the result lies between them too; the product of two differences of 32-bit values needs up to
// 65 bits, so it is formed in 128 bits and can never overflow.
__extension__ typedef __int128 wide_int;

int32_t cross(int32_t from, int32_t to, int32_t edge_from, int32_t edge, int32_t edge_to)
{
    const wide_int step = static_cast<wide_int>(static_cast<int64_t>(to) - from) *
                          (static_cast<int64_t>(edge) - edge_from) /
                          (static_cast<int64_t>(edge_to) - edge_from);
    return static_cast<int32_t>(from + static_cast<int64_t>(step));
}

// Reduces the segment to the clip rectangle; false when nothing of it is inside.
bool clip_segment(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1)
{
    for (;;) {
        int code0 = outcode(x0, y0);
        const int code1 = outcode(x1, y1);
        if ((code0 | code1) == 0)
            return true;
        if (code0 & code1)
            return false;
        if (code0 == 0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
            code0 = code1;
        }
        if (code0 & kLeft) {
            y0 = cross(y0, y1, x0, state.vis_left, x1);
            x0 = state.vis_left;
        } else if (code0 & kTop) {
            x0 = cross(x0, x1, y0, state.vis_top, y1);
            y0 = state.vis_top;
        } else if (code0 & kRight) {
            y0 = cross(y0, y1, x0, state.vis_right, x1);
            x0 = state.vis_right;
        } else {
            x0 = cross(x0, x1, y0, state.vis_bottom, y1);
            y0 = state.vis_bottom;
        }
    }
}

// Bresenham over pixel addresses: one row down is one line lower in memory (rows are bottom-up).
template <int PixelBytes>
void plot_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t word, uint8_t index)
{
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int32_t dy = y1 - y0;
    const int32_t adx = x1 >= x0 ? x1 - x0 : x0 - x1;
    const std::ptrdiff_t step_x = x1 >= x0 ? PixelBytes : -PixelBytes;
    const std::ptrdiff_t step_y = -static_cast<std::ptrdiff_t>(state.bytes_per_line);
    uint8_t* at = pixel_address(x0, y0);
    auto plot = [&] {
        if constexpr (PixelBytes == 1)
            *at = index;
        else
            std::memcpy(at, &word, PixelBytes);
    };

    if (adx >= dy) {
        int32_t error = 2 * dy - adx;
        for (int32_t i = 0; i < adx; ++i) {
            plot();
            if (error >= 0) {
                at += step_y;
                error += 2 * dy - 2 * adx;
            } else {
                error += 2 * dy;
            }
            at += step_x;
        }
        plot();
    } else {
        plot();
        int32_t error = 2 * adx - dy;
        for (int32_t i = 0; i < dy; ++i) {
            if (error >= 0) {
                at += step_x;
                error += 2 * adx - 2 * dy;
            } else {
                error += 2 * adx;
            }
            at += step_y;
            plot();
        }
    }
}

} // namespace

int32_t ras_draw_to(int32_t x, int32_t y)
{
    if (state.active < 0)
        return 0;
    int32_t x0 = state.pos_x;
    int32_t y0 = state.pos_y;
    int32_t x1 = x;
    int32_t y1 = y;
    state.pos_x = x;
    state.pos_y = y;
    if (state.vis_left > state.vis_right || state.vis_top > state.vis_bottom)
        return 0;
    if (!clip_segment(x0, y0, x1, y1))
        return 0;

    const uint32_t word = state.colour_word;
    const uint8_t index = state.colour_index;
    switch (state.depth_index) {
    case 0:
        plot_line<1>(x0, y0, x1, y1, word, index);
        break;
    case 1:
        plot_line<2>(x0, y0, x1, y1, word, index);
        break;
    case 2:
        plot_line<3>(x0, y0, x1, y1, word, index);
        break;
    default:
        plot_line<4>(x0, y0, x1, y1, word, index);
        break;
    }
    return 0;
}
