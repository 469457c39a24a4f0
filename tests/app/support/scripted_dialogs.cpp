#include "scripted_dialogs.h"

namespace vesk {

void ScriptedDialogs::Message(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text});
}

void ScriptedDialogs::Error(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text});
}

Answer ScriptedDialogs::Confirm(QWidget*, const QString& caption, const QString& text,
                                bool with_cancel) {
  confirmations.push_back({caption, text});
  if (confirm_answers.empty()) {
    ++unexpected;
    return with_cancel ? Answer::Cancel : Answer::No;
  }
  Answer a = confirm_answers.front();
  confirm_answers.pop_front();
  return a;
}

bool ScriptedDialogs::PrinterSetup(QWidget*, QPrinter&) {
  if (printer_answers.empty()) {
    ++unexpected;
    return false;
  }
  bool a = printer_answers.front();
  printer_answers.pop_front();
  return a;
}

bool ScriptedDialogs::PrintDialog(QWidget* parent, QPrinter& printer) {
  return PrinterSetup(parent, printer);
}

std::optional<QList<int>> ScriptedDialogs::AskNumbers(QWidget*, const QString& caption,
                                                       const QStringList&, const QList<int>&,
                                                       int, int) {
  titles << caption;
  if (number_answers.empty()) {
    ++unexpected;
    return std::nullopt;
  }
  // An empty entry is a cancelled dialog.
  QList<int> answer = number_answers.front().value_or(QList<int>());
  bool chosen = number_answers.front().has_value();
  number_answers.pop_front();
  if (!chosen) return std::nullopt;
  return answer;
}

std::optional<QStringList> ScriptedDialogs::AskOpen(QWidget*, const QString& title,
                                                    const QString& filter, bool) {
  titles << title;
  filters << filter;
  if (open_answers.empty()) {
    ++unexpected;
    return std::nullopt;
  }
  // An empty entry is a cancelled dialog.
  QStringList answer = open_answers.front().value_or(QStringList());
  bool chosen = open_answers.front().has_value();
  open_answers.pop_front();
  if (!chosen) return std::nullopt;
  return answer;
}

std::optional<QString> ScriptedDialogs::AskSave(QWidget*, const QString& title,
                                                const QString& filter, const QString&) {
  titles << title;
  filters << filter;
  if (save_answers.empty()) {
    ++unexpected;
    return std::nullopt;
  }
  QString answer = save_answers.front().value_or(QString());
  bool chosen = save_answers.front().has_value();
  save_answers.pop_front();
  if (!chosen) return std::nullopt;
  return answer;
}

}  // namespace vesk
