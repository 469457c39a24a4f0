// Opening files dropped on a window: the filter accepts drags that carry
// local files and hands their names, in order, to `open`.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

namespace vesk {

class FileDropFilter : public QObject {
  Q_OBJECT

 public:
  // Makes `window` accept drops (drops on its children that take none reach
  // it too) and watches its drag events.
  FileDropFilter(QWidget* window, std::function<void(const QStringList&)> open);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QStringList&)> open_;
};

}  // namespace vesk
