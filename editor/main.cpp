// Celwright: a paint program for sprites. One main window; the program reads no command line.

#include "editor/QtPrompts.h"
#include "editor/SpriteMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Celwright"));
  TQtPrompts prompts;
  TMainForm mainForm(prompts);
  prompts.SetParent(&mainForm);
  mainForm.show();
  return QApplication::exec();
}
