// The real prompts: the Qt message boxes and file dialogs get the kind, buttons, filters,
// default extension and initial name they are asked for. Each modal is answered from a timer.

#include "editor/QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs answer on the first modal widget of type T once it is up.
template <typename T>
void WhenShown(std::function<void(T&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    QVERIFY(modal);
    answer(*modal);
  });
}

}  // namespace

class TQtPromptsTest : public QObject {
  Q_OBJECT

 private slots:
  void NameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sprite files") << "Sprite Files(*.spr)|*.spr" << QStringList{"Sprite Files(*.spr)"};
    QTest::newRow("patterns not shown")
        << "Pictures|*.pcx;*.bmp|All Files (*.*)|*.*"
        << QStringList{"Pictures (*.pcx *.bmp)", "All Files (*.*)"};
    QTest::newRow("empty") << "" << QStringList();
  }

  void NameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(filter), expected);
  }

  void Message_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("answer");
    QTest::newRow("warning, Yes") << int(TMessageKind::Warning) << int(TMessageButtons::YesNo)
                                  << int(QMessageBox::Yes) << "Warning"
                                  << int(QMessageBox::Warning) << int(TMessageButton::Yes);
    QTest::newRow("warning, No") << int(TMessageKind::Warning) << int(TMessageButtons::YesNo)
                                 << int(QMessageBox::No) << "Warning"
                                 << int(QMessageBox::Warning) << int(TMessageButton::No);
    QTest::newRow("warning closed") << int(TMessageKind::Warning) << int(TMessageButtons::YesNo)
                                    << -1 << "Warning" << int(QMessageBox::Warning)
                                    << int(TMessageButton::No);
    QTest::newRow("error, OK") << int(TMessageKind::Error) << int(TMessageButtons::OK)
                               << int(QMessageBox::Ok) << "Error" << int(QMessageBox::Critical)
                               << int(TMessageButton::OK);
    QTest::newRow("one Yes button") << int(TMessageKind::Warning) << int(TMessageButtons::Yes)
                                    << int(QMessageBox::Yes) << "Warning"
                                    << int(QMessageBox::Warning) << int(TMessageButton::Yes);
  }

  // The box has the kind's caption and icon and exactly the buttons asked for; Escape on a
  // Yes/No box answers No.
  void Message() {
    QFETCH(int, kind);
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(int, answer);
    const QMap<int, QMessageBox::StandardButtons> expectedButtons = {
        {int(TMessageButtons::OK), QMessageBox::Ok},
        {int(TMessageButtons::Yes), QMessageBox::Yes},
        {int(TMessageButtons::YesNo), QMessageBox::Yes | QMessageBox::No}};

    bool seen = false;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
      seen = true;
      QCOMPARE(box.windowTitle(), caption);
      QCOMPARE(int(box.icon()), icon);
      QCOMPARE(box.text(), QStringLiteral("Cel has been changed, Save?"));
      QCOMPARE(box.standardButtons(), expectedButtons[buttons]);
      if (press < 0)
        QTest::keyClick(&box, Qt::Key_Escape);
      else
        box.button(QMessageBox::StandardButton(press))->click();
    });
    TQtPrompts prompts;
    const TMessageButton pressed =
        prompts.Message(TMessageKind(kind), QStringLiteral("Cel has been changed, Save?"),
                        TMessageButtons(buttons));
    QVERIFY(seen);
    QCOMPARE(int(pressed), answer);
  }

  // The open dialog takes typed names of missing files (New names its file with it); the save
  // dialog replaces files without asking; both carry the filter, extension and initial name.
  void FileDialogs() {
    QTemporaryDir dir;
    TQtPrompts prompts;
    const TFileDialogSetup setup{QString(), QStringLiteral("Sprite Files(*.spr)|*.spr"),
                                 QStringLiteral("spr"), dir.filePath(QStringLiteral("a.spr"))};

    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
      QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
      QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
      QCOMPARE(dialog.nameFilters(), QStringList{"Sprite Files(*.spr)"});
      QCOMPARE(dialog.defaultSuffix(), QStringLiteral("spr"));
      QCOMPARE(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
      dialog.reject();
    });
    QVERIFY(!prompts.OpenFileName(setup));

    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
      QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
      QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
      QCOMPARE(dialog.defaultSuffix(), QStringLiteral("spr"));
      QCOMPARE(dialog.selectedFiles().value(0), QDir(dir.path()).absoluteFilePath("a.spr"));
      static_cast<QDialog&>(dialog).accept();
    });
    const std::optional<QString> chosen = prompts.SaveFileName(setup);
    QVERIFY(chosen);
    QCOMPARE(*chosen, QDir(dir.path()).absoluteFilePath("a.spr"));
  }
};

QTEST_MAIN(TQtPromptsTest)
#include "QtPromptsTest.moc"
