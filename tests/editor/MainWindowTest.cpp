// The main window as a user meets it: which commands work at start and with a sprite open, the
// hint line, closing, the geometry of the edit view and what the window surface shows.

#include <QGroupBox>

#include "EditorTestSupport.h"

#include "editor/Drawing.h"
#include "editor/StatusBar.h"
#include "editor/WindowSurface.h"

#include <QAction>
#include <QEnterEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

// The native value of one cel pixel as its block bytes: 1 byte at depth 8, 2 (5-6-5, low byte
// first) at 16, blue, green, red at 24 and 32.
void SetCelPixel(TCelBlock& cel, std::int32_t w, std::int32_t h, std::int32_t depth,
                 std::int32_t x, std::int32_t y, std::uint32_t value) {
  const std::int32_t bpp = CelBytesPerPixel(depth);
  // Blocks hold the bottom row first.
  std::uint8_t* p = cel.data() + (static_cast<std::size_t>(h - 1 - y) * w + x) * bpp;
  for (std::int32_t i = 0; i < bpp; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

QRgb SurfacePixel(TMainForm& form, int x, int y) {
  return form.FSurface->Image().pixel(x, y) | 0xFF000000u;
}

// True when every surface pixel of the inclusive rectangle has the colour. On a mismatch the
// surface is saved beside the test's temporary files, so the wrong picture can be looked at.
bool SurfaceArea(TMainForm& form, int left, int top, int right, int bottom, QRgb colour) {
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (SurfacePixel(form, x, y) == (colour | 0xFF000000u)) continue;
      const QString saved = QDir::temp().filePath(
          QStringLiteral("%1-surface.png").arg(QLatin1String(QTest::currentTestFunction())));
      form.FSurface->Image().save(saved);
      qWarning("pixel (%d, %d) is %08x, expected %08x; surface saved to %s", x, y,
               SurfacePixel(form, x, y), colour | 0xFF000000u, qPrintable(saved));
      return false;
    }
  }
  return true;
}

QRgb PaletteColour(int index) {
  std::int32_t r = 0, g = 0, b = 0;
  ras_get_rgb(index, &r, &g, &b);
  return qRgb(r, g, b);
}

QWidget* Control(TMainForm& form, const char* name) {
  return form.findChild<QWidget*>(QLatin1String(name));
}

QAction* Item(TMainForm& form, const char* name) {
  return form.findChild<QAction*>(QLatin1String(name));
}

const char* const kSpriteCommands[] = {
    "SaveBtn",   "ClearBtn",   "CopyBtn",    "AddBtn",      "DeleteBtn",   "InsertBtn",
    "HFlipBtn",  "VFlipBtn",   "MoveLeftBtn", "MoveRgtBtn", "MoveUpBtn",   "MoveDnBtn",
    "FirstBtn",  "LastBtn",    "DrawBtn",    "FillBtn",     "ColorBtn",    "AnimBtn",
    "FGPanel",   "BGPanel",    "SaveSprBtn", "UndoBtn",     "XchgBtn"};
const char* const kSpriteItems[] = {"SaveItem",     "SpriteStats",  "Undo",
                                    "ResizeSprite", "FileSaveAs",   "BitmapImport",
                                    "BitmapExport", "BMPAVIImport", "LoadPalette",
                                    "Next1",        "Previous1",    "First1",
                                    "Last1"};
