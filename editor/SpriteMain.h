#pragma once
// TMainForm: the program's one main window. It owns the open sprite, the work copy of the current
// cel, the three pictures of the edit view and every control; the commands are split over
// SpriteMain_*.cpp by concern (file commands, cel commands, view layout, window events).

#include "document/Spritedata.h"
#include "editor/Display.h"
#include "editor/Geometry.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QKeySequence;
class QMenu;
class QScrollBar;
class QTimer;
class QToolButton;
class TPrompts;
class TStatusBar;
class TWindowSurface;
enum class TGlyph;
struct ras_palette;
struct ras_surface;

// The drawing tool the next mouse action uses.
enum TDrawTool : std::uint8_t { dtDraw = 0, dtFill = 1, dtCapture = 2, dtExchange = 3 };

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // prompts answers every message box and file dialog; it must outlive the window.
  explicit TMainForm(TPrompts& prompts, QWidget* parent = nullptr);
  ~TMainForm() override;

  // ---- State shared by the editor's commands ----
  std::unique_ptr<TSpriteUnit> FSprite;
  bool FSpriteLoaded = false;   // a sprite is open and the window accepts editing
  bool FCelChanged = false;     // the edit buffer holds edits not stored in the current cel
  bool FSpriteChanged = false;  // the sprite differs from its file
  TCelBlock FWorkCel;           // work copy of the current cel; equals the edit buffer
  std::unique_ptr<TPic> FCelPic;      // true-size picture; its buffer is the edit buffer
  std::unique_ptr<TPic> FZoomPic;     // magnified view, 8 x 8 window pixels per cel pixel
  std::unique_ptr<TPic> FPalettePic;  // palette strip of an 8-bit sprite
  TRect FCelRect;
  TRect FZoomRect;
  TRect FPaletteRect;
  bool FPaletteShown = false;
  std::int32_t FPaletteLeft = 350;
  std::int32_t FPaletteTop = 340;
  std::int32_t FCelCenterX = 420;
  std::int32_t FCelCenterY = 180;
  std::int32_t FViewCols = 24;
  std::int32_t FViewRows = 24;
  ras_palette* FPalette = nullptr;   // the palette in use, an 8-bit sprite's colours
  ras_surface* FScreenDC = nullptr;  // the window surface, handed to the raster engine
  std::int32_t FNewDepth = 0;  // depth chosen in the last New dialog
  TDrawTool FTool = dtDraw;
  bool FStroking = false;
  std::uint32_t FStrokeColor = 0;
  std::uint32_t FForeColor = 0xFFFFFFFFu;
  std::uint32_t FBackColor = 0;
  TPrompts* FPrompts;

  // ---- Controls, under their object names ----
  QMenu* FileMenu;
  QAction* FileNew;
  QAction* OpenItem;
  QAction* SaveItem;
  QAction* FileSaveAs;
  QAction* N2;
  QAction* SpriteStats;
  QAction* N1;
  QAction* ExitItem;
  QMenu* EditMenu;
  QAction* Undo;
  QMenu* Bitmaps1;
  QAction* BitmapImport;
  QAction* BitmapExport;
  QAction* BMPAVIImport;
  QMenu* UtilityMenu;
  QAction* AnimationSpeed;
  QAction* LoadPalette;
  QAction* ResizeSprite;
  QAction* SaveCustomColors;
  QAction* GetCustomColors;
  QMenu* Navigation1;
  QAction* Next1;
  QAction* Previous1;
  QAction* First1;
  QAction* Last1;
  QMenu* Help1;
  QAction* HelpContents;
  QAction* N3;
  QAction* About1;

  QFrame* SpeedPanel;
  QToolButton* SpeedButton1;
  QToolButton* OpenBtn;
  QToolButton* SaveBtn;
  QToolButton* SaveSprBtn;
  QToolButton* UndoBtn;
  QToolButton* ClearBtn;
  QToolButton* CopyBtn;
  QToolButton* AddBtn;
  QToolButton* DeleteBtn;
  QToolButton* InsertBtn;
  QToolButton* HFlipBtn;
  QToolButton* VFlipBtn;
  QToolButton* MoveLeftBtn;
  QToolButton* MoveRgtBtn;
  QToolButton* MoveUpBtn;
  QToolButton* MoveDnBtn;
  QToolButton* NextBtn;
  QToolButton* PrevBtn;
  QToolButton* FirstBtn;
  QToolButton* LastBtn;
  QToolButton* AnimBtn;
  QToolButton* ExitBtn;
  QFrame* Bevel1;
  QFrame* Bevel2;
  QFrame* Bevel3;
  QFrame* Bevel4;

  QFrame* DrawPanel;
  QToolButton* DrawBtn;
  QToolButton* FillBtn;
  QToolButton* ColorBtn;
  QToolButton* XchgBtn;
  QToolButton* CopyLeftBtn;
  QToolButton* CopyRgtBtn;
  QFrame* FGPanel;
  QFrame* BGPanel;

  QScrollBar* VScroll;
  QScrollBar* HScroll;
  TStatusBar* StatusBar;
  QTimer* Timer1;

  // The client area: it owns the window surface the engine pastes into.
  TWindowSurface* FSurface;

  // ---- Document commands (SpriteMain_File.cpp) ----
  void FileNewClick();
  void OpenItemClick();
  void SaveItemClick();
  void FileSaveAsClick();
  // Offers to save a changed sprite; false when the user asked for the save and it failed, so the
  // command that asked does not go on to replace or drop the unsaved sprite.
  bool SaveSpritePrompt();
  void OpenSpriteFile(const QString& path);

  // ---- Cel operations and navigation (SpriteMain_Cel.cpp) ----
  void SaveSprBtnClick();
  void ClearBtnClick();
  void AddBtnClick();
  void DeleteBtnClick();
  void InsertBtnClick();
  void NextBtnClick();
  void PrevBtnClick();
  void FirstBtnClick();
  void LastBtnClick();
  void CopyLeftBtnClick();
  void CopyRgtBtnClick();
  void LoadCurrentCel();
  void ShowWorkCel();
  void StoreCurrentCel();
  void GrabWorkCel();
  void SaveCelPrompt();
  void ShowCelNumber();
  void UpdateNavButtons();

  // ---- Help and about (SpriteMain_File.cpp) ----
  void HelpContentsClick();
  void About1Click();

  // ---- Window, controls and edit view (SpriteMain.cpp, SpriteMain_View.cpp,
  //      SpriteMain_Window.cpp) ----
  void UpdateControls();
  void ShowHint(const QString& hint);
  void ExitItemClick();
  void FormShow();
  void FormResize();
  void FormPaint();
  // False keeps the window open: the sprite could not be saved as the user asked.
  bool FormCloseQuery();
  void FormClose();
  void LayoutZoomView();
  void LayoutCelView();
  void RenderZoom();
  void ClearViews();
  void DrawGrid();
  void DrawPaletteStrip();
  void HScrollChange();
  void VScrollChange();
  // Fills the inclusive window rectangle with the button-face colour, so that no pixel of an old
  // picture is left.
  void EraseArea(const TRect& area);
  // Erases the window background and paints the pictures again, at once.
  void RepaintWindow();

  // Client area size: the surface below the menu bar, panels and status bar included.
  int ClientWidth() const;
  int ClientHeight() const;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenu();
  void CreateSpeedPanel();
  void CreateDrawPanel();
  QMenu* MakeMenu(const char* name, const QString& caption);
  QAction* MakeItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut);
  QAction* MakeItem(QMenu* menu, const char* name, const QString& caption, const QString& hint);
  QAction* MakeSeparator(QMenu* menu, const char* name);
  QToolButton* MakeButton(QWidget* parent, const char* name, int left, int top, int size,
                          const QString& hint, TGlyph glyph);
  // Places the panels along the top, the status bar along the bottom and the exit button at the
  // right end, as the client area's size demands.
  void AlignControls();
  // Puts FWorkCel into the edit buffer, whose lower-left pixel is the cel's first.
  void PutWorkCel();

  bool FEngineStarted = false;  // FormShow connected the engine and FormClose has not run yet
  // Set while the window is pushed back to its minimum size, so that the resize this causes keeps
  // the minimum's 24 columns or rows.
  bool FWidthSnapped = false;
  bool FHeightSnapped = false;
};
