#pragma once
// The main window's client area. It owns the 32-bit image the raster engine pastes into (the
// window surface) and shows it; the engine reports every rectangle it changes, and only that part
// is repainted. The image has one pixel per logical window pixel, so on a high-density screen Qt
// scales the whole surface and the window's arithmetic stays the same.

#include "raster/raster.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

class TWindowSurface : public QWidget {
 public:
  explicit TWindowSurface(QWidget* parent = nullptr);

  // The surface as the engine sees it; its fields follow the image across resizes.
  ras_surface* Surface() { return &FSurface; }
  const QImage& Image() const { return FImage; }

  // Fills the inclusive rectangle with colour, clipped to the surface, and repaints it.
  void FillArea(int left, int top, int right, int bottom, const QColor& colour);
  // Fills the whole surface with colour.
  void FillAll(const QColor& colour);
  // Draws the image to the screen at once instead of at the next event-loop pass.
  void RepaintNow();

  // Called after the widget (and so the surface) has changed size.
  std::function<void()> OnResize;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  static void Changed(void* owner, int32_t left, int32_t top, int32_t width, int32_t height);
  void BindSurface();

  QImage FImage;
  ras_surface FSurface{};
};
