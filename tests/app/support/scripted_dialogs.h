// UserDialogs answered from queues the test fills, recording what was shown; a
// question with no answer queued is counted in `unexpected` and cancelled.
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <deque>
#include <new>
#include <optional>
#include <vector>

#include "app/user_dialogs.h"

namespace vesk {

class ScriptedDialogs : public UserDialogs {
 public:
  struct Shown {
    QString caption;
    QString text;
    QString box = "plain";  // or "information", "error"
  };

  // Answers, consumed in order; an empty one is a cancel.
  std::deque<std::optional<QStringList>> open_answers;
  std::deque<std::optional<QString>> save_answers;
  std::deque<Answer> confirm_answers;
  std::deque<bool> printer_answers;
  std::deque<std::optional<QList<int>>> number_answers;
  std::deque<std::optional<VideoOptions>> video_answers;
  std::deque<std::optional<AutoMeshChoice>> auto_mesh_answers;
  std::deque<std::optional<AverageFacesChoice>> average_answers;
  std::deque<std::optional<double>> amount_answers;
  std::deque<std::optional<SequenceOptions>> sequence_options_answers;

  // What the program asked or showed, in order.
  std::vector<Shown> messages;       // Message(), Information() and Error()
  std::vector<Shown> confirmations;  // Confirm()
  QStringList filters;               // filter of every file dialog
  QStringList titles;                // title of every file dialog
  std::vector<VideoOptions> video_asked;  // the starting values of every video question
  std::vector<CaricatureSubject> subjects;  // what every amount question showed
  int unexpected = 0;                // questions asked with no answer queued
  bool open_throws = false;          // open dialogs fail as an allocation would
  QString print_file;                // an accepted print dialog prints into it
  bool printer_installed = false;    // as PrinterInstalled() answers

  void Message(QWidget*, const QString& caption, const QString& text) override {
    messages.push_back({caption, text});
  }
  void Information(QWidget*, const QString& caption, const QString& text) override {
    messages.push_back({caption, text, "information"});
  }
  void Error(QWidget*, const QString& caption, const QString& text) override {
    messages.push_back({caption, text, "error"});
  }
  Answer Confirm(QWidget*, const QString& caption, const QString& text, bool with_cancel) override {
    confirmations.push_back({caption, text});
    return Next(confirm_answers, with_cancel ? Answer::Cancel : Answer::No);
  }
  bool PrinterInstalled() const override { return printer_installed; }
  bool PrinterSetup(QWidget*, QPrinter&) override {
    titles << "Printer Setup";
    return Next(printer_answers, false);
  }
  bool PrintDialog(QWidget*, QPrinter& printer) override {
    if (!print_file.isEmpty()) printer.setOutputFileName(print_file);  // a PDF by its name
    titles << "Print";
    return Next(printer_answers, false);
  }
  std::optional<QList<int>> AskNumbers(QWidget*, const QString& caption, const QStringList&,
                                       const QList<int>&, int, int) override {
    titles << caption;
    return Next(number_answers, {});
  }
  std::optional<VideoOptions> AskVideoOptions(QWidget*, const VideoOptions& initial) override {
    video_asked.push_back(initial);
    return Next(video_answers, {});
  }
  std::optional<AutoMeshChoice> AskAutoMesh(QWidget*, const QStringList&, const AutoMeshChoice&,
                                            int) override {
    titles << "Auto Mesh";
    return Next(auto_mesh_answers, {});
  }
  std::optional<AverageFacesChoice> AskAverageFaces(QWidget*, const AverageFacesChoice&) override {
    titles << "Average Faces";
    return Next(average_answers, {});
  }
  std::optional<double> AskCaricatureAmount(QWidget*, const CaricatureSubject& subject,
                                            double) override {
    subjects.push_back(subject);
    return Next(amount_answers, {});
  }
  std::optional<SequenceOptions> AskSequenceOptions(QWidget*, const SequenceOptions&) override {
    titles << "Sequence Options";
    return Next(sequence_options_answers, {});
  }

 protected:
  std::optional<QStringList> AskOpen(QWidget*, const QString& title, const QString& filter,
                                     bool) override {
    if (open_throws) throw std::bad_alloc();
    titles << title;
    filters << filter;
    return Next(open_answers, {});
  }
  std::optional<QString> AskSave(QWidget*, const QString& title, const QString& filter,
                                 const QString&) override {
    titles << title;
    filters << filter;
    return Next(save_answers, {});
  }

 private:
  // The next queued answer; with none queued, `none` and one more unexpected question.
  template <typename T>
  T Next(std::deque<T>& answers, T none) {
    if (answers.empty()) ++unexpected;
    if (answers.empty()) return none;
    none = std::move(answers.front());
    answers.pop_front();
    return none;
  }
};

}  // namespace vesk
