// New, Open, Save, Save As and the save prompt, driven through the real main window with the
// questions and file names answered by scripted prompts.

#include "EditorTestSupport.h"

#include "editor/About.h"
#include "editor/HelpWindow.h"
#include "editor/WindowSurface.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolButton>

namespace {

const QString kSpriteList = QStringLiteral("Sprite list has been changed, Save?");
const QString kCelChanged = QStringLiteral("Cel has been changed, Save?");

std::array<std::int32_t, 3> PaletteEntry(std::int32_t index) {
  std::array<std::int32_t, 3> rgb{};
  ras_get_rgb(index, &rgb[0], &rgb[1], &rgb[2]);
  return rgb;
}

// A file's bytes without the palette's static entries 0..9 and 246..255, which the editor writes
// with the window system's colours.
QByteArray WithoutStaticColours(QByteArray bytes, int depth) {
  if (depth != 8) return bytes;
  bytes.remove(22 + 3 * 246, 3 * 10);
  bytes.remove(22, 3 * 10);
  return bytes;
}

int DepthIndexOf(int depth) { return depth / 8 - 1; }

}  // namespace

class TDocumentCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // New asks for the file name before the size, binds the sprite to that name without creating
  // the file, and Save then writes it.
  void NewNamesTheFileFirst() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    const QString path = editor.PathOf(QStringLiteral("hero.spr"));
    editor.New(path, QStringLiteral("20"), QStringLiteral("20"));

    QCOMPARE(editor.Prompts.OpenSetups.size(), std::size_t{1});
    const TFileDialogSetup& setup = editor.Prompts.OpenSetups[0];
    QCOMPARE(setup.Filter, QStringLiteral("Sprite Files(*.spr)|*.spr"));
    QCOMPARE(setup.DefaultExt, QStringLiteral("spr"));
    QCOMPARE(setup.InitialName, QStringLiteral("*.spr"));
    QVERIFY(editor.Prompts.Asked.empty());

    QVERIFY(form.FSpriteLoaded);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - hero"));
    QCOMPARE(form.FSprite->FDepth, 8);
    QCOMPARE(form.FSprite->CelCount(), 1);
    QVERIFY(StoredCel(form, 0) == TCelBlock(400, 0));
    QVERIFY(form.FWorkCel == TCelBlock(400, 0));
    QVERIFY(!form.FCelChanged);
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(form.FPaletteShown);
    QCOMPARE(editor.CelNumber(), QStringLiteral("Sprite 1 Of 1"));
    QVERIFY(form.SaveItem->isEnabled());
    QVERIFY(!QFile::exists(path));

    form.SaveItemClick();
    QCOMPARE(FileBytes(path).size(), 22 + 768 + 400);
    QVERIFY(editor.Prompts.Asked.empty());
  }

  void NewAtEachDepth_data() {
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("celBytes");
    QTest::newRow("8 bits") << 8 << 60;
    QTest::newRow("16 bits") << 16 << 120;
    QTest::newRow("24 bits") << 24 << 180;
    QTest::newRow("32 bits") << 32 << 180;
  }

  // The chosen depth makes the sprite, shows the palette strip only at 8 bits, and is offered
  // again by the next New.
  void NewAtEachDepth() {
    QFETCH(int, depth);
    QFETCH(int, celBytes);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    const QString path = editor.PathOf(QStringLiteral("sized.spr"));
    editor.New(path, QStringLiteral("10"), QStringLiteral("6"), DepthIndexOf(depth));

    QCOMPARE(form.FNewDepth, depth);
    QCOMPARE(form.FSprite->FDepth, depth);
    QCOMPARE(form.FSprite->FWidth, 10);
    QCOMPARE(form.FSprite->FHeight, 6);
    QCOMPARE(form.FSprite->FCelBytes, celBytes);
    QCOMPARE(form.FPaletteShown, depth == 8);
    QVERIFY(EditBuffer(form) == TCelBlock(static_cast<std::size_t>(celBytes), 0));
    form.SaveItemClick();
    QCOMPARE(FileBytes(path).size(), 22 + (depth == 8 ? 768 : 0) + celBytes);

    int offered = -1;
    editor.Prompts.OpenNames.push_back(path);
    editor.Prompts.Dialogs.push_back([&offered](QDialog& dialog) {
      offered = dynamic_cast<TNewSpriteDlg&>(dialog).ColorGroupIndex();
      return int(QDialog::Rejected);
    });
    form.FileNewClick();
    QCOMPARE(offered, DepthIndexOf(depth));
  }

  void NewCancelled_data() {
    QTest::addColumn<bool>("cancelFileName");
    QTest::newRow("file dialog cancelled") << true;
    QTest::newRow("size dialog cancelled") << false;
  }

  // A cancelled New leaves the open sprite; a cancelled file dialog never shows the size dialog.
  void NewCancelled() {
    QFETCH(bool, cancelFileName);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 8, {PatternCel(12, 1), PatternCel(12, 50)});
    editor.Open(editor.PathOf("a.spr"));
    const TSpriteUnit* sprite = form.FSprite.get();
    const QImage before = form.FSurface->Image().copy();

    editor.Prompts.OpenNames.push_back(cancelFileName ? std::nullopt
                                                      : std::optional(editor.PathOf("b.spr")));
    form.FileNewClick();

    QCOMPARE(form.FSprite.get(), sprite);
    QCOMPARE(form.FSprite->CelCount(), 2);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - a"));
    QCOMPARE(QString::fromStdString(SpriteName), QStringLiteral("a"));
    QCOMPARE(form.FSurface->Image(), before);
  }

  void NewAsksToSave_data() {
    QTest::addColumn<bool>("storeCel");
    QTest::addColumn<bool>("saveSprite");
    QTest::newRow("yes, yes") << true << true;
    QTest::newRow("yes, no") << true << false;
    QTest::newRow("no, yes") << false << true;
    QTest::newRow("no, no") << false << false;
  }

  // A cleared cel marks the sprite changed: New asks about the cel, then about the sprite, and
  // the file gets exactly what the answers say.
  void NewAsksToSave() {
    QFETCH(bool, storeCel);
    QFETCH(bool, saveSprite);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    const QString path = editor.PathOf("a.spr");
    const TCelBlock cel0 = PatternCel(12, 1);
    const TCelBlock cel1 = PatternCel(12, 50);
    WriteSpriteFile(path, 4, 3, 8, {cel0, cel1});
    const QByteArray original = FileBytes(path);
    editor.Open(path);
    form.ClearBtnClick();

    const auto answer = [](bool yes) { return yes ? TMessageButton::Yes : TMessageButton::No; };
    editor.Prompts.Answers = {answer(storeCel), answer(saveSprite)};
    editor.New(editor.PathOf("new.spr"), "8", "8");

    QCOMPARE(editor.Prompts.AskedTexts(), (QStringList{kCelChanged, kSpriteList}));
    for (const TAskedMessage& message : editor.Prompts.Asked) {
      QCOMPARE(message.Kind, TMessageKind::Warning);
      QCOMPARE(message.Buttons, TMessageButtons::YesNo);
    }
    QCOMPARE(form.FSprite->FWidth, 8);
    QVERIFY(!form.FSpriteChanged);

    TSpriteUnit written(1, 1, 8);
    TSpritePalette palette{};
    bool hasPalette = false;
    QVERIFY(LoadSpriteFile(written, path.toStdString(), palette, hasPalette).Ok);
    if (!saveSprite) {
      QCOMPARE(FileBytes(path), original);
    } else {
      const std::uint8_t* stored = written.GetCel(0);
      QVERIFY(TCelBlock(stored, stored + 12) == (storeCel ? TCelBlock(12, 0) : cel0));
    }
  }

  // New erases the old sprite's pictures, and its palette strip when the new sprite has none.
  void NewErasesTheOldPictures() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("big.spr"), 30, 30, 8, {PatternCel(900, 3)});
    editor.Open(editor.PathOf("big.spr"));
    const TRect oldZoom = form.FZoomRect;
    const TRect oldStrip = form.FPaletteRect;
    // The old true-size picture showed its buffer's stored width, 32 for 30 pixels.
    const TRect oldCel{form.FCelRect.Left, form.FCelRect.Top, form.FCelRect.Right + 2,
                       form.FCelRect.Bottom};

    editor.New(editor.PathOf("small.spr"), "6", "6", DepthIndexOf(24));
    QVERIFY(!form.FPaletteShown);

    const QImage& surface = form.FSurface->Image();
    const QRgb face = form.palette().color(QPalette::Button).rgb();
    // The new true-size picture shows its buffer's whole stored width, 8 for a 6-pixel sprite.
    const TPic& cel = *form.FCelPic;
    const TRect newCel{cel.FLeft, cel.FTop, cel.FLeft + cel.FView.Right - cel.FView.Left,
                       cel.FTop + cel.FView.Bottom - cel.FView.Top};
    const auto erased = [&](const TRect& area) {
      for (int y = area.Top; y <= area.Bottom; ++y)
        for (int x = area.Left; x <= area.Right; ++x) {
          TPoint point{x, y};
          if (PointInRect(point, form.FZoomRect) || PointInRect(point, newCel)) continue;
          if ((surface.pixel(x, y) | 0xFF000000u) != (face | 0xFF000000u)) return false;
        }
      return true;
    };
    QVERIFY(erased(oldZoom));
    QVERIFY(erased(oldCel));
    QVERIFY(erased(oldStrip));
  }

  void OpenRoundTrip_data() {
    QTest::addColumn<int>("depth");
    QTest::newRow("8 bits") << 8;
    QTest::newRow("16 bits") << 16;
    QTest::newRow("24 bits") << 24;
    QTest::newRow("32 bits") << 32;
  }

  // Open shows cel 0 in the edit buffer and the work copy, takes the file's palette, and Save As
  // writes the same sprite back; the new name is then the one Save writes.
  void OpenRoundTrip() {
    QFETCH(int, depth);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    const int bytes = 5 * 3 * CelBytesPerPixel(depth);
    const std::vector<TCelBlock> cels = {PatternCel(bytes, 1), PatternCel(bytes, 90),
                                         PatternCel(bytes, 200)};
    const QString a = editor.PathOf("a.spr");
    WriteSpriteFile(a, 5, 3, depth, cels);
    editor.Open(a);

    QVERIFY(editor.Prompts.Asked.empty());
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - a"));
    QCOMPARE(form.FSprite->FDepth, depth);
    QCOMPARE(form.FSprite->CelCount(), 3);
    QCOMPARE(form.FSprite->FCurrent, 0);
    QVERIFY(form.FWorkCel == cels[0]);
    QVERIFY(EditBuffer(form) == cels[0]);
    QCOMPARE(editor.CelNumber(), QStringLiteral("Sprite 1 Of 3"));
    QVERIFY(!form.FCelChanged);
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(form.DrawBtn->isChecked());
    QVERIFY(!form.PrevBtn->isEnabled());
    QVERIFY(form.NextBtn->isEnabled());
    if (depth == 8) {
      const TSpritePalette palette = TestPalette();
      for (int i : {10, 37, 245}) {
        // Files keep 6 bits per component; reading scales them back up to 8.
        const TPaletteColor& entry = palette[static_cast<std::size_t>(i)];
        const auto scaled = [](std::uint8_t c) { return (c >> 2) * 255 / 63; };
        QCOMPARE(PaletteEntry(i), (std::array<std::int32_t, 3>{scaled(entry.Red), scaled(entry.Green),
                                                               scaled(entry.Blue)}));
      }
    }

    const QString b = editor.PathOf("b.spr");
    editor.Prompts.SaveNames.push_back(b);
    form.FileSaveAsClick();
    QCOMPARE(editor.Prompts.SaveSetups.size(), std::size_t{1});
    QCOMPARE(editor.Prompts.SaveSetups[0].Filter, QStringLiteral("Sprite Files(*.spr)|*.spr"));
    QCOMPARE(editor.Prompts.SaveSetups[0].DefaultExt, QStringLiteral("spr"));
    QCOMPARE(editor.Prompts.SaveSetups[0].InitialName, a);
    QCOMPARE(WithoutStaticColours(FileBytes(b), depth), WithoutStaticColours(FileBytes(a), depth));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - b"));

    form.ClearBtnClick();
    form.SaveSprBtnClick();
    form.SaveItemClick();
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(FileBytes(b) != FileBytes(a));
    TSpriteUnit reread(1, 1, 8);
    TSpritePalette palette{};
    bool hasPalette = false;
    QVERIFY(LoadSpriteFile(reread, b.toStdString(), palette, hasPalette).Ok);
    const std::uint8_t* first = reread.GetCel(0);
    QVERIFY(TCelBlock(first, first + bytes) == TCelBlock(static_cast<std::size_t>(bytes), 0));
  }

  // The name is cut at its first dot: my.hero.spr is shown as my and saved as my.spr.
  void OpenBindsTheNameBeforeTheFirstDot() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("my.hero.spr"), 4, 3, 16, {PatternCel(24, 5)});
    editor.Open(editor.PathOf("my.hero.spr"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - my"));
    QVERIFY(!QFile::exists(editor.PathOf("my.spr")));
    form.SaveItemClick();
    QCOMPARE(FileBytes(editor.PathOf("my.spr")), FileBytes(editor.PathOf("my.hero.spr")));
  }

  // Open asks only when the sprite has changed; an unstored edit of the cel alone is dropped.
  void OpenAsksOnlyForAChangedSprite() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 8, {PatternCel(12, 1)});
    WriteSpriteFile(editor.PathOf("b.spr"), 4, 3, 8, {PatternCel(12, 60)});
    editor.Open(editor.PathOf("a.spr"));
    DrawPixel(form, 0, 0, 99);
    editor.Open(editor.PathOf("b.spr"));
    QVERIFY(editor.Prompts.Asked.empty());
    QVERIFY(EditBuffer(form) == PatternCel(12, 60));
    QVERIFY(!form.FCelChanged);

    form.ClearBtnClick();
    editor.Prompts.Answers = {TMessageButton::No, TMessageButton::No};
    editor.Open(editor.PathOf("a.spr"));
    QCOMPARE(editor.Prompts.AskedTexts(), (QStringList{kCelChanged, kSpriteList}));
    QVERIFY(EditBuffer(form) == PatternCel(12, 1));
    QCOMPARE(FileBytes(editor.PathOf("b.spr")).size(), 22 + 768 + 12);
  }

  // A recent file opens without a question, whatever has changed.
  void OpenSpriteFileNeverAsks() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 24, {PatternCel(36, 1)});
    WriteSpriteFile(editor.PathOf("b.spr"), 6, 2, 24, {PatternCel(36, 9), PatternCel(36, 19)});
    editor.Open(editor.PathOf("a.spr"));
    form.ClearBtnClick();
    form.OpenSpriteFile(editor.PathOf("b.spr"));
    QVERIFY(editor.Prompts.Asked.empty());
    QCOMPARE(form.FSprite->FWidth, 6);
    QCOMPARE(form.FSprite->CelCount(), 2);
    QVERIFY(!form.FSpriteChanged);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - b"));
  }

  void FailedOpenKeepsEverything_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("garbage") << QByteArray("not a sprite at all") << true;
    // The current format's header announcing 3 cels of 4 x 3 at 24 bits, with one byte of cels.
    QTest::newRow("truncated") << QByteArray("qmcw95\x03\0\0\0\x18\0\0\0\x04\0\0\0\x03\0\0\0\x07", 23)
                               << true;
    QTest::newRow("depth 12") << QByteArray("qmcw95\x01\0\0\0\x0c\0\0\0\x04\0\0\0\x03\0\0\0", 22)
                              << true;
  }

  // A file that cannot be read is reported with the reader's reason; the open sprite, its cel
  // edits, its name, the palette and every pixel of the window stay as they were.
  void FailedOpenKeepsEverything() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, exists);
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 8, {PatternCel(12, 1), PatternCel(12, 30)});
    editor.Open(editor.PathOf("a.spr"));
    form.NextBtnClick();
    DrawPixel(form, 2, 1, 77);
    const QString bad = editor.PathOf("bad.spr");
    if (exists) {
      QFile file(bad);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(contents);
    }
    const TSpriteUnit* sprite = form.FSprite.get();
    const TCelBlock work = form.FWorkCel;
    const QImage before = form.FSurface->Image().copy();
    const auto entry37 = PaletteEntry(37);

    editor.Open(bad);

    QCOMPARE(editor.Prompts.Asked.size(), std::size_t{1});
    QCOMPARE(editor.Prompts.Asked[0].Kind, TMessageKind::Error);
    QVERIFY(editor.Prompts.Asked[0].Text.contains(bad));
    QVERIFY(editor.Prompts.Asked[0].Text.size() > bad.size() + 14);
    QCOMPARE(form.FSprite.get(), sprite);
    QCOMPARE(form.FSprite->CelCount(), 2);
    QCOMPARE(form.FSprite->FCurrent, 1);
    QVERIFY(form.FCelChanged);
    QVERIFY(form.FWorkCel == work);
    QVERIFY(EditBuffer(form) == work);
    QVERIFY(StoredCel(form, 1) == PatternCel(12, 30));
    QCOMPARE(QString::fromStdString(SpriteName), QStringLiteral("a"));
    QCOMPARE(QString::fromStdString(SpritePath), editor.Dir.path() + QLatin1Char('/'));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - a"));
    QCOMPARE(PaletteEntry(37), entry37);
    QCOMPARE(form.FSurface->Image(), before);
  }

  // With nothing open, a failed Open leaves the window without a sprite.
  void FailedFirstOpenOpensNothing() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    editor.Open(editor.PathOf("missing.spr"));
    QCOMPARE(editor.Prompts.Asked.size(), std::size_t{1});
    QVERIFY(!form.FSprite);
    QVERIFY(!form.FSpriteLoaded);
    QVERIFY(!form.SaveItem->isEnabled());
  }

  // A save that fails is reported; the sprite stays changed and bound to its old file, which is
  // left whole, and a New whose save prompt failed does not throw the sprite away.
  void FailedSaveKeepsTheSpriteChanged() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    const QString a = editor.PathOf("a.spr");
    WriteSpriteFile(a, 4, 3, 8, {PatternCel(12, 1)});
    const QByteArray original = FileBytes(a);
    editor.Open(a);
    form.ClearBtnClick();
    form.SaveSprBtnClick();

    editor.Prompts.SaveNames.push_back(editor.PathOf("no/such/dir/b.spr"));
    form.FileSaveAsClick();
    QCOMPARE(editor.Prompts.Asked.size(), std::size_t{1});
    QCOMPARE(editor.Prompts.Asked[0].Kind, TMessageKind::Error);
    QVERIFY(form.FSpriteChanged);
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - a"));
    QCOMPARE(FileBytes(a), original);

    // The sprite's own directory disappears: Save and the save prompt cannot write.
    QDir sub(editor.PathOf("sub"));
    QVERIFY(QDir().mkpath(sub.path()));
    editor.Prompts.SaveNames.push_back(sub.filePath("c.spr"));
    form.FileSaveAsClick();
    QVERIFY(!form.FSpriteChanged);
    form.ClearBtnClick();
    form.SaveSprBtnClick();
    QVERIFY(sub.removeRecursively());
    editor.Prompts.ClearRecord();
    form.SaveItemClick();
    QCOMPARE(editor.Prompts.Asked.size(), std::size_t{1});
    QVERIFY(form.FSpriteChanged);

    editor.Prompts.ClearRecord();
    editor.Prompts.Answers = {TMessageButton::Yes};
    editor.Prompts.OpenNames.push_back(editor.PathOf("new.spr"));
    const TSpriteUnit* sprite = form.FSprite.get();
    form.FileNewClick();
    QCOMPARE(editor.Prompts.AskedTexts().first(), kSpriteList);
    QCOMPARE(editor.Prompts.Asked.back().Kind, TMessageKind::Error);
    QVERIFY(editor.Prompts.OpenSetups.empty());
    QCOMPARE(form.FSprite.get(), sprite);
    QVERIFY(form.FSpriteChanged);
  }

  // With every buffer slot of the engine taken, New and Open cannot make their pictures: the
  // failure is reported, the open sprite stays, and no slot is lost on the way.
  void NoFreeBufferIsReported() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 8, {PatternCel(12, 1)});
    WriteSpriteFile(editor.PathOf("b.spr"), 5, 5, 16, {PatternCel(50, 1)});
    editor.Open(editor.PathOf("a.spr"));
    const TSpriteUnit* sprite = form.FSprite.get();
    const QImage before = form.FSurface->Image().copy();
    const auto takeAllSlots = [] {
      std::vector<std::int32_t> taken;
      ras_set_buffer_depth(8);
      for (std::int32_t handle = ras_alloc_buffer(1, 1); handle >= 0; handle = ras_alloc_buffer(1, 1))
        taken.push_back(handle);
      return taken;
    };
    const auto release = [](const std::vector<std::int32_t>& taken) {
      ras_close_buffer();
      for (std::int32_t handle : taken) ras_free_buffer(handle);
    };
    const std::vector<std::int32_t> taken = takeAllSlots();
    QVERIFY(!taken.empty());

    editor.New(editor.PathOf("new.spr"), "20", "20");
    editor.Open(editor.PathOf("b.spr"));

    QCOMPARE(editor.Prompts.Asked.size(), std::size_t{2});
    for (const TAskedMessage& message : editor.Prompts.Asked)
      QCOMPARE(message.Kind, TMessageKind::Error);
    QCOMPARE(form.FSprite.get(), sprite);
    QCOMPARE(form.FSprite->FDepth, 8);
    QCOMPARE(QString::fromStdString(SpriteName), QStringLiteral("a"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillmoor Celwright 95 - a"));
    QCOMPARE(form.FSurface->Image(), before);
    QVERIFY(EditBuffer(form) == PatternCel(12, 1));

    release(taken);
    const std::vector<std::int32_t> free = takeAllSlots();
    QCOMPARE(free.size(), taken.size());
    release(free);
    editor.Open(editor.PathOf("b.spr"));
    QCOMPARE(form.FSprite->FDepth, 16);
    QVERIFY(EditBuffer(form) == PatternCel(50, 1));
  }

  // Save As onto an existing file replaces it without a question; a cancelled Save As changes
  // nothing.
  void SaveAsReplacesAndCancels() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    WriteSpriteFile(editor.PathOf("a.spr"), 4, 3, 32, {PatternCel(36, 1)});
    WriteSpriteFile(editor.PathOf("b.spr"), 9, 9, 8, {PatternCel(81, 1)});
    editor.Open(editor.PathOf("a.spr"));
    form.ClearBtnClick();

    editor.Prompts.SaveNames.push_back(std::nullopt);
    form.FileSaveAsClick();
    QVERIFY(editor.Prompts.Asked.empty());
    QVERIFY(form.FCelChanged);
    QVERIFY(form.FSpriteChanged);

    editor.Prompts.Answers = {TMessageButton::No};
    editor.Prompts.SaveNames.push_back(editor.PathOf("b.spr"));
    form.FileSaveAsClick();
    QCOMPARE(editor.Prompts.AskedTexts(), QStringList{kCelChanged});
    QCOMPARE(FileBytes(editor.PathOf("b.spr")), FileBytes(editor.PathOf("a.spr")));
    QVERIFY(!form.FSpriteChanged);
    QVERIFY(form.FCelChanged);
  }

  // Help -> Contents opens the help window at its contents; every page it links to exists.
  void HelpOpensAtTheContents() {
    TEditorHarness editor;
    TMainForm& form = *editor.Form;
    form.HelpContentsClick();
    auto* help = form.findChild<THelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->Browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Contents")));

    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
    const QStringList pages = QDir(QStringLiteral(":/help")).entryList({"*.html"});
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    for (const QString& page : pages) {
      const QByteArray html = FileBytes(QStringLiteral(":/help/") + page);
      for (const auto& match : link.globalMatch(QString::fromUtf8(html)))
        QVERIFY2(pages.contains(match.captured(1)), qPrintable(page + " -> " + match.captured(1)));
    }
    QCOMPARE(&OpenHelpContext(form, 150), help);
    QCOMPARE(help->Browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
  }

  void AboutShowsTheProduct() {
    TEditorHarness editor;
    QString name, version;
    editor.Prompts.Dialogs.push_back([&](QDialog& dialog) {
      auto& about = dynamic_cast<TAboutBox&>(dialog);
      name = about.ProductName->text();
      version = about.Version->text();
      about.show();
      about.OKButton->click();
      return about.result();
    });
    editor.Form->About1Click();
    QVERIFY(editor.Prompts.Dialogs.empty());
    QCOMPARE(name, QStringLiteral("Quillmoor Celwright"));
    QCOMPARE(version, QStringLiteral("Version 2.5"));
  }
};

QTEST_MAIN(TDocumentCommandsTest)
#include "DocumentCommandsTest.moc"
