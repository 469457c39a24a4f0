// The AVI creator on the offscreen platform: the frame list filled at
// activation, Add, Remove, the preview, and the AVI file written, read back
// by a RIFF walker written apart from the writer and, where installed, by
// ffprobe.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "../core/animation/riff_walker.h"
#include "app/avi_creator.h"
#include "app/picture_box.h"
#include "core/image/bmp_codec.h"
#include "frame_list_files.h"
#include "support/scripted_dialogs.h"

using namespace vesk;
using vesk::testing::NamedChild;
using namespace vesk::testing_riff;

namespace {

// Frame k: a gradient that differs in every pixel and from frame to frame.
Bitmap MakeFrame(int k, int width, int height) {
  Bitmap frame(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) frame.SetPixel(x, y, MakeColor(10 * k + x, 5 * y, 255 - k));
  }
  return frame;
}

QString WriteFrames(const QTemporaryDir& dir, int count, int width = 16, int height = 16) {
  return testing::WriteFrameList(dir, count, [=](int k) { return MakeFrame(k, width, height); });
}

// Records the texts a label showed each time it was painted.
class PaintedTexts : public QObject {
 public:
  explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
  QStringList texts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Paint) {
      const QString text = label_->text();
      if (!text.isEmpty() && (texts.isEmpty() || texts.last() != text)) texts << text;
    }
    return false;
  }

 private:
  QLabel* label_;
};

// The 24-bit bottom-up rows of a frame as the AVI holds them.
QByteArray DibPixels(const Bitmap& frame) {
  const int row_bytes = (frame.Width() * 3 + 3) / 4 * 4;
  QByteArray out(row_bytes * frame.Height(), '\0');
  for (int y = 0; y < frame.Height(); ++y) {
    char* row = out.data() + static_cast<qsizetype>(frame.Height() - 1 - y) * row_bytes;
    for (int x = 0; x < frame.Width(); ++x) {
      const Color c = frame.Pixel(x, y);
      row[3 * x] = static_cast<char>(BlueOf(c));
      row[3 * x + 1] = static_cast<char>(GreenOf(c));
      row[3 * x + 2] = static_cast<char>(RedOf(c));
    }
  }
  return out;
}

}  // namespace

class AviCreatorTest : public QObject {
  Q_OBJECT

