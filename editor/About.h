#pragma once
// TAboutBox: the program icon, its name and its version, closed with OK.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QPushButton* OKButton;
};
