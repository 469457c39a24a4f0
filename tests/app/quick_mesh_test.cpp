// Quick meshes, the fold-over warning and opening by name, through the real
// main window: the Edit menu's New Grid Mesh and Triangulate Nodes, the
// status bar's count and the second image's warning colour, the command
// line's files, dropped files and the "Recent meshes" submenu.
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "app1_support.h"
#include "app/recent_meshes.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/mesh_file.h"

using namespace vesk;
using namespace vesk::testing;

class QuickMeshTest : public QObject, public WindowFixture {
  Q_OBJECT

  QTemporaryDir settings_dir_;

  QString Label() { return form_->findChild<QLabel*>("FoldOverLabel")->text(); }

  void Drop(const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& f : files) urls << QUrl::fromLocalFile(f);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form_.get(), &drop);
  }

 private slots:
  void initTestCase() {
    // The recent list goes to a folder of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
  }
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }

  void GridThenTriangulateReplaceTheMeshThroughTheEditMenu() {
    QVERIFY(!Item(*form_, "NewGridMesh")->isEnabled());
    const QString a = WriteBmp(File("a.bmp"), TestPicture(60, 50, 1));
    const QString b = WriteBmp(File("b.bmp"), TestPicture(90, 30, 2));
    form_->OpenFiles({a, b});
    QVERIFY(Item(*form_, "NewGridMesh")->isEnabled());
    QVERIFY(!Item(*form_, "TriangulateNodes")->isEnabled());

    dialogs_.number_answers.push_back(std::nullopt);  // cancelled: nothing happens
    dialogs_.number_answers.push_back(QList<int>{100, 3});  // too many for 60 pixels
    dialogs_.number_answers.push_back(QList<int>{4, 3});
    for (int i = 0; i < 3; ++i) Item(*form_, "NewGridMesh")->trigger();
    QCOMPARE(dialogs_.titles.last(), QString("New Grid Mesh"));
    QCOMPARE(dialogs_.messages.size(), size_t{1});
    QCOMPARE(dialogs_.messages[0].text,
             QString("The images are too small for a grid of 100 x 3 nodes."));
    const Mesh& mesh = form_->MeshModel();
    QCOMPARE(mesh.NodeCount(), size_t{12});
    QCOMPARE(mesh.TriangleCount(), size_t{12});
    QCOMPARE(mesh.NodeList().front().X2, 89);  // scaled to the second image
    QVERIFY(!form_->MeshSaved);

    form_->MeshSaved = true;
    Item(*form_, "TriangulateNodes")->trigger();
    QCOMPARE(form_->MeshModel().NodeCount(), size_t{12});
    QCOMPARE(form_->MeshModel().TriangleCount(), size_t{12});
    QVERIFY(!form_->MeshSaved);
    QCOMPARE(dialogs_.unexpected, 0);
  }

  void FoldedTriangleIsCountedAndDrawnInTheWarningColour() {
    WriteBmp(File("a.bmp"), Bitmap(40, 40, kWhite));
    WriteBmp(File("b.bmp"), Bitmap(40, 40, kWhite));
    Mesh mesh;
    const TMeshNode* n1 = mesh.PushNode({5, 5, 30, 5});
    const TMeshNode* n2 = mesh.PushNode({30, 5, 5, 5});
    const TMeshNode* n3 = mesh.PushNode({5, 30, 30, 30});
    mesh.PushTriangle(n1, n2, n3);
    QVERIFY(WriteMeshFile(File("fold.mesh").toStdString(), mesh, "a.bmp", "b.bmp").Ok());
    QCOMPARE(Label(), QString("Folded triangles: 0"));
    form_->OpenFiles({File("fold.mesh")});
    QCOMPARE(Label(), QString("Folded triangles: 1"));
    // The top edge's middle: warning colour on the second image only.
    const QRgb warning = qRgb(RedOf(kFoldOverColor), GreenOf(kFoldOverColor), BlueOf(kFoldOverColor));
    const Color line = form_->CurrentSettings().LineColor;
    QCOMPARE(form_->SecondChild()->Image1()->Picture().pixel(17, 5), warning);
    QCOMPARE(form_->FirstChild()->Image1()->Picture().pixel(17, 5),
             qRgb(RedOf(line), GreenOf(line), BlueOf(line)));
  }

  void CommandLineMeshOpensBothPicturesAndIsRemembered() {
    const QString sample = QString(VESK_SOURCE_DIR) + "/examples/sample.mesh";
    form_->OpenFiles({sample});
    QVERIFY(form_->FirstChild() && form_->SecondChild());
    QCOMPARE(form_->FirstChild()->GetBitmap().Width(), 160);
    QCOMPARE(form_->SecondChild()->GetBitmap().Height(), 120);
    QVERIFY(form_->MeshModel().TriangleCount() > 0);
    QVERIFY(form_->windowTitle().endsWith("sample.mesh"));
    QCOMPARE(RecentMeshFiles().value(0), QFileInfo(sample).absoluteFilePath());
    QVERIFY(form_->RecentMeshesMenu()->actions().value(0)->text().endsWith("sample.mesh"));
    QCOMPARE(dialogs_.messages.size(), size_t{0});
  }

  void DroppedFilesOpen_data() {
    QTest::addColumn<bool>("first_open");
    QTest::addColumn<int>("dropped");  // pictures dropped: b.bmp, then c.bmp
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("one picture, none open: first") << false << 1 << "b.bmp" << "";
    QTest::newRow("one picture, first open: second") << true << 1 << "a.bmp" << "b.bmp";
    QTest::newRow("two pictures: first and second") << true << 2 << "b.bmp" << "c.bmp";
  }
  void DroppedFilesOpen() {
    QFETCH(bool, first_open);
    QFETCH(int, dropped);
    QFETCH(QString, first);
    QFETCH(QString, second);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
      WriteBmp(File(name), TestPicture(20, 20, 3));
    }
    if (first_open) form_->OpenFiles({File("a.bmp")});
    Drop(QStringList{File("b.bmp"), File("c.bmp")}.mid(0, dropped));
    QCOMPARE(QFileInfo(form_->FirstFileName).fileName(), first);
    QCOMPARE(QFileInfo(form_->SecondFileName).fileName(), second);
    QCOMPARE(form_->SecondChild() != nullptr, !second.isEmpty());
  }

  void RecentMeshesKeepEightAndForgetAMissingFile() {
    for (int i = 0; i < 10; ++i) RememberRecentMesh(File(QString("m%1.mesh").arg(i)));
    QCOMPARE(RecentMeshFiles().size(), 8);
    QCOMPARE(RecentMeshFiles().first(), File("m9.mesh"));
    const QString drop = File("drop.mesh");
    Mesh empty;
    QVERIFY(WriteMeshFile(drop.toStdString(), empty, "", "").Ok());
    Drop({drop});
    QCOMPARE(form_->MeshFileName, drop);
    QCOMPARE(form_->RecentMeshesMenu()->actions().size(), 8);
    QFile::remove(drop);
    form_->RecentMeshesMenu()->actions().first()->trigger();
    QCOMPARE(dialogs_.messages.back().text, drop + " file already not exist");
    QCOMPARE(RecentMeshFiles().first(), File("m9.mesh"));
  }
};

QTEST_MAIN(QuickMeshTest)
#include "quick_mesh_test.moc"
