// The current colour, colour conversions, single pixels, rectangles and whole-buffer fills.

#include "raster/PixelRuns.h"
#include "raster/RasterState.h"
#include "raster/raster.h"

#include <cstring>

using namespace raster_internal;

int32_t ras_move_to(int32_t x, int32_t y)
{
    state.pos_x = x;
    state.pos_y = y;
    return 0;
}

int32_t ras_set_color(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    switch (state.depth_index) {
    case 0:
        state.colour_index = static_cast<uint8_t>(v);
        state.colour_word = (v & 0xFF) * 0x01010101u;
        break;
    case 1:
        state.colour_word = (v & 0xFFFF) * 0x00010001u;
        break;
    default:
        state.colour_word = v;
        break;
    }
    return 0;
}

int32_t ras_make_color(int32_t r, int32_t g, int32_t b)
{
    return static_cast<int32_t>(native_from_rgb(state.depth_index, static_cast<uint32_t>(r),
                                                static_cast<uint32_t>(g), static_cast<uint32_t>(b)));
}

int32_t ras_color_to_rgb(int32_t value, int32_t* r, int32_t* g, int32_t* b)
{
    const auto v = static_cast<uint32_t>(value);
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    switch (state.depth_index) {
    case 0:
        return 0;
    case 1:
        red = static_cast<int32_t>((v >> 11) & 31) * 255 / 31;
        green = static_cast<int32_t>((v >> 5) & 63) * 255 / 63;
        blue = static_cast<int32_t>(v & 31) * 255 / 31;
        break;
    default:
        red = static_cast<int32_t>((v >> 16) & 255);
        green = static_cast<int32_t>((v >> 8) & 255);
        blue = static_cast<int32_t>(v & 255);
        break;
    }
    if (r)
        *r = red;
    if (g)
        *g = green;
    if (b)
        *b = blue;
    return 0;
}

int32_t ras_point(int32_t x, int32_t y)
{
    if (state.active < 0 || x < state.vis_left || x > state.vis_right || y < state.vis_top ||
        y > state.vis_bottom)
        return 0;
    uint8_t* at = pixel_address(x, y);
    const uint32_t word = state.colour_word;
    switch (state.depth_index) {
    case 0:
        *at = state.colour_index;
        break;
    case 1:
        std::memcpy(at, &word, 2);
        break;
    case 2:
        std::memcpy(at, &word, 3);
        break;
    default:
        std::memcpy(at, &word, 4);
        break;
    }
    return 0;
}

int32_t ras_get_pixel(int32_t x, int32_t y)
{
    if (state.active < 0 || !inside_buffer(x, y))
        return 0;
    const uint8_t* at = pixel_address(x, y);
    uint32_t value = 0;
    std::memcpy(&value, at, static_cast<size_t>(kBufferPixelBytes[state.depth_index]));
    return static_cast<int32_t>(value);
}

int32_t ras_rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2)
{
    if (state.active < 0)
        return 0;
    if (x1 < 0)
        x1 = 0;
    if (y1 < 0)
        y1 = 0;
    if (x2 >= state.width)
        x2 = state.width - 1;
    if (y2 > state.max_y)
        y2 = state.max_y;
    if (x1 > x2 || y1 > y2)
        return 0;

    const int64_t pixels = static_cast<int64_t>(x2) - x1 + 1;
    const int32_t line = state.bytes_per_line;
    const uint32_t word = state.colour_word;
    // Rows are written from y2 up to y1, which is upwards in memory as well.
    uint8_t* row = pixel_address(x1, y2);
    int32_t rows = y2 - y1 + 1;
    if (state.depth_index == 2) {
        const TripleRun run(word);
        for (; rows > 0; --rows, row += line)
            run.fill(row, pixels);
    } else {
        const int64_t bytes = pixels * kBufferPixelBytes[state.depth_index];
        for (; rows > 0; --rows, row += line)
            fill_words(row, bytes, word);
    }
    return 0;
}

int32_t ras_erase()
{
    if (state.active >= 0)
        std::memset(state.pixels, 0, static_cast<size_t>(state.total_bytes));
    return 0;
}

int32_t ras_fill_buffer()
{
    if (state.active < 0)
        return 0;
    if (state.depth_index == 2)
        TripleRun(state.colour_word).fill(state.pixels, state.total_bytes / 3);
    else
        fill_words(state.pixels, state.total_bytes, state.colour_word);
    return 0;
}
