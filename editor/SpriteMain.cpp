// Construction of the main window: the menu, the two button panels, the scroll bars, the status
// bar and the timer, each under its object name with its caption, hint and shortcut; the enabled
// state of the commands; the hint line.

#include "editor/SpriteMain.h"

#include "editor/Glyphs.h"
#include "editor/StatusBar.h"
#include "editor/WindowSurface.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kSpeedPanelHeight = 30;
constexpr int kDrawPanelHeight = 41;
constexpr int kSpeedButtonSize = 25;
constexpr int kToolButtonSize = 30;
constexpr int kColourPanelSize = 25;
constexpr int kScrollBarThickness = 16;
constexpr int kViewTop = 74;

// The part of a hint a tooltip shows: the text before the bar.
QString ShortHint(const QString& hint) { return hint.section(QLatin1Char('|'), 0, 0); }
// The part the status line shows: the text after the bar, or the whole hint when it has none.
QString LongHint(const QString& hint) {
  return hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
}

const char* const kHintProperty = "hint";

QFrame* MakePanel(QWidget* parent, const char* name, int height) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setFixedHeight(height);
  return panel;
}

QFrame* MakeGroove(QWidget* parent, const char* name, int left) {
  auto* groove = new QFrame(parent);
  groove->setObjectName(QLatin1String(name));
  groove->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  groove->setGeometry(left, 3, 2, kSpeedButtonSize);
  return groove;
}

}  // namespace

TMainForm::TMainForm(TPrompts& prompts, QWidget* parent) : QMainWindow(parent), FPrompts(&prompts) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Quillmoor Celwright"));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(13);
  setFont(font);

  FSurface = new TWindowSurface(this);
  FSurface->setObjectName(QStringLiteral("ClientArea"));
  setCentralWidget(FSurface);
  FSurface->OnResize = [this] {
    AlignControls();
    FormResize();
  };
  FSurface->installEventFilter(this);

  CreateMenu();
  CreateSpeedPanel();
  CreateDrawPanel();

  VScroll = new QScrollBar(Qt::Vertical, FSurface);
  VScroll->setObjectName(QStringLiteral("VScroll"));
  VScroll->setGeometry(0, kViewTop, kScrollBarThickness, 8 * FViewRows);
  HScroll = new QScrollBar(Qt::Horizontal, FSurface);
  HScroll->setObjectName(QStringLiteral("HScroll"));
  HScroll->setGeometry(18, kViewTop + 8 * FViewRows + 2, 8 * FViewCols - 2, kScrollBarThickness);
  connect(HScroll, &QScrollBar::valueChanged, this, &TMainForm::HScrollChange);
  connect(VScroll, &QScrollBar::valueChanged, this, &TMainForm::VScrollChange);

  StatusBar = new TStatusBar(FSurface);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);

  resize(640, 480);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  AlignControls();
}

TMainForm::~TMainForm() {
  if (FEngineStarted) FormClose();
}

QAction* TMainForm::MakeItem(QMenu* menu, const char* name, const QString& caption,
                             const QString& hint, const QKeySequence& shortcut) {
  auto* item = menu->addAction(caption);
  item->setObjectName(QLatin1String(name));
  item->setStatusTip(hint);
  if (!shortcut.isEmpty()) {
    item->setShortcut(shortcut);
    // Shortcuts belong to the window, so they work whichever control has the focus.
    addAction(item);
  }
  return item;
}

QAction* TMainForm::MakeItem(QMenu* menu, const char* name, const QString& caption,
                             const QString& hint) {
  return MakeItem(menu, name, caption, hint, QKeySequence());
}

QAction* TMainForm::MakeSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(QLatin1String(name));
  return separator;
}

QMenu* TMainForm::MakeMenu(const char* name, const QString& caption) {
  QMenu* menu = menuBar()->addMenu(caption);
  menu->setObjectName(QLatin1String(name));
  menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Heading"));
  return menu;
}