const char* const kAlwaysButtons[] = {"SpeedButton1", "OpenBtn", "ExitBtn"};
const char* const kAlwaysItems[] = {"FileNew", "OpenItem", "ExitItem", "AnimationSpeed",
                                    "HelpContents", "About1"};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithOnlyTheFileCommands();
  void customColoursNeedDirectColours_data();
  void customColoursNeedDirectColours();
  void everyButtonHasItsHintAndGlyph();
  void buttonHintShowsAsTooltipAndClearsTheHintLine();
  void highlightedMenuItemShowsItsHint();
  void closingWithAChangedCelAsksBothQuestions();
  void closingAfterNoToTheCelWritesNothing();
  void closingWithNoSpriteAsksNothing();
  void closingStaysOpenWhenTheSaveFails();
  void smallSpriteFitsTheViewWithoutScrolling();
  void wideSpriteScrollsByZoomPixels();
  void pointInRectRewritesOnlyPointsInside_data();
  void pointInRectRewritesOnlyPointsInside();
  void surfaceShowsCelPixelsInsideTheGrid_data();
  void surfaceShowsCelPixelsInsideTheGrid();
  void paletteStripShowsEachEntryAsASquare();
  void narrowSpriteShowsTheBufferPadding();
  void resizeFollowsTheWindowAndRestoresTheCel();
  void shrinkingBelowTheMinimumSnapsBack();
};

void MainWindowTest::startsWithOnlyTheFileCommands() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  for (const char* name : kSpriteCommands) QVERIFY2(!Control(form, name)->isEnabled(), name);
  for (const char* name : {"NextBtn", "PrevBtn", "CopyLeftBtn", "CopyRgtBtn"})
    QVERIFY2(!Control(form, name)->isEnabled(), name);
  for (const char* name : kSpriteItems) QVERIFY2(!Item(form, name)->isEnabled(), name);
  QVERIFY(!form.Navigation1->menuAction()->isEnabled());
  QVERIFY(!form.SaveCustomColors->isEnabled());
  QVERIFY(!form.GetCustomColors->isEnabled());
  for (const char* name : kAlwaysButtons) QVERIFY2(Control(form, name)->isEnabled(), name);
  for (const char* name : kAlwaysItems) QVERIFY2(Item(form, name)->isEnabled(), name);
  QVERIFY(!form.VScroll->isEnabled());
  QVERIFY(!form.HScroll->isEnabled());
  QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright"));
  QCOMPARE(form.size(), QSize(640, 480));
  const QPoint offCentre = form.geometry().center() - form.screen()->availableGeometry().center();
  // Centred as placed; a window frame may move the client area by its border width.
  QVERIFY(offCentre.manhattanLength() <= 8);
  QCOMPARE(form.font().family(), QStringLiteral("Liberation Sans"));
  QCOMPARE(form.font().pixelSize(), 13);
  QVERIFY(!form.Timer1->isActive());
  QCOMPARE(form.Timer1->interval(), 100);

  // With a sprite open every editing command works.
  h.New(h.PathOf(QStringLiteral("a.spr")), QStringLiteral("20"), QStringLiteral("20"));
  QVERIFY(form.FSpriteLoaded);
  for (const char* name : kSpriteCommands) QVERIFY2(Control(form, name)->isEnabled(), name);
  for (const char* name : kSpriteItems) QVERIFY2(Item(form, name)->isEnabled(), name);
  QVERIFY(form.Navigation1->menuAction()->isEnabled());
}

void MainWindowTest::customColoursNeedDirectColours_data() {
  QTest::addColumn<int>("depthIndex");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("8 bits") << 0 << false;
  QTest::newRow("16 bits") << 1 << true;
  QTest::newRow("24 bits") << 2 << true;
  QTest::newRow("32 bits") << 3 << true;
}

void MainWindowTest::customColoursNeedDirectColours() {
  QFETCH(int, depthIndex);
  QFETCH(bool, enabled);
  TEditorHarness h;
  h.New(h.PathOf(QStringLiteral("a.spr")), QStringLiteral("20"), QStringLiteral("20"),
        depthIndex);
  QCOMPARE(h.Form->FSprite->FDepth, 8 * (depthIndex + 1));
  QCOMPARE(h.Form->SaveCustomColors->isEnabled(), enabled);
  QCOMPARE(h.Form->GetCustomColors->isEnabled(), enabled);
}

