// The Animations command and the viewer window on the offscreen platform:
// loading and its messages, the tick, the button group, the speed slider,
// the window's growth and the AVI creator opened from it.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "app/animation_viewer.h"
#include "app/avi_creator.h"
#include "app/picture_box.h"
#include "core/image/bmp_codec.h"
#include "frame_list_files.h"
#include "support/scripted_dialogs.h"

using namespace vesk;
using vesk::testing::NamedChild;

namespace {

Color FrameColor(int k) { return MakeColor(40 * k, 255 - 30 * k, 7 * k); }

// Frames of one colour each, frame k in FrameColor(k).
QString WriteFrames(const QTemporaryDir& dir, int count, int width = 16, int height = 12) {
  return testing::WriteFrameList(dir, count,
                                 [=](int k) { return Bitmap(width, height, FrameColor(k)); });
}

// A viewer shown on a fresh list of `count` frames.
struct ShownViewer {
  explicit ShownViewer(int count) : viewer(dialogs, WriteFrames(dir, count)) { viewer.show(); }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  TAnimaci viewer;
};

// The messages shown by a viewer made on `list`, which must refuse to load
// it and keep no frame ("loaded" stands first when it did not refuse).
QStringList RefusedLoadMessages(const QString& list) {
  ScriptedDialogs dialogs;
  TAnimaci viewer(dialogs, list);
  QStringList texts;
  if (!viewer.LoadFailed() || !viewer.Viewer().Frames().empty()) texts << "loaded";
  for (const ScriptedDialogs::Shown& shown : dialogs.messages) texts << shown.text;
  return texts;
}

// Runs `step` once the next modal dialog is open.
void WhenModalOpens(std::function<void(QWidget*)> step) {
  QTimer::singleShot(0, [step] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) qFatal("no modal dialog");
    step(modal);
  });
}

}  // namespace

class AnimationViewerTest : public QObject {
  Q_OBJECT

 private:
  QList<int> Ticks(TAnimaci& viewer, int n) {
    QList<int> shown;
    for (int i = 0; i < n; ++i) {
      viewer.Timer1Timer();
      shown << viewer.ShownFrame();
    }
    return shown;
  }

