// Cel operations and navigation: moving cels between the document, the work copy and the edit
// buffer, the prompt that guards unstored edits, Add, Insert, Delete, Clear, Copy Prev/Next Cell,
// Save Cel, First/Next/Previous/Last, the neighbour buttons and the cel number.
//
// Every command keeps FWorkCel equal to the edit buffer when it ends. Block transfers start at the
// edit buffer's lower-left pixel (0, max y), because blocks hold the cel's bottom row first.

#include "editor/SpriteMain.h"

#include "editor/Display.h"
#include "editor/Prompts.h"
#include "editor/StatusBar.h"
#include "raster/raster.h"

#include <QString>
#include <QToolButton>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

// Makes the edit buffer active with the graphics position at its lower-left pixel.
void OpenEditBuffer(const TMainForm& form) {
  form.FCelPic->Open();
  ras_move_to(0, ras_max_y());
}

// An 8-bit sprite's cels are palette indices; the other depths are direct colours.
void PutCel(const TMainForm& form, const std::uint8_t* block) {
  OpenEditBuffer(form);
  const TSpriteUnit& sprite = *form.FSprite;
  if (sprite.FDepth == 8)
    ras_put_block8(block, sprite.FWidth, sprite.FHeight);
  else
    ras_put_block(block, sprite.FWidth, sprite.FHeight);
}

void GetCel(const TMainForm& form, std::uint8_t* block) {
  OpenEditBuffer(form);
  const TSpriteUnit& sprite = *form.FSprite;
  if (sprite.FDepth == 8)
    ras_get_block8(block, sprite.FWidth, sprite.FHeight);
  else
    ras_get_block(block, sprite.FWidth, sprite.FHeight);
}

void RepaintPictures(TMainForm& form) {
  form.RenderZoom();
  form.FCelPic->Paint();
  form.FZoomPic->Paint();
}

// Shows the stored cel at index in the edit buffer as an unstored edit of the current cel.
void CopyCelIntoEdit(TMainForm& form, std::int32_t index) {
  PutCel(form, form.FSprite->GetCel(index));
  form.GrabWorkCel();
  RepaintPictures(form);
  form.FCelChanged = true;
  form.FSpriteChanged = true;
}

// Makes cel index current and shows its stored pixels, dropping unstored edits.
void GoToCel(TMainForm& form, std::int32_t index) {
  form.FSprite->FCurrent = index;
  form.LoadCurrentCel();
  form.FCelChanged = false;
  form.UpdateNavButtons();
  form.ShowCelNumber();
}

// Adds a blank cel (appended or inserted by place) and shows it. The prompt has dealt with the
// edits of the cel that was current, so the new cel is shown as it is stored: blank.
template <typename TPlace>
void AddBlankCel(TMainForm& form, TPlace place) {
  form.SaveCelPrompt();
  try {
    place(*form.FSprite, form.FSprite->NewCelBlock());
  } catch (const std::bad_alloc&) {
    form.FPrompts->Message(TMessageKind::Error, QStringLiteral("Not enough memory for a new cel."),
                           TMessageButtons::OK);
    return;
  }
  form.LoadCurrentCel();
  form.FCelChanged = false;
  form.UpdateNavButtons();
  form.FSpriteChanged = true;
  form.ShowCelNumber();
}

}  // namespace

void TMainForm::ShowWorkCel() {
  PutCel(*this, FWorkCel.data());
  RepaintPictures(*this);
}

void TMainForm::LoadCurrentCel() {
  const std::uint8_t* stored = FSprite->CurrentCel();
  std::copy(stored, stored + FSprite->FCelBytes, FWorkCel.begin());
  ShowWorkCel();
}

void TMainForm::StoreCurrentCel() { GetCel(*this, FSprite->CurrentCel()); }

void TMainForm::GrabWorkCel() { GetCel(*this, FWorkCel.data()); }

void TMainForm::SaveCelPrompt() {
  if (!FCelChanged) return;
  if (FPrompts->Message(TMessageKind::Warning, QStringLiteral("Cel has been changed, Save?"),
                        TMessageButtons::YesNo) != TMessageButton::Yes)
    return;
  StoreCurrentCel();
  FCelChanged = false;
  FSpriteChanged = true;
}

void TMainForm::ShowCelNumber() {
  if (!FSprite) return;
  StatusBar->SetPanelText(2, QStringLiteral("Sprite %1 Of %2")
                                 .arg(FSprite->FCurrent + 1)
                                 .arg(FSprite->CelCount()));
}

void TMainForm::UpdateNavButtons() {
  if (!FSprite) return;
  const std::int32_t i = FSprite->FCurrent;
  const std::int32_t n = FSprite->CelCount();
  const bool first = i == 0;
  const bool last = !first && i == n - 1;
  PrevBtn->setEnabled(!first);
  CopyLeftBtn->setEnabled(!first);
  CopyRgtBtn->setEnabled(!last);
  NextBtn->setEnabled(!last);
}

void TMainForm::FirstBtnClick() {
  if (!FSprite) return;
  SaveCelPrompt();
  GoToCel(*this, 0);
}

void TMainForm::LastBtnClick() {
  if (!FSprite) return;
  SaveCelPrompt();
  GoToCel(*this, FSprite->CelCount() - 1);
}

void TMainForm::NextBtnClick() {
  if (!FSprite) return;
  SaveCelPrompt();
  const std::int32_t next = FSprite->FCurrent + 1;
  if (next > FSprite->CelCount() - 1) return;
  GoToCel(*this, next);
}

void TMainForm::PrevBtnClick() {
  if (!FSprite) return;
  SaveCelPrompt();
  const std::int32_t previous = FSprite->FCurrent - 1;
  if (previous < 0) return;
  GoToCel(*this, previous);
}

void TMainForm::AddBtnClick() {
  if (!FSprite) return;
  AddBlankCel(*this, [](TSpriteUnit& sprite, TCelBlock block) { sprite.AddCel(std::move(block)); });
}

void TMainForm::InsertBtnClick() {
  if (!FSprite) return;
  AddBlankCel(*this,
              [](TSpriteUnit& sprite, TCelBlock block) { sprite.InsertCel(std::move(block)); });
}

void TMainForm::DeleteBtnClick() {
  if (!FSprite) return;
  const std::int32_t count = FSprite->CelCount();
  FSprite->DeleteCel(FSprite->FCurrent);
  LoadCurrentCel();
  UpdateNavButtons();
  FCelChanged = false;
  // The only cel is kept, and then the sprite has not changed.
  if (FSprite->CelCount() != count) FSpriteChanged = true;
  ShowCelNumber();
}

void TMainForm::ClearBtnClick() {
  if (!FSprite) return;
  FCelPic->Open();
  ras_set_color(0);
  ras_fill_buffer();
  GrabWorkCel();
  RepaintPictures(*this);
  FCelChanged = true;
  FSpriteChanged = true;
  ShowCelNumber();
}

void TMainForm::CopyLeftBtnClick() {
  if (!FSprite || FSprite->FCurrent <= 0) return;
  CopyCelIntoEdit(*this, FSprite->FCurrent - 1);
}

void TMainForm::CopyRgtBtnClick() {
  if (!FSprite || FSprite->FCurrent >= FSprite->CelCount() - 1) return;
  CopyCelIntoEdit(*this, FSprite->FCurrent + 1);
}

void TMainForm::SaveSprBtnClick() {
  if (!FSprite) return;
  StoreCurrentCel();
  FCelChanged = false;
  FSpriteChanged = true;
}
