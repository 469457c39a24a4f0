// The generation commands from the menu and the tool panel: the frame-list
// dialog, the frames and list written, the Vesk window, the progress window
// and cancelling with its Kancel button.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "app/kancel_form.h"
#include "app1_support.h"
#include "core/effects/colorize.h"
#include "core/generate/frame_list.h"
#include "core/generate/generation_input.h"
#include "core/generate/morph.h"

using namespace vesk;
using namespace vesk::testing;

namespace {

// Collects what an engine shows and writes, for comparison.
class Collect : public RunProtocol {
 public:
  std::vector<Bitmap> written;
  Status WriteFrame(const Bitmap& frame) override {
    written.push_back(frame);
    return Status::Success();
  }
};

QStringList ListLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = f.readAll();
  QStringList lines = QString::fromLatin1(bytes).split("\r\n");
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

Bitmap LoadFrame(const QString& path) {
  auto loaded = LoadBmpFile(path.toStdString());
  if (!loaded) return Bitmap();
  return loaded.Value();
}

// A mesh of two triangles over a w x h picture whose nodes move on the
// second image.
void BuildMovingMesh(Mesh& mesh, int w, int h) {
  mesh.AddNode(0, 0);
  mesh.AddNode(w - 1, 0);
  mesh.AddTriangle(0, h - 1, kFirstImage, 5);
  mesh.AddTriangle(w - 1, h - 1, kFirstImage, 5);
  Mesh::SetPosition(*mesh.SelectedNode(), kSecondImage, w / 2, h / 2);
}

}  // namespace

class GenerationTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  Bitmap first_, second_;

  void OpenBoth(int w, int h) {
    first_ = TestPicture(w, h, 1);
    second_ = TestPicture(w, h, 2);
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(work_->File("first.bmp"), first_));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(work_->File("second.bmp"), second_));
  }
  QString OutDir() const { return work_->File("out"); }
  void AnswerFrameList(const QString& name) {
    dialogs_.save_answers.push_back(QDir(OutDir()).filePath(name));
  }
  Settings With(std::uint16_t frames, std::uint16_t precision, bool equalize) {
    Settings s = form_->CurrentSettings();
    s.FrameCount = frames;
    s.Precision = precision;
    s.Equalize = equalize ? 1 : 0;
    return s;
  }

 private slots:
  void init() {
    StartWindow();
    QDir(work_->Path()).mkdir("out");
  }
  void cleanup() { StopWindow(); }

  void GenerationWithoutBothImagesShowsVeskError() {
    for (const char* item : {"Ombrix1", "Distorsion1", "Colorize1", "SheetGlass",
                             "FlagStreaming1"}) {
      // The commands are disabled; run their handlers directly as a
      // shortcut would if the state were stale.
      dialogs_.messages.clear();
      if (QString(item) == "Ombrix1") form_->Ombrix1Click();
      if (QString(item) == "Distorsion1") form_->Distorsion1Click();
      if (QString(item) == "Colorize1") form_->Colorize1Click();
      if (QString(item) == "SheetGlass") form_->SheetGlassClick();
      if (QString(item) == "FlagStreaming1") form_->FlagStreaming1Click();
      QCOMPARE(dialogs_.messages.size(), size_t{1});
      QCOMPARE(dialogs_.messages[0].caption, QString("Vesk Error"));
      QCOMPARE(dialogs_.messages[0].text, QString("First and Second image not open"));
    }
    QVERIFY(!form_->VeskChild());
    QVERIFY(dialogs_.filters.isEmpty());  // no frame-list dialog
    // Only the first image: morph still refuses, Sheet Glass runs.
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(8, 8, 1)));
    dialogs_.messages.clear();
    form_->Ombrix1Click();
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QVERIFY(!form_->VeskChild());
  }

  void MorphRunWritesFramesAndListPerSchedule() {
    OpenBoth(40, 30);
    BuildMovingMesh(form_->MeshModel(), 40, 30);
    form_->SetSettings(With(4, 1, true));
    AnswerFrameList("run");
    QTest::mouseClick(Button(*form_, "MorphButton"), Qt::LeftButton);
    QCOMPARE(dialogs_.filters.last(), QString("Animation Files|*.any|All Files|*.*"));
    QCOMPARE(dialogs_.messages.size(), size_t{0});
    QCOMPARE(form_->FrameListOpen, std::uint8_t{1});
    // Precision 1, N = 4: the first image, t = 1 .. 3, the second image.
    const QStringList lines = ListLines(QDir(OutDir()).filePath("run.any"));
    QCOMPARE(lines, (QStringList{"imag1.bmp", "imag2.bmp", "imag3.bmp", "imag4.bmp", "imag5.bmp"}));
    QVERIFY(!QFile::exists(QDir(OutDir()).filePath("imag6.bmp")));
    QVERIFY(LoadFrame(QDir(OutDir()).filePath("imag1.bmp")) == first_);
    QVERIFY(LoadFrame(QDir(OutDir()).filePath("imag5.bmp")) == second_);
    // The computed frames are the engine's.
    Collect expected;
    Bitmap vesk;
    QVERIFY(RunMorph(first_, second_, TrianglePositionsOf(form_->MeshModel()),
                     GenerationSetupOf(form_->CurrentSettings()), vesk, expected)
                .Ok());
    QCOMPARE(expected.written.size(), size_t{5});
    for (int i = 1; i <= 3; ++i) {
      QVERIFY2(LoadFrame(QDir(OutDir()).filePath(QString("imag%1.bmp").arg(i + 1))) ==
                   expected.written[static_cast<size_t>(i)],
               qPrintable(QString("frame %1").arg(i + 1)));
    }
    // Afterwards: the Vesk window shows the second image, everything enabled.
    QVERIFY(form_->VeskChild());
    QVERIFY(form_->VeskChild()->GetBitmap() == second_);
    QCOMPARE(form_->VeskChild()->ImageKind, 3);
    QVERIFY(form_->isEnabled());
    QVERIFY(!form_->KancelForm().isVisible());
    QVERIFY(Item(*form_, "SaveVeskImageAs")->isEnabled());
    QCOMPARE(form_->KancelForm().Label1()->text(), QString("3/4"));

    // A second run into the same folder continues the numbering, and its
    // list holds only its own frames; the Vesk window is a new one.
    QPointer<TChildForm> old_vesk = form_->VeskChild();
    form_->SetSettings(With(2, 5, false));
    AnswerFrameList("again.ANY");
    // The main window gets the focus back from the progress window.
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(form_.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(old_vesk.isNull());
    QCOMPARE(ListLines(QDir(OutDir()).filePath("again.ANY")),
             (QStringList{"imag6.bmp", "imag7.bmp", "imag8.bmp"}));
  }

  void CancelledFrameListDialogWritesNothing() {
    OpenBoth(20, 16);
    BuildMovingMesh(form_->MeshModel(), 20, 16);
    form_->SetSettings(With(3, 1, false));
    dialogs_.save_answers.push_back(std::nullopt);
    Item(*form_, "Ombrix1")->trigger();
    QCOMPARE(form_->FrameListOpen, std::uint8_t{0});
    QVERIFY(form_->VeskChild());
    QVERIFY(form_->VeskChild()->GetBitmap() == second_);
    QVERIFY(QDir(OutDir()).entryList(QDir::Files).isEmpty());
    QVERIFY(QDir(work_->Path()).entryList({"imag*"}).isEmpty());
  }

  void KancelButtonInTheMiddleOfARunStopsIt() {
    // Long enough (100 frames of 480 x 360) that the rate-limited message
    // processing runs many times after the third frame is written.
    OpenBoth(480, 360);
    BuildMovingMesh(form_->MeshModel(), 480, 360);
    form_->SetSettings(With(100, 1, false));
    AnswerFrameList("cut.any");
    bool clicked = false;
    bool disabled_during_run = false;
    bool progress_shown = false;
    QTimer poll;
    poll.setInterval(1);
    connect(&poll, &QTimer::timeout, [&] {
      // Click once the third frame file is there: mid-run for certain.
      if (clicked || !QFile::exists(QDir(OutDir()).filePath("imag3.bmp"))) return;
      clicked = true;
      disabled_during_run = !form_->isEnabled();
      progress_shown = form_->KancelForm().isVisible();
      QTest::mouseClick(form_->KancelForm().KancelButton(), Qt::LeftButton);
      QVERIFY(!form_->KancelForm().isVisible());  // hidden at once
    });
    poll.start();
    Item(*form_, "Ombrix1")->trigger();
    poll.stop();
    QVERIFY(clicked);
    QVERIFY(disabled_during_run);
    QVERIFY(progress_shown);
    QCOMPARE(KancelFlag, std::uint8_t{1});
    const QStringList lines = ListLines(QDir(OutDir()).filePath("cut.any"));
    QVERIFY2(lines.size() >= 3 && lines.size() < 101, qPrintable(lines.join(",")));
    // Exactly the listed frames exist: the frame being computed at the
    // cancel was not written.
    QStringList files = QDir(OutDir()).entryList({"imag*.bmp"}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) QCOMPARE(lines[i], QString("imag%1.bmp").arg(i + 1));
    // Precision 1: the Vesk window ends with an unwritten copy of the second
    // image; the main window is usable again.
    QVERIFY(form_->VeskChild()->GetBitmap() == second_);
    QVERIFY(form_->isEnabled());
    QVERIFY(!form_->KancelForm().isVisible());
    QVERIFY(Item(*form_, "Ombrix1")->isEnabled());
    // The next run clears the request before its first poll.
    form_->SetSettings(With(2, 1, false));
    AnswerFrameList("next.any");
    Item(*form_, "Ombrix1")->trigger();
    QCOMPARE(KancelFlag, std::uint8_t{0});
    QCOMPARE(ListLines(QDir(OutDir()).filePath("next.any")).size(), qsizetype{3});
  }

  void FrameThatCannotBeWrittenEndsTheRunCleanly() {
    OpenBoth(20, 16);
    BuildMovingMesh(form_->MeshModel(), 20, 16);
    form_->SetSettings(With(6, 1, false));
    // A folder named like the third frame: that frame cannot be saved.
    QVERIFY(QDir(OutDir()).mkdir("imag3.bmp"));
    AnswerFrameList("io.any");
    Item(*form_, "Ombrix1")->trigger();
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QCOMPARE(dialogs_.messages[0].caption, QString("Trelvanique"));
    QVERIFY(dialogs_.messages[0].text.endsWith('.'));
    QCOMPARE(ListLines(QDir(OutDir()).filePath("io.any")),
             (QStringList{"imag1.bmp", "imag2.bmp"}));
    QVERIFY(form_->isEnabled());
    QVERIFY(!form_->KancelForm().isVisible());
    QVERIFY(Item(*form_, "SaveVeskImageAs")->isEnabled());
  }

  void FrameListThatCannotBeCreatedEndsTheCommandBeforeAnything() {
    OpenBoth(20, 16);
    form_->SetSettings(With(3, 1, false));
    dialogs_.save_answers.push_back(work_->File("missing/folder/x.any"));
    Item(*form_, "Distorsion1")->trigger();
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QVERIFY(!form_->VeskChild());
    QVERIFY(form_->isEnabled());
  }

  void DistortionWritesNPlusOneFramesStartingWithTheFirstImage() {
    OpenBoth(30, 20);
    BuildMovingMesh(form_->MeshModel(), 30, 20);
    form_->SetSettings(With(3, 1, true));
    AnswerFrameList("d");
    QTest::mouseClick(Button(*form_, "DistorsionButton"), Qt::LeftButton);
    const QStringList lines = ListLines(QDir(OutDir()).filePath("d.any"));
    QCOMPARE(lines.size(), qsizetype{4});
    QVERIFY(LoadFrame(QDir(OutDir()).filePath("imag1.bmp")) == first_);
    QVERIFY(form_->VeskChild()->GetBitmap() ==
            LoadFrame(QDir(OutDir()).filePath("imag4.bmp")));
  }

  void ColorizeRaisesAFrameCountOfOneToTwo() {
    OpenBoth(12, 10);
    Edit(*form_, "MaxStepButton")->setText("1");
    QCOMPARE(form_->CurrentSettings().FrameCount, std::uint16_t{1});
    AnswerFrameList("c.any");
    QTest::mouseClick(Button(*form_, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(Edit(*form_, "MaxStepButton")->text(), QString("2"));
    QCOMPARE(form_->CurrentSettings().FrameCount, std::uint16_t{2});
    QCOMPARE(ListLines(QDir(OutDir()).filePath("c.any")).size(), qsizetype{3});
    QVERIFY(LoadFrame(QDir(OutDir()).filePath("imag1.bmp")) == first_);
    QVERIFY(LoadFrame(QDir(OutDir()).filePath("imag3.bmp")) == second_);
    Bitmap half = LoadFrame(QDir(OutDir()).filePath("imag2.bmp"));
    const Color a = first_.Pixel(3, 4), b = second_.Pixel(3, 4);
    QCOMPARE(RedOf(half.Pixel(3, 4)), RedOf(a) + (RedOf(b) - RedOf(a)) / 2);
    QVERIFY(form_->VeskChild()->GetBitmap() == second_);
  }

  void FlagStreamingWritesNFramesOnAWhiteBorder() {
    OpenBoth(30, 20);
    form_->SetSettings(With(4, 1, true));
    AnswerFrameList("f.any");
    Item(*form_, "FlagStreaming1")->trigger();
    const QStringList lines = ListLines(QDir(OutDir()).filePath("f.any"));
    QCOMPARE(lines.size(), qsizetype{4});
    Bitmap frame = LoadFrame(QDir(OutDir()).filePath("imag1.bmp"));
    QCOMPARE(frame.Width(), 30 + 20);
    QCOMPARE(frame.Height(), 20 + 20);
    QCOMPARE(frame.Pixel(0, 0), kWhite);
    QCOMPARE(form_->VeskChild()->GetBitmap().Width(), 50);
  }

  void SheetGlassBeepsAndFollowsTheActiveWindow() {
    OpenBoth(60, 40);
    Settings s = form_->CurrentSettings();
    s.SheetHorzSize = 10;
    s.SheetVertSize = 10;
    form_->SetSettings(s);
    form_->MdiArea()->setActiveSubWindow(form_->SecondChild());
    QTest::mouseClick(Button(*form_, "SheetGlassButton"), Qt::LeftButton);
    QCOMPARE(form_->BeepCount(), 1);
    QVERIFY(dialogs_.filters.isEmpty() || dialogs_.filters.last() != "Animation Files|*.any|All Files|*.*");
    Bitmap result = form_->VeskChild()->GetBitmap();
    QCOMPARE(result.Width(), 60);
    // Column 5 shows source column ((5 + 5) * 50) div 60 = 8 of the second image.
    QCOMPARE(result.Pixel(5, 0), second_.Pixel(8, 0));
    // With the Vesk window active the first image is the source and becomes
    // the active window.
    form_->MdiArea()->setActiveSubWindow(form_->VeskChild());
    Item(*form_, "SheetGlass")->trigger();
    QCOMPARE(form_->ActiveChild() == form_->VeskChild() ||
                 form_->MdiArea()->currentSubWindow() == form_->VeskChild(),
             true);
    QCOMPARE(form_->VeskChild()->GetBitmap().Pixel(5, 0), first_.Pixel(8, 0));
    QCOMPARE(form_->BeepCount(), 2);
  }

  void ProgressWindowAsDesigned() {
    TKancelForm& k = form_->KancelForm();
    QCOMPARE(k.windowTitle(), QString("Process"));
    QCOMPARE(k.size(), QSize(194, 90));
    QVERIFY(k.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!k.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!k.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QCOMPARE(k.ProgressBar1()->geometry(), QRect(7, 7, 182, 13));
    QCOMPARE(k.ProgressBar2()->geometry(), QRect(7, 46, 182, 13));
    QCOMPARE(k.ProgressBar1()->maximum(), 100);
    QCOMPARE(k.Label1()->geometry().right() + 1, 117);
    QCOMPARE(k.Label1()->alignment() & Qt::AlignRight, Qt::AlignRight);
    QCOMPARE(k.KancelButton()->geometry(), QRect(46, 65, 104, 20));
    QCOMPARE(k.KancelButton()->text(), QString("&Kancel"));
    QCOMPARE(k.KancelButton()->toolTip(), QString("Do you want to Kancel ?"));
    QVERIFY(k.KancelButton()->isDefault());
    QCOMPARE(k.ProgressBar1()->objectName(), QString("ProgressBar1"));
    QCOMPARE(k.objectName(), QString("KancelForm"));
  }

  void RunProtocolMovesBarsAndWindowStates() {
    TKancelForm& k = form_->KancelForm();
    KancelFlag = 1;
    int shown = 0;
    KancelRun run(k, *form_, [&](const Bitmap&) { ++shown; }, nullptr);
    run.Begin();
    QCOMPARE(KancelFlag, std::uint8_t{0});
    QVERIFY(k.isVisible());
    QVERIFY(!form_->isEnabled());
    QCOMPARE(k.Label1()->text(), QString());
    run.Counter(3, 12);
    QCOMPARE(k.Label1()->text(), QString("3/12"));
    QCOMPARE(k.ProgressBar2()->value(), 25);
    run.InnerBar(40);
    QCOMPARE(k.ProgressBar1()->value(), 40);
    run.EqualizationBegin();
    QCOMPARE(k.windowTitle(), QString("Equalization"));
    QVERIFY(!k.isEnabled());
    run.EqualizationEnd();
    QCOMPARE(k.windowTitle(), QString("Process"));
    QVERIFY(k.isEnabled());
    QVERIFY(!run.CancelRequested());
    QTest::keyClick(&k, Qt::Key_Escape);  // no effect
    QVERIFY(k.isVisible());
    QVERIFY(!run.CancelRequested());
    QTest::keyClick(k.KancelButton(), Qt::Key_Return);  // Enter: the default button
    QVERIFY(run.CancelRequested());
    QVERIFY(!k.isVisible());
    run.ShowFrame(Bitmap(2, 2));
    QCOMPARE(shown, 1);
    QVERIFY(run.WriteFrame(Bitmap(2, 2)).Ok());  // no writer: keeps nothing
    run.End();
    QVERIFY(form_->isEnabled());
    QCOMPARE(KancelFlag, std::uint8_t{1});  // never reset at the end
  }

  void MessageProcessingIsRateLimited() {
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    ResetMessageClock();
    const auto start = std::chrono::steady_clock::now();
    long calls = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(150)) {
      ProcessMessagesRateLimited();
      ++calls;
    }
    timer.stop();
    QVERIFY(calls > 1000);
    // At most one real processing about every 15 ms (each may run the
    // zero-interval timer a few times).
    QVERIFY2(ticks >= 1 && ticks <= 3 * (150 / 15 + 2), qPrintable(QString::number(ticks)));
  }
};

QTEST_MAIN(GenerationTest)
#include "generation_test.moc"
