// The sequence window through its widgets: opened by three pictures at
// once, a pair edited in the image windows and kept through a reorder
// elsewhere, the export against vesk-batch's frames for the saved file,
// the player, videos and a cancelled export. One window runs through the steps
// in order, so each pair is meshed once.
#include "app/sequence_window.h"

#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSlider>

#include "app/kancel_form.h"
#include "app/sequence_player.h"
#include "app1_support.h"
#include "core/image/area_shrink.h"
#include "pictures/image_convert.h"
#include "pictures/picture_reader.h"
#include "tests/core/support/picture_psnr.h"

namespace {

const QString kSource = VESK_SOURCE_DIR;
const QStringList kPortraits = {kSource + "/examples/grace_hopper.jpg",
                                kSource + "/examples/astronaut.png",
                                kSource + "/tests/data/photos/portrait.png"};

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SequenceWindowTest : public QObject, WindowFixture {
  Q_OBJECT

  SequenceWindow* window_ = nullptr;

  QString PairLine(int k) const { return window_->Pairs()->item(k)->text(); }
  // Every pair meshed (each line says auto, edited or failed).
  bool AllMeshed() const { return !window_->Working() && window_->Model().PairsToMesh().empty(); }

 private slots:
  void initTestCase() { StartWindow(); }
  void cleanupTestCase() { StopWindow(); }

  void ThreePicturesOpenedAtOnceMakeASequenceWindow() {
    form_->OpenFiles(kPortraits);
    QCOMPARE(form_->findChildren<SequenceWindow*>().size(), 1);
    window_ = form_->findChild<SequenceWindow*>();
    QVERIFY(window_->isVisible());
    QVERIFY(!form_->FirstChild());  // the pictures went to the sequence, not the image windows
    QTRY_VERIFY_WITH_TIMEOUT(AllMeshed(), 60000);
    QCOMPARE(window_->Pictures()->count(), 3);
    QCOMPARE(window_->Pictures()->item(0)->text(), "1. grace_hopper.jpg\n512 x 600");
    QVERIFY(!window_->Pictures()->item(1)->icon().isNull());
    QCOMPARE(window_->Pairs()->count(), 2);
    for (int k : {0, 1}) QVERIFY2(PairLine(k).contains(": auto, Faces: "), qPrintable(PairLine(k)));
  }

  void AnEditedPairKeepsItsMeshWhenPicturesMoveElsewhere() {
    QMimeData dropped;  // a fourth picture dropped below the others
    dropped.setUrls({QUrl::fromLocalFile(kSource + "/tests/data/photos/astronaut.webp")});
    QWidget* strip = window_->Pictures()->viewport();
    const QPoint below(10, strip->height() - 4);
    QDragEnterEvent enter(below, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QDropEvent drop(below, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    for (QEvent* event : {static_cast<QEvent*>(&enter), static_cast<QEvent*>(&drop)}) {
      QApplication::sendEvent(strip, event);
    }
    QTRY_COMPARE(window_->Model().PictureCount(), 4);
    QTRY_VERIFY_WITH_TIMEOUT(AllMeshed(), 60000);
    window_->Pairs()->setCurrentRow(0);
    QTest::keyClick(window_->Pairs(), Qt::Key_Return);  // opens the pair
    QVERIFY(form_->FirstChild() && form_->SecondChild());
    QCOMPARE(form_->SecondChild()->GetBitmap().Width(), 512);  // placed into 512 x 600
    QCOMPARE(form_->SecondChild()->GetBitmap().Height(), 600);
    QVERIFY(PairLine(0).startsWith("[in the image windows]"));
    Run("SwapMorphMesh");       // an edit in the image windows, kept by the sequence:
    QVERIFY(form_->MeshSaved);  // no mesh question on leaving
    const MeshSnapshot edited = TakeMeshSnapshot(form_->MeshModel());
    const PairKey pair = window_->Model().PairAt(0);
    QVERIFY(PairLine(0).endsWith("edited by hand"));
    QCOMPARE(window_->Model().MeshOf(pair).mesh, edited);

    window_->Pictures()->setCurrentRow(3);
    QTest::keyClick(window_->Pictures(), Qt::Key_Up, Qt::ControlModifier);
    QTRY_COMPARE(window_->Pictures()->currentRow(), 2);
    QVERIFY(window_->Pictures()->item(2)->text().contains("astronaut.webp"));
    QCOMPARE(window_->Model().PairAt(0), pair);
    QCOMPARE(window_->Model().MeshOf(pair).state, PairState::kEdited);
    QCOMPARE(window_->Model().MeshOf(pair).mesh, edited);
    Run("Undo1");  // the image windows still hold the pair, and undo reaches it
    QCOMPARE(window_->Model().MeshOf(pair).mesh, TakeMeshSnapshot(form_->MeshModel()));
    Run("Redo1");
    QCOMPARE(window_->Model().MeshOf(pair).mesh, edited);
    QTRY_VERIFY_WITH_TIMEOUT(AllMeshed(), 60000);
  }

  void ExportWritesTheFramesVeskBatchWritesForTheSavedFile() {
    SequenceOptions options = window_->Model().Options();
    options.frames_per_pair = 3;
    dialogs_.sequence_options_answers.push_back(options);
    Click(*window_, "OptionsButton");
    QCOMPARE(window_->Model().Options().frames_per_pair, 3);
    QDir(work_->path()).mkpath("s");
    dialogs_.save_answers.push_back(File("s/S.vseq"));
    Click(*window_, "SaveButton");
    QVERIFY(window_->Saved());
    QDir(work_->path()).mkpath("a");
    QDir(work_->path()).mkpath("b");
    QVERIFY(window_->ExportTo(File("a/A.any")));

    QProcess batch;
    batch.setWorkingDirectory(File("b"));
    batch.start(QString(VESK_BUILD_DIR) + "/vesk-batch",
                {"sequence", "--from", "../s/S.vseq", "--out", "B.any"});
    QVERIFY(batch.waitForFinished(120000));
    QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
    const QStringList frames = ListLines(File("a/A.any"));
    QCOMPARE(frames.size(), 3 * 3 + 1);
    QCOMPARE(ListLines(File("b/B.any")), frames);
    for (const QString& frame : frames) {
      QVERIFY(!Bytes(File("a/" + frame)).isEmpty());
      QVERIFY2(Bytes(File("a/" + frame)) == Bytes(File("b/" + frame)), qPrintable(frame));
    }
    // Reopened from the recent list: the same sequence, the edit kept.
    form_->OpenFiles({File("s/S.vseq")});
    auto windows = form_->findChildren<SequenceWindow*>();
    QCOMPARE(windows.size(), 2);
    SequenceWindow* reopened = windows[0] == window_ ? windows[1] : windows[0];
    QCOMPARE(reopened->Model().MeshOf(reopened->Model().PairAt(0)).state, PairState::kEdited);
    QVERIFY(form_->RecentMeshesMenu()->actions().first()->text().endsWith("S.vseq"));
    delete reopened;
  }

  void ThePlayerScrubsToAFrameAndShowsIt() {
    SequencePlayer* player = window_->Player();
    player->Slider()->setValue(4);
    QTRY_COMPARE_WITH_TIMEOUT(player->FrameOnView(), 4, 30000);
    Result<Bitmap> exported = ReadPicture(File("a/imag5.bmp").toStdString());
    QVERIFY(exported);
    const QImage shown = player->View()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.width(), 409);  // 512 x 600 shrunk into 480 x 480
    // Painted from the shrunk pictures: the exported frame shrunk, but for
    // the nodes' rounding at the smaller size (54 dB here; the mesh left at
    // the pictures' full size gives 47).
    const Bitmap expected = AreaShrink(exported.Value(), shown.width(), shown.height());
    const double psnr = testing_support::PsnrWhere(FromQImage(shown), expected);
    QVERIFY2(psnr >= 50, qPrintable(QString::number(psnr)));
  }

  void AMissingPictureIsNamedAndLocated() {
    WriteBytes(File("m.vseq"), ("vesk-sequence 1\npicture gone.png\npicture " + kPortraits[1] +
                                "\npicture " + kPortraits[2] + "\n")
                                   .toUtf8());
    form_->OpenFiles({File("m.vseq")});
    QVERIFY2(Shown().last().startsWith("Sequence: Picture not found: ") &&
                 Shown().last().endsWith("/gone.png. Choose it in the list and press Locate."),
             qPrintable(Shown().last()));
    SequenceWindow* opened = nullptr;
    for (SequenceWindow* w : form_->findChildren<SequenceWindow*>())
      opened = w != window_ ? w : opened;
    QVERIFY(opened->Pictures()->item(0)->text().contains("missing: "));
    opened->Pictures()->setCurrentRow(0);
    dialogs_.open_answers.push_back(QStringList{kPortraits[0]});
    Click(*opened, "LocateButton");
    QTRY_VERIFY(opened->Pictures()->item(0)->text().endsWith("grace_hopper.jpg\n512 x 600"));
    delete opened;
  }

  void VideosAreWrittenAndACancelledExportLeavesNoFile() {
    for (const char* video : {"v.mp4", "v.gif"}) {
      QVERIFY(window_->ExportTo(File(video)));
      QVERIFY(QFileInfo(File(video)).size() > 1000);
    }
    QTimer::singleShot(0, [this] { form_->KancelForm().KancelButtonClick(); });
    QVERIFY(!window_->ExportTo(File("c.gif")));
    QVERIFY(!QFile::exists(File("c.gif")));
    QCOMPARE(NamedChild<QLabel>(*window_, "SequenceStatus")->text(),
             "Export cancelled; nothing written");
    QCOMPARE(QDir(work_->path()).entryList(QDir::Files | QDir::Hidden).filter("c.gif"),
             QStringList());
  }
};

QTEST_MAIN(SequenceWindowTest)
#include "sequence_window_test.moc"
