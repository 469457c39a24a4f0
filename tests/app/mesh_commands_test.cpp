// The mesh commands New, Open, Save and Save as through the menu.
#include <QFile>

#include "app1_support.h"
#include "core/mesh/mesh_file.h"

using namespace vesk;
using namespace vesk::testing;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  f.write(bytes);
}

QByteArray Bytes(const std::vector<std::uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

}  // namespace

class MeshCommandsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempWorkDir> work_;

  // Three nodes and one triangle through the gestures on the first image.
  void BuildMesh(TMDIForm& form, ScriptedDialogs& dialogs) {
    OpenImage(form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(60, 50, 1)));
    TImage* image = form.FirstChild()->Image1();
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseClick(image, Qt::LeftButton, Qt::ControlModifier, QPoint(25, 40));
  }

 private slots:
  void init() { work_ = std::make_unique<TempWorkDir>(); }
  void cleanup() { work_.reset(); }

  void SaveWritesTheMeshFileUnderItsName() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    BuildMesh(*form, dialogs);
    QVERIFY(!form->MeshSaved);
    QTest::mouseClick(Button(*form, "SaveMeshButton"), Qt::LeftButton);
    QVERIFY(form->MeshSaved);
    QVERIFY(dialogs.confirmations.empty());
    auto expected = WriteMesh(form->MeshModel(), form->FirstFileName.toStdString(), "");
    QVERIFY(expected.Ok());
    QCOMPARE(ReadAll(work_->File("NoName.mesh")), Bytes(expected.Value()));
    QCOMPARE(ReadAll(work_->File("NoName.mesh")).size(),
             11 + 3 * 16 + 32 + 48 + form->FirstFileName.toUtf8().size() + 2);
  }

  void SaveOverAnExistingFileAsksFirst() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    WriteAll(work_->File("NoName.mesh"), "old");
    BuildMesh(*form, dialogs);
    dialogs.confirm_answers.push_back(Answer::No);
    Item(*form, "Savemesh")->trigger();
    QCOMPARE(dialogs.confirmations.size(), size_t{1});
    QCOMPARE(dialogs.confirmations[0].text, QString("Do you Want to overwrite ?"));
    QCOMPARE(ReadAll(work_->File("NoName.mesh")), QByteArray("old"));
    QVERIFY(!form->MeshSaved);
    dialogs.confirm_answers.push_back(Answer::Yes);
    Item(*form, "Savemesh")->trigger();
    QVERIFY(form->MeshSaved);
    QVERIFY(ReadAll(work_->File("NoName.mesh")).startsWith(QByteArray("\x06MESH11", 7)));
  }

  void SaveIntoAMissingFolderReportsAndKeepsTheMeshUnsaved() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    BuildMesh(*form, dialogs);
    form->MeshFileName = work_->File("missing/x.mesh");
    dialogs.messages.clear();
    Item(*form, "Savemesh")->trigger();
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QVERIFY(dialogs.messages[0].text.endsWith('.'));
    QVERIFY(!form->MeshSaved);
  }

  void SaveAsAppendsTheExtensionUnlessTheNameHoldsIt() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    BuildMesh(*form, dialogs);
    dialogs.save_answers.push_back(work_->File("a.txt"));
    Item(*form, "SaveMashAs")->trigger();
    QCOMPARE(dialogs.filters.last(), QString("Mesh Files|*.mesh|All Files|*.*"));
    QCOMPARE(form->MeshFileName, work_->File("a.txt.mesh"));
    QCOMPARE(form->windowTitle(), "Trelvanique 1.1 " + work_->File("a.txt.mesh"));
    QVERIFY(QFile::exists(work_->File("a.txt.mesh")));
    QVERIFY(form->MeshSaved);

    dialogs.save_answers.push_back(work_->File("b.MeSh.bak"));
    Item(*form, "SaveMashAs")->trigger();
    QCOMPARE(form->MeshFileName, work_->File("b.MeSh.bak"));
    QVERIFY(QFile::exists(work_->File("b.MeSh.bak")));
  }

  void SaveAsTakesTheNewNameEvenWhenOverwritingIsDeclined() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    BuildMesh(*form, dialogs);
    WriteAll(work_->File("keep.mesh"), "keep");
    dialogs.save_answers.push_back(work_->File("keep.mesh"));
    dialogs.confirm_answers.push_back(Answer::No);
    Item(*form, "SaveMashAs")->trigger();
    QCOMPARE(ReadAll(work_->File("keep.mesh")), QByteArray("keep"));
    QCOMPARE(form->MeshFileName, work_->File("keep.mesh"));
    QCOMPARE(form->windowTitle(), "Trelvanique 1.1 " + work_->File("keep.mesh"));
    QVERIFY(!form->MeshSaved);
    // Cancelling the dialog changes nothing.
    dialogs.save_answers.push_back(std::nullopt);
    Item(*form, "SaveMashAs")->trigger();
    QCOMPARE(form->MeshFileName, work_->File("keep.mesh"));
  }

  void OpenReadsTheMeshAndReopensBothImages() {
    const Bitmap first = TestPicture(30, 20, 5);
    const Bitmap second = TestPicture(25, 22, 6);
    WriteBmp(work_->File("one.bmp"), first);
    WriteBmp(work_->File("two.bmp"), second);
    Mesh mesh;
    mesh.AddNode(1, 2);
    mesh.AddNode(3, 4);
    mesh.AddTriangle(8, 9, kFirstImage, 5);
    QVERIFY(WriteMeshFile(work_->File("m.mesh").toStdString(), mesh, "one.bmp", "two.bmp").Ok());

    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    dialogs.open_answers.push_back(QStringList{work_->File("m.mesh")});
    QTest::mouseClick(Button(*form, "OpenMeshButton"), Qt::LeftButton);
    QCOMPARE(dialogs.filters.last(), QString("Mesh Files|*.mesh|All Files|*.*"));
    QCOMPARE(form->MeshFileName, work_->File("m.mesh"));
    QCOMPARE(form->windowTitle(), "Trelvanique 1.1 " + work_->File("m.mesh"));
    QCOMPARE(form->MeshModel().NodeCount(), size_t{3});
    QCOMPARE(form->MeshModel().TriangleCount(), size_t{1});
    // Reading reverses the list order: the oldest node comes first now.
    QCOMPARE(form->MeshModel().NodeList().front().X1, 1);
    QCOMPARE(form->FirstFileName, QString("one.bmp"));
    QCOMPARE(form->SecondFileName, QString("two.bmp"));
    QVERIFY(form->FirstChild() && form->SecondChild());
    QVERIFY(form->FirstChild()->GetBitmap() == first);
    QVERIFY(form->SecondChild()->GetBitmap() == second);
    QCOMPARE(form->FirstChild()->ImageKind, 1);
    QCOMPARE(form->SecondChild()->ImageKind, 2);
    QVERIFY(form->MeshSaved);  // the mesh is the file's
    QVERIFY(Item(*form, "Ombrix1")->isEnabled());
    QVERIFY(Item(*form, "SwapMorphMesh")->isEnabled());
    // Tiled side by side.
    QCOMPARE(form->FirstChild()->geometry().top(), 0);
    QCOMPARE(form->SecondChild()->geometry().left(), form->FirstChild()->geometry().right() + 1);

    // Saving it again and reopening restores the order.
    dialogs.confirm_answers.push_back(Answer::Yes);
    Item(*form, "Savemesh")->trigger();
    auto reread = ReadMeshFile(work_->File("m.mesh").toStdString());
    QVERIFY(reread.Ok());
    QCOMPARE(reread.Value().mesh.NodeList().front().X1, 8);  // the original's newest node
  }

  void OpenKeepsImageWindowsWhoseFilesAreNotFound() {
    Mesh mesh;
    mesh.AddNode(1, 2);
    QVERIFY(WriteMeshFile(work_->File("m.mesh").toStdString(), mesh, "nowhere1.bmp", "").Ok());
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(9, 9, 1)));
    TChildForm* kept = form->FirstChild();
    dialogs.open_answers.push_back(QStringList{work_->File("m.mesh")});
    Item(*form, "OpenMesh")->trigger();
    QCOMPARE(form->FirstChild(), kept);
    QCOMPARE(form->FirstFileName, QString("nowhere1.bmp"));
    QCOMPARE(form->MeshModel().NodeCount(), size_t{1});
  }

  void OpenWithAWrongSignatureLeavesAnEmptyMesh() {
    WriteAll(work_->File("bad.mesh"), QByteArray("\x06MESH10\0\0\0\0", 11));
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    form->MeshModel().AddNode(5, 5);
    dialogs.messages.clear();
    dialogs.open_answers.push_back(QStringList{work_->File("bad.mesh")});
    Item(*form, "OpenMesh")->trigger();
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("Error in file format (required mesh 1.1)"));
    QVERIFY(form->MeshModel().Empty());
    QCOMPARE(form->windowTitle(), "Trelvanique 1.1 " + work_->File("bad.mesh"));
    QCOMPARE(form->MeshFileName, work_->File("bad.mesh"));
  }

  void OpenOfATruncatedFileReportsReadBeyondEnd() {
    Mesh mesh;
    mesh.AddNode(1, 2);
    mesh.AddNode(3, 4);
    auto bytes = WriteMesh(mesh, "x", "y");
    QVERIFY(bytes.Ok());
    WriteAll(work_->File("cut.mesh"), Bytes(bytes.Value()).left(20));
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    dialogs.messages.clear();
    dialogs.open_answers.push_back(QStringList{work_->File("cut.mesh")});
    Item(*form, "OpenMesh")->trigger();
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("Read beyond end of file"));
    QVERIFY(form->MeshModel().Empty());
    QVERIFY(!form->FirstChild());
  }

  void OpenOfAMissingFileOrACancelDoesNothing() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    form->MeshModel().AddNode(5, 5);
    dialogs.messages.clear();
    dialogs.open_answers.push_back(QStringList{work_->File("none.mesh")});
    Item(*form, "OpenMesh")->trigger();
    dialogs.open_answers.push_back(std::nullopt);
    Item(*form, "OpenMesh")->trigger();
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(form->MeshModel().NodeCount(), size_t{1});
    QCOMPARE(form->MeshFileName, QString("NoName.mesh"));
  }

  void NewMeshEmptiesTheMeshAndKeepsEverythingElse() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    BuildMesh(*form, dialogs);
    form->MeshFileName = "other.mesh";
    QVERIFY(Item(*form, "SwapMorphMesh")->isEnabled());
    dialogs.confirm_answers.push_back(Answer::No);
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(form->MeshModel().Empty());
    QVERIFY(form->MeshModel().SelectedNode() == nullptr);
    QCOMPARE(form->windowTitle(), QString("Trelvanique 1.1 other.mesh"));
    QVERIFY(form->MeshSaved);
    QVERIFY(form->FirstChild()->PictureBitmap() == form->FirstChild()->GetBitmap());
    QVERIFY(!Item(*form, "SwapMorphMesh")->isEnabled());
  }
};

QTEST_MAIN(MeshCommandsTest)
#include "mesh_commands_test.moc"
