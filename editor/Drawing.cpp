#include "editor/Drawing.h"

#include "raster/raster.h"

#include <vector>

void DrawGrid(const TPic& zoom) {
  zoom.Open();
  ras_set_color(-1);
  const std::int32_t maxX = ras_max_x();
  const std::int32_t maxY = ras_max_y();
  for (std::int32_t x = 0; x <= maxX; x += 8) {
    ras_move_to(x, 0);
    ras_draw_to(x, maxY);
  }
  for (std::int32_t y = 0; y <= maxY; y += 8) {
    ras_move_to(0, y);
    ras_draw_to(maxX, y);
  }
}

void ClearViews(const TPic& zoom, const TPic& cel) {
  zoom.Open();
  ras_set_color(0);
  ras_fill_buffer();
  DrawGrid(zoom);
  cel.Open();
  ras_refresh_colors();
  ras_set_color(0);
  ras_fill_buffer();
}

namespace {

// Native colour of pixel x of a row, read straight from the buffer's memory.
template <std::int32_t Bytes>
std::int32_t PixelAt(const std::uint8_t* row, std::int32_t x) {
  const std::uint8_t* p = row + x * Bytes;
  if constexpr (Bytes == 1) {
    return p[0];
  } else if constexpr (Bytes == 2) {
    return p[0] | (p[1] << 8);
  } else if constexpr (Bytes == 3) {
    return p[0] | (p[1] << 8) | (p[2] << 16);
  } else {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (p[1] << 8) |
                                     (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
  }
}

template <std::int32_t Bytes>
void RenderRows(const std::vector<const std::uint8_t*>& rows, std::int32_t width) {
  for (std::int32_t y = 0; y < static_cast<std::int32_t>(rows.size()); ++y) {
    const std::uint8_t* row = rows[y];
    for (std::int32_t x = 0; x < width; ++x) {
      ras_set_color(PixelAt<Bytes>(row, x));
      ras_rect(8 * x + 1, 8 * x + 7, 8 * y + 1, 8 * y + 7);
    }
  }
}

}  // namespace

void RenderZoom(const TPic& cel, const TPic& zoom, std::int32_t width, std::int32_t height,
                std::int32_t depth) {
  cel.Open();
  // Row addresses are taken once; the buffer's memory stays put while another buffer is active.
  std::vector<const std::uint8_t*> rows;
  rows.reserve(static_cast<std::size_t>(height));
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = ras_row_address(y);
    if (row == nullptr) break;
    rows.push_back(row);
  }
  zoom.Open();
  switch (depth) {
    case 8: RenderRows<1>(rows, width); break;
    case 16: RenderRows<2>(rows, width); break;
    case 24: RenderRows<3>(rows, width); break;
    case 32: RenderRows<4>(rows, width); break;
    default: break;
  }
}

void DrawPaletteStrip(const TPic& strip) {
  strip.Open();
  for (std::int32_t r = 0; r < 8; ++r) {
    for (std::int32_t c = 0; c < 32; ++c) {
      ras_set_color(32 * r + c);
      ras_rect(8 * c, 8 * c + 7, 8 * r, 8 * r + 7);
    }
  }
}
