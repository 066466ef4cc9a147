// The File menu's document commands (New, Open, Save, Save As), opening a recent file, the prompt
// that offers to save a changed sprite, and the Help menu's contents and about box.

#include "editor/SpriteMain.h"

#include "editor/About.h"
#include "editor/Display.h"
#include "editor/HelpWindow.h"
#include "editor/NewSprite.h"
#include "editor/Prompts.h"
#include "raster/raster.h"

#include <QApplication>
#include <QDialog>
#include <QToolButton>

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

namespace {

const QString kSpriteFilter = QStringLiteral("Sprite Files(*.spr)|*.spr");
const QString kSpriteExt = QStringLiteral("spr");

// The palette strip is 256 x 64: 8 rows of 32 squares of 8 x 8.
constexpr std::int32_t kStripWidth = 256;
constexpr std::int32_t kStripHeight = 64;

// Shows the hourglass while a command builds its pictures; the tool's own cursor comes back after.
class TBusyCursor {
 public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

std::string ToPath(const QString& path) { return path.toStdString(); }

std::string SpriteFilePath() { return SpritePath + SpriteName + ".spr"; }

// SpritePath := the directory of path with its separator; SpriteName := the file name cut before
// its first ".", so my.hero.spr is bound to my and saved as my.spr.
void BindFileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  SpritePath = path.substr(0, nameStart);
  const std::string fileName = path.substr(nameStart);
  SpriteName = fileName.substr(0, fileName.find('.'));
}

QString FileCaption() {
  return QString::fromStdString(ProductTitle) + QStringLiteral(" - ") +
         QString::fromStdString(SpriteName);
}

TFileDialogSetup SpriteDialog(const QString& initialName) {
  return {QString(), kSpriteFilter, kSpriteExt, initialName};
}

// The 256 entries of the palette in use, as SaveSpriteFile takes them.
TSpritePalette EditorPalette() {
  TSpritePalette palette;
  for (std::int32_t i = 0; i < 256; ++i) {
    std::int32_t r = 0, g = 0, b = 0;
    ras_get_rgb(i, &r, &g, &b);
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(r),
                                            static_cast<std::uint8_t>(g),
                                            static_cast<std::uint8_t>(b)};
  }
  return palette;
}

void ReportError(TMainForm& form, const QString& text) {
  form.FPrompts->Message(TMessageKind::Error, text, TMessageButtons::OK);
}

// Writes the sprite and the palette in use to path. A failure is reported with the writer's
// reason; the writer leaves any previous file whole.
bool WriteSprite(TMainForm& form, const std::string& path) {
  const TSpriteFileResult result = SaveSpriteFile(*form.FSprite, path, EditorPalette());
  if (!result)
    ReportError(form, QStringLiteral("Cannot save %1: %2")
                          .arg(QString::fromStdString(path), QString::fromStdString(result.Reason)));
  return result.Ok;
}

// The pictures and work copy a sprite needs, made before the old ones are let go so that a
// failure changes nothing.
struct TViewSet {
  std::unique_ptr<TPic> CelPic;
  std::unique_ptr<TPic> ZoomPic;
  std::unique_ptr<TPic> PalettePic;
  TCelBlock WorkCel;
};

std::optional<TViewSet> MakeViews(TMainForm& form, const TSpriteUnit& sprite) {
  TViewSet views;
  try {
    views.WorkCel = sprite.NewCelBlock();
    views.CelPic = std::make_unique<TPic>(sprite.FWidth, sprite.FHeight, sprite.FDepth);
    views.ZoomPic = std::make_unique<TPic>(8 * sprite.FWidth, 8 * sprite.FHeight, sprite.FDepth);
    if (sprite.FDepth == 8) views.PalettePic = std::make_unique<TPic>(kStripWidth, kStripHeight, 8);
    return views;
  } catch (const TPicAllocError& error) {
    ReportError(form, QStringLiteral("Cannot make the sprite's pictures: %1")
                          .arg(QString::fromLocal8Bit(error.what())));
  } catch (const std::bad_alloc&) {
    ReportError(form, QStringLiteral("Not enough memory for the sprite."));
  }
  // A new picture's buffer may be the active one, which the engine would not free.
  ras_close_buffer();
  return std::nullopt;
}

