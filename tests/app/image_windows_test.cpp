// The image windows: the open-image commands, loading and its messages,
// the overlay, the coordinate label and painting on the Vesk image.
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QScrollArea>

#include "app1_support.h"

using namespace vesk;
using namespace vesk::testing;

namespace {

Color PictureAt(TChildForm* child, int x, int y) { return child->PictureBitmap().Pixel(x, y); }

}  // namespace

class ImageWindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempWorkDir> work_;

 private slots:
  void init() { work_ = std::make_unique<TempWorkDir>(); }
  void cleanup() { work_.reset(); }

  void OpenFirstImageMakesAWindowOfKindOne() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    const Bitmap picture = TestPicture(30, 20, 3);
    const QString path = WriteBmp(work_->File("face.bmp"), picture);
    dialogs.open_answers.push_back(QStringList{path});
    QTest::mouseClick(Button(*form, "OpenFirstButton"), Qt::LeftButton);
    QCOMPARE(dialogs.filters.last(), QString("Bitmap|*.BMP|All Files|*.*"));
    TChildForm* first = form->FirstChild();
    QVERIFY(first);
    QCOMPARE(first->ImageKind, 1);
    QCOMPARE(first->windowTitle(), QString("face.bmp"));
    QVERIFY(first->GetBitmap() == picture);
    QCOMPARE(first->Image1()->size(), QSize(30, 20));
    QCOMPARE(first->Image1()->pos(), QPoint(0, 0));
    QCOMPARE(first->size(), form->MdiArea()->viewport()->size());  // tiled, alone
    QCOMPARE(form->FirstFileName, path);
    QVERIFY(!form->SecondChild());
    QVERIFY(!first->Painting);
    QVERIFY(first->DragNode == nullptr);

    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(8, 9, 4)));
    QVERIFY(form->SecondChild());
    QCOMPARE(form->SecondChild()->ImageKind, 2);
    QCOMPARE(form->SecondFileName, work_->File("b.bmp"));
    QCOMPARE(dialogs.messages.size(), size_t{1});  // only the settings message
  }

  void OpeningAgainReplacesTheOldWindow() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(10, 10, 1)));
    QPointer<TChildForm> old = form->FirstChild();
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("c.bmp"), TestPicture(12, 10, 2)));
    QVERIFY(old.isNull());
    QCOMPARE(form->FirstChild()->windowTitle(), QString("c.bmp"));
    QCOMPARE(form->MdiArea()->subWindowList().size(), qsizetype{1});
  }

  void ChosenFileThatIsMissingChangesNothing() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(10, 10, 1)));
    TChildForm* before = form->FirstChild();
    dialogs.messages.clear();
    const QString missing = work_->File("gone.bmp");
    OpenImage(*form, dialogs, "OpenFirst", missing);
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text, missing + " file already not exist");
    QCOMPARE(form->FirstChild(), before);
    QCOMPARE(form->FirstFileName, work_->File("a.bmp"));
  }

  void CancelledDialogChangesNothing() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    dialogs.open_answers.push_back(std::nullopt);
    Item(*form, "OpenSecond")->trigger();
    QVERIFY(!form->SecondChild());
    QCOMPARE(dialogs.messages.size(), size_t{1});
  }

  void BadImageDataRemovesTheOldWindow() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(10, 10, 1)));
    QPointer<TChildForm> old = form->FirstChild();
    QFile bad(work_->File("bad.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("BM this is not a bitmap at all");
    bad.close();
    dialogs.messages.clear();
    OpenImage(*form, dialogs, "OpenFirst", work_->File("bad.bmp"));
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text,
             QString("Error in image Format ") + QChar(10) + QChar(13) +
                 "Bitmap image is not valid");
    QVERIFY(old.isNull());
    QVERIFY(!form->FirstChild());
    QCOMPARE(form->FirstFileName, work_->File("bad.bmp"));  // set before loading
    QVERIFY(form->MdiArea()->subWindowList().isEmpty());
    QVERIFY(!Item(*form, "Copy")->isEnabled());
  }

  void UnknownExtensionIsRefusedWithItsName() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QFile text(work_->File("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("hello");
    text.close();
    dialogs.messages.clear();
    OpenImage(*form, dialogs, "OpenSecond", work_->File("notes.txt"));
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text,
             QString("Error in image Format \n\rUnknown picture file extension (.txt)"));
    QVERIFY(!form->SecondChild());
  }

  void PngAndJpegFilesAreReadToo() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    image.setPixelColor(3, 2, QColor(250, 0, 5));
    QVERIFY(image.save(work_->File("p.png")));
    OpenImage(*form, dialogs, "OpenFirst", work_->File("p.png"));
    QVERIFY(form->FirstChild());
    QCOMPARE(form->FirstChild()->GetBitmap().Pixel(3, 2), MakeColor(250, 0, 5));
    QCOMPARE(form->FirstChild()->GetBitmap().Pixel(0, 0), MakeColor(10, 200, 30));
    QVERIFY(image.save(work_->File("j.JPG"), "JPEG"));
    OpenImage(*form, dialogs, "OpenSecond", work_->File("j.JPG"));
    QVERIFY(form->SecondChild());
    QCOMPARE(form->SecondChild()->GetBitmap().Width(), 7);
  }

  void ReadOnlyFileOpens() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    const QString path = WriteBmp(work_->File("ro.bmp"), TestPicture(4, 4, 1));
    QFile::setPermissions(path, QFile::ReadOwner);
    dialogs.messages.clear();
    OpenImage(*form, dialogs, "OpenFirst", path);
    QVERIFY(dialogs.messages.empty());
    QVERIFY(form->FirstChild());
  }

  void LoadImageLooksForTheBareNameInTheCurrentFolder() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    const Bitmap picture = TestPicture(6, 6, 9);
    WriteBmp(work_->File("here.bmp"), picture);
    TChildForm child(*form, dialogs);
    QVERIFY(child.LoadImage("/no/such/folder/here.bmp"));
    QCOMPARE(child.windowTitle(), QString("here.bmp"));
    QVERIFY(child.GetBitmap() == picture);
    dialogs.messages.clear();
    TChildForm other(*form, dialogs);
    QVERIFY(!other.LoadImage("C:\\old\\missing.bmp"));
    QCOMPARE(other.windowTitle(), QString("missing.bmp"));
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("File Not Found"));
    QVERIFY(!other.HasBitmap());
  }

  void ExistingMeshIsDrawnOverANewImage() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    form->MeshModel().AddNode(10, 10);
    form->MeshModel().AddNode(100, 100);  // outside the image: not visible
    const Bitmap picture = Uniform(40, 30, MakeColor(1, 2, 3));
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), picture));
    TChildForm* first = form->FirstChild();
    // The clean image holds no overlay.
    QVERIFY(first->GetBitmap() == picture);
    // Node (10, 10) is the previous node (green) with a black outline over
    // 5..14, the selected node lies outside.
    for (int i = 5; i <= 14; ++i) {
      QCOMPARE(PictureAt(first, i, 5), kBlack);
      QCOMPARE(PictureAt(first, 5, i), kBlack);
      QCOMPARE(PictureAt(first, i, 14), kBlack);
      QCOMPARE(PictureAt(first, 14, i), kBlack);
    }
    QCOMPARE(PictureAt(first, 10, 10), MakeColor(0, 128, 0));
    QCOMPARE(PictureAt(first, 6, 13), MakeColor(0, 128, 0));
    QCOMPARE(PictureAt(first, 4, 10), MakeColor(1, 2, 3));
    QCOMPARE(PictureAt(first, 15, 10), MakeColor(1, 2, 3));
  }

  void CoordinateLabelRightAlignsBothNumbers() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(1240, 20, 1)));
    TImage* image1 = form->FirstChild()->Image1();
    QCOMPARE(CoordLabel(*form)->text(), QString("(0:0)"));
    QTest::mouseMove(image1, QPoint(5, 17));
    QCOMPARE(CoordLabel(*form)->text(), QString("(   5:  17)"));
    auto* scroll = form->FirstChild()->findChild<QScrollArea*>();
    scroll->ensureVisible(1234, 5);
    QTest::mouseMove(image1, QPoint(1234, 5));
    QCOMPARE(CoordLabel(*form)->text(), QString("(1234:   5)"));
    QCOMPARE(CoordinateCaption(12345, -7), QString("(12345:  -7)"));
  }

  void PaintingOnTheVeskImageKeepsOnlyTheVisitedPixels() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 20, 1)));
    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(20, 20, 2)));
    dialogs.save_answers.push_back(std::nullopt);
    Item(*form, "Colorize1")->trigger();
    TChildForm* vesk = form->VeskChild();
    QVERIFY(vesk);
    QCOMPARE(vesk->ImageKind, 3);
    const Bitmap before = vesk->GetBitmap();
    const Color paint = before.Pixel(2, 3);
    TImage* image1 = vesk->Image1();
    QTest::mousePress(image1, Qt::RightButton, Qt::ShiftModifier, QPoint(2, 3));
    QVERIFY(vesk->Painting);
    QCOMPARE(vesk->PaintColor, paint);
    QTest::mouseMove(image1, QPoint(6, 6));
    QTest::mouseMove(image1, QPoint(12, 6));
    // Painted on the picture only, until the mouse-up.
    QCOMPARE(PictureAt(vesk, 6, 6), paint);
    QVERIFY(vesk->GetBitmap() == before);
    QTest::mouseRelease(image1, Qt::RightButton, Qt::ShiftModifier, QPoint(15, 15));
    QVERIFY(!vesk->Painting);
    const Bitmap after = vesk->GetBitmap();
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        bool visited = (x == 6 && y == 6) || (x == 12 && y == 6) || (x == 15 && y == 15);
        QCOMPARE(after.Pixel(x, y), visited ? paint : before.Pixel(x, y));
      }
    }
    // No mesh gesture on the Vesk image.
    QVERIFY(form->MeshModel().Empty());
    // The painted pixels survive a redraw: Copy Vesk 2 First takes them.
    Item(*form, "CopyVesk2First")->trigger();
    QCOMPARE(form->FirstChild()->GetBitmap().Pixel(12, 6), paint);
  }

  void CloseBoxOnlyMinimizes() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 20, 1)));
    QPointer<TChildForm> first = form->FirstChild();
    QVERIFY(!first->close());
    QVERIFY(!first.isNull());
    QVERIFY(first->isMinimized());
    QCOMPARE(form->FirstChild(), first.data());
    QVERIFY(Item(*form, "SheetGlass")->isEnabled());
  }
};

QTEST_MAIN(ImageWindowsTest)
#include "image_windows_test.moc"
