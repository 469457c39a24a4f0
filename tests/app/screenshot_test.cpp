// Grabs of the main window for looking at the layout: the tool panel, the
// two example images with their mesh, and a finished morph. Written to
// <build>/screenshots/.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/about_box.h"
#include "app/kancel_form.h"
#include "app1_support.h"
#include "core/mesh/mesh_file.h"

using namespace vesk;
using namespace vesk::testing;

class ScreenshotTest : public QObject {
  Q_OBJECT

 private:
  QString shots_ = QString(VESK_BUILD_DIR) + "/screenshots";

  void Save(QWidget& widget, const QString& name) {
    QVERIFY(QDir().mkpath(shots_));
    const QString path = shots_ + "/" + name;
    QVERIFY2(widget.grab().save(path), qPrintable(path));
    QVERIFY(QFile(path).size() > 0);
  }

  // The example images and mesh when the project has them; otherwise drawn
  // pictures and a mesh built here.
  void LoadScene(TMDIForm& form, ScriptedDialogs& dialogs, const TempWorkDir& work) {
    const QDir examples(QString(VESK_SOURCE_DIR) + "/examples");
    const QStringList names{"first.bmp", "second.bmp", "sample.mesh"};
    bool have_examples = true;
    for (const QString& n : names) have_examples = have_examples && examples.exists(n);
    if (have_examples) {
      for (const QString& n : names) QVERIFY(QFile::copy(examples.filePath(n), work.File(n)));
      dialogs.open_answers.push_back(QStringList{work.File("sample.mesh")});
      Item(form, "OpenMesh")->trigger();
      if (form.FirstChild() && form.SecondChild() && form.MeshModel().TriangleCount() > 0) return;
    }
    Bitmap first(160, 120), second(160, 120);
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) {
        bool in_circle = (x - 80) * (x - 80) + (y - 60) * (y - 60) < 40 * 40;
        first.SetPixel(x, y, in_circle ? MakeColor(230, 200, 40) : MakeColor(x, y * 2, 160));
        bool in_square = x > 40 && x < 120 && y > 20 && y < 100;
        second.SetPixel(x, y, in_square ? MakeColor(40, 90, 220) : MakeColor(200, x, y));
      }
    OpenImage(form, dialogs, "OpenFirst", WriteBmp(work.File("first.bmp"), first));
    OpenImage(form, dialogs, "OpenSecond", WriteBmp(work.File("second.bmp"), second));
    TImage* image = form.FirstChild()->Image1();
    auto plain = [&](int x, int y) { QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(x, y)); };
    auto ctrl = [&](int x, int y) {
      QTest::mouseClick(image, Qt::LeftButton, Qt::ControlModifier, QPoint(x, y));
    };
    plain(20, 20);
    plain(140, 20);
    ctrl(80, 60);
    ctrl(140, 100);
    ctrl(20, 100);
    plain(20, 20);
    ctrl(80, 60);
  }

 private slots:
  void MainWindowWithMeshAndMorph() {
    TempWorkDir work;
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    Save(*form, "main_window_empty.png");

    LoadScene(*form, dialogs, work);
    QVERIFY(form->FirstChild() && form->SecondChild());
    QVERIFY(form->MeshModel().TriangleCount() >= 3);
    form->resize(900, 420);
    form->Tile1Click();
    QTest::mouseMove(form->FirstChild()->Image1(), QPoint(57, 33));
    Save(*form, "main_window_mesh.png");

    Settings s = form->CurrentSettings();
    s.FrameCount = 6;
    s.Precision = 2;
    form->SetSettings(s);
    dialogs.save_answers.push_back(std::nullopt);  // no frame list
    Item(*form, "Ombrix1")->trigger();
    QVERIFY(form->VeskChild());
    form->Tile1Click();
    Save(*form, "main_window_morph.png");
    form->resize(538, 401);
    form->Tile1Click();
    Save(*form, "main_window_designed_size.png");
    QCOMPARE(dialogs.unexpected, 0);
  }

  void ProgressWindowAndAboutBox() {
    TKancelForm kancel;
    kancel.Label1()->setText("3/12");
    kancel.ProgressBar1()->setValue(40);
    kancel.ProgressBar2()->setValue(25);
    kancel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&kancel));
    Save(kancel, "progress_window.png");
    TAboutBox about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    Save(about, "about_box.png");
    about.RoughenClick();
    Save(about, "about_box_roughened.png");
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
