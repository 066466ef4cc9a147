// The engine's one palette in its three views (logical palette, colour table of 8-bit buffers,
// conversion table of the active direct-colour buffer) and the palette objects handed to callers.
//
// There are no palette-based screens here, so the engine always works as on a screen deeper than
// 8 bits: the default colours fill the whole palette, the twenty static entries are the standard
// static colours, and realising or animating a palette only keeps the tables.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <algorithm>
#include <array>
#include <new>

using namespace raster_internal;

namespace {

struct rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Entries 0..9 and 246..255: the windowing system's static colours.
constexpr rgb kLowStatic[10] = {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},    {128, 128, 0},
                                {0, 0, 128},   {128, 0, 128},   {0, 128, 128},  {192, 192, 192},
                                {192, 220, 192}, {164, 200, 240}};
constexpr rgb kHighStatic[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                 {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                 {0, 255, 255},   {255, 255, 255}};

// Entries 10..25: the sixteen classic display colours; 26..29: four greys.
constexpr rgb kClassic[16] = {{0, 0, 0},      {0, 0, 170},    {0, 170, 0},    {0, 170, 170},
                              {170, 0, 0},    {170, 0, 170},  {170, 85, 0},   {170, 170, 170},
                              {85, 85, 85},   {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
                              {255, 85, 85},  {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};
constexpr rgb kGreys[4] = {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}};

// Entries 30..245: nine blocks of 24 hues, each block with its own five brightness levels and
// every block running once around the colour wheel from blue through red, green and back.
constexpr int kHueBlockStart = 30;
constexpr uint8_t kBlockLevels[9][5] = {
    {0, 64, 125, 190, 255}, {125, 157, 190, 222, 255}, {182, 198, 218, 234, 255},
    {0, 28, 56, 85, 113},   {56, 68, 85, 97, 113},     {80, 89, 97, 105, 113},
    {0, 16, 32, 48, 64},    {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64}};
constexpr uint8_t kWheel[24][3] = {
    {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
    {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
    {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4}};

constexpr std::array<rgb, 256> make_default_colours()
{
    std::array<rgb, 256> c{};
    for (int i = 0; i < 10; ++i) {
        c[i] = kLowStatic[i];
        c[246 + i] = kHighStatic[i];
    }
    for (int i = 0; i < 16; ++i)
        c[10 + i] = kClassic[i];
    for (int i = 0; i < 4; ++i)
        c[26 + i] = kGreys[i];
    for (int b = 0; b < 9; ++b) {
        for (int k = 0; k < 24; ++k) {
            const uint8_t* level = kBlockLevels[b];
            c[kHueBlockStart + 24 * b + k] = {level[kWheel[k][0]], level[kWheel[k][1]],
                                              level[kWheel[k][2]]};
        }
    }
    return c;
}

constexpr std::array<rgb, 256> kDefaultColours = make_default_colours();

// Entries the engine writes itself carry flag 1 (reserved for palette animation).
constexpr uint8_t kEngineFlag = 1;

void set_logical(int32_t index, uint8_t red, uint8_t green, uint8_t blue)
{
    state.logical[index] = ras_palette_entry{red, green, blue, kEngineFlag};
}

void rebuild_colour_table()
{
    for (int i = 0; i < 256; ++i) {
        const ras_palette_entry& e = state.logical[i];
        state.colour_table[i] = ras_quad{e.blue, e.green, e.red, 0};
    }
}

// A new palette object holding the logical palette; null when memory runs out.
ras_palette* new_palette_object()
{
    ras_palette* palette = new (std::nothrow) ras_palette;
    if (palette != nullptr)
        std::copy(std::begin(state.logical), std::end(state.logical), palette->entries);
    return palette;
}

// The indices first .. first + count - 1 that lie inside the palette, as a half-open range.
struct index_range {
    int32_t begin;
    int32_t end;
};

index_range inside_palette(int64_t first, int64_t count)
{
    const int64_t begin = std::clamp<int64_t>(first, 0, 256);
    const int64_t end = std::clamp<int64_t>(first + std::max<int64_t>(count, 0), begin, 256);
    return {static_cast<int32_t>(begin), static_cast<int32_t>(end)};
}

} // namespace

ras_palette* ras_make_default_palette()
{
    for (int i = 0; i < 256; ++i)
        set_logical(i, kDefaultColours[i].red, kDefaultColours[i].green, kDefaultColours[i].blue);
    rebuild_colour_table();
    return new_palette_object();
}

ras_palette* ras_make_palette(int32_t first, int32_t count, const uint8_t* rgb_triples)
{
    for (int i = 0; i < 10; ++i) {
        set_logical(i, kLowStatic[i].red, kLowStatic[i].green, kLowStatic[i].blue);
        set_logical(246 + i, kHighStatic[i].red, kHighStatic[i].green, kHighStatic[i].blue);
    }
    const int32_t given = rgb_triples != nullptr ? std::max(count, 0) : 0;
    const index_range triples = inside_palette(first, given);
    for (int32_t i = triples.begin; i < triples.end; ++i) {
        const uint8_t* t = rgb_triples + 3 * static_cast<int64_t>(i - first);
        set_logical(i, t[0], t[1], t[2]);
    }
    // A short colour list leaves the rest of the sprite's 236 entries black.
    if (given < 236) {
        const index_range black = inside_palette(static_cast<int64_t>(first) + given, 236 - given);
        for (int32_t i = black.begin; i < black.end; ++i)
            set_logical(i, 0, 0, 0);
    }
    rebuild_colour_table();
    return new_palette_object();
}

void ras_delete_palette(ras_palette* palette)
{
    if (palette == nullptr)
        return;
    if (state.current_palette == palette)
        state.current_palette = nullptr;
    delete palette;
}

int32_t ras_realize_palette(ras_palette* palette)
{
    state.current_palette = palette;
    return 0;
}

int32_t ras_animate_palette(int32_t first, int32_t count, const uint8_t* rgb_triples)
{
    if (state.active < 0 || count <= 0 || rgb_triples == nullptr)
        return 0;
    const index_range range = inside_palette(first, count);
    for (int32_t i = range.begin; i < range.end; ++i) {
        const uint8_t* t = rgb_triples + 3 * static_cast<int64_t>(i - first);
        set_logical(i, t[0], t[1], t[2]);
        state.colour_table[i] = ras_quad{t[2], t[1], t[0], 0};
        // The realised palette changes in place, as palette animation does on the screen.
        if (state.current_palette != nullptr)
            state.current_palette->entries[i] = state.logical[i];
    }
    if (state.depth == 8) {
        copy_colour_table_to_active();
    } else {
        for (int32_t i = range.begin; i < range.end; ++i) {
            const ras_palette_entry& e = state.logical[i];
            state.conversion[i] = native_from_rgb(state.depth_index, e.red, e.green, e.blue);
        }
    }
    return 0;
}

int32_t ras_get_rgb(int32_t index, int32_t* r, int32_t* g, int32_t* b)
{
    if (index < 0 || index > 255)
        return 0;
    const ras_palette_entry& e = state.logical[index];
    if (r != nullptr)
        *r = e.red;
    if (g != nullptr)
        *g = e.green;
    if (b != nullptr)
        *b = e.blue;
    return 0;
}

int32_t ras_refresh_colors()
{
    copy_colour_table_to_active();
    return 0;
}
