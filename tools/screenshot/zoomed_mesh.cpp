// Makes docs/screenshots/zoomed_mesh.png: the example mesh opened, the first
// image window zoomed to 4 times over the middle of the picture. Run it on
// the offscreen platform from the source folder:
//   cmake --build build --target zoomed_screenshot
//   QT_QPA_PLATFORM=offscreen build/tools/screenshot/zoomed_screenshot MESH OUT.png
//   (MESH: examples/sample.mesh, OUT.png: docs/screenshots/zoomed_mesh.png)
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <cstdio>

#include "app/child_form.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "tools/screenshot/one_answer.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: zoomed_screenshot MESH OUT.png\n");
    return 2;
  }
  const QString out = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  OneAnswer dialogs(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
  vesk::TMDIForm::Options options;
  options.show_about_box = false;
  options.settings_file = QDir::temp().filePath("zoomed_screenshot.ini");
  vesk::TMDIForm window(dialogs, options);
  window.resize(900, 640);
  window.show();
  window.OpenMeshClick();
  vesk::TChildForm* first = window.FirstChild();
  if (!first) return 1;
  window.SecondChild()->showMinimized();
  first->setGeometry(0, 0, 620, 460);
  QApplication::processEvents();
  first->View().ZoomAt(1024, QPoint(0, 0));
  auto* scroll = first->findChild<QScrollArea*>();
  const QSize picture = first->Image1()->size();
  scroll->horizontalScrollBar()->setValue((picture.width() - scroll->viewport()->width()) / 2);
  scroll->verticalScrollBar()->setValue((picture.height() - scroll->viewport()->height()) / 2);
  QApplication::processEvents();
  return first->grab().save(out) ? 0 : 1;
}
