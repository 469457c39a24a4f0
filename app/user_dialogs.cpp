#include "app/user_dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace vesk {
namespace {

void EnterFolderOf(const QString& file) {
  QString folder = QFileInfo(file).absolutePath();
  if (!folder.isEmpty()) QDir::setCurrent(folder);
}

}  // namespace

std::optional<QString> UserDialogs::OpenFileName(QWidget* parent, const QString& title,
                                                 const QString& filter) {
  auto chosen = AskOpen(parent, title, filter, false);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  EnterFolderOf(chosen->first());
  return chosen->first();
}

std::optional<QStringList> UserDialogs::OpenFileNames(QWidget* parent, const QString& title,
                                                      const QString& filter,
                                                      const QString& default_suffix) {
  default_suffix_ = default_suffix;
  auto chosen = AskOpen(parent, title, filter, true);
  default_suffix_.clear();
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  EnterFolderOf(chosen->first());
  return chosen;
}

std::optional<QString> UserDialogs::SaveFileName(QWidget* parent, const QString& title,
                                                 const QString& filter,
                                                 const QString& file_name,
                                                 const QString& default_suffix) {
  default_suffix_ = default_suffix;
  auto chosen = AskSave(parent, title, filter, file_name);
  default_suffix_.clear();
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  EnterFolderOf(*chosen);
  return chosen;
}

QString UserDialogs::ToQtFilter(const QString& filter) {
  QStringList parts = filter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // "AVI-Files (*.avi)" already shows its patterns.
    const QString shown = " (" + patterns + ")";
    out << (parts[i].endsWith(shown) ? parts[i] : parts[i] + shown);
  }
  return out.join(";;");
}

void QtUserDialogs::Message(QWidget* parent, const QString& caption, const QString& text) {
  // The simple message box: no icon.
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

void QtUserDialogs::Information(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

void QtUserDialogs::Error(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

Answer QtUserDialogs::Confirm(QWidget* parent, const QString& caption, const QString& text,
                              bool with_cancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (with_cancel) buttons |= QMessageBox::Cancel;
  switch (QMessageBox::question(parent, caption, text, buttons)) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return with_cancel ? Answer::Cancel : Answer::No;
  }
}

bool QtUserDialogs::PrinterInstalled() const {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool QtUserDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
  // The printer, its paper and orientation (the print dialog's printer
  // choice and its Properties), without the choices of one print job.
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Printer Setup");
  dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText("OK");
  }
  return dialog.exec() == QDialog::Accepted;
}

bool QtUserDialogs::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QStringList> QtUserDialogs::AskOpen(QWidget* parent, const QString& title,
                                                  const QString& filter, bool many) {
  QFileDialog dialog(parent, title, QDir::currentPath(), ToQtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  // A typed name without an extension gets this one ("f3" picks f3.bmp).
  dialog.setDefaultSuffix(DefaultSuffix());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles();
}

std::optional<QString> QtUserDialogs::AskSave(QWidget* parent, const QString& title,
                                              const QString& filter, const QString& file_name) {
  QString start = file_name.isEmpty() ? QDir::currentPath() : file_name;
  QFileDialog dialog(parent, title, start, ToQtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // No overwrite question of the dialog's own: the commands ask their own.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(DefaultSuffix());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace vesk
