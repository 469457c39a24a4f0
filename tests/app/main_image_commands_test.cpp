// The window-level steps of the image commands on the main window: Copy,
// Paste, Copy Vesk 2 First / Second, Save Vesk Image as, and the redraw
// after the Options dialog.
#include <QClipboard>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "app/options_form.h"
#include "app1_support.h"
#include "qtimage/image_convert.h"

using namespace vesk;
using namespace vesk::testing;

class MainImageCommandsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  Bitmap first_, second_;

  void OpenBothWithANode() {
    first_ = TestPicture(30, 20, 1);
    second_ = TestPicture(24, 26, 2);
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(work_->File("a.bmp"), first_));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(work_->File("b.bmp"), second_));
    QTest::mouseClick(form_->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
  }
  void MakeVesk() {
    dialogs_.save_answers.push_back(std::nullopt);
    form_->Colorize1Click();  // the Vesk window ends with the second image
    QVERIFY(form_->VeskChild());
  }

 private slots:
  void init() {
    QApplication::clipboard()->clear();
    StartWindow();
  }
  void cleanup() { StopWindow(); }

  void CopyPutsTheCleanImageOnTheClipboardAndEnablesPaste() {
    OpenBothWithANode();
    QVERIFY(form_->FirstChild()->PictureBitmap() != first_);  // the node shows
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    QVERIFY(!Item(*form_, "Paste")->isEnabled());
    QTest::keyClick(form_.get(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(FromQImage(QApplication::clipboard()->image()) == first_);
    QVERIFY(Item(*form_, "Paste")->isEnabled());
  }

  void PasteIntoTheSecondWindowRedrawsTheMeshOverIt() {
    OpenBothWithANode();
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    Item(*form_, "Copy")->trigger();
    form_->MdiArea()->setActiveSubWindow(form_->SecondChild());
    Item(*form_, "Paste")->trigger();
    QVERIFY(dialogs_.messages.empty());
    QVERIFY(form_->SecondChild()->GetBitmap() == first_);
    // The node at (10, 10) is drawn over the pasted image.
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(20, 15), first_.Pixel(20, 15));
  }

  void PasteWithoutABitmapSaysSoAndChangesNothing() {
    OpenBothWithANode();
    form_->MdiArea()->setActiveSubWindow(form_->SecondChild());
    form_->PasteClick();
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QCOMPARE(dialogs_.messages[0].text, QString("There is no bitmap on the Clipboard"));
    QVERIFY(form_->SecondChild()->GetBitmap() == second_);
  }

  void CopyVeskToFirstTakesTheVeskSizeAndKeepsTheNodes() {
    OpenBothWithANode();
    MakeVesk();
    const Bitmap vesk = form_->VeskChild()->PictureBitmap();
    QCOMPARE(vesk.Width(), 24);
    QTest::mouseClick(Button(*form_, "CopyF2PButton"), Qt::LeftButton);
    QVERIFY(form_->FirstChild()->GetBitmap() == vesk);
    QCOMPARE(form_->FirstChild()->Image1()->size(), QSize(24, 26));
    QCOMPARE(form_->MeshModel().NodeList().front().X1, 10);
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
    Item(*form_, "CopyVesk2Second")->trigger();
    QVERIFY(form_->SecondChild()->GetBitmap() == vesk);
  }

  void SaveVeskImageAsLeavesTheMeshUnsaved() {
    OpenBothWithANode();
    MakeVesk();
    QVERIFY(!form_->MeshSaved);
    const QString caption = form_->windowTitle();
    dialogs_.save_answers.push_back(work_->File("frame"));
    Item(*form_, "SaveVeskImageAs")->trigger();
    QCOMPARE(dialogs_.filters.last(), QString("Bitmap Files|*.bmp|All Files|*.*"));
    QVERIFY(QFile::exists(work_->File("frame.bmp")));
    auto saved = LoadBmpFile(work_->File("frame.bmp").toStdString());
    QVERIFY(saved.Ok());
    QVERIFY(saved.Value() == form_->VeskChild()->PictureBitmap());
    QVERIFY(!form_->MeshSaved);
    QCOMPARE(form_->windowTitle(), caption);
  }

  void OptionsRedrawTheImageWindowsWithTheNewValues() {
    OpenBothWithANode();
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(3, 10), first_.Pixel(3, 10));
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* options = qobject_cast<TOptionsForm*>(QApplication::activeModalWidget());
      QVERIFY(options);
      seen = true;
      auto* node_size = options->findChild<QLineEdit*>("Edit6");
      QVERIFY(node_size);
      node_size->setText("8");
      QTest::mouseClick(options->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    Item(*form_, "Options")->trigger();
    QVERIFY(seen);
    QCOMPARE(form_->CurrentSettings().NodeSize, std::uint8_t{8});
    QCOMPARE(form_->CurrentSettings().FrameCount, std::uint16_t{12});
    // The node square now covers 2 .. 17.
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(3, 10), MakeColor(255, 0, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(2, 10), kBlack);

    // Cancel stores nothing.
    QTimer::singleShot(0, [&] {
      auto* options = qobject_cast<TOptionsForm*>(QApplication::activeModalWidget());
      QVERIFY(options);
      options->findChild<QLineEdit*>("Edit6")->setText("2");
      QTest::mouseClick(options->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    Item(*form_, "Options")->trigger();
    QCOMPARE(form_->CurrentSettings().NodeSize, std::uint8_t{8});
  }

  void IndexWithoutTheHelpFileGivesAMessage() {
    Item(*form_, "Index")->trigger();
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QVERIFY(dialogs_.messages[0].text.contains("Zelph.hlp"));
  }

  void AnimationsCancelledDoesNothing() {
    dialogs_.open_answers.push_back(std::nullopt);
    QTest::mouseClick(Button(*form_, "AniBitBtn"), Qt::LeftButton);
    QCOMPARE(dialogs_.filters.last(), QString("Animation Files|*.any|All Files|*.*"));
    QVERIFY(dialogs_.messages.empty());
  }
};

QTEST_MAIN(MainImageCommandsTest)
#include "main_image_commands_test.moc"
