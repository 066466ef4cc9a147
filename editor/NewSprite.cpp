#include "editor/NewSprite.h"

#include "editor/Prompts.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {

constexpr std::int64_t kMinSize = 6;
constexpr std::int64_t kMaxSize = 200;

// Nine digits at most, so a typed value always fits in the arithmetic and is reported as high.
const QRegularExpression kDigits(QStringLiteral("[0-9]{0,9}"));

QLineEdit* SizeEdit(QWidget* parent, const char* name, int top) {
  auto* edit = new QLineEdit(QStringLiteral("20"), parent);
  edit->setObjectName(QLatin1String(name));
  edit->setGeometry(72, top, 57, 21);
  // The key filter stops typed letters; the validator also stops pasted ones.
  edit->setValidator(new QRegularExpressionValidator(kDigits, edit));
  return edit;
}

QLabel* BoldLabel(QWidget* parent, const char* name, const char* text, int top) {
  auto* label = new QLabel(QLatin1String(text), parent);
  label->setObjectName(QLatin1String(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setGeometry(16, top, 52, 21);
  return label;
}

}  // namespace

TNewSpriteDlg::TNewSpriteDlg(TPrompts& prompts, std::int32_t newDepth, QWidget* parent)
    : QDialog(parent), FPrompts(prompts) {
  setWindowTitle(QStringLiteral("Create New Sprite"));

  Label1 = BoldLabel(this, "Label1", "Width:", 14);
  Label2 = BoldLabel(this, "Label2", "Height:", 46);
  WidthEdit = SizeEdit(this, "WidthEdit", 14);
  HeightEdit = SizeEdit(this, "HeightEdit", 46);
  WidthEdit->installEventFilter(this);
  HeightEdit->installEventFilter(this);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(168, 12, 75, 25);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(168, 44, 75, 25);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  ColorGroup = new QGroupBox(QStringLiteral("Color Depth"), this);
  ColorGroup->setObjectName(QStringLiteral("ColorGroup"));
  ColorGroup->setGeometry(16, 84, 227, 112);
  FDepthButtons = new QButtonGroup(this);
  const char* const items[] = {"256 Color - 8 bit", "High Color - 16 bit", "True Color - 24 bit",
                               "True Color - 32 bit"};
  for (int i = 0; i < 4; ++i) {
    auto* item = new QRadioButton(QLatin1String(items[i]), ColorGroup);
    item->setGeometry(10, 20 + 22 * i, 207, 20);
    FDepthButtons->addButton(item, i);
  }
  SelectDepth(newDepth);

  setFixedSize(259, 210);
}

void TNewSpriteDlg::SelectDepth(std::int32_t depth) {
  const bool valid = depth == 8 || depth == 16 || depth == 24 || depth == 32;
  FDepthButtons->button(valid ? depth / 8 - 1 : 0)->setChecked(true);
}

std::int32_t TNewSpriteDlg::ColorGroupIndex() const { return FDepthButtons->checkedId(); }

std::int64_t TNewSpriteDlg::WidthValue() const { return WidthEdit->text().toLongLong(); }

std::int64_t TNewSpriteDlg::HeightValue() const { return HeightEdit->text().toLongLong(); }

void TNewSpriteDlg::WidthEditKeyPress(QChar& key) {
  const bool digit = key >= QChar(u'0') && key <= QChar(u'9');
  if (!digit && key != QChar(u'\b')) key = QChar();
}

bool TNewSpriteDlg::FormCloseQuery() {
  bool canClose = true;
  const auto refuse = [&](const char* text) {
    FPrompts.Message(TMessageKind::Error, QLatin1String(text), TMessageButtons::OK);
    canClose = false;
  };
  const std::int64_t w = WidthValue();
  const std::int64_t h = HeightValue();
  if (w < kMinSize) refuse("Low value for width!");
  if (w > kMaxSize) refuse("High value for width!");
  if (h < kMinSize) refuse("Low value for height!");
  if (h > kMaxSize) refuse("High value for height!");
  return canClose;
}

void TNewSpriteDlg::done(int result) {
  if (result == QDialog::Accepted && !FormCloseQuery()) return;
  QDialog::done(result);
}

bool TNewSpriteDlg::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == WidthEdit || watched == HeightEdit) && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    // Shortcuts such as Ctrl+C carry control characters; only printable ones are filtered.
    if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(u'\b'))) {
      QChar key = text[0];
      WidthEditKeyPress(key);
      if (key.isNull()) return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