void TMainForm::CreateMenu() {
  menuBar()->setObjectName(QStringLiteral("MainMenu"));

  FileMenu = MakeMenu("FileMenu", QStringLiteral("&File"));
  FileNew = MakeItem(FileMenu, "FileNew", QStringLiteral("New.."),
                     QStringLiteral("Create a new sprite"));
  OpenItem = MakeItem(FileMenu, "OpenItem", QStringLiteral("&Open..."),
                      QStringLiteral("Load a sprite from the disk"));
  SaveItem = MakeItem(FileMenu, "SaveItem", QStringLiteral("&Save..."),
                      QStringLiteral("Save current sprite"));
  FileSaveAs = MakeItem(FileMenu, "FileSaveAs", QStringLiteral("Save &As..."),
                        QStringLiteral("Save the sprite under a new name"));
  N2 = MakeSeparator(FileMenu, "N2");
  SpriteStats = MakeItem(FileMenu, "SpriteStats", QStringLiteral("S&prite Stats..."),
                         QStringLiteral("Current sprite statistics"));
  N1 = MakeSeparator(FileMenu, "N1");
  ExitItem = MakeItem(FileMenu, "ExitItem", QStringLiteral("E&xit"),
                      QStringLiteral("Exit Celwright"), QKeySequence(QStringLiteral("Alt+X")));

  EditMenu = MakeMenu("EditMenu", QStringLiteral("&Edit"));
  Undo = MakeItem(EditMenu, "Undo", QStringLiteral("&Undo"), QStringLiteral("Undo operation"));

  Bitmaps1 = MakeMenu("Bitmaps1", QStringLiteral("&Bitmaps"));
  BitmapImport = MakeItem(Bitmaps1, "BitmapImport", QStringLiteral("&Import..."),
                          QStringLiteral("Import sprite from bitmap"));
  BitmapExport = MakeItem(Bitmaps1, "BitmapExport", QStringLiteral("&Export..."),
                          QStringLiteral("Export sprite to bitmap"));
  BMPAVIImport = MakeItem(Bitmaps1, "BMPAVIImport", QStringLiteral("AVI Import..."), QString());

  UtilityMenu = MakeMenu("UtilityMenu", QStringLiteral("&Utility"));
  AnimationSpeed = MakeItem(UtilityMenu, "AnimationSpeed", QStringLiteral("&Animation Speed..."),
                            QStringLiteral("Set animation speed"));
  LoadPalette = MakeItem(UtilityMenu, "LoadPalette", QStringLiteral("&Palette..."),
                         QStringLiteral("Load a 256 color palette"));
  ResizeSprite = MakeItem(UtilityMenu, "ResizeSprite", QStringLiteral("&Resize Sprite..."),
                          QStringLiteral("Resize the current sprite"));
  SaveCustomColors = MakeItem(UtilityMenu, "SaveCustomColors",
                              QStringLiteral("&Save Custom Colors"),
                              QStringLiteral("Save custom color set"));
  GetCustomColors = MakeItem(UtilityMenu, "GetCustomColors", QStringLiteral("&Get Custom Colors"),
                             QStringLiteral("Retrieve custom colors"));

  Navigation1 = MakeMenu("Navigation1", QStringLiteral("&Navigation"));
  Next1 = MakeItem(Navigation1, "Next1", QStringLiteral("&Next"), QStringLiteral("Next Sprite"),
                   QKeySequence(QStringLiteral("Ctrl+N")));
  Previous1 = MakeItem(Navigation1, "Previous1", QStringLiteral("&Previous"),
                       QStringLiteral("Previous Sprite"), QKeySequence(QStringLiteral("Ctrl+P")));
  First1 = MakeItem(Navigation1, "First1", QStringLiteral("&First"),
                    QStringLiteral("First Sprite"));
  Last1 = MakeItem(Navigation1, "Last1", QStringLiteral("&Last"), QStringLiteral("Last Sprite"));

  Help1 = MakeMenu("Help1", QStringLiteral("&Help"));
  HelpContents = MakeItem(Help1, "HelpContents", QStringLiteral("&Contents"), QString());
  N3 = MakeSeparator(Help1, "N3");
  About1 = MakeItem(Help1, "About1", QStringLiteral("&About..."),
                    QStringLiteral("About Celwright"));

  connect(FileNew, &QAction::triggered, this, &TMainForm::FileNewClick);
  connect(OpenItem, &QAction::triggered, this, &TMainForm::OpenItemClick);
  connect(SaveItem, &QAction::triggered, this, &TMainForm::SaveItemClick);
  connect(FileSaveAs, &QAction::triggered, this, &TMainForm::FileSaveAsClick);
  connect(ExitItem, &QAction::triggered, this, &TMainForm::ExitItemClick);
  connect(Next1, &QAction::triggered, this, &TMainForm::NextBtnClick);
  connect(Previous1, &QAction::triggered, this, &TMainForm::PrevBtnClick);
  connect(First1, &QAction::triggered, this, &TMainForm::FirstBtnClick);
  connect(Last1, &QAction::triggered, this, &TMainForm::LastBtnClick);
  connect(HelpContents, &QAction::triggered, this, &TMainForm::HelpContentsClick);
  connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
}

