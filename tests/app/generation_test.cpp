// The generation commands: each asks for the frame list, writes its frames, fills
// the Vesk window and shows the progress window, which its Kancel button stops.
#include <QPushButton>

#include "app/kancel_form.h"
#include "app1_support.h"

class GenerationTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  QString Out(const QString& name) const { return File("out/" + name); }
  Bitmap Frame(const QString& name) const {
    auto loaded = LoadBmpFile(Out(name).toStdString());
    return loaded.Ok() ? loaded.Value() : Bitmap();
  }
  void ExpectRunEnded() {
    QVERIFY(form_->isEnabled() && !form_->KancelForm().isVisible());
    QVERIFY(Item(*form_, "SaveVeskImageAs")->isEnabled());
  }
 private slots:
  void init() {
    StartWindow();
    QDir(work_->path()).mkdir("out");
  }
  void cleanup() { StopWindow(); }
  void WithoutBothImagesMorphsRefuse() {
    form_->Colorize1Click();  // as a stale shortcut would
    form_->SheetGlassClick();
    QCOMPARE(Shown(), QStringList(2, "Vesk Error: First and Second image not open"));
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(8, 8, 1)));
    form_->SheetGlassClick();  // on the first image; its end is heard
    TChildForm* glass = form_->VeskChild();
    QVERIFY(form_->BeepCount() == 1 && glass);
    form_->Ombrix1Click();  // refused: the Vesk window stays
    QVERIFY(Shown().size() == 3 && form_->VeskChild() == glass);
    QCOMPARE(dialogs_.filters.size(), 1);  // only the image's: no frame-list dialog
  }
  void CommandsWriteTheirFrames() {
    const struct {
      const char* button;
      int frames, shown, listed;
      QSize size;
      bool starts_with_first;
    } rows[] = {{"MorphButton", 4, 4, 5, QSize(30, 20), true},
                {"DistorsionButton", 3, 3, 4, QSize(30, 20), true},
                {"BitBtn1", 1, 2, 3, QSize(30, 20), true},       // Colorize raises 1 to 2
                {"FlagButton", 4, 4, 4, QSize(50, 40), false}};  // on a white border
    for (const auto& r : rows) {
      StopWindow();
      init();
      OpenBothWithGrid(30, 20);
      SetFrameCount(12);
      Edit(*form_, "MaxStepButton")->setText(QString::number(r.frames));
      dialogs_.save_answers.push_back(Out("run"));  // the extension is added
      Click(*form_, r.button);
      QCOMPARE(dialogs_.filters.last(), QString("Animation Files|*.any|All Files|*.*"));
      QCOMPARE(Shown(), QStringList());
      const QStringList lines = ListLines(Out("run.any"));
      QVERIFY2(lines.size() == r.listed && lines[0] == "imag1.bmp", r.button);
      QCOMPARE(Edit(*form_, "MaxStepButton")->text(), QString::number(r.shown));
      const Bitmap first_frame = Frame("imag1.bmp");
      QCOMPARE(QSize(first_frame.Width(), first_frame.Height()), r.size);
      QVERIFY2((first_frame == first_) == r.starts_with_first, r.button);
      QVERIFY(form_->VeskChild()->GetBitmap() == Frame(lines.last()));  // the last frame
      QCOMPARE(form_->VeskChild()->ImageKind, 3);
      ExpectRunEnded();
    }
  }
  void KancelButtonInTheMiddleOfARunStopsIt() {
    // 100 frames of 480 x 360: the run is far from done at the third frame.
    OpenBothWithGrid(480, 360);
    SetFrameCount(100);
    dialogs_.save_answers.push_back(Out("cut.any"));
    bool clicked = false, disabled = false, progress_shown = false;
    QTimer poll;
    poll.setInterval(1);
    connect(&poll, &QTimer::timeout, [&] {
      if (clicked || !QFile::exists(Out("imag3.bmp"))) return;
      clicked = true;
      disabled = !form_->isEnabled();
      progress_shown = form_->KancelForm().isVisible();
      QTest::mouseClick(form_->KancelForm().KancelButton(), Qt::LeftButton);
    });
    poll.start();
    Run("Ombrix1");
    poll.stop();
    QVERIFY(clicked && disabled && progress_shown);
    QCOMPARE(KancelFlag, std::uint8_t{1});
    const QStringList lines = ListLines(Out("cut.any"));
    QVERIFY2(lines.size() >= 3 && lines.size() < 101, qPrintable(lines.join(",")));
    QCOMPARE(QDir(File("out")).entryList({"imag*.bmp"}).size(), lines.size());
    QVERIFY(form_->VeskChild()->GetBitmap() == second_);
    ExpectRunEnded();
  }
};

QTEST_MAIN(GenerationTest)
#include "generation_test.moc"
