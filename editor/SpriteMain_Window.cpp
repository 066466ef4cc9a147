// The window's life: connecting the raster engine when shown, following the window's size,
// painting, and letting go of everything when it closes.

#include "editor/SpriteMain.h"

#include "editor/StatusBar.h"
#include "editor/WindowSurface.h"

#include "raster/raster.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QShowEvent>

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;
constexpr int kMinimumCels = 24;

QColor ButtonFace(const QWidget& widget) { return widget.palette().color(QPalette::Button); }

}  // namespace

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous() && !FEngineStarted) FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TMainForm::FormShow() {
  FScreenDC = FSurface->Surface();
  ras_set_window_dc(FScreenDC);
  FPalette = ras_make_default_palette();
  ras_realize_palette(FPalette);
  ras_init();
  FEngineStarted = true;
  VScroll->setEnabled(false);
  HScroll->setEnabled(false);
  UpdateControls();
}

void TMainForm::FormResize() {
  // Pushing the window back to its minimum raises another resize; the one it causes keeps the
  // minimum's 24 cells, whether it arrives inside this call or after it.
  if (width() < kMinimumWidth) {
    FWidthSnapped = true;
    resize(kMinimumWidth, height());
    FViewCols = kMinimumCels;
  } else if (FWidthSnapped && width() == kMinimumWidth) {
    FWidthSnapped = false;
    FViewCols = kMinimumCels;
  } else {
    FWidthSnapped = false;
    FViewCols = (ClientWidth() - 300) / 8;
  }
  if (height() < kMinimumHeight) {
    FHeightSnapped = true;
    resize(width(), kMinimumHeight);
    FViewRows = kMinimumCels;
  } else if (FHeightSnapped && height() == kMinimumHeight) {
    FHeightSnapped = false;
    FViewRows = kMinimumCels;
  } else {
    FHeightSnapped = false;
    FViewRows = (ClientHeight() - SpeedPanel->height() - DrawPanel->height() -
                 StatusBar->height() - HScroll->height() - 8) /
                8;
  }

  VScroll->setGeometry(VScroll->x(), VScroll->y(), VScroll->width(), 8 * FViewRows);
  HScroll->setGeometry(HScroll->x(), VScroll->y() + VScroll->height() + 2, 8 * FViewCols - 2,
                       HScroll->height());

  const int s = ClientWidth() - HScroll->width() - VScroll->width();
  FCelCenterX = HScroll->width() + VScroll->width() + (s >> 1);
  FCelCenterY = (ClientHeight() >> 1) - 32;

  if (!FSpriteLoaded) return;
  LayoutZoomView();
  LayoutCelView();
  if (FSprite->FDepth == 8 && FPalettePic) {
    FPaletteLeft = HScroll->x() + HScroll->width() + 6;
    FPaletteTop = HScroll->y() + HScroll->height() - 64;
    FPaletteRect = {FPaletteLeft, FPaletteTop, FPaletteLeft + 255, FPaletteTop + 63};
    FPalettePic->SetPosition(FPaletteLeft, FPaletteTop);
  }
  // LayoutZoomView has just cleared the edit buffer; the work copy brings the cel back.
  PutWorkCel();
  RenderZoom();
  RepaintWindow();
}

void TMainForm::FormPaint() {
  if (!FSpriteLoaded) return;
  FZoomPic->Paint();
  FCelPic->Paint();
  if (FPaletteShown && FPalettePic) FPalettePic->Paint();
}

void TMainForm::RepaintWindow() {
  FSurface->FillAll(ButtonFace(*this));
  FormPaint();
  FSurface->RepaintNow();
}

void TMainForm::EraseArea(const TRect& area) {
  FSurface->FillArea(area.Left, area.Top, area.Right, area.Bottom, ButtonFace(*this));
}

bool TMainForm::FormCloseQuery() {
  SaveCelPrompt();
  return SaveSpritePrompt();
}

void TMainForm::FormClose() {
  if (!FEngineStarted) return;
  // The engine never frees the active buffer, so a 1 x 1 buffer takes that place while the
  // pictures are freed. Should even that allocation fail, no buffer is made active instead.
  const std::int32_t placeholder = ras_alloc_buffer(1, 1);
  if (placeholder >= 0) {
    ras_open_buffer(placeholder);
  } else {
    ras_close_buffer();
  }
  // Every picture that exists goes, the palette strip too, whether or not an animation was
  // playing when the window closed.
  FZoomPic.reset();
  FCelPic.reset();
  FPalettePic.reset();
  FPaletteShown = false;
  FSprite.reset();
  FWorkCel = TCelBlock();
  FSpriteLoaded = false;
  ras_close_buffer();
  if (placeholder >= 0) ras_free_buffer(placeholder);
  ras_shutdown();
  ras_delete_palette(FPalette);
  FPalette = nullptr;
  // The surface dies with the window, so the engine must not keep it.
  ras_set_window_dc(nullptr);
  FScreenDC = nullptr;
  FEngineStarted = false;
}
