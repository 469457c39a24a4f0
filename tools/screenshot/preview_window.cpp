// Makes docs/screenshots/preview_window.png: the example mesh opened with
// both pictures tiled in the main window, and beside it the preview window
// showing frame 6 of 12 of the morph, fitted to its window. Run it from the
// source folder:
//   cmake --build build --target preview_screenshot
//   xvfb-run build/tools/screenshot/preview_screenshot MESH OUT.png
//   (MESH: examples/sample.mesh, OUT.png: docs/screenshots/preview_window.png)
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSlider>
#include <QThread>
#include <cstdio>

#include "app/main_window.h"
#include "app/preview_form.h"
#include "tools/screenshot/one_answer.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: preview_screenshot MESH OUT.png\n");
    return 2;
  }
  const QString out = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  OneAnswer dialogs(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
  vesk::TMDIForm::Options options;
  options.show_about_box = false;
  options.settings_file = QDir::temp().filePath("preview_screenshot.ini");
  vesk::TMDIForm window(dialogs, options);
  window.resize(900, 520);
  window.show();
  window.OpenMeshClick();
  if (!window.FirstChild() || !window.SecondChild()) return 1;
  window.Tile1Click();
  window.PreviewClick();
  auto* preview = window.findChild<vesk::TPreviewForm*>("PreviewForm");
  preview->resize(420, 360);
  preview->findChild<QSlider*>("FrameSlider")->setValue(6);
  // The newest request shown: the frame is computed on the preview's thread.
  while (preview->ShownSerial() == 0 || preview->Computing() ||
         preview->ShownSerial() != preview->RequestedSerial()) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
  QApplication::processEvents();
  const QPixmap main_window = window.grab();
  const QPixmap preview_window = preview->grab();
  QImage shot(main_window.width() + 8 + preview_window.width(),
              std::max(main_window.height(), preview_window.height()), QImage::Format_RGB32);
  shot.fill(Qt::darkGray);
  QPainter painter(&shot);
  painter.drawPixmap(0, 0, main_window);
  painter.drawPixmap(main_window.width() + 8, 0, preview_window);
  painter.end();
  return shot.save(out) ? 0 : 1;
}
