#pragma once
// The part of a block transfer that survives clipping. A block of width x height pixels has its
// lower-left pixel at (x, y): block row r, column c is buffer pixel (x + c, y - r). Reduced to the
// inclusive bounds left..right, top..bottom, the transfer covers block rows first_row ..
// first_row + rows - 1 and buffer columns x .. x + columns - 1, which hold block columns
// first_column .. first_column + columns - 1 in an ordinary put. Block row first_row lands on
// buffer row y; each further block row lies one buffer row higher (y - 1, y - 2, ...).

#include <algorithm>
#include <cstdint>

namespace raster_internal {

struct BlockFrame {
    int32_t x = 0;
    int32_t y = 0;
    int32_t first_column = 0;
    int32_t columns = 0;
    int32_t first_row = 0;
    int32_t rows = 0;

    bool empty() const { return columns <= 0 || rows <= 0; }
};

// 64-bit arithmetic throughout, so no argument can overflow the bounds checks.
inline BlockFrame block_frame(int32_t x, int32_t y, int32_t width, int32_t height, int32_t left,
                              int32_t right, int32_t top, int32_t bottom)
{
    BlockFrame f;
    if (width <= 0 || height <= 0 || left > right || top > bottom)
        return f;
    const int64_t skip_left = std::max<int64_t>(0, static_cast<int64_t>(left) - x);
    const int64_t first_x = static_cast<int64_t>(x) + skip_left;
    const int64_t last_x = std::min<int64_t>(static_cast<int64_t>(x) + width - 1, right);
    const int64_t first_row = std::max<int64_t>(0, static_cast<int64_t>(y) - bottom);
    const int64_t last_row = std::min<int64_t>(static_cast<int64_t>(height) - 1,
                                               static_cast<int64_t>(y) - top);
    if (last_x < first_x || last_row < first_row)
        return f;
    f.x = static_cast<int32_t>(first_x);
    f.y = static_cast<int32_t>(static_cast<int64_t>(y) - first_row);
    f.first_column = static_cast<int32_t>(skip_left);
    f.columns = static_cast<int32_t>(last_x - first_x + 1);
    f.first_row = static_cast<int32_t>(first_row);
    f.rows = static_cast<int32_t>(last_row - first_row + 1);
    return f;
}

} // namespace raster_internal
