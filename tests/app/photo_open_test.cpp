// Photos opened by the desktop program, through the Open dialog (whose first
// filter lists every picture read) and through the names given on the command
// line or dropped on the window: upright, in sRGB, as vesk-batch reads them.
#include "app1_support.h"
#include "core/image/picture_file.h"
#include "tests/batch/photo_cases.h"

class PhotoOpenTest : public QObject, WindowFixture {
  Q_OBJECT

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void PhotosOpenUprightInTheirTrueColours() {
    for (const PhotoCase& photo : kPhotoCases) {
      const QString path = QString::fromStdString(kPhotos + photo.file);
      OpenImage(*form_, dialogs_, "OpenFirst", path);
      form_->OpenFiles({path});  // with a first image open: the second
      QVERIFY2(Window(1) && Window(2), photo.file);
      QCOMPARE(QString::fromStdString(PhotoProblem(photo, Window(1)->GetBitmap())), QString());
      QVERIFY(Window(2)->GetBitmap() == Window(1)->GetBitmap());
    }
    QCOMPARE(dialogs_.filters.first(), "Pictures|" + QString::fromStdString(PicturePatterns()) +
                                           "|Bitmap|*.BMP|All Files|*.*");
    QVERIFY(Shown().isEmpty());
  }
};

QTEST_MAIN(PhotoOpenTest)
#include "photo_open_test.moc"
