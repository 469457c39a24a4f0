// The image windows: opening a picture, the overlay on both windows, dragging,
// the clipboard (a picture too large refused) and the image commands.
#include <QPointer>
#include <QScrollArea>
#include <QWheelEvent>

#include "app/image_view.h"
#include "core/image/view_transform.h"
#include "pictures/image_convert.h"
#include "app1_support.h"

class ImageWindowsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  const Color kSelected = MakeColor(255, 0, 0);
  Color Overlay(int kind, int x, int y) const { return Window(kind)->PictureBitmap().Pixel(x, y); }
  QPoint NodeAt(int kind) const {
    const TMeshNode* n = form_->MeshModel().SelectedNode();
    return kind == 1 ? QPoint(n->X1, n->Y1) : QPoint(n->X2, n->Y2);
  }
 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void OpeningAPicture() {
    const struct {
      const char* file;
      QByteArray bytes;  // empty: a picture written here; "-": none
      QString message;   // empty: opened
      bool old_kept;
    } rows[] = {
        {"face.bmp", "", "", false},
        {"face.png", "", "", false},  // through Qt's reader
        {"gone.bmp", "-", "%1 file already not exist", true},
        {"ro.bmp", "ro", "", false},  // only read: opens
        {"notes.txt", "hello",
         "Error in image Format \n\rUnknown picture file extension (.txt); pictures are read from "
         ".bmp, .png, .jpg, .jpeg, .webp, .tif, .tiff, .heic, .heif, .avif",
         false},
    };
    for (const auto& r : rows) {
      RestartWindow();
      OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("old.bmp"), TestPicture(9, 9, 1)));
      QPointer<TChildForm> old = form_->FirstChild();
      const QString path = File(r.file);
      const Bitmap picture = TestPicture(30, 20, 3);
      if (r.bytes.isEmpty() || r.bytes == "ro") QVERIFY(ToQImage(picture).save(path));
      if (r.bytes == "ro") QFile::setPermissions(path, QFile::ReadOwner);
      if (r.bytes.size() > 2) WriteBytes(path, r.bytes);
      OpenImage(*form_, dialogs_, "OpenFirst", path);
      QString expected = r.message.isEmpty() ? "" : "Trelvanique: " + r.message;
      QCOMPARE(Shown().join(""), expected.replace("%1", path));
      QVERIFY2(old.isNull() == !r.old_kept, r.file);
      QCOMPARE(form_->FirstFileName, r.old_kept ? File("old.bmp") : path);
      const int windows = (r.old_kept || r.message.isEmpty()) ? 1 : 0;
      QCOMPARE(form_->MdiArea()->subWindowList().size(), windows);
      QVERIFY(!r.message.isEmpty() || Window(1)->GetBitmap() == picture);
    }
  }
  void NodesShowOnBothWindowsAndDragOnOne() {
    OpenBoth(60, 50);
    ClickAt(2, QPoint(30, 20));
    ClickAt(2, QPoint(5, 45), {}, Qt::ForwardButton);  // not an image button: nothing placed
    QCOMPARE(Overlay(1, 30, 20), kSelected);
    QCOMPARE(form_->MeshModel().NodeCount(), size_t{1});
    QTest::mousePress(Image(2), Qt::LeftButton, {}, QPoint(31, 19));
    QTest::mouseMove(Image(2), QPoint(60, 50));
    QTest::mouseMove(Image(2), QPoint(61, 20));  // outside: ignored
    QCOMPARE(NodeAt(2), QPoint(60, 50));
    QTest::mouseRelease(Image(2), Qt::LeftButton, {}, QPoint(33, 44));
    QCOMPARE(NodeAt(2), QPoint(33, 44));
    QCOMPARE(Overlay(2, 33, 44), kSelected);
    QCOMPARE(QPoint(NodeAt(1)), QPoint(30, 20));  // on that image only
    // The Swap button exchanges the positions.
    Mesh::SetPosition(*form_->MeshModel().SelectedNode(), kSecondImage, 40, 30);
    Click(*form_, "SwapButton");
    QCOMPARE(NodeAt(1), QPoint(40, 30));
    QCOMPARE(Overlay(1, 40, 30), kSelected);
  }
  // The View items and Ctrl+wheel act on the active image window; linked, the
  // other one follows, scroll position included.
  void ViewItemsZoomTheActiveWindowAndTheLinkedOne() {
    OpenBoth(400, 300);
    form_->MdiArea()->setActiveSubWindow(Window(1));
    const QSize room = Window(1)->findChild<QScrollArea*>("ScrollBox")->maximumViewportSize();
    const int in = vesk::ZoomIn(256), in2 = vesk::ZoomIn(in);
    const int fit = FitZoom(400, 300, room.width(), room.height());
    const auto wheel = [&](int delta, Qt::KeyboardModifiers keys) {
      QWheelEvent turn({50, 40}, Image(1)->mapToGlobal(QPointF(50, 40)), {}, {0, delta},
                       Qt::NoButton, keys, Qt::NoScrollPhase, false);
      QApplication::sendEvent(Image(1), &turn);
    };
    const std::pair<std::function<void()>, QList<int>> rows[] = {
        // zoom of the first and the second window, 1 when they show the same place
        {[&] { wheel(120, {}); }, {256, 256, 1}},
        {[&] { wheel(120, Qt::ControlModifier); }, {in, 256, 0}},
        {[&] { wheel(-120, Qt::ControlModifier); }, {256, 256, 0}},  // scrolled to the mouse
        {[&] { Run("ZoomIn1"); }, {in, 256, 0}},
        {[&] { Run("ZoomIn1"); }, {in2, 256, 0}},
        {[&] { Run("ZoomOut1"); }, {in, 256, 0}},
        {[&] { Run("LinkWindows1"); }, {in, in, 1}},
        {[&] { Run("ZoomIn1"); }, {in2, in2, 1}},
        {[&] { Run("ActualPixels1"); }, {256, 256, 1}},
        {[&] { Run("FitWindow1"); }, {fit, fit, 1}},
        {[&] { Run("LinkWindows1"); Run("ZoomIn1"); }, {vesk::ZoomIn(fit), fit, 0}}};
    for (const auto& [act, zooms] : rows) {
      act();
      const auto one = Window(1)->View().CurrentState(), two = Window(2)->View().CurrentState();
      const bool same = one.zoom == two.zoom && one.scroll_x == two.scroll_x &&
                        one.scroll_y == two.scroll_y;
      QCOMPARE(QList<int>({one.zoom, two.zoom, same}), zooms);
    }
  }
  void ImageCommands() {
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(30, 20, 1)));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(File("b.bmp"), TestPicture(24, 26, 2)));
    ClickAt(1, QPoint(10, 10));
    dialogs_.save_answers.push_back(std::nullopt);
    form_->Colorize1Click();  // the Vesk window ends with the second image
    const Bitmap vesk = form_->VeskChild()->PictureBitmap();
    Click(*form_, "CopyF2PButton");
    QVERIFY(Window(1)->GetBitmap() == vesk);
    QCOMPARE(Image(1)->size(), QSize(24, 26));
    QCOMPARE(Overlay(1, 10, 10), kSelected);  // the node drawn over it
    form_->PasteClick();
    QCOMPARE(Shown(), QStringList("Trelvanique: There is no bitmap on the Clipboard"));
    QCOMPARE(dialogs_.messages[0].box, QString("information"));
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    QApplication::clipboard()->setImage(QImage(32769, 1, QImage::Format_RGB32));
    form_->PasteClick();  // past the size limit: refused, so Copy below copies the old picture
    const QString too_large = QString::fromStdString(CheckBitmapSize(32769, 1));
    QCOMPARE(Shown().last(), "Trelvanique: " + too_large + ".");
    Run("Copy");
    QCOMPARE(form_->ActiveChild(), Window(1));
    QVERIFY(FromQImage(QApplication::clipboard()->image()) == vesk);  // without the mesh
    form_->MdiArea()->setActiveSubWindow(form_->SecondChild());
    Run("Paste");
    QVERIFY(Window(2)->GetBitmap() == vesk);
    QCOMPARE(Overlay(2, 10, 10), kSelected);
    // Save Vesk Image as adds .bmp; a refused save is reported.
    dialogs_.save_answers = {File("frame"), File("missing/folder/pic")};
    Run("SaveVeskImageAs");
    QCOMPARE(dialogs_.filters.last(), QString("Bitmap Files|*.bmp|All Files|*.*"));
    QVERIFY(LoadBmpFile(File("frame.bmp").toStdString()).Value() == vesk);
    Run("SaveVeskImageAs");
    QVERIFY(Shown().size() == 3 && Shown()[2].endsWith('.') && !dialogs_.unexpected);
  }
};

QTEST_MAIN(ImageWindowsTest)
#include "image_windows_test.moc"
