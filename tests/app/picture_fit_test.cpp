// Edit > Fit Second Image to First: the picture and the mesh as one step that
// Undo takes back, the fitted picture saved with the mesh, and Auto Mesh's
// offer to fit first.
#include "app1_support.h"
#include "core/mesh/mesh_snapshot.h"

class PictureFitTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  void OpenPair(int second_width, int second_height) {
    first_ = TestPicture(60, 50, 1);
    second_ = TestPicture(second_width, second_height, 2);
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("first.bmp"), first_));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(File("second.bmp"), second_));
  }
  const Bitmap& Second() const { return form_->SecondChild()->GetBitmap(); }
  MeshSnapshot MeshNow() const { return TakeMeshSnapshot(form_->MeshModel()); }
  QStringList UndoSteps() const {
    QStringList steps;
    const QUndoStack& stack = form_->Undo().Stack();
    for (int i = 0; i < stack.count(); ++i) steps << stack.text(i);
    return steps;
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }

  void FitIsOneStepThatUndoTakesBackAndTheMeshSaveKeepsThePicture() {
    OpenPair(40, 40);
    // 40 x 40 fits into 60 x 50 at 1.25, 5 pixels in from the left: (20, 10)
    // goes to (30, 13).
    form_->MeshModel().PushNode({30, 25, 20, 10});
    const MeshSnapshot laid = MeshNow();
    Run("FitSecondToFirst");
    const Bitmap fitted = Second();
    QVERIFY(fitted.Width() == 60 && fitted.Height() == 50);
    const TMeshNode node = MeshNow().nodes[0];
    QCOMPARE(QRect(node.X1, node.Y1, node.X2, node.Y2), QRect(30, 25, 30, 13));
    QCOMPARE(form_->SecondChild()->windowTitle(), "second.bmp (fitted)");
    QVERIFY(!Item(*form_, "FitSecondToFirst")->isEnabled() && !form_->MeshSaved);
    QCOMPARE(UndoSteps(), QStringList{"fit second image to first"});
    Run("Undo1");
    QVERIFY(Second() == second_ && MeshNow() == laid && form_->MeshSaved);
    QCOMPARE(form_->SecondChild()->windowTitle(), "second.bmp");
    Run("Redo1");
    QVERIFY(Second() == fitted && MeshNow().nodes[0].X2 == 30);

    // The mesh save first saves the fitted picture under a name the user
    // gives; cancelling that saves nothing.
    form_->MeshFileName = File("pair.mesh");
    dialogs_.save_answers = {std::nullopt, File("second-fitted")};
    Run("Savemesh");
    QVERIFY(!QFile::exists(File("pair.mesh")) && !form_->MeshSaved);
    Run("Savemesh");
    QCOMPARE(dialogs_.titles.mid(2), (QStringList(2, "Save Fitted Second Image as")));
    QVERIFY(LoadBmpFile(File("second-fitted.bmp").toStdString()).Value() == fitted);
    QCOMPARE(form_->SecondChild()->windowTitle(), "second-fitted.bmp");
    // Undo puts the opened picture back with its name, redo the saved one.
    Run("Undo1");
    QVERIFY(Second() == second_ && form_->SecondFileName == File("second.bmp"));
    Run("Redo1");
    QVERIFY(form_->MeshSaved && form_->SecondFileName == File("second-fitted.bmp"));
    // The mesh opens with the picture its nodes were placed on.
    form_->NewMeshClick();
    dialogs_.open_answers = {QStringList{File("pair.mesh")}};
    Run("OpenMesh");
    QVERIFY(Second() == fitted && MeshNow().nodes[0].X2 == 30);
    QCOMPARE(dialogs_.unexpected, 0);
  }

  void AutoMeshOnPicturesOfOtherSizesOffersToFitFirst() {
    const struct {
      Answer answer;
      QStringList steps;
      int second_width;
    } rows[] = {
        {Answer::Yes, {"fit second image to first", "auto mesh"}, 60},
        {Answer::No, {"auto mesh"}, 48},
        {Answer::Cancel, {}, 48},
    };
    for (const auto& r : rows) {
      RestartWindow();
      OpenPair(48, 40);
      dialogs_.confirm_answers = {r.answer};
      if (r.answer != Answer::Cancel) dialogs_.auto_mesh_answers = {AutoMeshChoice{3, 2}};
      Run("AutoMesh");
      QCOMPARE(dialogs_.confirmations.size(), size_t{1});
      QVERIFY(dialogs_.confirmations[0].text.startsWith(
          "The second image is 48 x 40, the first 60 x 50."));
      QCOMPARE(UndoSteps(), r.steps);
      QCOMPARE(Second().Width(), r.second_width);
      QVERIFY2(Shown().isEmpty(), qPrintable(Shown().join("; ")));
      QCOMPARE(dialogs_.unexpected, 0);
    }
    // Pictures of one size are meshed without the question.
    Run("FitSecondToFirst");
    dialogs_.confirmations.clear();
    dialogs_.auto_mesh_answers = {std::nullopt};
    Run("AutoMesh");
    QVERIFY(dialogs_.confirmations.empty() && dialogs_.unexpected == 0);
  }
};

QTEST_MAIN(PictureFitTest)
#include "picture_fit_test.moc"