// The window area a picture's Paint covers. For the true-size picture that is wider than its
// rectangle when the buffer's stored width was rounded up, so erasing the rectangle alone would
// leave up to three columns of the old picture.
TRect PaintedArea(const TPic& pic) {
  return {pic.FLeft, pic.FTop, pic.FLeft + pic.FView.Right - pic.FView.Left,
          pic.FTop + pic.FView.Bottom - pic.FView.Top};
}

// Puts new pictures in place of the old ones: the old pictures' areas are erased first, and the
// palette strip's area too when the new sprite has none.
void InstallViews(TMainForm& form, TViewSet views) {
  const bool hadStrip = form.FPaletteShown;
  const TRect oldStrip = form.FPaletteRect;
  if (form.FCelPic) {
    form.EraseArea(PaintedArea(*form.FZoomPic));
    form.EraseArea(PaintedArea(*form.FCelPic));
  }
  // The last picture made is active, so the old buffers can all be freed.
  form.FCelPic = std::move(views.CelPic);
  form.FZoomPic = std::move(views.ZoomPic);
  form.FWorkCel = std::move(views.WorkCel);
  form.FPalettePic = std::move(views.PalettePic);
  form.FPaletteShown = form.FPalettePic != nullptr;
  if (form.FPaletteShown) {
    form.FPaletteRect = {form.FPaletteLeft, form.FPaletteTop, form.FPaletteLeft + kStripWidth - 1,
                         form.FPaletteTop + kStripHeight - 1};
    form.DrawPaletteStrip();
    form.FPalettePic->SetPosition(form.FPaletteLeft, form.FPaletteTop);
  } else if (hadStrip) {
    form.EraseArea(oldStrip);
  }
}

// Creates the new sprite with one blank cel, bound to path; false (with a message) when its
// pictures cannot be made, leaving the open sprite as it was.
bool CreateSprite(TMainForm& form, const std::string& path, std::int32_t w, std::int32_t h,
                  std::int32_t depth) {
  std::unique_ptr<TSpriteUnit> sprite;
  try {
    sprite = std::make_unique<TSpriteUnit>(w, h, depth);
    sprite->AddCel(sprite->NewCelBlock());
  } catch (const std::exception& error) {
    ReportError(form, QStringLiteral("Cannot create the sprite: %1")
                          .arg(QString::fromLocal8Bit(error.what())));
    return false;
  }
  std::optional<TViewSet> views = MakeViews(form, *sprite);
  if (!views) return false;

  InstallViews(form, std::move(*views));
  form.FSprite = std::move(sprite);
  BindFileName(path);
  form.setWindowTitle(FileCaption());
  form.FSpriteLoaded = true;
  form.UpdateControls();
  const TBusyCursor busy;
  form.LayoutZoomView();
  form.FZoomPic->Paint();
  form.LayoutCelView();
  form.FCelPic->Paint();
  if (form.FPaletteShown) form.FPalettePic->Paint();
  form.ShowCelNumber();
  form.UpdateNavButtons();
  form.FCelChanged = false;
  form.FSpriteChanged = false;
  return true;
}