void MainWindowTest::everyButtonHasItsHintAndGlyph() {
  struct TButton {
    const char* Name;
    int Left;
    int Size;
    const char* Tooltip;
  };
  const TButton buttons[] = {
      {"SpeedButton1", 5, 25, "New sprite"},   {"OpenBtn", 30, 25, "Open Sprite"},
      {"SaveBtn", 55, 25, "Save Sprite"},      {"SaveSprBtn", 80, 25, "Save Cel"},
      {"UndoBtn", 113, 25, "Undo"},            {"ClearBtn", 138, 25, "Clear Cel"},
      {"CopyBtn", 163, 25, "Copy Cel"},        {"AddBtn", 188, 25, "Add Cel"},
      {"DeleteBtn", 213, 25, "Delete Cel"},    {"InsertBtn", 238, 25, "Insert Cel"},
      {"HFlipBtn", 270, 25, "Horizontal Flip"}, {"VFlipBtn", 295, 25, "Virtical Flip"},
      {"MoveLeftBtn", 324, 25, "Move Left"},   {"MoveRgtBtn", 349, 25, "Move Right"},
      {"MoveUpBtn", 374, 25, "Move Up"},       {"MoveDnBtn", 399, 25, "Move Down"},
      {"NextBtn", 434, 25, "Next Cel"},        {"PrevBtn", 459, 25, "Previous Cel"},
      {"FirstBtn", 484, 25, "First Cel"},      {"LastBtn", 509, 25, "Last Cel"},
      {"AnimBtn", 542, 25, "Animate"},         {"DrawBtn", 4, 30, "Draw"},
      {"FillBtn", 33, 30, "Fill"},             {"ColorBtn", 62, 30, "Capture Color"},
      {"XchgBtn", 91, 30, "Exchange Color"},   {"CopyLeftBtn", 130, 30, "Copy Prev Cell"},
      {"CopyRgtBtn", 159, 30, "Copy Next Cell"},
  };
  TEditorHarness h;
  for (const TButton& b : buttons) {
    auto* button = h.Form->findChild<QToolButton*>(QLatin1String(b.Name));
    QVERIFY2(button != nullptr, b.Name);
    QCOMPARE(button->toolTip(), QLatin1String(b.Tooltip));
    QCOMPARE(button->geometry(), QRect(b.Left, button->y(), b.Size, b.Size));
    QVERIFY2(!button->icon().isNull(), b.Name);
    // The glyph really draws something.
    const QImage glyph = button->icon().pixmap(16, 16).toImage();
    bool drawn = false;
    for (int y = 0; y < glyph.height() && !drawn; ++y)
      for (int x = 0; x < glyph.width() && !drawn; ++x) drawn = qAlpha(glyph.pixel(x, y)) != 0;
    QVERIFY2(drawn, b.Name);
  }
  // The exit button keeps to the right end of its panel.
  QCOMPARE(h.Form->ExitBtn->geometry().right() + 7, h.Form->SpeedPanel->width());
  QCOMPARE(h.Form->FGPanel->geometry().left(), 568);
  QCOMPARE(h.Form->BGPanel->geometry().left(), 596);
}

void MainWindowTest::buttonHintShowsAsTooltipAndClearsTheHintLine() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  form.StatusBar->SetPanelText(0, QStringLiteral("old hint"));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(form.OpenBtn, &enter);
  QCOMPARE(form.OpenBtn->toolTip(), QStringLiteral("Open Sprite"));
  QCOMPARE(form.StatusBar->PanelText(0), QString());
}

void MainWindowTest::highlightedMenuItemShowsItsHint() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  form.menuBar()->setActiveAction(form.FileMenu->menuAction());
  QTRY_VERIFY(form.FileMenu->isVisible());
  form.FileMenu->setActiveAction(form.OpenItem);
  QCOMPARE(form.StatusBar->PanelText(0), QStringLiteral("Load a sprite from the disk"));
  form.FileMenu->setActiveAction(form.ExitItem);
  QCOMPARE(form.StatusBar->PanelText(0), QStringLiteral("Exit Celwright"));
  form.FileMenu->hide();
}

// A one-pixel edit of the kind a drawing tool makes: edit buffer, work copy, changed flag.
static void EditOnePixel(TMainForm& form) {
  form.FCelPic->Open();
  ras_set_color(9);
  ras_point(3, 4);
  form.GrabWorkCel();
  form.FCelChanged = true;
}

