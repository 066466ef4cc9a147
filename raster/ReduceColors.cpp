// Colour reduction of an 8-bit picture: merge the closest pairs of used colours until at most n
// remain, pack the survivors in the order of their old indices, move them up by an offset and
// renumber the pixels inside the clip rectangle.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <algorithm>
#include <cstring>

using namespace raster_internal;

namespace {

constexpr uint32_t kCountLimit = 65535;

// Per-index pixel counts (saturating at 65535) and the index each colour is merged into.
struct reduction_tables {
    uint16_t count[256];
    uint8_t map[256];
};

void add_saturating(uint16_t& counter, uint32_t amount)
{
    const uint32_t sum = counter + amount;
    counter = static_cast<uint16_t>(std::min(sum, kCountLimit));
}

uint8_t* row_of(int32_t y)
{
    return state.pixels + static_cast<std::ptrdiff_t>(state.max_y - y) * state.bytes_per_line;
}

// Counting to 32 bits and capping afterwards gives the same counts as stopping each one at 65535,
// without a test per pixel.
void count_pixels(reduction_tables& t)
{
    uint32_t full[256] = {};
    for (int32_t y = state.vis_top; y <= state.vis_bottom; ++y) {
        const uint8_t* row = row_of(y);
        for (int32_t x = state.vis_left; x <= state.vis_right; ++x)
            ++full[row[x]];
    }
    for (int i = 0; i < 256; ++i)
        t.count[i] = static_cast<uint16_t>(std::min(full[i], kCountLimit));
}

void remap_pixels(const uint8_t* final_index)
{
    for (int32_t y = state.vis_top; y <= state.vis_bottom; ++y) {
        uint8_t* row = row_of(y);
        for (int32_t x = state.vis_left; x <= state.vis_right; ++x)
            row[x] = final_index[row[x]];
    }
}

uint32_t square(int32_t v)
{
    return static_cast<uint32_t>(v * v);
}

// Merges the closest pair of used colours into one. Pairs are visited in index order; an equally
// close pair takes over only when the best pair's smaller count exceeds the new pair's second
// count. The colour with the smaller count (the lower index on equal counts) is merged into the
// other, which keeps its own palette colour.
void merge_closest_pair(reduction_tables& t, const uint8_t* palette)
{
    uint32_t best = UINT32_MAX;
    int bi = 0;
    int bj = 0;
    for (int i = 0; i < 255; ++i) {
        if (t.count[i] == 0)
            continue;
        const uint8_t* ci = palette + 3 * i;
        for (int j = i + 1; j < 256; ++j) {
            if (t.count[j] == 0)
                continue;
            const uint8_t* cj = palette + 3 * j;
            uint32_t d = square(ci[0] - cj[0]);
            if (d > best)
                continue;
            d += square(ci[1] - cj[1]);
            if (d > best)
                continue;
            d += square(ci[2] - cj[2]);
            if (d < best || (d == best && std::min(t.count[bi], t.count[bj]) > t.count[j])) {
                best = d;
                bi = i;
                bj = j;
            }
        }
    }
    const int loser = t.count[bj] < t.count[bi] ? bj : bi;
    const int survivor = loser == bi ? bj : bi;
    for (int s = 0; s < 256; ++s) {
        if (t.map[s] != loser)
            continue;
        t.map[s] = static_cast<uint8_t>(survivor);
        add_saturating(t.count[survivor], t.count[s]);
    }
    t.count[loser] = 0;
}

// Numbers the surviving colours 0, 1, ... in the order of their old indices, moving their palette
// entries down to match; merged-away colours then follow their survivor's new number.
void pack(reduction_tables& t, uint8_t* palette)
{
    int k = 0;
    for (int s = 0; s < 256; ++s) {
        if (t.count[s] == 0)
            continue;
        t.map[s] = static_cast<uint8_t>(k);
        std::memmove(palette + 3 * k, palette + 3 * s, 3);
        ++k;
    }
    for (int s = 0; s < 256; ++s) {
        if (t.count[s] == 0)
            t.map[s] = t.map[t.map[s]];
    }
}

} // namespace

int32_t ras_reduce_colors(int32_t offset, int32_t n, uint8_t* palette)
{
    if (state.active < 0 || state.depth != 8 || palette == nullptr || n < 1 || offset < 0 ||
        offset > 256 - n)
        return 0;

    reduction_tables t{};
    for (int i = 0; i < 256; ++i)
        t.map[i] = static_cast<uint8_t>(i);
    count_pixels(t);

    int32_t used = static_cast<int32_t>(
        std::count_if(std::begin(t.count), std::end(t.count), [](uint16_t c) { return c > 0; }));
    for (; used > n; --used)
        merge_closest_pair(t, palette);

    pack(t, palette);

    if (offset > 0) {
        std::memmove(palette + 3 * offset, palette, 3 * static_cast<size_t>(n));
        std::memset(palette, 0, 3 * static_cast<size_t>(offset));
        std::memset(palette + 3 * (offset + n), 0, 3 * static_cast<size_t>(256 - offset - n));
    }

    uint8_t final_index[256];
    for (int i = 0; i < 256; ++i)
        final_index[i] = static_cast<uint8_t>(t.map[i] + offset);
    remap_pixels(final_index);
    return 0;
}
