// Nothing the user made is lost: drags, Swap Morph Mesh and a picture save
// leave the mesh unsaved, close, New and Open ask, and a read-only settings
// file is left alone at close.
#include <QFile>

#include "app1_support.h"

using namespace vesk;
using namespace vesk::testing;

class UnsavedMeshTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  // Both images open, one node at (10, 10), the mesh saved to NoName.mesh.
  void SavedMeshWithANode() {
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(40, 30, 1)));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(File("b.bmp"), TestPicture(40, 30, 2)));
    QTest::mouseClick(form_->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    Item(*form_, "Savemesh")->trigger();
    QVERIFY(form_->MeshSaved);
  }
 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }

  void EditsLeaveTheMeshUnsaved_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("drag on the first image") << "first";
    QTest::newRow("drag on the second image") << "second";
    QTest::newRow("Swap Morph Mesh") << "swap";
    QTest::newRow("cancelled picture save") << "picture";
  }
  void EditsLeaveTheMeshUnsaved() {
    QFETCH(QString, edit);
    SavedMeshWithANode();
    TImage* image = (edit == "second" ? form_->SecondChild() : form_->FirstChild())->Image1();
    // Selecting without moving is no edit.
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(form_->MeshSaved);
    if (edit == "swap") {
      Item(*form_, "SwapMorphMesh")->trigger();
    } else if (edit == "picture") {
      form_->MeshSaved = false;
      dialogs_.save_answers.push_back(std::nullopt);  // the frame list of the run
      form_->Colorize1Click();
      dialogs_.save_answers.push_back(std::nullopt);
      Item(*form_, "SaveVeskImageAs")->trigger();
    } else {
      QTest::mousePress(image, Qt::LeftButton, {}, QPoint(10, 10));
      QTest::mouseMove(image, QPoint(20, 15));
      QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(20, 15));
    }
    QVERIFY(!form_->MeshSaved);
    dialogs_.confirm_answers.push_back(Answer::Cancel);
    QVERIFY(!form_->close());
    QCOMPARE(dialogs_.confirmations.size(), size_t{1});
    QCOMPARE(dialogs_.confirmations[0].text, QString("Do you want to save the mesh ?"));
    QVERIFY(form_->isVisible());
  }

  void DecliningToOverwriteAtCloseKeepsTheProgramOpen() {
    SavedMeshWithANode();
    Item(*form_, "SwapMorphMesh")->trigger();
    dialogs_.confirm_answers = {Answer::Yes, Answer::No};
    QVERIFY(!form_->close());
    QCOMPARE(dialogs_.confirmations[1].text, QString("Do you Want to overwrite ?"));
    QVERIFY(form_->isVisible());
    QVERIFY(!form_->MeshSaved);
  }

  void NewAndOpenAskFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("New") << "NewMesh";
    QTest::newRow("Open") << "OpenMesh";
  }
  void NewAndOpenAskFirst() {
    QFETCH(QString, command);
    SavedMeshWithANode();
    Item(*form_, "SwapMorphMesh")->trigger();
    const QByteArray item = command.toLatin1();
    dialogs_.confirm_answers.push_back(Answer::Cancel);
    Item(*form_, item.constData())->trigger();
    QCOMPARE(dialogs_.confirmations.size(), size_t{1});
    QCOMPARE(dialogs_.confirmations[0].text, QString("Do you want to save the mesh ?"));
    QCOMPARE(form_->MeshModel().NodeCount(), size_t{1});
    QVERIFY(!form_->MeshSaved);
    QVERIFY(dialogs_.titles.size() == 2);  // no open dialog was shown

    // No: the mesh goes, and what replaces it counts as saved.
    dialogs_.confirm_answers.push_back(Answer::No);
    dialogs_.open_answers.push_back(QStringList{File("NoName.mesh")});
    Item(*form_, item.constData())->trigger();
    QCOMPARE(dialogs_.unexpected, 0);
    QVERIFY(form_->MeshSaved);
    QVERIFY(form_->close());
  }

  void ReadOnlySettingsFileIsLeftAloneSilently() {
    QFile ini(File("Trelvanique.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("mine") == 4);
    ini.close();
    QVERIFY(ini.setPermissions(QFile::ReadOwner));
    QVERIFY(form_->close());
    QVERIFY(dialogs_.messages.empty());
    QVERIFY(ini.open(QIODevice::ReadOnly) && ini.readAll() == "mine");
  }
};

QTEST_MAIN(UnsavedMeshTest)
#include "unsaved_mesh_test.moc"
