#pragma once
// TNewSpriteDlg, "Create New Sprite": the width and height of a new sprite (6 to 200 pixels
// each, digits only) and its colour depth. Resize Sprite uses it too, with the depth group hidden.

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TPrompts;

class TNewSpriteDlg : public QDialog {
  Q_OBJECT

 public:
  // newDepth is the depth chosen the last time (8, 16, 24 or 32); any other value, such as the 0
  // of the first New in a run, preselects 8 bits, so OK always has a depth to give.
  TNewSpriteDlg(TPrompts& prompts, std::int32_t newDepth, QWidget* parent = nullptr);

  QLabel* Label1;
  QLabel* Label2;
  QLineEdit* WidthEdit;
  QLineEdit* HeightEdit;
  QGroupBox* ColorGroup;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

  // Item i of ColorGroup means depth 8 x (i + 1).
  void SelectDepth(std::int32_t depth);
  std::int32_t ColorGroupIndex() const;
  std::int32_t Depth() const { return 8 * (ColorGroupIndex() + 1); }

  // The values typed into the edits; an empty field counts as 0.
  std::int64_t WidthValue() const;
  std::int64_t HeightValue() const;

  // Swallows a typed character other than a digit or backspace (key becomes the null character).
  static void WidthEditKeyPress(QChar& key);
  // Checks the sizes before the dialog closes with OK, showing one error for each failed check;
  // false keeps the dialog open.
  bool FormCloseQuery();

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TPrompts& FPrompts;
  QButtonGroup* FDepthButtons;
};
