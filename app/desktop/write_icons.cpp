// Writes the program's icon as the icon files a desktop menu uses:
// OUT_DIR/<size>x<size>/apps/vesk.png for each theme size, with a
// transparent background. The icon is 64 x 64 pixels; larger sizes repeat
// its pixels, 48 x 48 is smoothed down.
#include <QImage>
#include <cstdio>

#include "app/about_box.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_icons OUT_DIR\n");
    return 2;
  }
  const QImage picture = vesk::ProgramIconImage();
  for (int size : {48, 64, 128, 256}) {
    const Qt::TransformationMode mode =
        size < picture.width() ? Qt::SmoothTransformation : Qt::FastTransformation;
    const QImage icon = picture.scaled(size, size, Qt::IgnoreAspectRatio, mode);
    const QString name =
        QString("%1/%2x%2/apps/vesk.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (!icon.save(name, "PNG")) {
      std::fprintf(stderr, "write_icons: cannot write %s\n", name.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
