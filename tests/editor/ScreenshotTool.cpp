// Takes the picture of the editor that the README shows: writes a sample sprite (a slime of four
// cels), opens it in the real main window and saves a PNG of the window. The program itself reads
// no command line, so this tool opens the file through scripted prompts. Run it on a real display
// (scripts/screenshot.sh starts a virtual one): celwright_screenshot <output.png>

#include "ScriptedPrompts.h"

#include "document/Spritedata.h"
#include "editor/SpriteMain.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kSize = 32;

// Sprite palette entries used by the drawing; the rest of 10..245 is a colour wheel, so that the
// palette strip shows what an 8-bit sprite offers.
enum : std::uint8_t {
  kOutline = 10, kDark = 11, kBody = 12, kLight = 13, kWhite = 14, kBackground = 15, kEye = 16,
  kShadow = 17,
};

TSpritePalette SamplePalette() {
  TSpritePalette palette{};
  for (int i = 18; i <= 245; ++i) {
    // Six hue sweeps of 38 entries, from dark to light.
    const double hue = (i - 18) % 38 / 38.0 * 6.283185307;
    const double level = 0.35 + 0.65 * ((i - 18) / 38) / 5.0;
    const auto channel = [&](double phase) {
      return static_cast<std::uint8_t>(std::lround(255 * level * (0.5 + 0.5 * std::cos(hue + phase))));
    };
    palette[static_cast<std::size_t>(i)] = {channel(0), channel(2.094), channel(4.189)};
  }
  palette[kOutline] = {24, 40, 36};
  palette[kDark] = {44, 128, 72};
  palette[kBody] = {84, 188, 96};
  palette[kLight] = {168, 236, 150};
  palette[kWhite] = {255, 255, 255};
  palette[kBackground] = {214, 224, 240};
  palette[kEye] = {30, 30, 48};
  palette[kShadow] = {176, 186, 206};
  return palette;
}

// One cel of the slime, squashed by squash (0 upright .. 3 flattest). Blocks hold the bottom row
// first.
TCelBlock SlimeCel(int squash) {
  TCelBlock cel(kSize * kSize, kBackground);
  const auto put = [&](int x, int y, std::uint8_t colour) {
    if (x >= 0 && x < kSize && y >= 0 && y < kSize)
      cel[static_cast<std::size_t>((kSize - 1 - y) * kSize + x)] = colour;
  };
  const double rx = 11.0 + squash;
  const double ry = 10.0 - squash;
  const double cx = 15.5;
  const double floor = 27.0;
  const double cy = floor - ry;
  for (int x = 5; x < 27; ++x) put(x, 28, kShadow);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = (x - cx) / rx;
      const double dy = (y - cy) / ry;
      // A dome: round on top, flat where it sits.
      if (y > floor) continue;
      const double d = dx * dx + (dy < 0 ? dy * dy : dy * dy * 0.25);
      if (d > 1.0) continue;
      std::uint8_t colour = kBody;
      if (d > 0.78) colour = kOutline;
      else if (dy > 0.45 || dx > 0.55) colour = kDark;
      else if (dx < -0.25 && dy < -0.35) colour = kLight;
      put(x, y, colour);
    }
  }
  // Eyes with a glint, and a shine on the dome.
  const int eyeY = static_cast<int>(cy) + 1;
  for (const int ex : {11, 19}) {
    for (int y = eyeY; y < eyeY + 4 - (squash > 2 ? 1 : 0); ++y)
      for (int x = ex; x < ex + 2; ++x) put(x, y, kEye);
    put(ex, eyeY, kWhite);
  }
  put(9, static_cast<int>(cy - ry * 0.55), kWhite);
  put(10, static_cast<int>(cy - ry * 0.55), kWhite);
  put(8, static_cast<int>(cy - ry * 0.55) + 1, kWhite);
  return cel;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: celwright_screenshot <output.png>\n");
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("slime.spr"));
  TSpriteUnit sprite(kSize, kSize, 8);
  for (const int squash : {0, 1, 2, 3}) sprite.AddCel(SlimeCel(squash));
  if (const TSpriteFileResult result = SaveSpriteFile(sprite, path.toStdString(), SamplePalette());
      !result) {
    std::fprintf(stderr, "cannot write the sample sprite: %s\n", result.Reason.c_str());
    return 1;
  }

  TScriptedPrompts prompts;
  TMainForm form(prompts);
  form.resize(760, 560);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    std::fprintf(stderr, "the window did not appear on the screen\n");
    return 1;
  }
  prompts.OpenNames.push_back(path);
  form.OpenItemClick();
  form.NextBtnClick();
  // The palette strip takes its place beside the scroll bar once the window is resized with an
  // 8-bit sprite open, as a user would.
  form.resize(820, 600);
  QTest::qWait(500);

  const QRect frame = form.frameGeometry();
  const QPixmap shot = form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                 frame.height());
  if (!shot.save(output)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %d x %d\n", argv[1], shot.width(), shot.height());
  return 0;
}