QToolButton* TMainForm::MakeButton(QWidget* parent, const char* name, int left, int top, int size,
                                   const QString& hint, TGlyph glyph) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(left, top, size, size);
  button->setIcon(GlyphIcon(glyph, size - 9));
  button->setIconSize(QSize(size - 9, size - 9));
  button->setToolTip(ShortHint(hint));
  button->setProperty(kHintProperty, hint);
  button->installEventFilter(this);
  return button;
}

void TMainForm::CreateSpeedPanel() {
  SpeedPanel = MakePanel(FSurface, "SpeedPanel", kSpeedPanelHeight);
  SpeedPanel->installEventFilter(this);
  constexpr int top = 2;
  constexpr int s = kSpeedButtonSize;
  QWidget* p = SpeedPanel;
  SpeedButton1 = MakeButton(p, "SpeedButton1", 5, top, s, QStringLiteral("New sprite|"),
                            TGlyph::New);
  OpenBtn = MakeButton(p, "OpenBtn", 30, top, s, QStringLiteral("Open Sprite|"), TGlyph::Open);
  SaveBtn = MakeButton(p, "SaveBtn", 55, top, s, QStringLiteral("Save Sprite|"), TGlyph::Save);
  SaveSprBtn = MakeButton(p, "SaveSprBtn", 80, top, s, QStringLiteral("Save Cel|"),
                          TGlyph::SaveCel);
  Bevel1 = MakeGroove(p, "Bevel1", 108);
  UndoBtn = MakeButton(p, "UndoBtn", 113, top, s, QStringLiteral("Undo|"), TGlyph::Undo);
  ClearBtn = MakeButton(p, "ClearBtn", 138, top, s, QStringLiteral("Clear Cel|"), TGlyph::Clear);
  CopyBtn = MakeButton(p, "CopyBtn", 163, top, s, QStringLiteral("Copy Cel|"), TGlyph::Copy);
  AddBtn = MakeButton(p, "AddBtn", 188, top, s, QStringLiteral("Add Cel|"), TGlyph::Add);
  DeleteBtn = MakeButton(p, "DeleteBtn", 213, top, s, QStringLiteral("Delete Cel|"),
                         TGlyph::Delete);
  InsertBtn = MakeButton(p, "InsertBtn", 238, top, s, QStringLiteral("Insert Cel|"),
                         TGlyph::Insert);
  Bevel2 = MakeGroove(p, "Bevel2", 266);
  HFlipBtn = MakeButton(p, "HFlipBtn", 270, top, s, QStringLiteral("Horizontal Flip|"),
                        TGlyph::TurnOver);
  VFlipBtn = MakeButton(p, "VFlipBtn", 295, top, s, QStringLiteral("Virtical Flip|"),
                        TGlyph::Mirror);
  Bevel3 = MakeGroove(p, "Bevel3", 321);
  MoveLeftBtn = MakeButton(p, "MoveLeftBtn", 324, top, s, QStringLiteral("Move Left|"),
                           TGlyph::MoveLeft);
  MoveRgtBtn = MakeButton(p, "MoveRgtBtn", 349, top, s, QStringLiteral("Move Right|"),
                          TGlyph::MoveRight);
  MoveUpBtn = MakeButton(p, "MoveUpBtn", 374, top, s, QStringLiteral("Move Up|"),
                         TGlyph::MoveUp);
  MoveDnBtn = MakeButton(p, "MoveDnBtn", 399, top, s, QStringLiteral("Move Down|"),
                         TGlyph::MoveDown);
  Bevel4 = MakeGroove(p, "Bevel4", 429);
  NextBtn = MakeButton(p, "NextBtn", 434, top, s, QStringLiteral("Next Cel|"), TGlyph::Next);
  PrevBtn = MakeButton(p, "PrevBtn", 459, top, s, QStringLiteral("Previous Cel|"),
                       TGlyph::Previous);
  FirstBtn = MakeButton(p, "FirstBtn", 484, top, s, QStringLiteral("First Cel|"), TGlyph::First);
  LastBtn = MakeButton(p, "LastBtn", 509, top, s, QStringLiteral("Last Cel|"), TGlyph::Last);
  AnimBtn = MakeButton(p, "AnimBtn", 542, top, s, QStringLiteral("Animate|"), TGlyph::Animate);
  ExitBtn = MakeButton(p, "ExitBtn", 0, top, s, QStringLiteral("Exit|"), TGlyph::Exit);

  connect(SpeedButton1, &QToolButton::clicked, this, &TMainForm::FileNewClick);
  connect(OpenBtn, &QToolButton::clicked, this, &TMainForm::OpenItemClick);
  connect(SaveBtn, &QToolButton::clicked, this, &TMainForm::SaveItemClick);
  connect(SaveSprBtn, &QToolButton::clicked, this, &TMainForm::SaveSprBtnClick);
  connect(ClearBtn, &QToolButton::clicked, this, &TMainForm::ClearBtnClick);
  connect(AddBtn, &QToolButton::clicked, this, &TMainForm::AddBtnClick);
  connect(DeleteBtn, &QToolButton::clicked, this, &TMainForm::DeleteBtnClick);
  connect(InsertBtn, &QToolButton::clicked, this, &TMainForm::InsertBtnClick);
  connect(NextBtn, &QToolButton::clicked, this, &TMainForm::NextBtnClick);
  connect(PrevBtn, &QToolButton::clicked, this, &TMainForm::PrevBtnClick);
  connect(FirstBtn, &QToolButton::clicked, this, &TMainForm::FirstBtnClick);
  connect(LastBtn, &QToolButton::clicked, this, &TMainForm::LastBtnClick);
  connect(ExitBtn, &QToolButton::clicked, this, &TMainForm::ExitItemClick);
}

