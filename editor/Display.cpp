#include "editor/Display.h"

#include "raster/raster.h"

#include <algorithm>

TPic::TPic(std::int32_t width, std::int32_t height, std::int32_t depth)
    : FWidth(width), FHeight(height) {
  ras_set_buffer_depth(depth);
  FHandle = ras_alloc_buffer(width, height);
  if (FHandle == -1) throw TPicAllocError("all picture buffers are in use");
  if (FHandle < 0) {
    throw TPicAllocError("there is not enough memory for a picture of " + std::to_string(width) +
                         " x " + std::to_string(height) + " pixels at " +
                         std::to_string(depth) + " bits");
  }
  ras_open_buffer(FHandle);
  ras_refresh_colors();
  FView = {0, 0, ras_max_x(), ras_max_y()};
}

TPic::~TPic() { ras_free_buffer(FHandle); }

void TPic::Open() const { ras_open_buffer(FHandle); }

void TPic::SetPosition(std::int32_t x, std::int32_t y) {
  FLeft = x;
  FTop = y;
  Open();
  FBottomLeft = {x, y + (FView.Bottom - FView.Top)};
}

void TPic::Paint() {
  Open();
  ras_paste(FView.Left, FView.Right, FView.Top, FView.Bottom, FBottomLeft.X, FBottomLeft.Y);
}

void TPic::SetViewSize(std::int32_t w, std::int32_t h) {
  w = std::min(w, FWidth - FView.Left);
  h = std::min(h, FHeight - FView.Top);
  FView = {FView.Left, FView.Top, FView.Left + w - 1, FView.Top + h - 1};
  Open();
}

void TPic::ScrollTo(std::int32_t x, std::int32_t y) {
  const std::int32_t vw = FView.Right - FView.Left + 1;
  const std::int32_t vh = FView.Bottom - FView.Top + 1;
  if (x + vw > FWidth) x = FWidth - vw;
  if (y + vh > FHeight) y = FHeight - vh;
  // A view wider or taller than the picture (its stored width may be rounded up) starts at 0.
  x = std::max(x, 0);
  y = std::max(y, 0);
  FView = {x, y, x + vw - 1, y + vh - 1};
}