void MainWindowTest::closingWithAChangedCelAsksBothQuestions() {
  TEditorHarness h;
  const QString path = h.PathOf(QStringLiteral("hero.spr"));
  WriteSpriteFile(path, 8, 8, 8, {TCelBlock(64, 0)});
  h.Open(path);
  EditOnePixel(*h.Form);
  h.Prompts.Answers = {TMessageButton::Yes, TMessageButton::Yes};
  h.Form->close();
  QCOMPARE(h.Prompts.AskedTexts(), QStringList({QStringLiteral("Cel has been changed, Save?"),
                                                QStringLiteral("Sprite list has been changed, Save?")}));
  QVERIFY(!h.Form->FSpriteLoaded);
  // The stored edit reached the file.
  TSpriteUnit sprite(1, 1, 8);
  TSpritePalette palette{};
  bool hasPalette = false;
  QVERIFY(LoadSpriteFile(sprite, path.toStdString(), palette, hasPalette).Ok);
  TCelBlock expected(64, 0);
  SetCelPixel(expected, 8, 8, 8, 3, 4, 9);
  QCOMPARE(TCelBlock(sprite.GetCel(0), sprite.GetCel(0) + 64), expected);
}

void MainWindowTest::closingAfterNoToTheCelWritesNothing() {
  TEditorHarness h;
  const QString path = h.PathOf(QStringLiteral("hero.spr"));
  WriteSpriteFile(path, 8, 8, 8, {TCelBlock(64, 0)});
  const QByteArray before = FileBytes(path);
  h.Open(path);
  EditOnePixel(*h.Form);
  h.Prompts.Answers = {TMessageButton::No};
  h.Form->ExitItem->trigger();
  QVERIFY(!h.Form->isVisible());
  QCOMPARE(h.Prompts.AskedTexts(), QStringList({QStringLiteral("Cel has been changed, Save?")}));
  QCOMPARE(h.Prompts.Unanswered, 0);
  QCOMPARE(FileBytes(path), before);
  QCOMPARE(QDir(h.Dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("hero.spr")}));
}

// A save asked for at close that cannot be written would lose the sprite: the window stays open
// with the sprite and its changes, and closes once the user declines the save.
void MainWindowTest::closingStaysOpenWhenTheSaveFails() {
  TEditorHarness h;
  const QString path = h.PathOf(QStringLiteral("sub/hero.spr"));
  QVERIFY(QDir().mkpath(h.PathOf(QStringLiteral("sub"))));
  WriteSpriteFile(path, 8, 8, 8, {TCelBlock(64, 0)});
  h.Open(path);
  EditOnePixel(*h.Form);
  QVERIFY(QDir(h.PathOf(QStringLiteral("sub"))).removeRecursively());
  h.Prompts.Answers = {TMessageButton::Yes, TMessageButton::Yes};
  h.Form->close();
  QCOMPARE(h.Prompts.Asked.size(), std::size_t{3});
  QCOMPARE(h.Prompts.Asked.back().Kind, TMessageKind::Error);
  QVERIFY(h.Form->isVisible());
  QVERIFY(h.Form->FSpriteLoaded);
  QVERIFY(h.Form->FSpriteChanged);

  h.Prompts.ClearRecord();
  h.Prompts.Answers = {TMessageButton::No};
  h.Form->close();
  QCOMPARE(h.Prompts.AskedTexts(), QStringList({QStringLiteral("Sprite list has been changed, Save?")}));
  QVERIFY(!h.Form->isVisible());
}

void MainWindowTest::closingWithNoSpriteAsksNothing() {
  TEditorHarness h;
  h.Form->ExitBtn->click();
  QVERIFY(!h.Form->isVisible());
  QVERIFY(h.Prompts.Asked.empty());
  QCOMPARE(ras_get_active_buffer(), -1);
}

