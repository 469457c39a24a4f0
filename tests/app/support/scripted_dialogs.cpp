#include "scripted_dialogs.h"

#include <QPrinter>
#include <new>

namespace vesk {
namespace {

// The next queued answer; with none queued, `none` and one more unexpected question.
template <typename T>
T Next(std::deque<T>& answers, int& unexpected, T none) {
  if (answers.empty()) ++unexpected;
  if (answers.empty()) return none;
  none = std::move(answers.front());
  answers.pop_front();
  return none;
}

}  // namespace

void ScriptedDialogs::Message(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text});
}

void ScriptedDialogs::Information(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text, "information"});
}

void ScriptedDialogs::Error(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text, "error"});
}

Answer ScriptedDialogs::Confirm(QWidget*, const QString& caption, const QString& text,
                                bool with_cancel) {
  confirmations.push_back({caption, text});
  return Next(confirm_answers, unexpected, with_cancel ? Answer::Cancel : Answer::No);
}

bool ScriptedDialogs::PrinterSetup(QWidget*, QPrinter&) {
  return Next(printer_answers, unexpected, false);
}

bool ScriptedDialogs::PrintDialog(QWidget* parent, QPrinter& printer) {
  if (!print_file.isEmpty()) printer.setOutputFileName(print_file);  // a PDF by its name
  return PrinterSetup(parent, printer);
}

std::optional<QList<int>> ScriptedDialogs::AskNumbers(QWidget*, const QString& caption,
                                                       const QStringList&, const QList<int>&,
                                                       int, int) {
  titles << caption;
  return Next(number_answers, unexpected, std::optional<QList<int>>());
}

std::optional<VideoOptions> ScriptedDialogs::AskVideoOptions(QWidget*,
                                                             const VideoOptions& initial) {
  video_asked.push_back(initial);
  return Next(video_answers, unexpected, std::optional<VideoOptions>());
}

std::optional<AutoMeshChoice> ScriptedDialogs::AskAutoMesh(QWidget*, const QStringList&,
                                                           const AutoMeshChoice&, int) {
  titles << "Auto Mesh";
  return Next(auto_mesh_answers, unexpected, std::optional<AutoMeshChoice>());
}

std::optional<QStringList> ScriptedDialogs::AskOpen(QWidget*, const QString& title,
                                                    const QString& filter, bool) {
  if (open_throws) throw std::bad_alloc();
  titles << title;
  filters << filter;
  return Next(open_answers, unexpected, std::optional<QStringList>());
}

std::optional<QString> ScriptedDialogs::AskSave(QWidget*, const QString& title,
                                                const QString& filter, const QString&) {
  titles << title;
  filters << filter;
  return Next(save_answers, unexpected, std::optional<QString>());
}

}  // namespace vesk
