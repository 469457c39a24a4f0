// The Animations command and its load messages; the AVI creator's Create
// (dialog, repaint, counter, messages) and Export Video with its cancel.
#include "app/animation_viewer.h"

#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "app/avi_creator.h"
#include "app/picture_box.h"
#include "app1_support.h"
#include "pictures/image_convert.h"
#include "support/view_checks.h"

class AnimationViewerTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  ScriptedDialogs dialogs_;
  static Color FrameColor(int k) { return MakeColor(40 * k, 255 - 30 * k, 7 * k); }
  QString Frames(int count, QSize size = QSize(16, 12)) {
    return WriteFrameList(
        dir_, count, [=](int k) { return Bitmap(size.width(), size.height(), FrameColor(k)); });
  }
 private slots:
  void init() { dialogs_ = ScriptedDialogs(); }
  void CommandShowsTheViewerModallyOrWhyItCannot() {
    QWidget main;
    dialogs_.open_answers = {std::nullopt};
    RunAnimationsCommand(&main, dialogs_);
    QCOMPARE(dialogs_.filters, QStringList{"Animation Files|*.any|All Files|*.*"});
    const QString list = Frames(3);
    QFile::remove(dir_.filePath("imag3.bmp"));
    dialogs_.open_answers = {QStringList{list}};
    RunAnimationsCommand(&main, dialogs_);  // returns: no viewer to show
    QCOMPARE(dialogs_.messages.back().caption + ": " + dialogs_.messages.back().text,
             QString("Trelvanique: In filelist imag3.bmp not found."));
    Frames(3);
    dialogs_.open_answers = {QStringList{list}};
    bool seen = false;
    WhenModalOpens([&seen](QWidget* modal) {
      auto* viewer = qobject_cast<TAnimaci*>(modal);
      seen = viewer && viewer->Viewer().FrameTotal() == 3;
      Click(*viewer, "BitBtn1");
      QVERIFY(viewer->Viewer().Frames().empty());  // freed at the close
    });
    RunAnimationsCommand(&main, dialogs_);
    QVERIFY(seen);
    QCOMPARE(LastFrameListName(), QFileInfo(list).absoluteFilePath());
    QCOMPARE(dialogs_.messages.size(), size_t{1});
  }
  // Each control of the viewer acts: the counter, the frame slider, the buttons
  // down, the timer (period when running) and the frame shown after each step.
  void ViewerControlsAct() {
    TAnimaci viewer(dialogs_, Frames(3));
    viewer.show();
    auto* timer = NamedChild<QTimer>(viewer, "Timer1");
    const auto shows = [&] {
      const auto* picture = NamedChild<TPictureBox>(viewer, "Image1");
      const int frame = viewer.ShownFrame();
      const bool drawn = frame && picture->Picture() == ToQImage(Bitmap(16, 12, FrameColor(frame)));
      QStringList buttons;
      for (const char* name : {"SpeedButton1", "SpeedButton3", "SpeedButton2"})
        buttons << (NamedChild<QToolButton>(viewer, name)->isChecked() ? "down" : "up");
      return QString("%1 | %2 | %3 | frame %4%5 | ")
                 .arg(NamedChild<QLabel>(viewer, "Label1")->text(),
                      Seen(viewer, "TrackBar2").mid(10), buttons.join(' '))
                 .arg(frame).arg(drawn ? "" : " not drawn") +
             (timer->isActive() ? QString("every %1 ms").arg(timer->interval()) : "stopped") +
             (viewer.isVisible() ? "" : " | closed");
    };
    const auto slide = [&](const char* name, int value) {
      NamedChild<QSlider>(viewer, name)->setValue(value);
    };
    const std::pair<std::function<void()>, const char*> rows[] = {
        // Label1 (counter) | TrackBar2 (frame) | Play, Pause, Next | frame shown | timer
        {[] {}, "1/1 | 1..3=1 | down up up | frame 1 | every 100 ms"},
        {[&] { Click(viewer, "SpeedButton3"); }, "1/1 | 1..3=1 | up down up | frame 1 | stopped"},
        {[&] { Click(viewer, "SpeedButton2"); }, "2/3 | 1..3=2 | up up up | frame 2 | stopped"},
        {[&] { slide("TrackBar2", 3); Click(viewer, "SpeedButton2"); },
         "1/3 | 1..3=1 | up up up | frame 1 | stopped"},
        {[&] { Click(viewer, "CheckBox1"); Click(viewer, "SpeedButton2"); },  // back, at the end
         "1/3 | 1..3=1 | up up up | frame 1 | stopped"},
        {[&] { slide("TrackBar1", 13); Click(viewer, "SpeedButton1"); },
         "1/3 | 1..3=1 | down up up | frame 1 | every 200 ms"},
        {[&] { QMetaObject::invokeMethod(timer, "timeout"); },
         "2/3 | 1..3=2 | down up up | frame 2 | every 200 ms"},
        {[&] {  // the AVI creator over the same list, then the viewer again
           WhenModalOpens([](QWidget* creator) {
             QCOMPARE(static_cast<TAniToolForm*>(creator)->EntryCount(), 3);
             Click(*creator, "BitBtn1");
           });
           Click(viewer, "BitBtn2");
         },
         "2/3 | 1..3=2 | down up up | frame 1 | every 200 ms"},
        {[&] { Click(viewer, "BitBtn1"); },
         "2/3 | 1..3=2 | down up up | frame 0 not drawn | stopped | closed"},
    };
    for (const auto& [act, seen] : rows) {
      act();
      QCOMPARE(shows(), QString(seen));
    }
    TAnimaci large(dialogs_, Frames(1, QSize(300, 150)));  // grows to show the whole frame
    large.show();
    QCOMPARE(large.size(),
             QSize(300 + 10 - TAnimaci::kFrameWidth, 150 + 156 - TAnimaci::kFrameHeight));
  }
  // Each control of the AVI creator acts: the entries, the preview, the status.
  void CreatorControlsAct() {
    TAniToolForm creator(dialogs_, Frames(3));
    creator.show();
    auto* list = NamedChild<QListWidget>(creator, "BitmapListBox");
    const auto shows = [&] {
      QStringList entries;
      for (int i = 0; i < creator.EntryCount(); ++i) {
        entries << QFileInfo(creator.EntryName(i)).fileName();
      }
      const QImage preview = NamedChild<TPictureBox>(creator, "BitmapImage")->Picture();
      int frame = 0;
      for (int k = 1; k <= 4; ++k) {
        if (preview == ToQImage(Bitmap(16, 12, FrameColor(k)))) frame = k;
      }
      return entries.join(' ') + QString(" | preview %1 | ").arg(frame) +
             NamedChild<QStatusBar>(creator, "StatusBar1")->currentMessage() +
             (creator.isVisible() ? "" : " | closed");
    };
    const auto select = [&](int row, QItemSelectionModel::SelectionFlags how) {
      list->setCurrentRow(row, how);
    };
    WriteBmp(dir_.filePath("four.bmp"), Bitmap(16, 12, FrameColor(4)));
    dialogs_.open_answers = {QStringList{dir_.filePath("four.bmp")}};
    const std::pair<std::function<void()>, QString> rows[] = {
        {[] {}, "imag1.bmp imag2.bmp imag3.bmp | preview 0 | "},
        {[&] { Click(creator, "SpeedButton4"); },
         "imag1.bmp imag2.bmp imag3.bmp four.bmp | preview 0 | "},
        {[&] { select(3, QItemSelectionModel::ClearAndSelect); },
         "imag1.bmp imag2.bmp imag3.bmp four.bmp | preview 4 | " + dir_.filePath("four.bmp")},
        {[&] { select(1, QItemSelectionModel::Select); },
         "imag1.bmp imag2.bmp imag3.bmp four.bmp | preview 0 | " + dir_.filePath("four.bmp")},
        {[&] { Click(creator, "SpeedButton3"); }, "imag1.bmp imag3.bmp | preview 0 | "},
        {[&] { select(1, QItemSelectionModel::ClearAndSelect); },
         "imag1.bmp imag3.bmp | preview 3 | imag3.bmp"},
        {[&] { Click(creator, "BitBtn1"); },
         "imag1.bmp imag3.bmp | preview 3 | imag3.bmp | closed"},
    };
    for (const auto& [act, seen] : rows) {
      act();
      QCOMPARE(shows(), seen);
    }
  }
  void AviCreatorCreate() {
    const struct {
      int frames;
      const char* answer;  // none: cancelled
      const char* file;    // written
      const char* message;
    } rows[] = {
        {5, "movie", "movie.avi", ""},  // the default extension is added
        {2, "old.avi", "old.avi", ""},  // replaced without a question
        {0, "none.avi", "", "The frame list holds no frame: no AVI file was written."},
        {2, "no/folder/x.avi", "", "."},
        {2, nullptr, "", ""},
    };
    for (const auto& r : rows) {
      WriteBytes(dir_.filePath("old.avi"), "an old file");
      ScriptedDialogs dialogs;
      TAniToolForm form(dialogs, r.frames ? Frames(r.frames, QSize(4, 2)) : QString());
      form.show();
      form.hide();  // shown again: the list is loaded once, or Create counts twice
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      PaintCounter paints(&form);
      dialogs.save_answers.push_back(r.answer ? std::optional(dir_.filePath(r.answer))
                                              : std::nullopt);
      Click(form, "SpeedButton1");
      QVERIFY(!r.answer || paints.painted.boundingRect() == form.rect());  // the whole window
      QCOMPARE(dialogs.filters + dialogs.titles, (QStringList{"AVI-Files (*.avi)|*.avi", ""}));
      QVERIFY(dialogs.confirmations.empty());
      QCOMPARE(dialogs.messages.size(), size_t{*r.message ? 1u : 0u});
      QVERIFY(!*r.message || dialogs.messages[0].text.endsWith(r.message));
      const QString counted = *r.file ? QString("%1/%1").arg(r.frames) : "";
      QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), counted);
      QFile avi(dir_.filePath(*r.file ? r.file : "x.avi"));
      QVERIFY(!*r.file || (avi.open(QIODevice::ReadOnly) && avi.read(4) == "RIFF"));
      QVERIFY(!QFile::exists(dir_.filePath("none.avi")) && !QFile::exists(dir_.filePath("x.avi")));
    }
  }
  void ExportsOrCancels() {
    for (const bool cancel : {false, true}) {
      QTemporaryDir dir;
      const QString list = WriteFrameList(dir, 3, [](int k) {
        return Bitmap(8 + k, 6, MakeColor(40 * k, 0, 0));  // sizes differ: scaled to the first
      });
      ScriptedDialogs dialogs;
      const QString out = dir.filePath("movie");  // the default extension is added
      dialogs.save_answers.push_back(out);
      dialogs.video_answers.push_back(VideoOptions{});
      TAniToolForm form(dialogs, list);
      form.FormActivate();
      auto* button = NamedChild<QPushButton>(form, "ExportVideoButton");
      // While it runs only its button, then reading Cancel, takes a click.
      const QString controls = "SpeedButton4 | SpeedButton3 | SpeedButton1 | BitBtn1 | "
                               "BitmapListBox | ExportVideoButton";
      QString running;
      QTimer::singleShot(0, button, [&] {
        running = Seen(form, controls);
        if (cancel) button->click();
      });
      form.ExportVideoClick();
      const QString off = "SpeedButton4 off | SpeedButton3 off | SpeedButton1 off | BitBtn1 "
                          "\"&Close\" off | BitmapListBox off | ExportVideoButton \"Cancel\"";
      QCOMPARE(running, off);
      QCOMPARE(Seen(form, controls),
               QString(off).remove(" off").replace("Cancel", "Export &Video..."));
      QCOMPARE(dialogs.filters, QStringList{"MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|"
                                            "*.webm|Animated GIF (*.gif)|*.gif"});
      QCOMPARE(QFile::exists(out + ".mp4"), !cancel);
      QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), cancel ? 4 : 5);
      QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), cancel ? QString() : QString("3/3"));
      QCOMPARE(dialogs.messages.size(), std::size_t{cancel ? 1u : 0u});
      QVERIFY(!cancel ||
              dialogs.messages[0].text == "Export cancelled: no video file was written.");
    }
  }
  void VideoChoiceIsAskedNextFromTheLastOneTaken() {
    dialogs_.save_answers = {dir_.filePath("a.gif"), dir_.filePath("b.mp4"),
                             dir_.filePath("c.mp4")};
    const VideoOptions taken{5, 80, false}, lossless{5, 80, true};
    dialogs_.video_answers = {taken, lossless, std::nullopt};
    TAniToolForm form(dialogs_, Frames(2));
    form.FormActivate();
    // Written; refused (a lossless MP4), and not kept; cancelled at the choice.
    for (int i = 0; i < 3; ++i) form.ExportVideoClick();
    QVERIFY(dialogs_.video_asked.size() == 3 && dialogs_.video_asked[1] == taken &&
            dialogs_.video_asked[2] == taken);
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QVERIFY(dialogs_.messages[0].text.startsWith("Lossless video is written as WebM"));
    QVERIFY(QFile::exists(dir_.filePath("a.gif")) && !QFile::exists(dir_.filePath("b.mp4")));
  }
};

QTEST_MAIN(AnimationViewerTest)
#include "animation_viewer_test.moc"
