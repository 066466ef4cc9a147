// Cel operations and navigation on the real main window: what each command stores, shows and
// asks, with "Cel has been changed, Save?" answered both ways.

#include "EditorTestSupport.h"

#include <QAction>
#include <QToolButton>

namespace {

const QString kCelChanged = QStringLiteral("Cel has been changed, Save?");

// A 4 x 3 sprite at 8 bits, written out as rows (the bottom row first, as blocks store them);
// cel k of the test sprites is this picture plus 16 k.
const TCelBlock kPicture = {
    1, 2,  3,  4,   //
    5, 6,  7,  8,   //
    9, 10, 11, 12,  //
};

TCelBlock NumberedCel(int k, int depth) {
  TCelBlock cel;
  for (std::uint8_t value : kPicture)
    for (int b = 0; b < CelBytesPerPixel(depth); ++b)
      cel.push_back(static_cast<std::uint8_t>(value + 16 * k + 100 * b));
  return cel;
}

const TCelBlock kBlank(12, 0);

// Opens a sprite of count numbered 4 x 3 cels and goes to cel current.
void OpenNumbered(TEditorHarness& editor, int count, int current, int depth = 8) {
  std::vector<TCelBlock> cels;
  for (int k = 0; k < count; ++k) cels.push_back(NumberedCel(k, depth));
  const QString path = editor.PathOf(QStringLiteral("cels.spr"));
  WriteSpriteFile(path, 4, 3, depth, cels);
  editor.Open(path);
  for (int k = 0; k < current; ++k) editor.Form->NextBtnClick();
  QCOMPARE(editor.Form->FSprite->FCurrent, current);
}

using TCommand = void (TMainForm::*)();

TCommand CommandNamed(const QString& name) {
  if (name == "First") return &TMainForm::FirstBtnClick;
  if (name == "Next") return &TMainForm::NextBtnClick;
  if (name == "Previous") return &TMainForm::PrevBtnClick;
  if (name == "Last") return &TMainForm::LastBtnClick;
  if (name == "Add") return &TMainForm::AddBtnClick;
  if (name == "Insert") return &TMainForm::InsertBtnClick;
  return &TMainForm::DeleteBtnClick;
}

void AddDepthRows() {
  QTest::addColumn<int>("depth");
  QTest::newRow("8 bits") << 8;
  QTest::newRow("16 bits") << 16;
  QTest::newRow("24 bits") << 24;
  QTest::newRow("32 bits") << 32;
}

TMessageButton Answer(bool yes) { return yes ? TMessageButton::Yes : TMessageButton::No; }

// The stored cels in order, each named by its number (-1 for a blank cel, -2 for another).
QList<int> CelOrder(TMainForm& form) {
  QList<int> order;
  for (int i = 0; i < form.FSprite->CelCount(); ++i) {
    const TCelBlock cel = StoredCel(form, i);
    int name = cel == TCelBlock(cel.size(), 0) ? -1 : -2;
    for (int k = 0; k < 8 && name == -2; ++k)
      if (cel == NumberedCel(k, form.FSprite->FDepth)) name = k;
    order << name;
  }
  return order;
}

}  // namespace

class TCelCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void NavigationWithAChangedCel_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("current");

    QTest::newRow("Next, No") << 0 << "Next" << false << 1;
    QTest::newRow("Next, Yes") << 0 << "Next" << true << 1;
    QTest::newRow("Next at the last cel, No") << 2 << "Next" << false << 2;
    QTest::newRow("Next at the last cel, Yes") << 2 << "Next" << true << 2;
    QTest::newRow("Previous, No") << 2 << "Previous" << false << 1;
    QTest::newRow("Previous at the first cel, No") << 0 << "Previous" << false << 0;
    QTest::newRow("First, Yes") << 2 << "First" << true << 0;
    QTest::newRow("First at the first cel, No") << 0 << "First" << false << 0;
    QTest::newRow("Last, No") << 0 << "Last" << false << 2;
    QTest::newRow("Last at the last cel, No") << 2 << "Last" << false << 2;
  }

  // Every move asks first. Yes stores the edits and marks the sprite changed; No drops them
  // when another cel (or the same one, for First and Last) is loaded, and keeps them when Next
  // or Previous cannot move.
  void NavigationWithAChangedCel() {
    QFETCH(int, start);
    QFETCH(QString, command);
    QFETCH(bool, yes);
    QFETCH(int, current);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 3, start);
    DrawPixel(form, 1, 1, 200);
    const TCelBlock edited = form.FWorkCel;

    editor.Prompts.Answers = {Answer(yes)};
    (form.*CommandNamed(command))();

    QCOMPARE(editor.Prompts.AskedTexts(), QStringList{kCelChanged});
    QCOMPARE(editor.Prompts.Asked[0].Kind, TMessageKind::Warning);
    QCOMPARE(form.FSprite->FCurrent, current);
    QVERIFY(StoredCel(form, start) == (yes ? edited : NumberedCel(start, 8)));
    const bool stayed = current == start && (command == "Next" || command == "Previous");
    const bool keepsEdits = stayed && !yes;
    QCOMPARE(form.FCelChanged, keepsEdits);
    QCOMPARE(form.FSpriteChanged, yes);
    const TCelBlock shown = keepsEdits || (yes && current == start) ? edited : NumberedCel(current, 8);
    QVERIFY(EditBuffer(form) == shown);
    QVERIFY(form.FWorkCel == shown);
    QCOMPARE(editor.CelNumber(), QStringLiteral("Sprite %1 Of 3").arg(current + 1));

    // Edits kept at the end of the list are asked about again by the next move.
    if (keepsEdits) {
      form.FirstBtnClick();
      QCOMPARE(editor.Prompts.AskedTexts(), (QStringList{kCelChanged, kCelChanged}));
    }
  }

  // Moving through an unchanged sprite asks nothing and leaves it unchanged.
  void NavigationOfAnUnchangedSprite() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 3, 0);
    form.NextBtnClick();
    form.PrevBtnClick();
    form.LastBtnClick();
    form.FirstBtnClick();
    QVERIFY(editor.Prompts.Asked.empty());
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(EditBuffer(form) == NumberedCel(0, 8));
  }

  void CelListCommands_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("changed");

    QTest::newRow("Insert at the third of 3") << 3 << 2 << "Insert" << QList<int>{0, 1, -1, 2} << 2
                                              << true;
    QTest::newRow("Insert at the first") << 3 << 0 << "Insert" << QList<int>{-1, 0, 1, 2} << 0
                                         << true;
    QTest::newRow("Add to 3") << 3 << 0 << "Add" << QList<int>{0, 1, 2, -1} << 3 << true;
    QTest::newRow("Add to 1") << 1 << 0 << "Add" << QList<int>{0, -1} << 1 << true;
    QTest::newRow("Delete the last of 5") << 5 << 4 << "Delete" << QList<int>{0, 1, 2, 3} << 3
                                          << true;
    QTest::newRow("Delete the first of 5") << 5 << 0 << "Delete" << QList<int>{1, 2, 3, 4} << 0
                                           << true;
    QTest::newRow("Delete the middle of 5") << 5 << 2 << "Delete" << QList<int>{0, 1, 3, 4} << 2
                                            << true;
    QTest::newRow("Delete the only cel") << 1 << 0 << "Delete" << QList<int>{0} << 0 << false;
  }

  // Add appends and Insert puts a blank cel before the current one; either way the new blank
  // cel is current and shown. Delete shows the cel that took the deleted one's place.
  void CelListCommands() {
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(QString, command);
    QFETCH(QList<int>, order);
    QFETCH(int, current);
    QFETCH(bool, changed);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, count, start);

    (form.*CommandNamed(command))();

    QVERIFY(editor.Prompts.Asked.empty());
    QCOMPARE(CelOrder(form), order);
    QCOMPARE(form.FSprite->FCurrent, current);
    const int n = static_cast<int>(order.size());
    QCOMPARE(editor.CelNumber(), QStringLiteral("Sprite %1 Of %2").arg(current + 1).arg(n));
    QVERIFY(EditBuffer(form) == StoredCel(form, current));
    QVERIFY(form.FWorkCel == StoredCel(form, current));
    QVERIFY(!form.FCelChanged);
    QCOMPARE(form.FSpriteChanged, changed);
    const bool first = current == 0;
    const bool last = !first && current == n - 1;
    QCOMPARE(form.PrevBtn->isEnabled(), !first);
    QCOMPARE(form.CopyLeftBtn->isEnabled(), !first);
    QCOMPARE(form.NextBtn->isEnabled(), !last);
    QCOMPARE(form.CopyRgtBtn->isEnabled(), !last);
  }

  void AddOrInsertWithAChangedCel_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Add, Yes") << "Add" << true;
    QTest::newRow("Add, No") << "Add" << false;
    QTest::newRow("Insert, Yes") << "Insert" << true;
    QTest::newRow("Insert, No") << "Insert" << false;
  }

  // The question comes before the new cel; the new cel is shown blank, as it is stored.
  void AddOrInsertWithAChangedCel() {
    QFETCH(QString, command);
    QFETCH(bool, yes);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 2, 1);
    DrawPixel(form, 3, 2, 201);
    const TCelBlock edited = form.FWorkCel;

    editor.Prompts.Answers = {Answer(yes)};
    (form.*CommandNamed(command))();

    QCOMPARE(editor.Prompts.AskedTexts(), QStringList{kCelChanged});
    const int editedIndex = command == "Add" ? 1 : 2;
    QVERIFY(StoredCel(form, editedIndex) == (yes ? edited : NumberedCel(1, 8)));
    QVERIFY(EditBuffer(form) == kBlank);
    QVERIFY(form.FWorkCel == kBlank);
    QVERIFY(!form.FCelChanged);
    QVERIFY(form.FSpriteChanged);
  }

  // Delete asks nothing: the unstored edits of the deleted cel go with it.
  void DeleteDropsTheEdits() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 3, 1);
    DrawPixel(form, 0, 0, 99);
    form.DeleteBtnClick();
    QVERIFY(editor.Prompts.Asked.empty());
    QCOMPARE(CelOrder(form), (QList<int>{0, 2}));
    QVERIFY(EditBuffer(form) == NumberedCel(2, 8));
    QVERIFY(!form.FCelChanged);
  }

  // With one cel, Next and Copy Next Cell stay enabled and do nothing.
  void SingleCel() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 1, 0);
    QVERIFY(form.NextBtn->isEnabled());
    QVERIFY(form.CopyRgtBtn->isEnabled());
    QVERIFY(!form.PrevBtn->isEnabled());
    QVERIFY(!form.CopyLeftBtn->isEnabled());
    QTest::mouseClick(form.NextBtn, Qt::LeftButton);
    QTest::mouseClick(form.CopyRgtBtn, Qt::LeftButton);
    QCOMPARE(form.FSprite->FCurrent, 0);
    QVERIFY(!form.FCelChanged);
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(EditBuffer(form) == NumberedCel(0, 8));
  }

  // Clear zeroes the edit buffer only; the stored cel changes when it is stored.
  void ClearThenStoreOrMove_data() { AddDepthRows(); }
  void ClearThenStoreOrMove() {
    QFETCH(int, depth);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 2, 0, depth);
    const TCelBlock blank(NumberedCel(0, depth).size(), 0);

    form.ClearBtnClick();
    QVERIFY(EditBuffer(form) == blank);
    QVERIFY(form.FWorkCel == blank);
    QVERIFY(StoredCel(form, 0) == NumberedCel(0, depth));
    QVERIFY(form.FCelChanged);
    QVERIFY(form.FSpriteChanged);

    editor.Prompts.Answers = {TMessageButton::No};
    form.NextBtnClick();
    QVERIFY(StoredCel(form, 0) == NumberedCel(0, depth));
    QVERIFY(EditBuffer(form) == NumberedCel(1, depth));

    form.ClearBtnClick();
    form.SaveSprBtnClick();
    QVERIFY(StoredCel(form, 1) == blank);
    QVERIFY(!form.FCelChanged);
    QVERIFY(StoredCel(form, 0) == NumberedCel(0, depth));
  }

  // Copy Prev/Next Cell put the neighbour's stored pixels into the edit buffer as an unstored
  // edit of the current cel; the neighbours themselves stay, and at the ends nothing happens.
  void CopyNeighbours_data() { AddDepthRows(); }
  void CopyNeighbours() {
    QFETCH(int, depth);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 3, 1, depth);

    form.CopyLeftBtnClick();
    QCOMPARE(form.FSprite->FCurrent, 1);
    QVERIFY(EditBuffer(form) == NumberedCel(0, depth));
    QVERIFY(form.FWorkCel == NumberedCel(0, depth));
    QVERIFY(form.FCelChanged);
    QVERIFY(form.FSpriteChanged);
    QCOMPARE(CelOrder(form), (QList<int>{0, 1, 2}));

    form.CopyRgtBtnClick();
    QVERIFY(EditBuffer(form) == NumberedCel(2, depth));
    QCOMPARE(CelOrder(form), (QList<int>{0, 1, 2}));

    form.SaveSprBtnClick();
    QCOMPARE(CelOrder(form), (QList<int>{0, 2, 2}));

    form.LastBtnClick();
    form.CopyRgtBtnClick();
    form.FirstBtnClick();
    form.CopyLeftBtnClick();
    QVERIFY(!form.FCelChanged);
    QVERIFY(EditBuffer(form) == NumberedCel(0, depth));
    QVERIFY(editor.Prompts.Asked.empty());
  }

  // Ctrl+N and Ctrl+P work like Next and Previous, also while those buttons are disabled.
  void ShortcutsWhileButtonsAreDisabled() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    OpenNumbered(editor, 2, 0);
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(form.FSprite->FCurrent, 1);
    QVERIFY(!form.NextBtn->isEnabled());

    DrawPixel(form, 0, 0, 5);
    editor.Prompts.Answers = {TMessageButton::No};
    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(editor.Prompts.AskedTexts(), QStringList{kCelChanged});
    QCOMPARE(form.FSprite->FCurrent, 1);

    editor.Prompts.Answers = {TMessageButton::No};
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(form.FSprite->FCurrent, 0);
    QVERIFY(!form.PrevBtn->isEnabled());
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(form.FSprite->FCurrent, 0);
    QVERIFY(EditBuffer(form) == NumberedCel(0, 8));
  }
};

QTEST_MAIN(TCelCommandsTest)
#include "CelCommandsTest.moc"
