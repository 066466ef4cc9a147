// Showing a rectangle of the active buffer on the window surface (0xFFRRGGBB pixels, rows
// top-down), converting from the buffer's depth on the way.

#include "raster/RasterState.h"
#include "raster/RowKernels.h"
#include "raster/raster.h"

#include <algorithm>
#include <cstring>

using namespace raster_internal;

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// An 8-bit buffer's colour table (blue, green, red, 0 quads) as surface pixels.
struct IndexTable {
    uint32_t colour[256];
};

void build_index_table(IndexTable& t)
{
    const uint8_t* quads = state.header + kColourTableOffset;
    for (int i = 0; i < 256; ++i, quads += 4)
        t.colour[i] = kOpaque | quads[0] | (static_cast<uint32_t>(quads[1]) << 8) |
                      (static_cast<uint32_t>(quads[2]) << 16);
}

} // namespace

int32_t ras_paste(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y)
{
    const ras_surface* surface = state.window;
    if (state.active < 0 || surface == nullptr || surface->pixels == nullptr || x1 > x2 || y1 > y2)
        return 0;
    // A surface whose rows are narrower than its width, or not whole pixels apart, is not one.
    if (surface->bytes_per_line % 4 != 0 || surface->bytes_per_line / 4 < surface->width)
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

    const auto columns = static_cast<int32_t>(src_right - src_left + 1);
    const auto dst_left = static_cast<int32_t>(src_left + offset_x);
    const auto dst_top = static_cast<int32_t>(src_top + offset_y);
    auto* dst_row = reinterpret_cast<uint8_t*>(surface->pixels) +
                    static_cast<int64_t>(dst_top) * surface->bytes_per_line +
                    static_cast<int64_t>(dst_left) * 4;
    auto for_each_row = [&](auto convert) {
        for (int64_t sy = src_top; sy <= src_bottom; ++sy, dst_row += surface->bytes_per_line)
            convert(reinterpret_cast<uint32_t*>(dst_row),
                    pixel_address(static_cast<int32_t>(src_left), static_cast<int32_t>(sy)), columns);
    };

    const RowKernels& kernels = row_kernels();
    switch (state.depth_index) {
    case 0: {
        IndexTable table;
        build_index_table(table);
        // Four indices read at once and two pixels stored at once halve the memory operations.
        for_each_row([&table](uint32_t* dst, const uint8_t* src, int32_t pixels) {
            const uint32_t* colour = table.colour;
            int32_t i = 0;
            for (; i + 4 <= pixels; i += 4) {
                uint32_t four;
                std::memcpy(&four, src + i, 4);
                const uint64_t first = colour[four & 255] | (static_cast<uint64_t>(colour[(four >> 8) & 255]) << 32);
                const uint64_t second = colour[(four >> 16) & 255] | (static_cast<uint64_t>(colour[four >> 24]) << 32);
                std::memcpy(dst + i, &first, 8);
                std::memcpy(dst + i + 2, &second, 8);
            }
            for (; i < pixels; ++i)
                dst[i] = colour[src[i]];
        });
        break;
    }
    case 1:
        for_each_row(kernels.rgb565_to_surface);
        break;
    case 2:
        for_each_row(kernels.bgr_to_surface);
        break;
    default:
        for_each_row(kernels.bgrx_to_surface);
        break;
    }

    if (surface->changed)
        surface->changed(surface->owner, dst_left, dst_top, columns,
                         static_cast<int32_t>(src_bottom - src_top + 1));
    return 0;
}
