#pragma once
// Every question the editor asks the user goes through TPrompts: message boxes, the file dialogs
// and our own modal dialogs. The window gets one TPrompts at construction; the program passes the
// Qt one (QtPrompts.h), the tests a scripted one that answers without showing anything.

#include <QString>

#include <optional>

class QDialog;

// The kind of a message box; it also gives the box its caption ("Warning", "Error", ...).
enum class TMessageKind { Information, Warning, Error };

// The button sets the editor's message boxes use.
enum class TMessageButtons { OK, Yes, YesNo };

// The button that closed a message box. A Yes/No box closed any other way answers No.
enum class TMessageButton { OK, Yes, No };

// How a file dialog is set up before it runs. Filter uses the "Description|*.ext" form, pairs
// separated by "|" (for example "Sprite Files(*.spr)|*.spr"); several patterns in one pair are
// separated by ";". An empty caption leaves the dialog's own title.
struct TFileDialogSetup {
  QString Caption;
  QString Filter;
  QString DefaultExt;   // appended when a typed name has no extension, without the dot
  QString InitialName;  // a path, a bare name or a pattern such as "*.spr"
};

class TPrompts {
 public:
  virtual ~TPrompts() = default;

  // A modal message box of the given kind and buttons; returns the button pressed.
  virtual TMessageButton Message(TMessageKind kind, const QString& text,
                                 TMessageButtons buttons) = 0;

  // The file-open dialog: the chosen path, or nothing when cancelled. A typed name of a file that
  // does not exist is accepted (New names its file with this dialog).
  virtual std::optional<QString> OpenFileName(const TFileDialogSetup& setup) = 0;

  // The file-save dialog: the chosen path, or nothing when cancelled. It does not ask before
  // replacing an existing file.
  virtual std::optional<QString> SaveFileName(const TFileDialogSetup& setup) = 0;

  // Runs one of our own dialogs (TNewSpriteDlg, TAboutBox, ...) modally and returns its result,
  // QDialog::Accepted or QDialog::Rejected. The caller has filled the dialog and reads it after.
  virtual int RunDialog(QDialog& dialog) = 0;
};
