#pragma once
// TPic: one raster buffer of the engine with a place in the window and a visible part. The main
// window has three: the magnified view, the true-size picture (the edit buffer) and the palette
// strip. Painting goes through the engine's paste into the window surface.

#include "editor/Geometry.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// Thrown by the TPic constructor when the engine has no free buffer slot or not enough memory for
// the buffer; nothing is allocated and the active buffer is unchanged.
class TPicAllocError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPic {
 public:
  // Allocates a width x height buffer at depth (8, 16, 24 or 32), opens it and loads its colours.
  // The view is the whole buffer as allocated, which is wider than width when the engine rounds
  // the stored width up to a multiple of 4. The new buffer is left active.
  TPic(std::int32_t width, std::int32_t height, std::int32_t depth);
  // Frees the buffer. The engine never frees the active buffer, so make another one active first.
  ~TPic();
  TPic(const TPic&) = delete;
  TPic& operator=(const TPic&) = delete;

  // Places the view's top-left corner at window point (x, y) and makes the buffer active. Call it
  // before the first Paint and after every change of the view's height.
  void SetPosition(std::int32_t x, std::int32_t y);
  // Pastes the visible part into the window: buffer column FView.Left and row FView.Top land on
  // window point (FLeft, FTop). Makes the buffer active.
  void Paint();
  // Resizes the view to w x h, keeping its origin and staying inside the picture. Makes the
  // buffer active.
  void SetViewSize(std::int32_t w, std::int32_t h);
  // Moves the view's origin to (x, y), keeping its size and pulling it back inside the picture.
  // Does not touch the engine.
  void ScrollTo(std::int32_t x, std::int32_t y);
  // Makes the picture's buffer the engine's active buffer.
  void Open() const;

  std::int32_t FHandle;
  std::int32_t FLeft = 0;
  std::int32_t FTop = 0;
  std::int32_t FWidth;
  std::int32_t FHeight;
  TRect FView;
  TPoint FBottomLeft;
};