void TMainForm::CreateDrawPanel() {
  DrawPanel = MakePanel(FSurface, "DrawPanel", kDrawPanelHeight);
  DrawPanel->installEventFilter(this);
  constexpr int top = (kDrawPanelHeight - kToolButtonSize) / 2;
  constexpr int s = kToolButtonSize;
  QWidget* p = DrawPanel;
  DrawBtn = MakeButton(p, "DrawBtn", 4, top, s, QStringLiteral("Draw|"), TGlyph::Draw);
  FillBtn = MakeButton(p, "FillBtn", 33, top, s, QStringLiteral("Fill|"), TGlyph::Fill);
  ColorBtn = MakeButton(p, "ColorBtn", 62, top, s, QStringLiteral("Capture Color|"),
                        TGlyph::Capture);
  XchgBtn = MakeButton(p, "XchgBtn", 91, top, s, QStringLiteral("Exchange Color|"),
                       TGlyph::Exchange);
  // One radio group: pressing a tool releases the others. None is pressed at start.
  auto* tools = new QButtonGroup(this);
  tools->setObjectName(QStringLiteral("ToolGroup"));
  for (QToolButton* tool : {DrawBtn, FillBtn, ColorBtn, XchgBtn}) {
    tool->setCheckable(true);
    tools->addButton(tool);
  }
  CopyLeftBtn = MakeButton(p, "CopyLeftBtn", 130, top, s, QStringLiteral("Copy Prev Cell|"),
                           TGlyph::CopyPrev);
  CopyRgtBtn = MakeButton(p, "CopyRgtBtn", 159, top, s, QStringLiteral("Copy Next Cell|"),
                          TGlyph::CopyNext);
  connect(CopyLeftBtn, &QToolButton::clicked, this, &TMainForm::CopyLeftBtnClick);
  connect(CopyRgtBtn, &QToolButton::clicked, this, &TMainForm::CopyRgtBtnClick);

  const auto colourPanel = [p](const char* name, int left, const QColor& colour) {
    auto* panel = new QFrame(p);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(left, (kDrawPanelHeight - kColourPanelSize) / 2, kColourPanelSize,
                       kColourPanelSize);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colour);
    panel->setPalette(colours);
    return panel;
  };
  FGPanel = colourPanel("FGPanel", 568, Qt::white);
  BGPanel = colourPanel("BGPanel", 596, Qt::black);
}

