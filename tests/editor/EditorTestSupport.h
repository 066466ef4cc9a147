#pragma once
// Helpers for tests that drive the real main window: sprite files written from literal cels, the
// New dialog filled as a user would, and the edit buffer read back through the engine.

#include "ScriptedPrompts.h"

#include "document/Spritedata.h"
#include "editor/Display.h"
#include "editor/NewSprite.h"
#include "editor/SpriteMain.h"
#include "editor/StatusBar.h"
#include "raster/raster.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A palette whose sprite entries 10..245 all differ, so a lost or shifted entry shows.
inline TSpritePalette TestPalette() {
  TSpritePalette palette{};
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>((i * 4) & 0xFC),
                                            static_cast<std::uint8_t>((255 - i) & 0xFC),
                                            static_cast<std::uint8_t>((i * 12) & 0xFC)};
  return palette;
}

// Writes a sprite of the given size and depth with these cels; fails the test if it cannot.
inline void WriteSpriteFile(const QString& path, std::int32_t w, std::int32_t h,
                            std::int32_t depth, const std::vector<TCelBlock>& cels,
                            const TSpritePalette& palette = TestPalette()) {
  TSpriteUnit sprite(w, h, depth);
  for (const TCelBlock& cel : cels) sprite.AddCel(cel);
  const TSpriteFileResult result = SaveSpriteFile(sprite, path.toStdString(), palette);
  QVERIFY2(result.Ok, result.Reason.c_str());
}

// A cel of bytes bytes counting up from seed: each cel of a test sprite differs from the others.
inline TCelBlock PatternCel(std::int32_t bytes, std::uint8_t seed) {
  TCelBlock cel(static_cast<std::size_t>(bytes));
  for (std::size_t i = 0; i < cel.size(); ++i) cel[i] = static_cast<std::uint8_t>(seed + 7 * i);
  return cel;
}

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// The edit buffer's w x h pixels as a cel block.
inline TCelBlock EditBuffer(TMainForm& form) {
  TCelBlock block = form.FSprite->NewCelBlock();
  form.FCelPic->Open();
  ras_move_to(0, ras_max_y());
  if (form.FSprite->FDepth == 8)
    ras_get_block8(block.data(), form.FSprite->FWidth, form.FSprite->FHeight);
  else
    ras_get_block(block.data(), form.FSprite->FWidth, form.FSprite->FHeight);
  return block;
}

// Changes one pixel of the edit buffer the way the Draw tool does: the edit stays unstored.
inline void DrawPixel(TMainForm& form, std::int32_t x, std::int32_t y, std::int32_t colour) {
  form.FCelPic->Open();
  ras_set_color(colour);
  ras_point(x, y);
  form.GrabWorkCel();
  form.FCelChanged = true;
}

inline TCelBlock StoredCel(TMainForm& form, std::int32_t index) {
  const std::uint8_t* cel = form.FSprite->GetCel(index);
  return TCelBlock(cel, cel + form.FSprite->FCelBytes);
}

// Plays a user in the New dialog: types the sizes, picks depth item depthIndex (-1 keeps the
// preselected one) and presses OK until the dialog closes or the tries run out.
inline std::function<int(QDialog&)> FillNewSprite(const QString& width, const QString& height,
                                                  int depthIndex = -1) {
  return [=](QDialog& dialog) {
    auto& newSprite = dynamic_cast<TNewSpriteDlg&>(dialog);
    newSprite.show();
    newSprite.WidthEdit->setText(width);
    newSprite.HeightEdit->setText(height);
    if (depthIndex >= 0) {
      const auto items = newSprite.ColorGroup->findChildren<QRadioButton*>();
      items.at(depthIndex)->click();
    }
    newSprite.OKBtn->click();
    const int result = newSprite.isVisible() ? int(QDialog::Rejected) : newSprite.result();
    newSprite.hide();
    return result;
  };
}

// One main window per test, shown (so the engine is running), with scripted prompts.
class TEditorHarness {
 public:
  TEditorHarness() : Form(std::make_unique<TMainForm>(Prompts)) {
    Form->show();
    Form->activateWindow();
  }

  QString PathOf(const QString& name) const { return Dir.filePath(name); }

  void Open(const QString& path) {
    Prompts.OpenNames.push_back(path);
    Form->OpenItemClick();
  }

  void New(const QString& path, const QString& width, const QString& height, int depthIndex = -1) {
    Prompts.OpenNames.push_back(path);
    Prompts.Dialogs.push_back(FillNewSprite(width, height, depthIndex));
    Form->FileNewClick();
  }

  QString CelNumber() const { return Form->StatusBar->PanelText(2); }

  QTemporaryDir Dir;
  TScriptedPrompts Prompts;
  std::unique_ptr<TMainForm> Form;
};
