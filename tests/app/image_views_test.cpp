// What the image windows and the preview show as the user works: painting on
// the Vesk image, zoom and pan with the mouse and the View menu, linked
// windows, and the preview following every control it depends on.
#include <QComboBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QWheelEvent>

#include "app/preview_form.h"
#include "app1_support.h"
#include "support/view_checks.h"

class ImageViewsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  // Zoom and scroll position of an image window.
  QString View(int kind) const {
    auto* scroll = Window(kind)->findChild<QScrollArea*>("ScrollBox");
    return QString("%1 %2,%3").arg(Image(kind)->Zoom()).arg(scroll->horizontalScrollBar()->value())
        .arg(scroll->verticalScrollBar()->value());
  }
  void Wheel(QPoint at, int delta, Qt::KeyboardModifiers keys) {
    QWheelEvent wheel(at, Image(1)->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Image(1), &wheel);
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void PaintingOnTheVeskImage() {
    OpenBoth(30, 20);
    dialogs_.save_answers = {std::nullopt};
    Item(*form_, "Colorize1")->trigger();
    TChildForm* vesk = form_->VeskChild();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCoreApplication::processEvents();
    const Color picked = second_.Pixel(2, 3);
    PaintCounter paints(vesk->Image1());
    QTest::mousePress(vesk->Image1(), Qt::RightButton, Qt::ShiftModifier, {2, 3});
    QTest::mouseMove(vesk->Image1(), {9, 8});
    QCOMPARE(paints.painted, QRegion(9, 8, 1, 1));  // that pixel, at once
    QCOMPARE(vesk->PictureBitmap().Pixel(9, 8), picked);
    QVERIFY(vesk->GetBitmap() == second_);  // the clean image waits for the release
    QTest::mouseRelease(vesk->Image1(), Qt::RightButton, {}, {12, 8});
    const Bitmap kept = vesk->GetBitmap();
    QCOMPARE(QList<Color>({kept.Pixel(9, 8), kept.Pixel(12, 8), kept.Pixel(10, 8)}),
             QList<Color>({picked, picked, second_.Pixel(10, 8)}));
    QCOMPARE(NamedChild<QLabel>(*form_, "Label1")->text(), QString("(  12:   8)"));
    QTest::mouseMove(vesk->Image1(), {14, 8});  // the button is up: nothing painted
    QCOMPARE(vesk->PictureBitmap().Pixel(14, 8), second_.Pixel(14, 8));
  }
  void ZoomAndPan() {
    OpenBoth(300, 200);
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    const auto item = [&](const char* name) { Item(*form_, name)->trigger(); };
    const std::pair<std::function<void()>, const char*> rows[] = {
        // zoom and scroll of the first and the second window
        {[&] { Wheel({10, 10}, 120, {}); }, "256 0,0 | 256 0,0"},
        {[&] { Wheel({40, 30}, 120, Qt::ControlModifier); }, "384 20,15 | 256 0,0"},
        {[&] { Wheel({40, 30}, -120, Qt::ControlModifier); }, "256 6,0 | 256 0,0"},  // at 20,15
        {[&] { item("ZoomIn1"); item("ZoomIn1"); }, "512 142,76 | 256 0,0"},
        {[&] {  // the picture follows the middle button
           QTest::mousePress(Image(1), Qt::MiddleButton, {}, {100, 100});
           QTest::mouseMove(Image(1), {90, 80});
           QTest::mouseRelease(Image(1), Qt::MiddleButton, {}, {90, 80});
           QTest::mouseMove(Image(1), {50, 50});
         },
         "512 152,96 | 256 0,0"},
        {[&] { item("LinkWindows1"); }, "512 152,96 | 512 152,96"},
        {[&] { item("ZoomOut1"); }, "384 83,37 | 384 83,37"},
        {[&] { item("ActualPixels1"); }, "256 14,0 | 256 14,0"},
        {[&] { item("FitWindow1"); }, "222 0,0 | 222 0,0"},
    };
    for (const auto& [act, seen] : rows) {
      act();
      QCOMPARE(View(1) + " | " + View(2), QString(seen));
    }
    QCOMPARE(form_->MeshModel().NodeCount(), size_t{0});  // the middle button made no node
  }
  // Every control the frame depends on asks the preview for a new frame.
  void PreviewFollowsEveryInput() {
    Item(*form_, "Preview")->trigger();
    auto* preview = form_->findChild<TPreviewForm*>("PreviewForm");
    auto* timer = preview->findChild<QTimer*>();
    const auto tick = [&] { QMetaObject::invokeMethod(timer, "timeout"); };
    const auto options = [](QWidget* dialog) {
      QTest::mouseClick(NamedChild<QPushButton>(*dialog, "Button1"), Qt::LeftButton);
    };
    const std::pair<std::function<void()>, const char*> rows[] = {
        // counter, slider, kind | frames asked for | playing
        {[] {}, "First and Second image not open 0..12=0 Morph | 0 | stopped"},
        {[&] { OpenBoth(20, 16); }, "0/12 0..12=0 Morph | 1 | stopped"},
        {[&] { Edit(*form_, "MaxStepButton")->setText("5"); }, "0/5 0..5=0 Morph | 1 | stopped"},
        {[&] { NamedChild<QSlider>(*preview, "FrameSlider")->setValue(3); }, "3/5 0..5=3 Morph | 1 | stopped"},
        {[&] { NamedChild<QComboBox>(*preview, "KindBox")->setCurrentIndex(1); },
         "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { Edit(*form_, "Edit2")->setText("2"); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { ClickAt(1, {4, 4}); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { WhenModalOpens(options); Item(*form_, "Options")->trigger(); },
         "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { QTest::mouseClick(NamedChild<QPushButton>(*preview, "PlayButton"), Qt::LeftButton); tick(); },
         "4/5 0..5=4 Distortion | 1 | &Stop 250"},
        {[&] { NamedChild<QSpinBox>(*preview, "SpeedEdit")->setValue(10); tick(); tick(); },
         "0/5 0..5=0 Distortion | 1 | &Stop 100"},
        {[&] { preview->hide(); Edit(*form_, "MaxStepButton")->setText("6"); },
         "0/5 0..5=0 Distortion | 0 | stopped"},
        {[&] { preview->show(); }, "0/6 0..6=0 Distortion | 1 | stopped"},
    };
    for (const auto& [act, seen] : rows) {
      const std::uint64_t asked = preview->RequestedSerial();
      act();
      QCoreApplication::processEvents();  // the request waits for an idle interface
      auto* slider = NamedChild<QSlider>(*preview, "FrameSlider");
      const QString play = NamedChild<QPushButton>(*preview, "PlayButton")->text();
      QCOMPARE(QString("%1 0..%2=%3 %4 | %5 | %6")
                   .arg(NamedChild<QLabel>(*preview, "FrameLabel")->text()).arg(slider->maximum())
                   .arg(slider->value()).arg(NamedChild<QComboBox>(*preview, "KindBox")->currentText())
                   .arg(preview->RequestedSerial() - asked)
                   .arg(timer->isActive() ? play + " " + QString::number(timer->interval()) : "stopped"),
               QString(seen));
    }
  }
};

QTEST_MAIN(ImageViewsTest)
#include "image_views_test.moc"
