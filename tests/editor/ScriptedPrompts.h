#pragma once
// Prompts for tests: every message box, file dialog and modal dialog is answered from queues the
// test fills beforehand, and everything asked is recorded so the test can check what the user
// would have seen. An unexpected Yes/No question is answered No and counted as unanswered.

#include "editor/Prompts.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct TAskedMessage {
  TMessageKind Kind;
  QString Text;
  TMessageButtons Buttons;
};

class TScriptedPrompts final : public TPrompts {
 public:
  // Answers for Yes/No boxes, used in order.
  std::deque<TMessageButton> Answers;
  // File names the open and save dialogs return in order; nullopt plays a cancelled dialog.
  std::deque<std::optional<QString>> OpenNames;
  std::deque<std::optional<QString>> SaveNames;
  // Each runs one of our own dialogs in place of exec(): it fills the dialog as a user would and
  // returns the dialog's result. Without one left, a dialog is cancelled.
  std::deque<std::function<int(QDialog&)>> Dialogs;

  std::vector<TAskedMessage> Asked;
  std::vector<TFileDialogSetup> OpenSetups;
  std::vector<TFileDialogSetup> SaveSetups;
  int Unanswered = 0;

  QStringList AskedTexts() const {
    QStringList texts;
    for (const TAskedMessage& message : Asked) texts << message.Text;
    return texts;
  }

  // Forgets what was asked, keeping the queued answers.
  void ClearRecord() {
    Asked.clear();
    OpenSetups.clear();
    SaveSetups.clear();
    Unanswered = 0;
  }

  TMessageButton Message(TMessageKind kind, const QString& text,
                         TMessageButtons buttons) override {
    Asked.push_back({kind, text, buttons});
    if (buttons == TMessageButtons::OK) return TMessageButton::OK;
    if (buttons == TMessageButtons::Yes) return TMessageButton::Yes;
    if (Answers.empty()) {
      ++Unanswered;
      return TMessageButton::No;
    }
    const TMessageButton answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::optional<QString> OpenFileName(const TFileDialogSetup& setup) override {
    OpenSetups.push_back(setup);
    return Next(OpenNames);
  }

  std::optional<QString> SaveFileName(const TFileDialogSetup& setup) override {
    SaveSetups.push_back(setup);
    return Next(SaveNames);
  }

  int RunDialog(QDialog& dialog) override {
    if (Dialogs.empty()) return QDialog::Rejected;
    const std::function<int(QDialog&)> run = std::move(Dialogs.front());
    Dialogs.pop_front();
    return run(dialog);
  }

 private:
  static std::optional<QString> Next(std::deque<std::optional<QString>>& names) {
    if (names.empty()) return std::nullopt;
    std::optional<QString> name = std::move(names.front());
    names.pop_front();
    return name;
  }
};