void MainWindowTest::smallSpriteFitsTheViewWithoutScrolling() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  h.New(h.PathOf(QStringLiteral("a.spr")), QStringLiteral("20"), QStringLiteral("20"));
  form.FViewCols = 41;
  form.FViewRows = 40;
  form.LayoutZoomView();
  QVERIFY(!form.HScroll->isEnabled());
  QVERIFY(!form.VScroll->isEnabled());
  QCOMPARE(form.FZoomRect, (TRect{17, 74, 176, 233}));
  QCOMPARE(form.FZoomPic->FView, (TRect{0, 0, 159, 159}));
}

void MainWindowTest::wideSpriteScrollsByZoomPixels() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  const QString path = h.PathOf(QStringLiteral("wide.spr"));
  // Cel column 0 has colour 40, column 59 colour 41, column 99 colour 42; the rest 0.
  TCelBlock cel(100 * 30, 0);
  for (int y = 0; y < 30; ++y) {
    SetCelPixel(cel, 100, 30, 8, 0, y, 40);
    SetCelPixel(cel, 100, 30, 8, 59, y, 41);
    SetCelPixel(cel, 100, 30, 8, 99, y, 42);
  }
  WriteSpriteFile(path, 100, 30, 8, {cel});
  h.Open(path);
  form.FViewCols = 41;
  form.FViewRows = 40;
  form.LayoutZoomView();
  form.ShowWorkCel();
  QVERIFY(form.HScroll->isEnabled());
  QVERIFY(!form.VScroll->isEnabled());
  QCOMPARE(form.HScroll->maximum(), 472);
  QCOMPARE(form.HScroll->singleStep(), 8);
  QCOMPARE(form.HScroll->pageStep(), 40);

  const int left = form.FZoomRect.Left;
  const int top = form.FZoomRect.Top;
  form.HScroll->setValue(472);
  QCOMPARE(form.FZoomPic->FView, (TRect{472, 0, 799, 239}));
  // Zoom column 472 is a grid line; cel column 59's square follows it, cel 99's ends the view.
  QVERIFY(SurfaceArea(form, left, top + 1, left, top + 7, qRgb(255, 255, 255)));
  QVERIFY(SurfaceArea(form, left + 1, top + 1, left + 7, top + 7, PaletteColour(41)));
  QVERIFY(SurfaceArea(form, left + 321, top + 1, left + 327, top + 7, PaletteColour(42)));

  form.HScroll->setValue(0);
  QCOMPARE(form.FZoomPic->FView, (TRect{0, 0, 327, 239}));
  QVERIFY(SurfaceArea(form, left + 1, top + 1, left + 7, top + 7, PaletteColour(40)));
}

void MainWindowTest::pointInRectRewritesOnlyPointsInside_data() {
  QTest::addColumn<int>("x");
  QTest::addColumn<int>("y");
  QTest::addColumn<bool>("inside");
  QTest::addColumn<int>("resultX");
  QTest::addColumn<int>("resultY");
  QTest::addColumn<int>("celX");
  QTest::addColumn<int>("celY");
  // The magnified view of a 20 x 20 sprite at (17, 74, 176, 233), its view at the origin. A point
  // on a grid line belongs to the cel right of it or below it.
  QTest::newRow("in a cel") << 30 << 82 << true << 13 << 8 << 1 << 1;
  QTest::newRow("on a grid column") << 25 << 82 << true << 8 << 8 << 1 << 1;
  QTest::newRow("top-left corner") << 17 << 74 << true << 0 << 0 << 0 << 0;
  QTest::newRow("bottom-right corner") << 176 << 233 << true << 159 << 159 << 19 << 19;
  QTest::newRow("left of it") << 16 << 100 << false << 16 << 100 << -1 << -1;
  QTest::newRow("below it") << 100 << 234 << false << 100 << 234 << -1 << -1;
}

