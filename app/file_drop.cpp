#include "app/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace vesk {
namespace {

QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  if (!data) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace

FileDropFilter::FileDropFilter(QWidget* window, std::function<void(const QStringList&)> open)
    : QObject(window), open_(std::move(open)) {
  window->setAcceptDrops(true);
  window->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (LocalFiles(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList files = LocalFiles(drop->mimeData());
      if (files.isEmpty()) return false;
      drop->acceptProposedAction();
      open_(files);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace vesk
