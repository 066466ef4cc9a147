#include "editor/WindowSurface.h"

#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>

TWindowSurface::TWindowSurface(QWidget* parent) : QWidget(parent) {
  // The surface covers every pixel itself, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  FImage = QImage(1, 1, QImage::Format_RGB32);
  FImage.fill(palette().color(QPalette::Button));
  BindSurface();
}

void TWindowSurface::BindSurface() {
  FSurface.pixels = reinterpret_cast<uint32_t*>(FImage.bits());
  FSurface.width = FImage.width();
  FSurface.height = FImage.height();
  FSurface.bytes_per_line = static_cast<int32_t>(FImage.bytesPerLine());
  FSurface.changed = &TWindowSurface::Changed;
  FSurface.owner = this;
}

void TWindowSurface::Changed(void* owner, int32_t left, int32_t top, int32_t width,
                             int32_t height) {
  static_cast<TWindowSurface*>(owner)->update(left, top, width, height);
}

void TWindowSurface::FillArea(int left, int top, int right, int bottom, const QColor& colour) {
  const QRect area = QRect(QPoint(left, top), QPoint(right, bottom)).intersected(FImage.rect());
  if (area.isEmpty()) return;
  QPainter painter(&FImage);
  painter.fillRect(area, colour);
  update(area);
}

void TWindowSurface::FillAll(const QColor& colour) {
  FImage.fill(colour);
  update();
}

void TWindowSurface::RepaintNow() { repaint(); }

void TWindowSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect().intersected(FImage.rect());
  painter.drawImage(area, FImage, area);
  // Outside the image (only for a moment while a resize is under way) show the button face.
  const QRegion rest = QRegion(event->rect()) - QRegion(FImage.rect());
  for (const QRect& r : rest) painter.fillRect(r, palette().color(QPalette::Button));
}

void TWindowSurface::resizeEvent(QResizeEvent* event) {
  const QSize size(std::max(1, event->size().width()), std::max(1, event->size().height()));
  if (size != FImage.size()) {
    // The pictures are pasted again by the resize handler; what stays of the old image keeps
    // the screen calm until then.
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(palette().color(QPalette::Button));
    {
      QPainter painter(&resized);
      painter.drawImage(0, 0, FImage);
    }
    FImage = std::move(resized);
    BindSurface();
  }
  if (OnResize) OnResize();
}
