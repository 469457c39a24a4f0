#include "app/user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

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
                                                      const QString& filter) {
  auto chosen = AskOpen(parent, title, filter, true);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  EnterFolderOf(chosen->first());
  return chosen;
}

std::optional<QString> UserDialogs::SaveFileName(QWidget* parent, const QString& title,
                                                 const QString& filter,
                                                 const QString& file_name) {
  auto chosen = AskSave(parent, title, filter, file_name);
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
    out << parts[i] + " (" + patterns + ")";
  }
  return out.join(";;");
}

void QtUserDialogs::Message(QWidget* parent, const QString& caption, const QString& text) {
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

bool QtUserDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool QtUserDialogs::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QStringList> QtUserDialogs::AskOpen(QWidget* parent, const QString& title,
                                                  const QString& filter, bool many) {
  QString qt_filter = ToQtFilter(filter);
  if (many) {
    QStringList files = QFileDialog::getOpenFileNames(parent, title, QDir::currentPath(), qt_filter);
    if (files.isEmpty()) return std::nullopt;
    return files;
  }
  QString file = QFileDialog::getOpenFileName(parent, title, QDir::currentPath(), qt_filter);
  if (file.isEmpty()) return std::nullopt;
  return QStringList{file};
}

std::optional<QString> QtUserDialogs::AskSave(QWidget* parent, const QString& title,
                                              const QString& filter, const QString& file_name) {
  // No overwrite question of the dialog's own: the commands ask their own.
  QString start = file_name.isEmpty() ? QDir::currentPath() : file_name;
  QString file = QFileDialog::getSaveFileName(parent, title, start, ToQtFilter(filter), nullptr,
                                              QFileDialog::DontConfirmOverwrite);
  if (file.isEmpty()) return std::nullopt;
  return file;
}

}  // namespace vesk
