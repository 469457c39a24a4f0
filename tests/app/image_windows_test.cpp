// The image windows and their commands: opening a picture and its messages,
// the mesh gestures as the mouse gives them, the overlay on both windows,
// dragging, the coordinate label, painting on the Vesk image, the clipboard,
// Copy Vesk 2 First / Second, Save Vesk Image as, printing, and the redraw
// after the Options dialog.
#include <QClipboard>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>

#include "app/image_commands.h"
#include "app/image_convert.h"
#include "app/options_form.h"
#include "app1_support.h"

using namespace vesk;
using namespace vesk::testing;

class ImageWindowsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  const Color kSelected = MakeColor(255, 0, 0);
  TChildForm* Window(int kind) const {
    return kind == 1 ? form_->FirstChild() : form_->SecondChild();
  }
  TImage* Image(int kind) const { return Window(kind)->Image1(); }
  Color Overlay(int kind, int x, int y) const { return Window(kind)->PictureBitmap().Pixel(x, y); }
  void Click(int kind, QPoint at, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(Image(kind), Qt::LeftButton, keys, at);
  }
  QPoint NodeAt(int kind) const {
    const TMeshNode* n = form_->MeshModel().SelectedNode();
    return kind == 1 ? QPoint(n->X1, n->Y1) : QPoint(n->X2, n->Y2);
  }

  // Both images of different sizes, a node at (10, 10) on them.
  void OpenBothWithANode() {
    first_ = TestPicture(30, 20, 1);
    second_ = TestPicture(24, 26, 2);
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), first_));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(File("b.bmp"), second_));
    QTest::mouseClick(form_->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
  }
  void MakeVesk() {
    dialogs_.save_answers.push_back(std::nullopt);
    form_->Colorize1Click();  // the Vesk window ends with the second image
  }

 private slots:
  void init() {
    QApplication::clipboard()->clear();
    StartWindow();
  }
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
        {"ro.bmp", "ro", "%1 file already not exist", true},  // read-only counts as missing
        {"bad.bmp", "BM no bitmap", "Error in image Format \n\rBitmap image is not valid", false},
        {"notes.txt", "hello", "Error in image Format \n\rUnknown picture file extension (.txt)",
         false},
    };
    for (const auto& r : rows) {
      StopWindow();
      StartWindow();
      OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("old.bmp"), TestPicture(9, 9, 1)));
      QPointer<TChildForm> old = form_->FirstChild();
      const QString path = File(r.file);
      const Bitmap picture = TestPicture(30, 20, 3);
      if (r.bytes.isEmpty()) QVERIFY(ToQImage(picture).save(path));
      if (r.bytes == "ro") QFile::setPermissions(WriteBmp(path, picture), QFile::ReadOwner);
      if (r.bytes.size() > 2) WriteBytes(path, r.bytes);
      OpenImage(*form_, dialogs_, "OpenFirst", path);
      const QString expected = r.message.isEmpty() ? "" : "Trelvanique: " + r.message.arg(path);
      QCOMPARE(Shown().join(""), expected);
      QVERIFY2(old.isNull() == !r.old_kept, r.file);
      QCOMPARE(form_->FirstFileName, r.old_kept ? File("old.bmp") : path);
      const int windows = (r.old_kept || r.message.isEmpty()) ? 1 : 0;
      QCOMPARE(form_->MdiArea()->subWindowList().size(), windows);
      if (!r.message.isEmpty()) continue;
      QCOMPARE(Window(1)->windowTitle(), QString(r.file));
      QCOMPARE(Window(1)->ImageKind, 1);
      QVERIFY(Window(1)->GetBitmap() == picture);
      QCOMPARE(Image(1)->size(), QSize(30, 20));
      QCOMPARE(Window(1)->size(), form_->MdiArea()->viewport()->size());  // tiled, alone
    }
  }

  void GesturesAsTheMouseGivesThem() {
    const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    const struct {
      const char* name;
      int kind, button, keys, x, y;
      bool double_click;
      int nodes, triangles;
    } rows[] = {
        // From nodes (10,10), (40,10), (25,40) and their triangle.
        {"plain click places a node", 1, left, 0, 50, 45, false, 4, 1},
        {"Ctrl+left on empty ground adds a triangle", 1, left, ctrl, 50, 30, false, 4, 2},
        {"Ctrl+left inside a triangle splits it", 2, left, ctrl, 25, 20, false, 4, 3},
        {"right click on the selected triangle removes it", 1, right, 0, 10, 10, false, 3, 0},
        {"right click on empty ground does nothing", 1, right, 0, 55, 5, false, 3, 1},
        {"Ctrl+right deletes a node and its triangles", 2, right, ctrl, 40, 10, false, 2, 0},
        {"Shift+right is a plain click", 1, right, shift, 5, 45, false, 4, 1},
        {"Alt+left is a plain click", 1, left, alt, 5, 45, false, 4, 1},
        {"middle button is a plain click", 1, middle, 0, 5, 45, false, 4, 1},
        {"Ctrl+Shift+left is a plain click", 1, left, ctrl | shift, 5, 45, false, 4, 1},
        {"Ctrl+double click is a plain click", 1, left, ctrl, 5, 45, true, 4, 1},
    };
    for (const auto& r : rows) {
      StopWindow();
      StartWindow();
      OpenBoth(60, 50);
      Click(1, QPoint(10, 10));
      Click(1, QPoint(40, 10));
      Click(1, QPoint(25, 40), Qt::ControlModifier);
      form_->MeshSaved = true;
      const Bitmap before = Window(2)->PictureBitmap();
      const auto button = Qt::MouseButton(r.button);
      const auto keys = Qt::KeyboardModifiers(r.keys);
      if (r.double_click) QTest::mouseDClick(Image(r.kind), button, keys, QPoint(r.x, r.y));
      if (!r.double_click) QTest::mouseClick(Image(r.kind), button, keys, QPoint(r.x, r.y));
      const Mesh& mesh = form_->MeshModel();
      QVERIFY2(int(mesh.NodeCount()) == r.nodes && int(mesh.TriangleCount()) == r.triangles,
               r.name);
      const bool changed = r.nodes != 3 || r.triangles != 1;
      QVERIFY2(form_->MeshSaved == !changed, r.name);
      QVERIFY2((Window(2)->PictureBitmap() != before) == changed, r.name);  // redrawn
    }
  }

  void NodesShowOnBothWindowsAndDragOnOne() {
    OpenBoth(60, 50);
    QTest::mousePress(Image(2), Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(Image(2)->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!Item(*form_, "SwapMorphMesh")->isEnabled());  // until the mouse-up
    QTest::mouseRelease(Image(2), Qt::LeftButton, {}, QPoint(30, 20));
    QVERIFY(!Image(2)->testAttribute(Qt::WA_SetCursor));
    QVERIFY(Item(*form_, "SwapMorphMesh")->isEnabled());
    QCOMPARE(Overlay(1, 30, 20), kSelected);
    Click(1, QPoint(10, 10));  // the first node turns previous: green
    QCOMPARE(Overlay(2, 30, 20), MakeColor(0, 128, 0));
    form_->MeshSaved = true;
    QTest::mousePress(Image(2), Qt::LeftButton, {}, QPoint(11, 9));
    QTest::mouseMove(Image(2), QPoint(60, 50));
    QCOMPARE(NodeAt(2), QPoint(60, 50));
    QTest::mouseMove(Image(2), QPoint(61, 20));  // outside: ignored
    QCOMPARE(NodeAt(2), QPoint(60, 50));
    QTest::mouseRelease(Image(2), Qt::LeftButton, {}, QPoint(33, 44));
    QCOMPARE(NodeAt(2), QPoint(33, 44));
    QCOMPARE(NodeAt(1), QPoint(10, 10));
    QCOMPARE(Overlay(2, 33, 44), kSelected);
    QVERIFY(form_->MeshSaved);                 // dragging asks nothing at the close
    QTest::mouseMove(Image(2), QPoint(5, 5));  // released: no drag
    QCOMPARE(NodeAt(2), QPoint(33, 44));
    // Shift+left on the second image gives its position to the first.
    Click(2, QPoint(33, 44), Qt::ShiftModifier);
    QCOMPARE(NodeAt(1), QPoint(33, 44));
    QCOMPARE(Overlay(1, 33, 44), kSelected);
    QVERIFY(!form_->MeshSaved);
    // Swap exchanges the two positions and redraws.
    Mesh::SetPosition(*form_->MeshModel().SelectedNode(), kSecondImage, 40, 30);
    QTest::mouseClick(Button(*form_, "SwapButton"), Qt::LeftButton);
    QCOMPARE(NodeAt(1), QPoint(40, 30));
    QCOMPARE(Overlay(1, 40, 30), kSelected);
    Item(*form_, "SwapMorphMesh")->trigger();
    QCOMPARE(NodeAt(1), QPoint(33, 44));
  }

  void CoordinateLabelFollowsTheMouse() {
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(1240, 20, 1)));
    QTest::mouseMove(Image(1), QPoint(5, 17));
    auto* label = NamedChild<QLabel>(*form_, "Label1");
    QCOMPARE(label->text(), QString("(   5:  17)"));
    Window(1)->findChild<QScrollArea*>()->ensureVisible(1234, 5);
    QTest::mouseMove(Image(1), QPoint(1234, 5));
    QCOMPARE(label->text(), QString("(1234:   5)"));
  }

  void PaintingOnTheVeskImageKeepsTheVisitedPixels() {
    OpenBoth(20, 20);
    dialogs_.save_answers.push_back(std::nullopt);
    Item(*form_, "Colorize1")->trigger();
    TChildForm* vesk = form_->VeskChild();
    const Bitmap before = vesk->GetBitmap();
    const Color paint = before.Pixel(2, 3);
    QTest::mousePress(vesk->Image1(), Qt::RightButton, Qt::ShiftModifier, QPoint(2, 3));
    QTest::mouseMove(vesk->Image1(), QPoint(6, 6));
    QCOMPARE(vesk->PictureBitmap().Pixel(6, 6), paint);
    QVERIFY(vesk->GetBitmap() == before);  // until the mouse-up
    QTest::mouseRelease(vesk->Image1(), Qt::RightButton, Qt::ShiftModifier, QPoint(15, 15));
    Bitmap expected = before;
    expected.SetPixel(6, 6, paint);
    expected.SetPixel(15, 15, paint);
    QVERIFY(vesk->GetBitmap() == expected);
    QVERIFY(form_->MeshModel().Empty());  // no mesh gesture on the Vesk image
  }

  void CopyAndPasteGoThroughTheClipboard() {
    OpenBothWithANode();
    form_->PasteClick();
    QCOMPARE(Shown(), QStringList("Trelvanique: There is no bitmap on the Clipboard"));
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    QTest::keyClick(form_.get(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(FromQImage(QApplication::clipboard()->image()) == first_);  // without the mesh
    QVERIFY(Item(*form_, "Paste")->isEnabled());
    form_->MdiArea()->setActiveSubWindow(form_->SecondChild());
    Item(*form_, "Paste")->trigger();
    QVERIFY(form_->SecondChild()->GetBitmap() == first_);
    // The node is drawn over the pasted picture.
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
    QCOMPARE(Shown().size(), 1);
  }

  void CopyVeskTakesTheVeskPictureAndKeepsTheNodes() {
    OpenBothWithANode();
    MakeVesk();
    const Bitmap vesk = form_->VeskChild()->PictureBitmap();
    QTest::mouseClick(Button(*form_, "CopyF2PButton"), Qt::LeftButton);
    QVERIFY(form_->FirstChild()->GetBitmap() == vesk);
    QCOMPARE(form_->FirstChild()->Image1()->size(), QSize(24, 26));
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
    QTest::mouseClick(Button(*form_, "CopyS2PButton"), Qt::LeftButton);
    QVERIFY(form_->SecondChild()->GetBitmap() == vesk);
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
  }

  void SaveVeskImageAsWritesTheVeskPictureAndMarksTheMeshSaved() {
    OpenBothWithANode();
    MakeVesk();
    const QString caption = form_->windowTitle();
    dialogs_.save_answers.push_back(File("frame"));
    Item(*form_, "SaveVeskImageAs")->trigger();
    QCOMPARE(dialogs_.filters.last(), QString("Bitmap Files|*.bmp|All Files|*.*"));
    auto saved = LoadBmpFile(File("frame.bmp").toStdString());
    QVERIFY(saved.Ok() && saved.Value() == form_->VeskChild()->PictureBitmap());
    QVERIFY(form_->MeshSaved);
    QCOMPARE(form_->windowTitle(), caption);
    // A cancel marks it saved as well; a refused save is reported.
    QTest::mouseClick(form_->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(20, 15));
    dialogs_.save_answers.push_back(std::nullopt);
    Item(*form_, "SaveVeskImageAs")->trigger();
    QVERIFY(form_->MeshSaved);
    dialogs_.save_answers.push_back(File("missing/folder/pic"));
    Item(*form_, "SaveVeskImageAs")->trigger();
    QCOMPARE(Shown().size(), 1);
    QVERIFY(Shown()[0].startsWith("Trelvanique: ") && Shown()[0].endsWith('.'));
  }

  void PrinterDialogsAreAskedAndObeyed() {
    OpenBothWithANode();
    MakeVesk();
    dialogs_.printer_answers = {false, false};
    Item(*form_, "PrintVeskImage1")->trigger();
    Item(*form_, "PrinterSetup1")->trigger();
    QCOMPARE(dialogs_.unexpected, 0);
    QVERIFY(dialogs_.printer_answers.empty() && dialogs_.messages.empty());

    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("no/folder/page.pdf"));
    dialogs_.printer_answers = {true};
    PrintBitmap(nullptr, dialogs_, printer, Bitmap(2, 2));
    QCOMPARE(Shown().last(), QString("Trelvanique: The printer could not start the document"));
    printer.setOutputFileName(dir.filePath("page.pdf"));
    dialogs_.printer_answers = {false};
    PrintBitmap(nullptr, dialogs_, printer, Bitmap(2, 2));
    QVERIFY(!QFile::exists(dir.filePath("page.pdf")));
  }

  void PrintStretchesThePictureOverThePrintableArea() {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 20, 10, 20), QPageLayout::Millimeter);
    Bitmap picture(32, 2, MakeColor(255, 0, 0));  // red left, blue right
    for (int x = 16; x < 32; ++x) picture.SetPixel(x, 0, MakeColor(0, 0, 255));
    for (int x = 16; x < 32; ++x) picture.SetPixel(x, 1, MakeColor(0, 0, 255));
    dialogs_.printer_answers = {true};
    PrintBitmap(nullptr, dialogs_, printer, picture);
    QCOMPARE(Shown(), QStringList());
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) is not installed");
    // At 25.4 dots per inch a pixel is a millimetre: the area is x 10..200, y 20..277.
    const QStringList arguments = {
        "-r", "25.4", "-png", "-singlefile", dir.filePath("page.pdf"), dir.filePath("page")};
    QCOMPARE(QProcess::execute(pdftoppm, arguments), 0);
    const QImage page(dir.filePath("page.png"));
    const char* const rows[][3] = {{"12", "22", "ff0000"},  {"90", "275", "ff0000"},
                                   {"120", "22", "0000ff"}, {"198", "275", "0000ff"},
                                   {"5", "150", "ffffff"},  {"205", "150", "ffffff"},
                                   {"105", "12", "ffffff"}, {"105", "285", "ffffff"}};
    for (const auto& r : rows) {
      const QColor c = page.pixelColor(QString(r[0]).toInt(), QString(r[1]).toInt());
      const QColor e(QString("#") + r[2]);
      const int off = std::abs(c.red() - e.red()) + std::abs(c.blue() - e.blue());
      QVERIFY2(off < 60, qPrintable(QString("%1,%2: %3").arg(r[0], r[1], c.name())));
    }
  }

  void OptionsRedrawTheImageWindows() {
    OpenBothWithANode();
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(3, 10), first_.Pixel(3, 10));
    auto answer = [](const char* node_size, const char* button) {
      WhenModalOpens([=](QWidget* modal) {
        QVERIFY(qobject_cast<TOptionsForm*>(modal));
        Edit(*modal, "Edit6")->setText(node_size);
        QTest::mouseClick(NamedChild<QPushButton>(*modal, button), Qt::LeftButton);
      });
    };
    answer("8", "Button1");  // OK
    Item(*form_, "Options")->trigger();
    QCOMPARE(form_->CurrentSettings().NodeSize, std::uint8_t{8});
    // The node square now covers 2 .. 17 on both windows.
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(3, 10), MakeColor(255, 0, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(2, 10), kBlack);
    answer("2", "Button2");  // Cancel
    Item(*form_, "Options")->trigger();
    QCOMPARE(form_->CurrentSettings().NodeSize, std::uint8_t{8});
  }
};

QTEST_MAIN(ImageWindowsTest)
#include "image_windows_test.moc"
