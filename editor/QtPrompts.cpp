#include "editor/QtPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString CaptionOf(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Information: return QStringLiteral("Information");
    case TMessageKind::Warning: return QStringLiteral("Warning");
    case TMessageKind::Error: return QStringLiteral("Error");
  }
  return {};
}

QMessageBox::Icon IconOf(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(TMessageButtons buttons) {
  switch (buttons) {
    case TMessageButtons::OK: return QMessageBox::Ok;
    case TMessageButtons::Yes: return QMessageBox::Yes;
    case TMessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
  }
  return QMessageBox::Ok;
}

// Puts the dialog's filter, default extension and initial name in place. An initial name with a
// directory opens the dialog there; a bare name or pattern is typed into the name field.
void SetUp(QFileDialog& dialog, const TFileDialogSetup& setup) {
  if (!setup.Caption.isEmpty()) dialog.setWindowTitle(setup.Caption);
  const QStringList filters = QtNameFilters(setup.Filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(setup.DefaultExt);
  if (setup.InitialName.isEmpty()) return;
  const QFileInfo initial(setup.InitialName);
  if (setup.InitialName.contains(QLatin1Char('/'))) dialog.setDirectory(initial.absolutePath());
  dialog.selectFile(initial.fileName());
}

std::optional<QString> Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i];
    const QString patterns = parts[i + 1];
    if (description.contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
      result << description;
    else
      result << description + QStringLiteral(" (") +
                    QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                    QLatin1Char(')');
  }
  return result;
}

TMessageButton TQtPrompts::Message(TMessageKind kind, const QString& text,
                                   TMessageButtons buttons) {
  QMessageBox box(IconOf(kind), CaptionOf(kind), text, ButtonsOf(buttons), FParent);
  const int pressed = box.exec();
  switch (buttons) {
    case TMessageButtons::OK: return TMessageButton::OK;
    case TMessageButtons::Yes: return TMessageButton::Yes;
    case TMessageButtons::YesNo: break;
  }
  return pressed == QMessageBox::Yes ? TMessageButton::Yes : TMessageButton::No;
}

std::optional<QString> TQtPrompts::OpenFileName(const TFileDialogSetup& setup) {
  QFileDialog dialog(FParent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  SetUp(dialog, setup);
  return Run(dialog);
}

std::optional<QString> TQtPrompts::SaveFileName(const TFileDialogSetup& setup) {
  QFileDialog dialog(FParent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  SetUp(dialog, setup);
  return Run(dialog);
}

int TQtPrompts::RunDialog(QDialog& dialog) { return dialog.exec(); }
