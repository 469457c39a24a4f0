// Helpers of the viewer, AVI creator and dialog screenshot tests: numbered
// frame files with the frame list that names them, and widgets found by
// object name.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

#include "core/image/bitmap.h"
#include "core/image/bmp_codec.h"

namespace vesk::testing {

// Writes `bytes` to `path` (replacing it, or appending with
// QIODevice::Append).
inline void WriteBytes(const QString& path, const QByteArray& bytes,
                       QIODevice::OpenMode mode = QIODevice::WriteOnly) {
  QFile file(path);
  if (!file.open(mode | QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    qFatal("cannot write %s", qPrintable(path));
  }
}

// Writes imag1.bmp .. imag<count>.bmp into `dir`, frame k made by
// `make_frame(k)`, and the list "frames.any" naming them, one per CR LF
// line; answers the list's path.
inline QString WriteFrameList(const QTemporaryDir& dir, int count,
                              const std::function<Bitmap(int)>& make_frame) {
  QByteArray list;
  for (int k = 1; k <= count; ++k) {
    const QString name = QString("imag%1.bmp").arg(k);
    if (!SaveBmpFile(dir.filePath(name).toStdString(), make_frame(k)).Ok()) {
      qFatal("cannot write %s", qPrintable(name));
    }
    list += name.toLatin1() + "\r\n";
  }
  WriteBytes(dir.filePath("frames.any"), list);
  return dir.filePath("frames.any");
}

// The child widget of type T named `name`; a missing one ends the test.
template <typename T>
T* NamedChild(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) qFatal("no child %s", name);
  return child;
}

}  // namespace vesk::testing
