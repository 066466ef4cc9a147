#include "editor/StatusBar.h"

#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QFrame(parent) {
  setFixedHeight(kHeight);
  int left = 0;
  for (int i = 0; i < kPanelCount; ++i) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    panel->setGeometry(left, 1, kPanelWidths[i] - 2, kHeight - 1);
    left += kPanelWidths[i];
    FPanels[i] = panel;
  }
}

void TStatusBar::SetPanelText(int panel, const QString& text) {
  if (panel >= 0 && panel < kPanelCount) FPanels[panel]->setText(text);
}

QString TStatusBar::PanelText(int panel) const {
  return panel >= 0 && panel < kPanelCount ? FPanels[panel]->text() : QString();
}
