// Tools > Average Faces... and Caricature...: the questions, the new Vesk window, the mean
// shape file, pictures left out, Kancel; the Caricature dialog's preview follows its amount.
#include <QDoubleSpinBox>
#include <QSlider>
#include <QStatusBar>

#include "app/caricature_form.h"
#include "app/face_jobs.h"
#include "app/kancel_form.h"
#include "app1_support.h"
#include "core/faces/mean_shape_file.h"
#include "pictures/picture_reader.h"
#include "tests/core/support/picture_psnr.h"

namespace {

const QString kExamples = VESK_SOURCE_DIR "/examples/";
const QString kHopper = kExamples + "grace_hopper.jpg", kAstronaut = kExamples + "astronaut.png";
const QString kDrawing = kExamples + "first.bmp";  // no face

}  // namespace

class FacesTest : public QObject, WindowFixture {
  Q_OBJECT

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }

  void AverageGoesToANewVeskWindowAndNamesThePicturesLeftOut() {
    QVERIFY(Item(*form_, "AverageFaces")->isEnabled());
    QVERIFY(!Item(*form_, "Caricature")->isEnabled());
    const QStringList pictures = {kHopper, kDrawing, kAstronaut};
    dialogs_.average_answers = {AverageFacesChoice{pictures, 120, 160, false, ""},
                                AverageFacesChoice{pictures, 120, 160, true, File("mean.pts")}};
    Run("AverageFaces");
    QCOMPARE(Shown(), QStringList{"Trelvanique: No face found in first.bmp."});
    QVERIFY(form_->VeskChild() == nullptr);
    Run("AverageFaces");
    const Bitmap& average = form_->VeskChild()->GetBitmap();
    QCOMPARE(QSize(average.Width(), average.Height()), QSize(120, 160));
    QCOMPARE(Shown().back(),
             "Trelvanique: Pictures left out of the average:\nNo face found in first.bmp");
    QCOMPARE(form_->statusBar()->currentMessage(), "Average of 2 faces, 1 left out");
    QVERIFY(ReadMeanShapeFile(File("mean.pts").toStdString()).Ok());
    QCOMPARE(dialogs_.unexpected, 0);
  }

  void KancelStopsTheAverageAndChangesNothing() {
    QStringList pictures;
    for (int i = 0; i < 40; ++i) pictures << kHopper;
    dialogs_.average_answers = {AverageFacesChoice{pictures, 120, 160, false, ""}};
    QTimer::singleShot(200, [this] {
      QVERIFY(form_->KancelForm().isVisible() && !form_->isEnabled());
      QVERIFY(!form_->FormCloseQuery());  // no closing while the thread reads
      Click(form_->KancelForm(), "KancelButton");
    });
    Run("AverageFaces");
    QVERIFY(form_->VeskChild() == nullptr);
    QVERIFY(Shown().isEmpty());
    QVERIFY(form_->isEnabled() && form_->FormCloseQuery());
  }

  void CaricatureAsksForTheAverageThenTheAmount() {
    OpenImage(*form_, dialogs_, "OpenFirst", kHopper);
    QVERIFY(Item(*form_, "Caricature")->isEnabled());
    const Bitmap& first = form_->FirstChild()->GetBitmap();
    dialogs_.open_answers = {QStringList{kAstronaut}, QStringList{kAstronaut}};
    dialogs_.amount_answers = {1.0, 2.5};
    Run("Caricature");
    QCOMPARE(dialogs_.subjects.size(), size_t(1));
    QVERIFY(dialogs_.subjects[0].picture == &first);
    QVERIFY(testing_support::PsnrWhere(form_->VeskChild()->GetBitmap(), first) >= 45);
    Run("Caricature");
    QVERIFY(testing_support::PsnrWhere(form_->VeskChild()->GetBitmap(), first) < 35);
    QCOMPARE(form_->statusBar()->currentMessage(), "Caricature, amount 2.50");
    // A saved mean shape is chosen alone.
    dialogs_.open_answers = {QStringList{File("a.pts"), kAstronaut}};
    Run("Caricature");
    QCOMPARE(Shown().back(), "Trelvanique: A mean shape file is chosen alone.");
    QCOMPARE(dialogs_.unexpected, 0);
  }

  void CaricatureDialogPreviewFollowsTheAmount() {
    const Bitmap hopper = ReadPicture(kHopper.toStdString()).Value();
    const Bitmap astronaut = ReadPicture(kAstronaut.toStdString()).Value();
    TCaricatureForm form(
        {&hopper, FaceOfPicture(hopper, "").Value(), FaceOfPicture(astronaut, "").Value()}, 1);
    form.show();
    QVERIFY(form.PreviewPicture().Height() == 360 && form.PreviewPicture().Width() == 307);
    QVERIFY(testing_support::PsnrWhere(form.Preview(), form.PreviewPicture()) >= 45);
    form.AmountSlider()->setValue(250);  // as a drag would
    QCOMPARE(form.AmountBox()->value(), 2.5);
    QVERIFY(testing_support::PsnrWhere(form.Preview(), form.PreviewPicture()) < 35);
    QTest::keyClick(form.AmountBox(), Qt::Key_Down);  // one step of 0.1
    QCOMPARE(form.AmountSlider()->value(), 240);
    QCOMPARE(form.Amount(), 2.4);
  }
};

QTEST_MAIN(FacesTest)
#include "faces_test.moc"