 private slots:
  void DesignedControls() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAnimaci viewer(dialogs, WriteFrames(dir, 2));
    QCOMPARE(viewer.windowTitle(), QString("Animation viewer"));
    QCOMPARE(NamedChild<QLabel>(viewer, "Label2")->text(), QString("Speed:"));
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar1")->toolTip(), QString("Replay speed"));
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar1")->minimum(), 1);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar1")->maximum(), 15);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar1")->value(), 12);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar2")->toolTip(), QString("Frame number"));
    QCOMPARE(NamedChild<QToolButton>(viewer, "SpeedButton1")->toolTip(), QString("Play"));
    QCOMPARE(NamedChild<QToolButton>(viewer, "SpeedButton3")->toolTip(), QString("Pause"));
    QCOMPARE(NamedChild<QToolButton>(viewer, "SpeedButton2")->toolTip(),
             QString("Play next frame"));
    QCOMPARE(NamedChild<QPushButton>(viewer, "BitBtn1")->toolTip(),
             QString("Close this dialog box"));
    QCOMPARE(NamedChild<QPushButton>(viewer, "BitBtn2")->text(), QString("Create &Avi"));
    QCOMPARE(NamedChild<QPushButton>(viewer, "BitBtn2")->toolTip(),
             QString("Create AVI file from this animation"));
    QCOMPARE(NamedChild<QCheckBox>(viewer, "CheckBox1")->text(), QString("Back && Forth"));
    QVERIFY(!NamedChild<QCheckBox>(viewer, "CheckBox1")->isChecked());
    QCOMPARE(NamedChild<TPictureBox>(viewer, "Image1")->toolTip(),
             QString("This is a animation !!!"));
    QCOMPARE(NamedChild<TPictureBox>(viewer, "Image1")->y(), 104);
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("1/1"));
  }

  void LoadingStartsPlaybackWithPlayDown() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAnimaci viewer(dialogs, WriteFrames(dir, 4));
    QVERIFY(!viewer.LoadFailed());
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QCOMPARE(viewer.Viewer().FrameTotal(), 4);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar2")->minimum(), 1);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar2")->maximum(), 4);
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar2")->value(), 1);
    QVERIFY(NamedChild<QToolButton>(viewer, "SpeedButton1")->isChecked());
    auto* timer = NamedChild<QTimer>(viewer, "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 100);
  }

  void ActivationShowsFrameOneAndTheFirstTickFrameTwo() {
    ShownViewer shown(4);
    TAnimaci& viewer = shown.viewer;
    QCOMPARE(viewer.ShownFrame(), 1);
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("1/1"));
    auto* image = NamedChild<TPictureBox>(viewer, "Image1");
    QCOMPARE(image->size(), QSize(16, 12));
    QCOMPARE(image->Picture().pixel(3, 3), QColor(40, 225, 7).rgb());
    viewer.Timer1Timer();
    QCOMPARE(viewer.ShownFrame(), 2);
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("2/4"));
    QCOMPARE(NamedChild<QSlider>(viewer, "TrackBar2")->value(), 2);
    QCOMPARE(image->Picture().pixel(0, 0), QColor(80, 195, 14).rgb());
    QCOMPARE(image->grab().toImage().pixel(5, 5), QColor(80, 195, 14).rgb());
  }

  void ForwardSequenceWraps() {
    ShownViewer shown(4);
    TAnimaci& viewer = shown.viewer;
    QCOMPARE(Ticks(viewer, 8), (QList<int>{2, 3, 4, 1, 2, 3, 4, 1}));
  }

  void BackAndForthShowsTheEndFramesTwice() {
    ShownViewer shown(4);
    TAnimaci& viewer = shown.viewer;
    // Checking the box at frame 1 turns backward: the turn at 1 shows 1.
    QTest::mouseClick(NamedChild<QCheckBox>(viewer, "CheckBox1"), Qt::LeftButton, {},
                      QPoint(5, NamedChild<QCheckBox>(viewer, "CheckBox1")->height() / 2));
    QVERIFY(NamedChild<QCheckBox>(viewer, "CheckBox1")->isChecked());
    QCOMPARE(viewer.Viewer().Step(), -1);
    QCOMPARE(Ticks(viewer, 12), (QList<int>{1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4}));
  }

  void CheckingInTheMiddleReversesAtOnce() {
    ShownViewer shown(5);
    TAnimaci& viewer = shown.viewer;
    QCOMPARE(Ticks(viewer, 2), (QList<int>{2, 3}));
    NamedChild<QCheckBox>(viewer, "CheckBox1")->click();
    QCOMPARE(Ticks(viewer, 3), (QList<int>{2, 1, 1}));
    NamedChild<QCheckBox>(viewer, "CheckBox1")->click();
    QCOMPARE(viewer.Viewer().Step(), 1);
    QCOMPARE(Ticks(viewer, 1), (QList<int>{2}));
  }

  void OneFrameStaysOneOfOne() {
    ShownViewer shown(1);
    TAnimaci& viewer = shown.viewer;
    QCOMPARE(Ticks(viewer, 3), (QList<int>{1, 1, 1}));
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("1/1"));
    NamedChild<QCheckBox>(viewer, "CheckBox1")->click();
    QCOMPARE(Ticks(viewer, 3), (QList<int>{1, 1, 1}));
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("1/1"));
  }

  void DraggingTheFrameSliderMovesThePlayback() {
    ShownViewer shown(6);
    TAnimaci& viewer = shown.viewer;
    NamedChild<QSlider>(viewer, "TrackBar2")->setValue(4);
    QCOMPARE(Ticks(viewer, 1), (QList<int>{5}));
  }

  void PauseTwiceResumesWithPlayDown() {
    ShownViewer shown(3);
    TAnimaci& viewer = shown.viewer;
    auto* play = NamedChild<QToolButton>(viewer, "SpeedButton1");
    auto* pause = NamedChild<QToolButton>(viewer, "SpeedButton3");
    auto* timer = NamedChild<QTimer>(viewer, "Timer1");
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(pause->isChecked());
    QVERIFY(!play->isChecked());
    QVERIFY(!timer->isActive());
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(!pause->isChecked());
    QVERIFY(play->isChecked());
    QVERIFY(timer->isActive());
  }

  void PlayWhileDownReleasesButKeepsPlaying() {
    ShownViewer shown(3);
    TAnimaci& viewer = shown.viewer;
    auto* play = NamedChild<QToolButton>(viewer, "SpeedButton1");
    QTest::mouseClick(play, Qt::LeftButton);
    QVERIFY(!play->isChecked());
    QVERIFY(!NamedChild<QToolButton>(viewer, "SpeedButton3")->isChecked());
    QVERIFY(!NamedChild<QToolButton>(viewer, "SpeedButton2")->isChecked());
    QVERIFY(NamedChild<QTimer>(viewer, "Timer1")->isActive());
  }

  void PlayNextFrameStepsBackwardWhenRunningBackward() {
    ShownViewer shown(5);
    TAnimaci& viewer = shown.viewer;
    QCOMPARE(Ticks(viewer, 3), (QList<int>{2, 3, 4}));
    NamedChild<QCheckBox>(viewer, "CheckBox1")->click();
    auto* next = NamedChild<QToolButton>(viewer, "SpeedButton2");
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(viewer.ShownFrame(), 3);
    QCOMPARE(NamedChild<QLabel>(viewer, "Label1")->text(), QString("3/5"));
    QVERIFY(!next->isChecked());
    QVERIFY(!NamedChild<QToolButton>(viewer, "SpeedButton1")->isChecked());
    QVERIFY(!NamedChild<QTimer>(viewer, "Timer1")->isActive());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(viewer.ShownFrame(), 2);
  }

  void SpeedSliderSetsThePeriod() {
    ShownViewer shown(2);
    TAnimaci& viewer = shown.viewer;
    auto* speed = NamedChild<QSlider>(viewer, "TrackBar1");
    auto* timer = NamedChild<QTimer>(viewer, "Timer1");
    QCOMPARE(timer->interval(), 100);  // designed period until the slider moves
    speed->setValue(15);
    QCOMPARE(timer->interval(), 1);
    speed->setValue(1);
    QCOMPARE(timer->interval(), 1400);
    speed->setValue(14);
    QCOMPARE(timer->interval(), 100);
    speed->setValue(12);
    QCOMPARE(timer->interval(), 300);
    QVERIFY(timer->isActive());
  }

  void TheTimerPlaysOnItsOwn() {
    ShownViewer shown(3);
    TAnimaci& viewer = shown.viewer;
    NamedChild<QSlider>(viewer, "TrackBar1")->setValue(15);
    QTRY_COMPARE_WITH_TIMEOUT(viewer.ShownFrame(), 3, 3000);
  }

  void LargeFrameGrowsTheWindowSmallOneLeavesIt() {
    QTemporaryDir small_dir, large_dir;
    ScriptedDialogs dialogs;
    TAnimaci small(dialogs, WriteFrames(small_dir, 2, 16, 12));
    small.show();
    QCOMPARE(small.size(), QSize(189 - 8, 265 - 27));
    TAnimaci large(dialogs, WriteFrames(large_dir, 2, 300, 200));
    large.show();
    QCOMPARE(large.size(), QSize(300 + 10 - 8, 200 + 156 - 27));
    // Only the width needs to grow for a wide, flat frame.
    QTemporaryDir wide_dir;
    TAnimaci wide(dialogs, WriteFrames(wide_dir, 1, 250, 20));
    wide.show();
    QCOMPARE(wide.size(), QSize(250 + 10 - 8, 265 - 27));
  }

  void MissingThirdFrameGivesOneMessageAndNoViewer() {
    QTemporaryDir dir;
    const QString list = WriteFrames(dir, 4);
    QFile::remove(dir.filePath("imag3.bmp"));
    ScriptedDialogs dialogs;
    TAnimaci viewer(dialogs, list);
    QVERIFY(viewer.LoadFailed());
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("In filelist imag3.bmp not found."));
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QVERIFY(viewer.Viewer().Frames().empty());
    viewer.Timer1Timer();
    QCOMPARE(viewer.ShownFrame(), 0);
  }

  void EmptyLineGivesTheMessageWithAnEmptyName() {
    QTemporaryDir dir;
    const QString list = WriteFrames(dir, 2);
    testing::WriteBytes(list, "\r\n", QIODevice::Append);
    QCOMPARE(RefusedLoadMessages(list), QStringList{"In filelist  not found."});
  }

  void FrameThatIsNoBitmapGivesTheLoadersMessage() {
    QTemporaryDir dir;
    const QString list = WriteFrames(dir, 3);
    testing::WriteBytes(dir.filePath("imag2.bmp"), "not a bitmap at all");
    QCOMPARE(RefusedLoadMessages(list), QStringList{"Bitmap image is not valid."});
  }

  void CommandAsksForTheListAndShowsNothingOnCancel() {
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(std::nullopt);
    QWidget main;
    RunAnimationsCommand(&main, dialogs);
    QCOMPARE(dialogs.filters, QStringList{"Animation Files|*.any|All Files|*.*"});
    QCOMPARE(dialogs.titles, QStringList{QString()});  // the platform's own title
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QCOMPARE(dialogs.unexpected, 0);
  }

  void CommandWithAMissingFrameShowsNoViewer() {
    QTemporaryDir dir;
    const QString list = WriteFrames(dir, 3);
    QFile::remove(dir.filePath("imag1.bmp"));
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(QStringList{list});
    QWidget main;
    RunAnimationsCommand(&main, dialogs);  // returns: no modal viewer was shown
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("In filelist imag1.bmp not found."));
  }

  void CommandShowsTheViewerModallyAndFreesTheFramesAtClose() {
    QTemporaryDir dir;
    const QString list = WriteFrames(dir, 3);
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(QStringList{list});
    QWidget main;
    bool seen = false;
    WhenModalOpens([&seen](QWidget* modal) {
      auto* viewer = qobject_cast<TAnimaci*>(modal);
      QVERIFY(viewer != nullptr);
      seen = true;
      QCOMPARE(viewer->ShownFrame(), 1);
      QCOMPARE(viewer->Viewer().FrameTotal(), 3);
      QTest::mouseClick(viewer->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
      QVERIFY(viewer->Viewer().Frames().empty());
    });
    RunAnimationsCommand(&main, dialogs);
    QVERIFY(seen);
    QCOMPARE(LastFrameListName(), QFileInfo(list).absoluteFilePath());
    QCOMPARE(QDir::currentPath(), QFileInfo(list).absolutePath());
  }

  void CreateAviOpensTheCreatorOnTheSameList() {
    ShownViewer shown(4);
    TAnimaci& viewer = shown.viewer;
    viewer.Timer1Timer();
    int entries = -1;
    QString title;
    WhenModalOpens([&](QWidget* modal) {
      auto* creator = qobject_cast<TAniToolForm*>(modal);
      QVERIFY(creator != nullptr);
      title = creator->windowTitle();
      entries = creator->EntryCount();
      creator->close();
    });
    QTest::mouseClick(NamedChild<QPushButton>(viewer, "BitBtn2"), Qt::LeftButton);
    QCOMPARE(title, QString("VeskTrelvanique Avi Creator"));
    QCOMPARE(entries, 4);
    // Back in the viewer, which is activated again and keeps playing.
    QCOMPARE(viewer.ShownFrame(), 1);
    QVERIFY(NamedChild<QTimer>(viewer, "Timer1")->isActive());
  }
};

QTEST_MAIN(AnimationViewerTest)
#include "animation_viewer_test.moc"
