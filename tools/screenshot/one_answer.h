// The screenshot tools' dialogs: the one file question is answered with the
// mesh given on the command line, messages go to standard error.
#pragma once

#include <QString>
#include <cstdio>
#include <utility>

#include "app/user_dialogs.h"

class OneAnswer : public vesk::QtUserDialogs {
 public:
  explicit OneAnswer(QString mesh) : mesh_(std::move(mesh)) {}
  void Message(QWidget*, const QString&, const QString& text) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }

 protected:
  std::optional<QStringList> AskOpen(QWidget*, const QString&, const QString&, bool) override {
    return QStringList{mesh_};
  }

 private:
  QString mesh_;
};