 private slots:
  void DesignedControls() {
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, QString());
    QCOMPARE(form.windowTitle(), QString("VeskTrelvanique Avi Creator"));
    QCOMPARE(NamedChild<QToolButton>(form, "SpeedButton4")->toolTip(),
             QString("Add bitmap to frame list"));
    QCOMPARE(NamedChild<QToolButton>(form, "SpeedButton3")->toolTip(),
             QString("Remove bitmap(s) from frame list"));
    QCOMPARE(NamedChild<QToolButton>(form, "SpeedButton1")->toolTip(),
             QString("Create AVI file from frame list"));
    QCOMPARE(NamedChild<QWidget>(form, "BitBtn1")->toolTip(), QString("Close this dialog box"));
    QCOMPARE(NamedChild<QListWidget>(form, "BitmapListBox")->toolTip(),
             QString("This is a frame list"));
    QCOMPARE(NamedChild<QListWidget>(form, "BitmapListBox")->width(), 321);
    QCOMPARE(NamedChild<QListWidget>(form, "BitmapListBox")->selectionMode(),
             QAbstractItemView::ExtendedSelection);
    QCOMPARE(NamedChild<TPictureBox>(form, "BitmapImage")->toolTip(), QString("this is a frame"));
    QCOMPARE(NamedChild<QWidget>(form, "Panel1")->height(), 33);
    QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), QString());
  }

  void ActivationAppendsTheListEveryTime() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, WriteFrames(dir, 3));
    form.show();
    QCOMPARE(form.EntryCount(), 3);
    QCOMPARE(form.EntryName(0), QString("imag1.bmp"));
    QCOMPARE(form.EntryName(2), QString("imag3.bmp"));
    QVERIFY(form.EntryBitmap(1) == MakeFrame(2, 16, 16));
    form.FormActivate();
    QCOMPARE(form.EntryCount(), 6);
    QCOMPARE(form.EntryName(3), QString("imag1.bmp"));
  }

  void AddAppendsEveryChosenFileInOrder() {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp"), b = dir.filePath("b.bmp");
    QVERIFY(SaveBmpFile(a.toStdString(), MakeFrame(7, 5, 4)).Ok());
    QVERIFY(SaveBmpFile(b.toStdString(), MakeFrame(8, 6, 3)).Ok());
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(QStringList{b, a});
    TAniToolForm form(dialogs, QString());
    form.show();
    QTest::mouseClick(NamedChild<QToolButton>(form, "SpeedButton4"), Qt::LeftButton);
    QCOMPARE(dialogs.titles, QStringList{"Add Bitmap"});
    QCOMPARE(dialogs.filters, QStringList{"Bitmaps|*.bmp|Icons|*.ico"});
    QCOMPARE(form.EntryCount(), 2);
    QCOMPARE(form.EntryName(0), b);
    QCOMPARE(form.EntryName(1), a);
    QVERIFY(form.EntryBitmap(1) == MakeFrame(7, 5, 4));
  }

  void AddStopsAtAFileThatIsNoBitmap() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp"), icon = dir.filePath("x.ico"),
                  after = dir.filePath("after.bmp");
    QVERIFY(SaveBmpFile(good.toStdString(), MakeFrame(1, 4, 4)).Ok());
    QVERIFY(SaveBmpFile(after.toStdString(), MakeFrame(2, 4, 4)).Ok());
    testing::WriteBytes(icon, QByteArray("\0\0\1\0\1\0", 6));
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(QStringList{good, icon, after});
    TAniToolForm form(dialogs, QString());
    form.SpeedButton4Click();
    QCOMPARE(form.EntryCount(), 1);
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("Bitmap image is not valid."));
  }

  void RemovingThreeSelectedOfSixKeepsTheOthersInOrder() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, WriteFrames(dir, 6));
    form.show();
    auto* list = NamedChild<QListWidget>(form, "BitmapListBox");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    auto* status = NamedChild<QStatusBar>(form, "StatusBar1");
    QCOMPARE(status->currentMessage(), QString("imag2.bmp"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(2)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(4)).center());
    QCOMPARE(list->selectedItems().size(), qsizetype{3});
    QTest::mouseClick(NamedChild<QToolButton>(form, "SpeedButton3"), Qt::LeftButton);
    QCOMPARE(form.EntryCount(), 3);
    QCOMPARE(form.EntryName(0), QString("imag1.bmp"));
    QCOMPARE(form.EntryName(1), QString("imag4.bmp"));
    QCOMPARE(form.EntryName(2), QString("imag6.bmp"));
    QVERIFY(form.EntryBitmap(1) == MakeFrame(4, 16, 16));
    QVERIFY(form.EntryBitmap(2) == MakeFrame(6, 16, 16));
    QCOMPARE(status->currentMessage(), QString());
  }

  void PreviewShowsOneEntryStretchedAndNoneForTwo() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, WriteFrames(dir, 3, 4, 2));
    form.show();
    auto* list = NamedChild<QListWidget>(form, "BitmapListBox");
    auto* preview = NamedChild<TPictureBox>(form, "BitmapImage");
    QVERIFY(preview->Empty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    QVERIFY(!preview->Empty());
    QCOMPARE(NamedChild<QStatusBar>(form, "StatusBar1")->currentMessage(), QString("imag3.bmp"));
    // Stretched: the 4 x 2 frame fills the control; its top-left pixel
    // covers the control's top-left quarter.
    QImage shown = preview->grab().toImage();
    const Color c = MakeFrame(3, 4, 2).Pixel(0, 0);
    QCOMPARE(shown.pixel(2, 2), QColor(RedOf(c), GreenOf(c), BlueOf(c)).rgb());
    const Color last = MakeFrame(3, 4, 2).Pixel(3, 1);
    QCOMPARE(shown.pixel(shown.width() - 3, shown.height() - 3),
             QColor(RedOf(last), GreenOf(last), BlueOf(last)).rgb());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    QVERIFY(preview->Empty());
  }

  void CreateWritesEveryEntryAndLeavesTheCounterAtFiveOfFive() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, WriteFrames(dir, 5, 3, 2));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString avi = dir.filePath("movie");  // the default extension is added
    dialogs.save_answers.push_back(avi);
    PaintedTexts painted(NamedChild<QLabel>(form, "Label1"));
    QTest::mouseClick(NamedChild<QToolButton>(form, "SpeedButton1"), Qt::LeftButton);
    QCOMPARE(dialogs.filters, QStringList{"AVI-Files (*.avi)|*.avi"});
    QCOMPARE(dialogs.titles, QStringList{QString()});  // the platform's own title
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), QString("5/5"));
    QCOMPARE(painted.texts, (QStringList{"1/5", "2/5", "3/5", "4/5", "5/5"}));

    // Read back: one video stream, rate 2 per scale 1, 24-bit frames of
    // 12-byte rows (3 pixels padded), every sample a key frame.
    const std::vector<std::uint8_t> bytes = ReadBytes((avi + ".avi").toStdString());
    RiffChunk root;
    std::string error;
    QVERIFY2(WalkRiff(bytes, root, error), error.c_str());
    QCOMPARE(root.list_type, std::string("AVI "));
    const RiffChunk* strl = root.Child("hdrl")->Child("strl");
    QVERIFY(strl != nullptr);
    const RiffChunk* strh = strl->Child("strh");
    QCOMPARE(Id(bytes, strh->data_offset), std::string("vids"));
    QCOMPARE(U32(bytes, strh->data_offset + 20), 1u);  // dwScale
    QCOMPARE(U32(bytes, strh->data_offset + 24), 2u);  // dwRate
    const RiffChunk* strf = strl->Child("strf");
    QCOMPARE(strf->size, 40u);
    QCOMPARE(U16(bytes, strf->data_offset + 14), std::uint16_t{24});
    QCOMPARE(U32(bytes, strf->data_offset + 20), 24u);  // biSizeImage = 12 x 2
    const RiffChunk* movi = root.Child("movi");
    QVERIFY(movi != nullptr);
    QCOMPARE(movi->children.size(), std::size_t{5});
    for (int k = 0; k < 5; ++k) {
      const RiffChunk& sample = movi->children[static_cast<std::size_t>(k)];
      QCOMPARE(sample.size, 24u);
      QByteArray data(reinterpret_cast<const char*>(bytes.data() + sample.data_offset), 24);
      QCOMPARE(data, DibPixels(form.EntryBitmap(k)));
    }
    const RiffChunk* idx1 = root.Child("idx1");
    QVERIFY(idx1 != nullptr);
    QCOMPARE(idx1->size, 5u * 16u);
    for (int k = 0; k < 5; ++k) QCOMPARE(U32(bytes, idx1->data_offset + 16 * k + 4), 0x10u);
  }

  void FfprobeReadsTheFile() {
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffprobe.isEmpty()) QSKIP("ffprobe is not installed");
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, WriteFrames(dir, 24, 16, 16));
    form.show();
    const QString avi = dir.filePath("movie.avi");
    dialogs.save_answers.push_back(avi);
    form.SpeedButton1Click();
    QProcess probe;
    probe.start(ffprobe, {"-v", "error", "-count_frames", "-select_streams", "v:0",
                          "-show_entries",
                          "stream=codec_name,width,height,r_frame_rate,nb_read_frames,pix_fmt",
                          "-of", "default=noprint_wrappers=1", avi});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    QVERIFY2(out.contains("codec_name=rawvideo"), qPrintable(out));
    QVERIFY2(out.contains("width=16"), qPrintable(out));
    QVERIFY2(out.contains("height=16"), qPrintable(out));
    QVERIFY2(out.contains("r_frame_rate=2/1"), qPrintable(out));
    QVERIFY2(out.contains("nb_read_frames=24"), qPrintable(out));
    QVERIFY2(out.contains("pix_fmt=bgr24"), qPrintable(out));
  }

  void ExistingFileIsReplacedWithoutAQuestion() {
    QTemporaryDir dir;
    const QString avi = dir.filePath("old.avi");
    testing::WriteBytes(avi, "an old file");
    ScriptedDialogs dialogs;
    dialogs.save_answers.push_back(avi);
    TAniToolForm form(dialogs, WriteFrames(dir, 2, 4, 4));
    form.show();
    form.SpeedButton1Click();
    QCOMPARE(dialogs.confirmations.size(), std::size_t{0});
    QCOMPARE(ReadBytes(avi.toStdString()).size() > 100, true);
    QCOMPARE(Id(ReadBytes(avi.toStdString()), 0), std::string("RIFF"));
  }

  void EmptyListWritesNothingAndSaysSo() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString avi = dir.filePath("none.avi");
    dialogs.save_answers.push_back(avi);
    TAniToolForm form(dialogs, QString());
    form.show();
    form.SpeedButton1Click();
    QVERIFY(!QFile::exists(avi));
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].text,
             QString("The frame list holds no frame: no AVI file was written."));
  }

  void CancelledSaveWritesNothing() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.save_answers.push_back(std::nullopt);
    TAniToolForm form(dialogs, WriteFrames(dir, 2, 4, 4));
    form.show();
    form.SpeedButton1Click();
    QCOMPARE(NamedChild<QLabel>(form, "Label1")->text(), QString());
    QCOMPARE(QDir(dir.path()).entryList({"*.avi"}).size(), qsizetype{0});
  }

  void FrameOfAnotherSizeIsScaledToTheFirst() {
    QTemporaryDir dir;
    const QString other = dir.filePath("other.bmp");
    QVERIFY(SaveBmpFile(other.toStdString(), Bitmap(8, 8, MakeColor(1, 2, 3))).Ok());
    ScriptedDialogs dialogs;
    dialogs.open_answers.push_back(QStringList{other});
    const QString avi = dir.filePath("mixed.avi");
    dialogs.save_answers.push_back(avi);
    TAniToolForm form(dialogs, WriteFrames(dir, 1, 3, 2));
    form.show();
    form.SpeedButton4Click();
    form.SpeedButton1Click();
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    const std::vector<std::uint8_t> bytes = ReadBytes(avi.toStdString());
    RiffChunk root;
    std::string error;
    QVERIFY2(WalkRiff(bytes, root, error), error.c_str());
    const RiffChunk* movi = root.Child("movi");
    QCOMPARE(movi->children.size(), std::size_t{2});
    QCOMPARE(movi->children[1].size, 24u);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data() + movi->children[1].data_offset),
                        24),
             DibPixels(Bitmap(3, 2, MakeColor(1, 2, 3))));
  }

  void UnwritableTargetIsReported() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.save_answers.push_back(dir.filePath("no/such/folder/x.avi"));
    TAniToolForm form(dialogs, WriteFrames(dir, 2, 4, 4));
    form.show();
    form.SpeedButton1Click();
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QVERIFY(dialogs.messages[0].text.endsWith("."));
  }
};

QTEST_MAIN(AviCreatorTest)
#include "avi_creator_test.moc"
