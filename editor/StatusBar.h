#pragma once
// The main window's status bar: three sunken text panels of fixed widths side by side (the hint
// line, the pointer position and the cel number).

#include <QFrame>
#include <QString>

#include <array>

class QLabel;

class TStatusBar : public QFrame {
 public:
  static constexpr int kPanelCount = 3;
  static constexpr std::array<int, kPanelCount> kPanelWidths{200, 200, 100};
  static constexpr int kHeight = 19;

  explicit TStatusBar(QWidget* parent = nullptr);

  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;

 private:
  std::array<QLabel*, kPanelCount> FPanels{};
};