void MainWindowTest::pointInRectRewritesOnlyPointsInside() {
  QFETCH(int, x);
  QFETCH(int, y);
  QFETCH(bool, inside);
  QFETCH(int, resultX);
  QFETCH(int, resultY);
  QFETCH(int, celX);
  QFETCH(int, celY);
  TPoint point{x, y};
  QCOMPARE(PointInRect(point, TRect{17, 74, 176, 233}), inside);
  QCOMPARE(point, (TPoint{resultX, resultY}));
  if (inside) QCOMPARE((TPoint{point.X / 8, point.Y / 8}), (TPoint{celX, celY}));
}

void MainWindowTest::surfaceShowsCelPixelsInsideTheGrid_data() {
  QTest::addColumn<int>("depthIndex");
  QTest::addColumn<uint>("value");
  QTest::addColumn<uint>("expected");
  // 8 bits: palette entry 26 is black, 29 white in the default palette; a mid grey is entry 28.
  QTest::newRow("8 bits") << 0 << 28u << qRgb(170, 170, 170);
  QTest::newRow("16 bits") << 1 << 0x07E0u << qRgb(0, 255, 0);
  // 24 and 32 bits: the block bytes are blue, green, red.
  QTest::newRow("24 bits") << 2 << 0x3080C0u << qRgb(0x30, 0x80, 0xC0);
  QTest::newRow("32 bits") << 3 << 0x102030u << qRgb(0x10, 0x20, 0x30);
}

void MainWindowTest::surfaceShowsCelPixelsInsideTheGrid() {
  QFETCH(int, depthIndex);
  QFETCH(uint, value);
  QFETCH(uint, expected);
  TEditorHarness h;
  TMainForm& form = *h.Form;
  h.New(h.PathOf(QStringLiteral("a.spr")), QStringLiteral("20"), QStringLiteral("20"),
        depthIndex);
  // Put cel pixel (2, 1) into the work copy and show it as the window does after a resize.
  SetCelPixel(form.FWorkCel, 20, 20, form.FSprite->FDepth, 2, 1, value);
  form.ShowWorkCel();

  const int left = form.FZoomRect.Left;
  const int top = form.FZoomRect.Top;
  const QRgb white = qRgb(255, 255, 255);
  // Grid lines on every multiple of 8, across the whole view.
  for (int i = 0; i < 160; i += 8) {
    QVERIFY(SurfaceArea(form, left + i, top, left + i, top + 159, white));
    QVERIFY(SurfaceArea(form, left, top + i, left + 159, top + i, white));
  }
  // Cel pixel (2, 1): the 7 x 7 square inside its cell, nothing more.
  QVERIFY(SurfaceArea(form, left + 17, top + 9, left + 23, top + 15, expected));
  QVERIFY(SurfaceArea(form, left + 25, top + 9, left + 31, top + 15, qRgb(0, 0, 0)));
  QVERIFY(SurfaceArea(form, left + 17, top + 17, left + 23, top + 23, qRgb(0, 0, 0)));
  // The true-size picture shows the same pixel.
  QCOMPARE(SurfacePixel(form, form.FCelRect.Left + 2, form.FCelRect.Top + 1), expected);
  QCOMPARE(SurfacePixel(form, form.FCelRect.Left + 3, form.FCelRect.Top + 1), qRgb(0, 0, 0));
}

void MainWindowTest::paletteStripShowsEachEntryAsASquare() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  const QString path = h.PathOf(QStringLiteral("pal.spr"));
  WriteSpriteFile(path, 20, 20, 8, {TCelBlock(400, 0)});
  h.Open(path);
  QVERIFY(form.FPaletteShown);
  const TRect& strip = form.FPaletteRect;
  QCOMPARE(strip.Right - strip.Left, 255);
  QCOMPARE(strip.Bottom - strip.Top, 63);
  QVERIFY(SurfaceArea(form, strip.Left + 40, strip.Top + 8, strip.Left + 47, strip.Top + 15,
                      PaletteColour(37)));
  QVERIFY(PaletteColour(36) != PaletteColour(37) && PaletteColour(38) != PaletteColour(37));
  QCOMPARE(SurfacePixel(form, strip.Left + 39, strip.Top + 8), PaletteColour(36));
  QCOMPARE(SurfacePixel(form, strip.Left + 48, strip.Top + 8), PaletteColour(38));
  QCOMPARE(SurfacePixel(form, strip.Left + 40, strip.Top + 16), PaletteColour(69));
  QCOMPARE(SurfacePixel(form, strip.Right, strip.Bottom), PaletteColour(255));
}

