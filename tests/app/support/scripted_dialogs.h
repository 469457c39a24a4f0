// UserDialogs answered from queues the test fills, recording what was shown; a
// question with no answer queued is counted in `unexpected` and cancelled.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
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

  // What the program asked or showed, in order.
  std::vector<Shown> messages;       // Message(), Information() and Error()
  std::vector<Shown> confirmations;  // Confirm()
  QStringList filters;               // filter of every file dialog
  QStringList titles;                // title of every file dialog
  std::vector<VideoOptions> video_asked;  // the starting values of every video question
  int unexpected = 0;                // questions asked with no answer queued
  bool open_throws = false;          // open dialogs fail as an allocation would
  QString print_file;                // an accepted print dialog prints into it

  void Message(QWidget*, const QString& caption, const QString& text) override;
  void Information(QWidget*, const QString& caption, const QString& text) override;
  void Error(QWidget*, const QString& caption, const QString& text) override;
  Answer Confirm(QWidget*, const QString& caption, const QString& text, bool with_cancel) override;
  bool PrinterSetup(QWidget*, QPrinter&) override;
  bool PrintDialog(QWidget*, QPrinter&) override;
  std::optional<QList<int>> AskNumbers(QWidget*, const QString& caption, const QStringList&,
                                       const QList<int>&, int, int) override;
  std::optional<VideoOptions> AskVideoOptions(QWidget*, const VideoOptions& initial) override;
  std::optional<AutoMeshChoice> AskAutoMesh(QWidget*, const QStringList&, const AutoMeshChoice&,
                                            int) override;

 protected:
  std::optional<QStringList> AskOpen(QWidget*, const QString& title, const QString& filter,
                                     bool many) override;
  std::optional<QString> AskSave(QWidget*, const QString& title, const QString& filter,
                                 const QString& file_name) override;
};

}  // namespace vesk
