// The up-down arrows bound to an integer edit of the tool panel: a click
// (or the Up and Down keys in the edit) steps the number shown in the edit
// by one within Min..Max, without wrapping, and writes it into the edit,
// which runs the edit's own change handler.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vesk {

class TUpDown : public QWidget {
  Q_OBJECT

 public:
  TUpDown(QLineEdit* associate, int min, int max, int position, QWidget* parent);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  QLineEdit* Associate() const { return associate_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

  // One step up (+1) or down (-1) from the number in the edit.
  void Step(int direction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* associate_;
  int min_;
  int max_;
  int position_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace vesk