void MainWindowTest::narrowSpriteShowsTheBufferPadding() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  const QString path = h.PathOf(QStringLiteral("narrow.spr"));
  WriteSpriteFile(path, 10, 8, 24, {TCelBlock(10 * 8 * 3, 0xFF)});
  h.Open(path);
  form.RepaintWindow();
  const TRect& cel = form.FCelRect;
  QCOMPARE(cel.Right - cel.Left, 9);
  QVERIFY(SurfaceArea(form, cel.Left, cel.Top, cel.Right, cel.Bottom, qRgb(255, 255, 255)));
  // The edit buffer is 12 pixels wide: its two padding columns show, cleared to colour 0.
  QVERIFY(SurfaceArea(form, cel.Right + 1, cel.Top, cel.Right + 2, cel.Bottom, qRgb(0, 0, 0)));
  QVERIFY(SurfacePixel(form, cel.Right + 3, cel.Top) != qRgb(0, 0, 0));
}

void MainWindowTest::resizeFollowsTheWindowAndRestoresTheCel() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  const QString path = h.PathOf(QStringLiteral("a.spr"));
  TCelBlock cel(20 * 20 * 2, 0);
  SetCelPixel(cel, 20, 20, 16, 5, 6, 0xF800);
  WriteSpriteFile(path, 20, 20, 16, {cel});
  h.Open(path);

  form.resize(801, 620);
  QTRY_COMPARE(form.width(), 801);
  QCOMPARE(form.FViewCols, (form.ClientWidth() - 300) / 8);
  QCOMPARE(form.FViewCols, 62);
  QCOMPARE(form.FViewRows, (form.ClientHeight() - 30 - 41 - 19 - 16 - 8) / 8);
  QCOMPARE(form.VScroll->height(), 8 * form.FViewRows);
  QCOMPARE(form.HScroll->y(), 74 + 8 * form.FViewRows + 2);
  QCOMPARE(form.HScroll->width(), 8 * 62 - 2);
  QCOMPARE(form.FCelCenterX, 16 + 494 + ((form.ClientWidth() - 494 - 16) >> 1));
  QCOMPARE(form.FCelCenterY, (form.ClientHeight() >> 1) - 32);
  QCOMPARE(form.FCelRect.Left, form.FCelCenterX - 10);

  // The edit buffer holds the work copy again, and the magnified view shows it.
  QCOMPARE(EditBuffer(form), form.FWorkCel);
  QCOMPARE(form.FWorkCel, cel);
  const QRgb red = SurfacePixel(form, form.FZoomRect.Left + 41, form.FZoomRect.Top + 49);
  QVERIFY(qRed(red) >= 0xF8 && qGreen(red) == 0 && qBlue(red) == 0);
  QCOMPARE(SurfacePixel(form, form.FCelRect.Left + 5, form.FCelRect.Top + 6), red);
}

void MainWindowTest::shrinkingBelowTheMinimumSnapsBack() {
  TEditorHarness h;
  TMainForm& form = *h.Form;
  h.New(h.PathOf(QStringLiteral("a.spr")), QStringLiteral("100"), QStringLiteral("100"));
  form.resize(500, 400);
  QTRY_COMPARE(form.width(), 640);
  QTRY_COMPARE(form.height(), 480);
  QCOMPARE(form.FViewCols, 24);
  QCOMPARE(form.FViewRows, 24);
  QCOMPARE(form.FZoomRect.Right - form.FZoomRect.Left + 1, 8 * 24);
  QCOMPARE(form.HScroll->maximum(), 800 - 8 * 24);

  form.resize(641, 480);
  QTRY_COMPARE(form.width(), 641);
  QCOMPARE(form.FViewCols, (form.ClientWidth() - 300) / 8);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
