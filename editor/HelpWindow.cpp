#include "editor/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The pages are compiled into the editor's static library, whose resources are registered only
// when asked for.
static void LoadHelpPages() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(help);
    return true;
  }();
  static_cast<void>(loaded);
}

namespace {

struct THelpTopic {
  std::int32_t Context;
  const char* Page;
};

// Context numbers of the pages; the dialogs' Help buttons ask for these.
constexpr THelpTopic kTopics[] = {
    {kHelpContents, "index.html"}, {20, "window.html"}, {30, "file.html"},
    {40, "newsprite.html"},        {50, "cels.html"},
};

}  // namespace

QUrl HelpPageFor(std::int32_t context) {
  for (const THelpTopic& topic : kTopics)
    if (topic.Context == context)
      return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(topic.Page));
  return HelpPageFor(kHelpContents);
}

THelpWindow::THelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  LoadHelpPages();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Celwright Help"));

  ContentsBtn = new QPushButton(QStringLiteral("&Contents"), this);
  ContentsBtn->setObjectName(QStringLiteral("ContentsBtn"));
  BackBtn = new QPushButton(QStringLiteral("&Back"), this);
  BackBtn->setObjectName(QStringLiteral("BackBtn"));
  BackBtn->setEnabled(false);
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("Browser"));
  Browser->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ContentsBtn);
  buttons->addWidget(BackBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(Browser);

  connect(ContentsBtn, &QPushButton::clicked, this, &THelpWindow::ShowContents);
  connect(BackBtn, &QPushButton::clicked, Browser, &QTextBrowser::backward);
  connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QPushButton::setEnabled);
  connect(Browser, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = Browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Celwright Help")
                                   : QStringLiteral("Celwright Help - ") + title);
  });

  resize(560, 480);
}

void THelpWindow::ShowContents() { ShowContext(kHelpContents); }

void THelpWindow::ShowContext(std::int32_t context) {
  Browser->setSource(HelpPageFor(context));
  show();
  raise();
  activateWindow();
}

THelpWindow& OpenHelpContents(QWidget& owner) { return OpenHelpContext(owner, kHelpContents); }

THelpWindow& OpenHelpContext(QWidget& owner, std::int32_t context) {
  auto* window = owner.findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) window = new THelpWindow(&owner);
  window->ShowContext(context);
  return *window;
}
