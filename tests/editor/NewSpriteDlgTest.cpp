// The New dialog on its own: the size checks and their messages, the digit-only edits and the
// preselected depth.

#include "ScriptedPrompts.h"

#include "editor/NewSprite.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TNewSpriteDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void SizeChecks_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("smallest") << "6" << "6" << QStringList();
    QTest::newRow("largest") << "200" << "200" << QStringList();
    QTest::newRow("width 5") << "5" << "20" << QStringList{"Low value for width!"};
    QTest::newRow("width 201, height 3")
        << "201" << "3" << QStringList{"High value for width!", "Low value for height!"};
    QTest::newRow("height 201") << "20" << "201" << QStringList{"High value for height!"};
    QTest::newRow("both low") << "0" << "5"
                              << QStringList{"Low value for width!", "Low value for height!"};
    QTest::newRow("emptied width") << "" << "20" << QStringList{"Low value for width!"};
    QTest::newRow("emptied both") << "" << ""
                                  << QStringList{"Low value for width!", "Low value for height!"};
    QTest::newRow("nine digits") << "999999999" << "20" << QStringList{"High value for width!"};
  }

  // Each failed check shows its own error and keeps the dialog open; passing values close it.
  void SizeChecks() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QStringList, messages);

    TScriptedPrompts prompts;
    TNewSpriteDlg dialog(prompts, 8);
    dialog.show();
    dialog.WidthEdit->setText(width);
    dialog.HeightEdit->setText(height);
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);

    QCOMPARE(prompts.AskedTexts(), messages);
    for (const TAskedMessage& message : prompts.Asked) {
      QCOMPARE(message.Kind, TMessageKind::Error);
      QCOMPARE(message.Buttons, TMessageButtons::OK);
    }
    QCOMPARE(dialog.isVisible(), !messages.isEmpty());
    if (messages.isEmpty()) QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void CancelSkipsTheChecks() {
    TScriptedPrompts prompts;
    TNewSpriteDlg dialog(prompts, 8);
    dialog.show();
    dialog.WidthEdit->setText(QStringLiteral("1"));
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    QVERIFY(prompts.Asked.empty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  // Letters are swallowed as they are typed; digits and backspace work.
  void EditsTakeDigitsOnly() {
    TScriptedPrompts prompts;
    TNewSpriteDlg dialog(prompts, 8);
    dialog.show();
    for (QLineEdit* edit : {dialog.WidthEdit, dialog.HeightEdit}) {
      QCOMPARE(edit->text(), QStringLiteral("20"));
      edit->setFocus();
      edit->end(false);
      QTest::keyClicks(edit, QStringLiteral("a-5x. "));
      QCOMPARE(edit->text(), QStringLiteral("205"));
      QTest::keyClick(edit, Qt::Key_Backspace);
      QTest::keyClick(edit, Qt::Key_Backspace);
      QCOMPARE(edit->text(), QStringLiteral("2"));
      edit->insert(QStringLiteral("1b2"));
      QCOMPARE(edit->text(), QStringLiteral("2"));
    }
  }

  void Preselection_data() {
    QTest::addColumn<int>("lastDepth");
    QTest::addColumn<int>("index");
    QTest::newRow("first New of a run") << 0 << 0;
    QTest::newRow("8 bits") << 8 << 0;
    QTest::newRow("16 bits") << 16 << 1;
    QTest::newRow("24 bits") << 24 << 2;
    QTest::newRow("32 bits") << 32 << 3;
  }

  // The depth chosen last is offered again; the first time 8 bits are, so OK always has a depth.
  void Preselection() {
    QFETCH(int, lastDepth);
    QFETCH(int, index);
    TScriptedPrompts prompts;
    TNewSpriteDlg dialog(prompts, lastDepth);
    QCOMPARE(dialog.ColorGroupIndex(), index);
    QCOMPARE(dialog.Depth(), 8 * (index + 1));
    const auto items = dialog.ColorGroup->findChildren<QRadioButton*>();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items.at(index)->isChecked(), true);
  }
};

QTEST_MAIN(TNewSpriteDlgTest)
#include "NewSpriteDlgTest.moc"
