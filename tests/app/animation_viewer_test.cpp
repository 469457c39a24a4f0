// The Animations command and its load messages; the AVI creator's Create
// (dialog, repaint, counter, messages) and Export Video with its cancel.
#include "app/animation_viewer.h"

#include <QPushButton>

#include "app/avi_creator.h"
#include "app1_support.h"
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
      QCOMPARE(button->text(), QString("Export &Video..."));
      if (cancel) QTimer::singleShot(0, button, &QPushButton::click);  // pressed while it runs
      form.ExportVideoClick();
      QCOMPARE(dialogs.filters, QStringList{"MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|"
                                            "*.webm|Animated GIF (*.gif)|*.gif"});
      QCOMPARE(QFile::exists(out + ".mp4"), !cancel);
      QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), cancel ? 4 : 5);
      QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), cancel ? QString() : QString("3/3"));
      QCOMPARE(dialogs.messages.size(), std::size_t{cancel ? 1u : 0u});
      QVERIFY(!cancel ||
              dialogs.messages[0].text == "Export cancelled: no video file was written.");
      QCOMPARE(button->text(), QString("Export &Video..."));
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
