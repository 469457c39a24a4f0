// Grabs of the Options dialog's three pages, the animation viewer and the
// AVI creator, saved as PNG files in <build>/screenshots/ to look at the
// layout; each grab is also checked to be a full, non-blank picture.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/animation_viewer.h"
#include "app/avi_creator.h"
#include "app/options_form.h"
#include "core/image/bmp_codec.h"
#include "frame_list_files.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

namespace {

QString ShotPath(const QString& name) {
  QDir dir(QString(VESK_BUILD_DIR) + "/screenshots");
  dir.mkpath(".");
  return dir.filePath(name + ".png");
}

// Saves the grab and answers how many distinct colours it holds.
int SaveGrab(QWidget& widget, const QString& name) {
  QImage image = widget.grab().toImage();
  if (!image.save(ShotPath(name))) qFatal("cannot save %s", qPrintable(name));
  QSet<QRgb> colors;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colors.insert(image.pixel(x, y));
  return static_cast<int>(colors.size());
}

// Frames of a colour gradient, a little bluer from frame to frame.
QString WriteFrames(const QTemporaryDir& dir, int count, int width, int height) {
  return testing::WriteFrameList(dir, count, [=](int k) {
    Bitmap frame(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        frame.SetPixel(x, y, MakeColor((x * 255) / width, (y * 255) / height, 40 * k));
    return frame;
  });
}

}  // namespace

class DialogsScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void OptionsPages() {
    TOptionsForm form{Settings{}};
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edit5Change();
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    const char* names[] = {"options_sheet_glass", "options_flag_streaming", "options_costumize"};
    for (int i = 0; i < 3; ++i) {
      pages->setCurrentIndex(i);
      form.Edit5Change();
      QCOMPARE(form.grab().size(), QSize(320, 183));
      QVERIFY(SaveGrab(form, names[i]) > 3);
    }
  }

  void Viewer() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAnimaci viewer(dialogs, WriteFrames(dir, 3, 120, 90));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.Timer1Timer();
    QVERIFY(SaveGrab(viewer, "animation_viewer") > 3);
  }

  void AviCreator() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm creator(dialogs, WriteFrames(dir, 6, 64, 48));
    creator.show();
    QVERIFY(QTest::qWaitForWindowExposed(&creator));
    auto* list = creator.findChild<QListWidget*>("BitmapListBox");
    list->setCurrentRow(2);
    QVERIFY(SaveGrab(creator, "avi_creator") > 3);
  }
};

QTEST_MAIN(DialogsScreenshotTest)
#include "dialogs_screenshot_test.moc"
