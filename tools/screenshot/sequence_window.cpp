// Makes docs/screenshots/sequence_window.jpg: the three README portraits
// opened at once as a sequence, every pair meshed, the first pair open in
// the image windows (the main window, left) and the player on frame 20 of
// the sequence window (right). Run it from the source folder:
//   cmake --build build --target sequence_screenshot
//   QT_QPA_PLATFORM=offscreen build/tools/screenshot/sequence_screenshot OUT.png
//   (OUT.png: docs/screenshots/sequence_window.jpg)
#include "app/sequence_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QSlider>
#include <QThread>
#include <cstdio>

#include "app/main_window.h"
#include "app/sequence_player.h"
#include "tools/screenshot/one_answer.h"

namespace {

void WaitFor(const std::function<bool()>& done) {
  while (!done()) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
  QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: sequence_screenshot OUT.png\n");
    return 2;
  }
  const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString source = VESK_SOURCE_DIR;
  OneAnswer dialogs{QString()};
  vesk::TMDIForm::Options options;
  options.show_about_box = false;
  options.settings_file = QDir::temp().filePath("sequence_screenshot.ini");
  vesk::TMDIForm window(dialogs, options);
  window.resize(760, 560);
  window.show();
  window.OpenFiles({source + "/examples/grace_hopper.jpg", source + "/examples/astronaut.png",
                    source + "/tests/data/photos/portrait.png"});
  auto* sequence = window.findChild<vesk::SequenceWindow*>();
  if (!sequence) return 1;
  sequence->resize(1000, 560);
  WaitFor([&] { return !sequence->Working() && sequence->Model().PairsToMesh().empty(); });
  sequence->OpenPair(0);
  sequence->Pairs()->setCurrentRow(0);
  sequence->Player()->Slider()->setValue(20);
  WaitFor([&] { return sequence->Player()->FrameOnView() == 20; });
  const QPixmap main_window = window.grab();
  const QPixmap sequence_window = sequence->grab();
  QImage shot(main_window.width() + 8 + sequence_window.width(),
              std::max(main_window.height(), sequence_window.height()), QImage::Format_RGB32);
  shot.fill(Qt::darkGray);
  QPainter painter(&shot);
  painter.drawPixmap(0, 0, main_window);
  painter.drawPixmap(main_window.width() + 8, 0, sequence_window);
  painter.end();
  return shot.save(out, nullptr, 85) ? 0 : 1;  // photos: a JPEG keeps the file small
}
