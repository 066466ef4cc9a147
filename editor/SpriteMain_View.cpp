// Layout and rendering of the edit view: the magnified view with its scroll bars, the true-size
// picture and the palette strip.

#include "editor/Drawing.h"
#include "editor/SpriteMain.h"

#include "raster/raster.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// Sets one scroll bar up for a sprite dimension of cels pixels of which shown fit the view;
// returns the view's extent in zoom-buffer pixels along it.
std::int32_t LayoutScrollBar(QScrollBar* bar, std::int32_t cels, std::int32_t shown,
                             std::int32_t zoomExtent) {
  // Relayout starts the view at the origin; the bar moves there with it, quietly, so that it
  // never shows a position the view does not.
  const QSignalBlocker quiet(bar);
  bar->setValue(0);
  if (cels > shown) {
    const std::int32_t extent = 8 * shown;
    bar->setSingleStep(8);
    bar->setPageStep(40);
    bar->setRange(0, zoomExtent - extent);
    bar->setEnabled(true);
    return extent;
  }
  bar->setEnabled(false);
  return 8 * cels;
}

}  // namespace

void TMainForm::LayoutZoomView() {
  const std::int32_t vw = LayoutScrollBar(HScroll, FSprite->FWidth, FViewCols, FZoomPic->FWidth);
  const std::int32_t vh = LayoutScrollBar(VScroll, FSprite->FHeight, FViewRows,
                                          FZoomPic->FHeight);
  FZoomPic->ScrollTo(0, 0);
  FZoomPic->SetViewSize(vw, vh);
  const std::int32_t x = VScroll->x() + VScroll->width() + 1;
  const std::int32_t y = VScroll->y();
  FZoomPic->SetPosition(x, y);
  FZoomRect = {x, y, x + vw - 1, y + vh - 1};
  ClearViews();
}

void TMainForm::LayoutCelView() {
  const std::int32_t x = FCelCenterX - FSprite->FWidth / 2;
  const std::int32_t y = FCelCenterY - FSprite->FHeight / 2;
  FCelPic->SetPosition(x, y);
  FCelRect = {x, y, x + FSprite->FWidth - 1, y + FSprite->FHeight - 1};
}

void TMainForm::HScrollChange() {
  if (!FZoomPic) return;
  FZoomPic->ScrollTo(HScroll->value(), FZoomPic->FView.Top);
  FZoomPic->Paint();
}

void TMainForm::VScrollChange() {
  if (!FZoomPic) return;
  FZoomPic->ScrollTo(FZoomPic->FView.Left, VScroll->value());
  FZoomPic->Paint();
}

void TMainForm::DrawGrid() { ::DrawGrid(*FZoomPic); }

void TMainForm::ClearViews() { ::ClearViews(*FZoomPic, *FCelPic); }

void TMainForm::RenderZoom() {
  ::RenderZoom(*FCelPic, *FZoomPic, FSprite->FWidth, FSprite->FHeight, FSprite->FDepth);
}

void TMainForm::DrawPaletteStrip() { ::DrawPaletteStrip(*FPalettePic); }

void TMainForm::PutWorkCel() {
  if (static_cast<std::int32_t>(FWorkCel.size()) != FSprite->FCelBytes) return;
  FCelPic->Open();
  ras_move_to(0, ras_max_y());
  if (FSprite->FDepth == 8) {
    ras_put_block8(FWorkCel.data(), FSprite->FWidth, FSprite->FHeight);
  } else {
    ras_put_block(FWorkCel.data(), FSprite->FWidth, FSprite->FHeight);
  }
}
