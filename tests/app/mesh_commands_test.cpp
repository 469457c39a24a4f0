// The mesh commands New, Open, Save and Save as: their dialogs, questions
// and messages, the caption and the saved state.
#include "app1_support.h"
#include "core/mesh/mesh_file.h"

using namespace vesk;
using namespace vesk::testing;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray MeshBytes(const Mesh& mesh, const QString& first) {
  const std::vector<std::uint8_t> bytes = WriteMesh(mesh, first.toStdString(), "").Value();
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

}  // namespace

class MeshCommandsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  // Three nodes and one triangle placed on the first image.
  void BuildMesh() {
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(60, 50, 1)));
    TImage* image = form_->FirstChild()->Image1();
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseClick(image, Qt::LeftButton, Qt::ControlModifier, QPoint(25, 40));
  }
  QString Caption(const QString& file) const { return "Trelvanique 1.1 " + file; }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }

  void SaveAndSaveAs() {
    const struct {
      const char* name;
      const char* typed;  // Save as answers this; none: Save
      const char* file;
      int answer;  // to the overwrite question; -1: none asked
      bool saved;
    } rows[] = {
        {"save", nullptr, "NoName.mesh", -1, true},
        {"overwrite declined", nullptr, "NoName.mesh", int(Answer::No), false},
        {"overwrite accepted", nullptr, "NoName.mesh", int(Answer::Yes), true},
        {"missing folder", nullptr, "missing/x.mesh", -1, false},
        {"save as appends the extension", "a.txt", "a.txt.mesh", -1, true},
        {"save as keeps a name holding it", "b.MeSh.bak", "b.MeSh.bak", -1, true},
        {"save as declined still takes the name", "keep.mesh", "keep.mesh", int(Answer::No), false},
    };
    for (const auto& r : rows) {
      StopWindow();
      StartWindow();
      if (r.answer >= 0) WriteBytes(File(r.file), "old");
      BuildMesh();
      if (r.answer >= 0) dialogs_.confirm_answers.push_back(Answer(r.answer));
      if (!r.typed) form_->MeshFileName = File(r.file);
      if (!r.typed) QTest::mouseClick(Button(*form_, "SaveMeshButton"), Qt::LeftButton);
      if (r.typed) dialogs_.save_answers.push_back(File(r.typed));
      if (r.typed) Item(*form_, "SaveMashAs")->trigger();
      QVERIFY2(form_->MeshSaved == r.saved, r.name);
      QCOMPARE(dialogs_.confirmations.size(), size_t{r.answer >= 0 ? 1u : 0u});
      QVERIFY(r.answer < 0 || dialogs_.confirmations[0].text == "Do you Want to overwrite ?");
      const bool failed = !r.saved && r.answer < 0;
      QCOMPARE(Shown().size(), failed ? 1 : 0);
      QVERIFY(!failed || (Shown()[0].startsWith("Trelvanique: ") && Shown()[0].endsWith('.')));
      const QByteArray expected = MeshBytes(form_->MeshModel(), form_->FirstFileName);
      QVERIFY2(
          ReadAll(File(r.file)) == (r.saved ? expected : QByteArray(r.answer < 0 ? "" : "old")),
          r.name);
      if (!r.typed) continue;
      QCOMPARE(dialogs_.filters.last(), QString("Mesh Files|*.mesh|All Files|*.*"));
      QCOMPARE(form_->windowTitle(), Caption(File(r.file)));
      dialogs_.save_answers.push_back(std::nullopt);  // a cancel changes nothing
      Item(*form_, "SaveMashAs")->trigger();
      QCOMPARE(form_->MeshFileName, File(r.file));
    }
  }

  void OpenReadsTheMeshAndReopensBothImages() {
    const Bitmap first = TestPicture(30, 20, 5), second = TestPicture(25, 22, 6);
    WriteBmp(File("one.bmp"), first);
    WriteBmp(File("two.bmp"), second);
    Mesh mesh;
    mesh.AddNode(1, 2);
    mesh.AddNode(3, 4);
    mesh.AddTriangle(8, 9, kFirstImage, 5);
    QVERIFY(WriteMeshFile(File("m.mesh").toStdString(), mesh, "one.bmp", "two.bmp").Ok());
    form_->MeshSaved = false;
    dialogs_.open_answers.push_back(QStringList{File("m.mesh")});
    QTest::mouseClick(Button(*form_, "OpenMeshButton"), Qt::LeftButton);
    QCOMPARE(form_->windowTitle(), Caption(File("m.mesh")));
    QCOMPARE(form_->MeshModel().NodeCount() + form_->MeshModel().TriangleCount(), size_t{4});
    QCOMPARE(form_->FirstFileName + " " + form_->SecondFileName, QString("one.bmp two.bmp"));
    QVERIFY(form_->FirstChild()->GetBitmap() == first);
    QVERIFY(form_->SecondChild()->GetBitmap() == second);
    QCOMPARE(form_->SecondChild()->ImageKind, 2);
    QVERIFY(form_->FirstChild()->PictureBitmap() != first);  // the mesh is drawn
    QVERIFY(!form_->MeshSaved);                              // opening leaves it as it was
    QVERIFY(Item(*form_, "Ombrix1")->isEnabled());
    QCOMPARE(form_->SecondChild()->x(), form_->FirstChild()->geometry().right() + 1);  // tiled
    // A file of another format is named in the caption and its mesh is gone.
    WriteBytes(File("x.mesh"), QByteArray("\x06MESH10\0\0\0\0", 11));
    dialogs_.open_answers = {QStringList{File("x.mesh")}};
    Item(*form_, "OpenMesh")->trigger();
    QCOMPARE(Shown(), QStringList("Trelvanique: Error in file format (required mesh 1.1)"));
    QVERIFY(form_->MeshModel().Empty());
    QCOMPARE(form_->windowTitle(), Caption(File("x.mesh")));
  }
};

QTEST_MAIN(MeshCommandsTest)
#include "mesh_commands_test.moc"