// Reads the sprite file at path and shows its first cel. A file that cannot be read, or a sprite
// whose pictures cannot be made, is reported and leaves the open sprite, its palette, its file
// name and the window exactly as they were.
void LoadSprite(TMainForm& form, const QString& path) {
  const std::string oldPath = SpritePath;
  const std::string oldName = SpriteName;
  auto sprite = std::make_unique<TSpriteUnit>(20, 20, 8);
  TSpritePalette palette{};
  bool hasPalette = false;
  const TSpriteFileResult result = LoadSpriteFile(*sprite, ToPath(path), palette, hasPalette);
  if (!result) {
    ReportError(form, QStringLiteral("Cannot open %1: %2")
                          .arg(path, QString::fromStdString(result.Reason)));
    return;
  }
  std::optional<TViewSet> views = MakeViews(form, *sprite);
  if (!views) {
    SpritePath = oldPath;
    SpriteName = oldName;
    return;
  }

  // Only the sprite's own entries 10..245 are taken from the file.
  if (hasPalette) {
    std::array<std::uint8_t, 3 * 236> rgb{};
    for (std::size_t i = 0; i < 236; ++i) {
      const TPaletteColor& colour = palette[10 + i];
      rgb[3 * i] = colour.Red;
      rgb[3 * i + 1] = colour.Green;
      rgb[3 * i + 2] = colour.Blue;
    }
    ras_delete_palette(form.FPalette);
    form.FPalette = ras_make_palette(10, 236, rgb.data());
    ras_realize_palette(form.FPalette);
  }

  InstallViews(form, std::move(*views));
  form.FSprite = std::move(sprite);
  BindFileName(ToPath(path));
  form.FSpriteLoaded = true;
  form.setWindowTitle(FileCaption());
  form.UpdateControls();
  const TBusyCursor busy;
  form.LayoutZoomView();
  form.LayoutCelView();
  form.FSprite->FCurrent = 0;
  form.LoadCurrentCel();
  if (form.FPaletteShown) form.FPalettePic->Paint();
  form.FCelChanged = false;
  form.FSpriteChanged = false;
  form.UpdateControls();
  form.DrawBtn->click();
  form.DrawBtn->setChecked(true);
  form.UpdateNavButtons();
  form.ShowCelNumber();
}

}  // namespace

void TMainForm::FileNewClick() {
  if (FSprite) {
    SaveCelPrompt();
    if (!SaveSpritePrompt()) return;
  }
  const std::optional<QString> path = FPrompts->OpenFileName(SpriteDialog(QStringLiteral("*.spr")));
  if (!path) return;
  TNewSpriteDlg dialog(*FPrompts, FNewDepth, this);
  if (FPrompts->RunDialog(dialog) != QDialog::Accepted) return;
  FNewDepth = dialog.Depth();
  CreateSprite(*this, ToPath(*path), static_cast<std::int32_t>(dialog.WidthValue()),
               static_cast<std::int32_t>(dialog.HeightValue()), FNewDepth);
}

void TMainForm::OpenItemClick() {
  const std::optional<QString> path = FPrompts->OpenFileName(SpriteDialog(QStringLiteral("*.spr")));
  if (!path) return;
  // Edits of the current cel alone are not asked about: opening drops them.
  if (FSpriteChanged) {
    SaveCelPrompt();
    if (!SaveSpritePrompt()) return;
  }
  LoadSprite(*this, *path);
}

void TMainForm::OpenSpriteFile(const QString& path) { LoadSprite(*this, path); }

void TMainForm::SaveItemClick() {
  if (!FSprite) return;
  SaveCelPrompt();
  if (WriteSprite(*this, SpriteFilePath())) FSpriteChanged = false;
}

void TMainForm::FileSaveAsClick() {
  if (!FSprite) return;
  const std::optional<QString> path = FPrompts->SaveFileName(
      SpriteDialog(QString::fromStdString(SpriteFilePath())));
  if (!path) return;
  SaveCelPrompt();
  // The sprite is bound to the new name only once it has been written there.
  if (!WriteSprite(*this, ToPath(*path))) return;
  BindFileName(ToPath(*path));
  setWindowTitle(FileCaption());
  FSpriteChanged = false;
}

bool TMainForm::SaveSpritePrompt() {
  if (!FSpriteChanged) return true;
  if (FPrompts->Message(TMessageKind::Warning, QStringLiteral("Sprite list has been changed, Save?"),
                        TMessageButtons::YesNo) != TMessageButton::Yes)
    return true;
  if (!WriteSprite(*this, SpriteFilePath())) return false;
  FSpriteChanged = false;
  return true;
}

void TMainForm::HelpContentsClick() { OpenHelpContents(*this); }

void TMainForm::About1Click() {
  TAboutBox box(this);
  FPrompts->RunDialog(box);
}
