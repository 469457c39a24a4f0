// The preview window: its frame equals the written frame, it follows a node drag
// before the release, and events are handled while a frame is computed. The
// renderer and timing chosen in Options reach the preview and the run, and are remembered.
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>

#include "pictures/image_convert.h"
#include "app/preview_form.h"
#include "app/user_settings.h"
#include "core/generate/smooth_frame.h"
#include "app1_support.h"

class PreviewTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  TPreviewForm* preview_ = nullptr;
  // The node grid and the preview open.
  void OpenScene(int width, int height) {
    OpenBothWithGrid(width, height);
    Run("Preview");
    preview_ = form_->findChild<TPreviewForm*>("PreviewForm");
    QVERIFY(preview_ != nullptr && preview_->isVisible());
  }
  bool Settled() const {
    return !preview_->Computing() && preview_->ShownSerial() == preview_->RequestedSerial() &&
           preview_->ShownSerial() > 0;
  }
 private slots:
  void init() {
    StoreRenderer(Renderer::kClassic);
    StoreTiming({});
    StartWindow();
  }
  void cleanup() { StopWindow(); }
  // The frame count, the precision, the kind and the slider reach the preview.
  void FrameEqualsTheWrittenFrame() {
    OpenScene(90, 70);
    SetFrameCount(5);
    Edit(*form_, "Edit2")->setText("2");  // notifies the preview
    preview_->findChild<QComboBox*>("KindBox")->setCurrentIndex(1);  // the distortion
    preview_->findChild<QSlider*>("FrameSlider")->setValue(3);
    QTRY_VERIFY(Settled());
    dialogs_.save_answers.push_back(File("frames.any"));
    Run("Distorsion1");
    const Bitmap written = LoadBmpFile(File("imag4.bmp").toStdString()).Value();
    QCOMPARE(preview_->ShownFrame(), ToQImage(written));
  }
  void SmoothAndTimingChosenInOptionsArePreviewedRunAndRemembered() {
    OpenScene(90, 70);
    SetFrameCount(4);
    WhenModalOpens([](QWidget* options) {
      options->findChild<QRadioButton*>("RenderingSmooth")->click();
      options->findChild<QComboBox*>("ShapeCurveBox")->setCurrentIndex(1);   // ease in
      options->findChild<QComboBox*>("ColourCurveBox")->setCurrentIndex(2);  // ease out
      options->findChild<QSpinBox*>("HoldBox")->setValue(1);
      options->findChild<QPushButton*>("Button1")->click();
    });
    Run("Options");
    preview_->findChild<QSlider*>("FrameSlider")->setValue(3);  // t = 2 after one hold frame
    QTRY_VERIFY(Settled());
    Bitmap smooth(90, 70);
    RunProtocol quiet;
    PaintSmoothFrame({PieceKind::kMorph, &first_, &second_,
                      TrianglePositionsOf(form_->MeshModel()), 0.25, 0.75},
                     smooth, quiet);
    QCOMPARE(preview_->ShownFrame(), ToQImage(smooth));
    dialogs_.save_answers.push_back(File("frames.any"));
    Run("Ombrix1");
    QVERIFY(LoadBmpFile(File("imag4.bmp").toStdString()).Value() == smooth);
    RestartWindow();
    const GenerationSetup setup = form_->CurrentGenerationSetup();
    QCOMPARE(setup.renderer, Renderer::kSmooth);
    QVERIFY(setup.hold == 1 &&
            setup.curves == (TimingCurves{TimingCurve::kEaseIn, TimingCurve::kEaseOut}));
  }
  void ZoomsWithTheImageWindowKeysAndFitsAgainOnCtrl0() {
    OpenScene(90, 70);
    QTRY_VERIFY(Settled());
    auto* picture = preview_->findChild<QWidget*>("PreviewImage");
    auto* scroll = preview_->findChild<QScrollArea*>("PreviewScroll");
    const auto fits = [&] {
      const QSize room = scroll->maximumViewportSize();
      return picture->width() <= room.width() && picture->height() <= room.height() &&
             (picture->width() * 3 > room.width() * 2 || picture->height() * 3 > room.height() * 2);
    };
    QVERIFY(fits());
    auto* play = preview_->findChild<QPushButton*>("PlayButton");
    play->click();
    play->click();  // stopped again
    QCOMPARE(play->text(), QString("&Play"));
    preview_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(preview_));
    QTest::keyClick(preview_, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(picture->size(), QSize(90, 70));
    preview_->resize(700, 600);  // a zoom of the user's stays
    QCoreApplication::processEvents();
    QCOMPARE(picture->size(), QSize(90, 70));
    QTest::keyClick(preview_, Qt::Key_Minus, Qt::ControlModifier);
    QVERIFY(picture->width() < 90);
    QTest::keyClick(preview_, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(fits());
    preview_->resize(300, 260);  // fitted, it follows the window
    QCoreApplication::processEvents();
    QVERIFY(fits());
  }
  void FollowsADragWhileTheInterfaceStaysResponsive() {
    OpenScene(1024, 768);  // the benchmark's size: a frame takes a while
    preview_->findChild<QSlider*>("FrameSlider")->setValue(6);
    QTRY_VERIFY(Settled());
    const QImage before = preview_->ShownFrame();
    TImage* second = form_->SecondChild()->Image1();
    QTest::mousePress(second, Qt::LeftButton, {}, QPoint(1024 / 2 + 1024 / 5, 768 / 2 - 768 / 6));
    QVERIFY(form_->SecondChild()->DragNode != nullptr);
    qint64 worst_delay = -1;
    for (int step = 1; step <= 3; ++step) {
      QTest::mouseMove(second, QPoint(700 - 40 * step, 250 + 30 * step));
      QCoreApplication::processEvents();  // the preview sends its request
      QVERIFY(preview_->Computing());
      // A posted event is handled at once, during the computation.
      QElapsedTimer clock;
      clock.start();
      qint64 delay = -1;
      bool during = false;
      QTimer::singleShot(0, [&] {
        delay = clock.elapsed();
        during = preview_->Computing();
      });
      QTRY_VERIFY(delay >= 0);
      QVERIFY(during);
      worst_delay = std::max(worst_delay, delay);
    }
    QTRY_VERIFY(Settled());
    QVERIFY(preview_->ShownFrame() != before);  // changed with the button still down
    QVERIFY(form_->SecondChild()->DragNode != nullptr);
    QVERIFY2(worst_delay < 50, qPrintable(QString("event waited %1 ms").arg(worst_delay)));
    QTest::mouseRelease(second, Qt::LeftButton, {}, QPoint(580, 340));
  }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