void TMainForm::AlignControls() {
  const int width = FSurface->width();
  SpeedPanel->setGeometry(0, 0, width, kSpeedPanelHeight);
  DrawPanel->setGeometry(0, kSpeedPanelHeight, width, kDrawPanelHeight);
  // The exit button keeps its place at the right end of the panel.
  ExitBtn->move(width - kSpeedButtonSize - 6, ExitBtn->y());
  StatusBar->setGeometry(0, FSurface->height() - TStatusBar::kHeight, width, TStatusBar::kHeight);
}

int TMainForm::ClientWidth() const { return FSurface->width(); }
int TMainForm::ClientHeight() const { return FSurface->height(); }

void TMainForm::UpdateControls() {
  const bool loaded = FSpriteLoaded;
  for (QWidget* control : std::initializer_list<QWidget*>{
           SaveBtn, ClearBtn, CopyBtn, AddBtn, DeleteBtn, InsertBtn, HFlipBtn, VFlipBtn,
           MoveLeftBtn, MoveRgtBtn, MoveUpBtn, MoveDnBtn, NextBtn, PrevBtn, FirstBtn, LastBtn,
           DrawBtn, FillBtn, ColorBtn, AnimBtn, FGPanel, BGPanel, CopyLeftBtn, CopyRgtBtn,
           SaveSprBtn, UndoBtn, XchgBtn}) {
    control->setEnabled(loaded);
  }
  for (QAction* item : {SaveItem, SpriteStats, Undo, ResizeSprite, FileSaveAs, BitmapImport,
                        BitmapExport, BMPAVIImport, LoadPalette, Navigation1->menuAction(), Next1,
                        Previous1, First1, Last1}) {
    item->setEnabled(loaded);
  }
  // Custom colour sets hold direct colours, which an 8-bit sprite does not have.
  const bool directColours = loaded && FSprite && FSprite->FDepth != 8;
  SaveCustomColors->setEnabled(directColours);
  GetCustomColors->setEnabled(directColours);
}

void TMainForm::ShowHint(const QString& hint) { StatusBar->SetPanelText(0, hint); }

bool TMainForm::event(QEvent* event) {
  // A highlighted menu item sends its hint as a status tip.
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // Pointing at a control makes its hint the application's current hint: the part after the
  // bar, which is empty for the buttons, so the hint line is cleared while the tooltip shows.
  if (event->type() == QEvent::Enter) {
    ShowHint(LongHint(watched->property(kHintProperty).toString()));
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ExitItemClick() { close(); }
