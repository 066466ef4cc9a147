#pragma once
// The program's help: HTML pages compiled into the program, shown in one help window per main
// window. It opens at its contents (Help -> Contents) or at the page of a context number (the
// dialogs' Help buttons); a number without a page of its own opens the contents.

#include <QWidget>

#include <cstdint>

class QPushButton;
class QTextBrowser;
class QUrl;

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* owner);

  QPushButton* ContentsBtn;
  QPushButton* BackBtn;
  QTextBrowser* Browser;

  void ShowContents();
  void ShowContext(std::int32_t context);
};

// The context number of the contents page.
inline constexpr std::int32_t kHelpContents = 10;

// The page a context number opens, as a resource URL.
QUrl HelpPageFor(std::int32_t context);

// Shows owner's help window (making it on first use) at the contents or at a context's page, and
// returns it.
THelpWindow& OpenHelpContents(QWidget& owner);
THelpWindow& OpenHelpContext(QWidget& owner, std::int32_t context);
