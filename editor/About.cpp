#include "editor/About.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

// The application's icon when it has one; otherwise a small magnified cel with its grid, the
// picture the program is about.
QPixmap IconPixmap() {
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) return icon.pixmap(32, 32);
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  const QColor colours[] = {QColor(0, 0, 170), QColor(0, 170, 0), QColor(170, 0, 0),
                            QColor(230, 200, 0)};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) painter.fillRect(8 * x + 1, 8 * y + 1, 7, 7, colours[(x + y) % 4]);
  return pixmap;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About"));

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(IconPixmap());
  ProgramIcon->setGeometry(16, 16, 32, 32);

  ProductName = new QLabel(QStringLiteral("Quillmoor Celwright"), this);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  QFont font = ProductName->font();
  font.setBold(true);
  ProductName->setFont(font);
  ProductName->setGeometry(64, 16, 180, 18);

  Version = new QLabel(QStringLiteral("Version 2.5"), this);
  Version->setObjectName(QStringLiteral("Version"));
  Version->setGeometry(64, 38, 180, 18);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(98, 76, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(270, 116);
}
