// The Fill tool's span fill: it follows the seed colour up and down the clicked column and, in
// each row of that run, repaints the horizontal run of seed pixels through the clicked column.
// Seed-coloured areas reached only through other columns are left alone (it is no flood fill).

#include "raster/RasterState.h"
#include "raster/raster.h"

using namespace raster_internal;

namespace {

// Native value of the pixel at byte p of a row, as ras_get_pixel reports it, by bytes per pixel.
template <int Bytes>
uint32_t read_pixel(const uint8_t* p)
{
    uint32_t v = 0;
    for (int i = 0; i < Bytes; ++i)
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

template <int Bytes>
class seed_row {
public:
    seed_row(int32_t r, uint32_t seed)
        : row_(state.pixels + static_cast<std::ptrdiff_t>(state.max_y - r) * state.bytes_per_line),
          seed_(seed)
    {
    }
    bool matches(int32_t x) const { return read_pixel<Bytes>(row_ + x * Bytes) == seed_; }

private:
    const uint8_t* row_;
    uint32_t seed_;
};

// Paints the run of seed pixels in row r that contains column x, if (x, r) is a seed pixel.
// Returns whether it was one, which is what keeps a pass going.
template <int Bytes>
bool fill_span(int32_t x, int32_t r, uint32_t seed)
{
    const seed_row<Bytes> row(r, seed);
    if (!row.matches(x))
        return false;
    int32_t left = x;
    while (left > 0 && row.matches(left - 1))
        --left;
    int32_t right = x;
    while (right < state.width - 1 && row.matches(right + 1))
        ++right;
    ras_move_to(left, r);
    ras_draw_to(right, r);
    return true;
}

// Every row is tested before it is painted and never again, so painting cannot change which
// rows the passes visit.
template <int Bytes>
void fill(int32_t x, int32_t y, uint32_t seed)
{
    for (int32_t up = y; up >= 0 && fill_span<Bytes>(x, up, seed);)
        --up;
    for (int32_t down = y + 1; down <= state.max_y && fill_span<Bytes>(x, down, seed);)
        ++down;
}

} // namespace

void ras_span_fill(int32_t x, int32_t y, int32_t seed)
{
    if (state.active < 0 || !inside_buffer(x, y))
        return;
    const uint32_t value = static_cast<uint32_t>(seed);
    switch (state.depth_index) {
    case 0:
        fill<1>(x, y, value);
        break;
    case 1:
        fill<2>(x, y, value);
        break;
    case 2:
        fill<3>(x, y, value);
        break;
    case 3:
        fill<4>(x, y, value);
        break;
    default:
        break;
    }
}
