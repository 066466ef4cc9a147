#pragma once
// The prompts the program really shows: Qt message boxes and file dialogs, and exec() for our own
// dialogs.

#include "editor/Prompts.h"

#include <QStringList>

class QWidget;

class TQtPrompts final : public TPrompts {
 public:
  // parent centres the boxes and dialogs over the main window; it may be null.
  explicit TQtPrompts(QWidget* parent = nullptr) : FParent(parent) {}
  void SetParent(QWidget* parent) { FParent = parent; }

  TMessageButton Message(TMessageKind kind, const QString& text, TMessageButtons buttons) override;
  std::optional<QString> OpenFileName(const TFileDialogSetup& setup) override;
  std::optional<QString> SaveFileName(const TFileDialogSetup& setup) override;
  int RunDialog(QDialog& dialog) override;

 private:
  QWidget* FParent;
};

// "Sprite Files(*.spr)|*.spr|All Files (*.*)|*.*" becomes the name filters Qt's file dialog
// takes: "Sprite Files(*.spr)", "All Files (*.*)". A description that does not already show its
// patterns in parentheses gets them appended, since Qt reads the patterns from there.
QStringList QtNameFilters(const QString& filter);
