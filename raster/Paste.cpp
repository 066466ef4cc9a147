// Showing a rectangle of the active buffer on the window surface (0xFFRRGGBB pixels, rows
// top-down), converting from the buffer's depth on the way.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <algorithm>
#include <cstring>

using namespace raster_internal;

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// Lookup tables for one paste: 8 bits the buffer's colour table as surface pixels; 16 bits the
// 5-6-5 components widened as ras_color_to_rgb widens them (value * 255 / 31 or / 63).
struct PasteTables {
    uint32_t index[256];
    uint32_t red5[32];
    uint32_t green6[64];
    uint32_t blue5[32];
};

using ConvertRow = void (*)(uint32_t* dst, const uint8_t* src, int32_t pixels, const PasteTables& t);

void row_8(uint32_t* dst, const uint8_t* src, int32_t pixels, const PasteTables& t)
{
    for (int32_t i = 0; i < pixels; ++i)
        dst[i] = t.index[src[i]];
}

void row_16(uint32_t* dst, const uint8_t* src, int32_t pixels, const PasteTables& t)
{
    for (int32_t i = 0; i < pixels; ++i, src += 2) {
        const uint32_t v = src[0] | (static_cast<uint32_t>(src[1]) << 8);
        dst[i] = t.red5[v >> 11] | t.green6[(v >> 5) & 63] | t.blue5[v & 31];
    }
}

void row_24(uint32_t* dst, const uint8_t* src, int32_t pixels, const PasteTables&)
{
    for (int32_t i = 0; i < pixels; ++i, src += 3)
        dst[i] = kOpaque | src[0] | (static_cast<uint32_t>(src[1]) << 8) |
                 (static_cast<uint32_t>(src[2]) << 16);
}

void row_32(uint32_t* dst, const uint8_t* src, int32_t pixels, const PasteTables&)
{
    for (int32_t i = 0; i < pixels; ++i, src += 4) {
        uint32_t v;
        std::memcpy(&v, src, 4);
        dst[i] = kOpaque | (v & 0x00FFFFFFu);
    }
}

void build_tables(PasteTables& t)
{
    if (state.depth_index == 0) {
        const uint8_t* quads = state.header + kColourTableOffset;
        for (int i = 0; i < 256; ++i, quads += 4)
            t.index[i] = kOpaque | quads[0] | (static_cast<uint32_t>(quads[1]) << 8) |
                         (static_cast<uint32_t>(quads[2]) << 16);
    } else if (state.depth_index == 1) {
        for (uint32_t v = 0; v < 32; ++v) {
            t.red5[v] = kOpaque | ((v * 255 / 31) << 16);
            t.blue5[v] = v * 255 / 31;
        }
        for (uint32_t v = 0; v < 64; ++v)
            t.green6[v] = (v * 255 / 63) << 8;
    }
}

} // namespace

int32_t ras_paste(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y)
{
    const ras_surface* surface = state.window;
    if (state.active < 0 || surface == nullptr || surface->pixels == nullptr || x1 > x2 || y1 > y2)
        return 0;

    // Surface position of buffer pixel (x1, y1), then both rectangles reduced together: first to
    // the buffer, then to the surface. 64 bits, so no argument can overflow.
    int64_t src_left = x1;
    int64_t src_top = y1;
    int64_t src_right = x2;
    int64_t src_bottom = y2;
    const int64_t offset_x = static_cast<int64_t>(x) - x1;
    const int64_t offset_y = static_cast<int64_t>(y) - (static_cast<int64_t>(y2) - y1) - y1;

    src_left = std::max<int64_t>({src_left, 0, -offset_x});
    src_top = std::max<int64_t>({src_top, 0, -offset_y});
    src_right = std::min<int64_t>({src_right, state.width - 1, surface->width - 1 - offset_x});
    src_bottom = std::min<int64_t>({src_bottom, state.max_y, surface->height - 1 - offset_y});
    if (src_left > src_right || src_top > src_bottom)
        return 0;

    static constexpr ConvertRow rows[4] = {row_8, row_16, row_24, row_32};
    const ConvertRow convert = rows[state.depth_index];
    PasteTables tables;
    build_tables(tables);

    const auto columns = static_cast<int32_t>(src_right - src_left + 1);
    const auto dst_left = static_cast<int32_t>(src_left + offset_x);
    const auto dst_top = static_cast<int32_t>(src_top + offset_y);
    auto* dst_row = reinterpret_cast<uint8_t*>(surface->pixels) +
                    static_cast<int64_t>(dst_top) * surface->bytes_per_line +
                    static_cast<int64_t>(dst_left) * 4;
    for (int64_t sy = src_top; sy <= src_bottom; ++sy, dst_row += surface->bytes_per_line) {
        const uint8_t* src = pixel_address(static_cast<int32_t>(src_left), static_cast<int32_t>(sy));
        convert(reinterpret_cast<uint32_t*>(dst_row), src, columns, tables);
    }

    if (surface->changed)
        surface->changed(surface->owner, dst_left, dst_top, columns,
                         static_cast<int32_t>(src_bottom - src_top + 1));
    return 0;
}
