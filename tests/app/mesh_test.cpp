// The mesh through the main window: undo and redo of every edit, the save
// question, New, Open, Save, Save as, zoomed clicks, a folded mesh from the command line.

#include <QMenu>
#include <QStatusBar>

#include "app/image_view.h"
#include "app1_support.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/mesh_file.h"

class MeshTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  QByteArray MeshBytes() const {
    const std::vector<std::uint8_t> bytes =
        WriteMesh(form_->MeshModel(), form_->FirstFileName.toStdString(),
                  form_->SecondFileName.toStdString())
            .Value();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  }
  QByteArray Read(const QString& name) const {
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QStringList Asked() const {
    QStringList texts;
    for (const auto& c : dialogs_.confirmations) texts << c.text;
    return texts;
  }
 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void EveryEditUndoesToTheEarlierFileAndRedoesToTheLast() {
    OpenBoth(60, 50);
    QString saved_mesh = File("earlier.mesh");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"place node", [&] { ClickAt(1, {10, 10}); }},
        {"place node", [&] { ClickAt(2, {40, 10}, {}, Qt::MiddleButton); }},  // a plain click
        {"place node", [&] { ClickAt(1, {25, 40}); }},
        {"triangulate nodes", [&] { Run("TriangulateNodes"); }},
        {"place node",  // Ctrl+double click is a plain click
         [&] { QTest::mouseDClick(Image(1), Qt::LeftButton, Qt::ControlModifier, {5, 45}); }},
        {"add triangle", [&] { ClickAt(1, {55, 45}, Qt::ControlModifier); }},
        {"split triangle", [&] { ClickAt(1, {25, 20}, Qt::ControlModifier); }},
        {"move node", [&] { Drag(1, {40, 10}, {45, 12}, {46, 14}); }},
        {"move node", [&] { Drag(2, {25, 40}, {20, 30}, {30, 44}); }},
        {"copy node position", [&] { ClickAt(2, {30, 44}, Qt::ShiftModifier); }},
        {"delete triangle", [&] { ClickAt(1, {25, 20}, {}, Qt::RightButton); }},
        {"delete node", [&] { ClickAt(1, {30, 44}, Qt::ControlModifier, Qt::RightButton); }},
        {"swap morph mesh", [&] { Run("SwapMorphMesh"); }},
        {"new grid mesh", [&] { dialogs_.number_answers = {QList{3, 3}}; Run("NewGridMesh"); }},
        {"auto mesh",  // faces fail and change nothing; the flow then replaces the mesh
         [&] {
           dialogs_.auto_mesh_answers = {AutoMeshChoice{1, 0}, AutoMeshChoice{3, 2}};
           for (int run = 0; run < 2; ++run) Run("AutoMesh");
           QCOMPARE(Shown().back(), "Trelvanique: No face found in first.bmp.");
           QCOMPARE(form_->statusBar()->currentMessage().left(6), "Flow: ");
           QVERIFY(QTest::qWaitForWindowActive(form_.get()));  // the run gives the keys back
         }},
        {"new morph mesh",
         [&] {
           WriteBytes(saved_mesh, MeshBytes());
           dialogs_.confirm_answers = {Answer::No};  // the edited mesh is dropped
           Run("NewMesh");
           QVERIFY(form_->MeshSaved);
         }},
        {"open morph mesh",
         [&] {
           dialogs_.open_answers = {QStringList{saved_mesh}};
           Run("OpenMesh");
           QVERIFY(form_->MeshSaved);
         }},
    };
    std::vector<QByteArray> files{MeshBytes()};
    std::vector<QString> mesh_names{form_->MeshFileName};
    // The status bar says what Auto Mesh found while its mesh is in place.
    const auto report = [&] { return form_->statusBar()->currentMessage(); };
    std::vector<QString> reports{report()};
    for (const auto& [name, edit] : steps) {
      edit();
      QCOMPARE(Item(*form_, "Undo1")->toolTip() + Stale(), QString("Undo ") + name);
      QVERIFY2(MeshBytes() != files.back(), name);
      files.push_back(MeshBytes());
      mesh_names.push_back(form_->MeshFileName);
      reports.push_back(report());
    }
    QCOMPARE(form_->MeshFileName, saved_mesh);
    for (size_t i = std::size(steps); i-- > 0;) {
      QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);
      QVERIFY2(MeshBytes() == files[i] && Stale().isEmpty(), steps[i].first);
      QCOMPARE(form_->MeshFileName, mesh_names[i]);
      QCOMPARE(report(), reports[i]);
      QCOMPARE(Item(*form_, "Redo1")->toolTip(), QString("Redo ") + steps[i].first);
    }
    QVERIFY(!Item(*form_, "Undo1")->isEnabled());
    for (size_t i = 0; i < std::size(steps); ++i) {
      QTest::keyClick(form_.get(), i % 2 ? Qt::Key_Y : Qt::Key_Z,
                      i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
      QVERIFY2(Stale().isEmpty(), steps[i].first);
      QCOMPARE(report(), reports[i + 1]);
    }
    QVERIFY(MeshBytes() == files.back() && Stale().isEmpty());
    QCOMPARE(form_->windowTitle(), "Trelvanique 1.1 " + saved_mesh);
    QVERIFY(form_->MeshSaved && !Item(*form_, "Redo1")->isEnabled());
    QCOMPARE(dialogs_.unexpected, 0);
  }
  void TheSaveQuestionFollowsTheSavedStep() {
    OpenBoth(60, 50);
    ClickAt(1, {10, 10});
    Drag(2, {10, 10}, {20, 15}, {20, 15});  // Swap has something to swap
    QVERIFY(!form_->MeshSaved);
    Run("Savemesh");
    QVERIFY(form_->MeshSaved);
    ClickAt(1, {30, 30});
    Drag(1, {10, 10}, {10, 10}, {10, 10});  // selecting without moving is no step
    QCOMPARE(form_->Undo().Stack().count(), 3);
    Run("Undo1");
    QVERIFY(form_->MeshSaved && form_->FormCloseQuery() && Asked().isEmpty());
    Run("Undo1");
    dialogs_.confirm_answers.push_back(Answer::Cancel);
    QVERIFY(!form_->MeshSaved && !form_->FormCloseQuery());
    Run("Redo1");
    QVERIFY(form_->MeshSaved);
    Run("SwapMorphMesh");
    dialogs_.confirm_answers = {Answer::Yes, Answer::No};  // Yes, then No to overwriting
    QVERIFY(!form_->close() && form_->isVisible() && !form_->MeshSaved);
    QCOMPARE(Asked().mid(1),
             (QStringList{"Do you want to save the mesh ?", "Do you Want to overwrite ?"}));
    // A picture save does not touch the state: the close asks nothing.
    form_->Undo().Stack().setIndex(form_->Undo().Stack().cleanIndex());
    dialogs_.confirmations.clear();
    dialogs_.save_answers = {std::nullopt, File("frame.bmp")};  // no frame list
    form_->Colorize1Click();
    Run("SaveVeskImageAs");
    QVERIFY(form_->MeshSaved && QFile::exists(File("frame.bmp")));
    QVERIFY(form_->close() && Asked().isEmpty());
  }
  void NewAndOpenAskFirst() {
    for (const char* item : {"NewMesh", "OpenMesh"}) {
      RestartWindow();
      OpenBoth(40, 30);
      ClickAt(1, {10, 10});
      dialogs_.confirm_answers.push_back(Answer::Cancel);
      Run(item);
      QCOMPARE(Asked(), QStringList("Do you want to save the mesh ?"));
      QVERIFY(form_->MeshModel().NodeCount() == 1 && !form_->MeshSaved);
      QCOMPARE(dialogs_.titles.size(), 2);  // no open dialog was shown
      // Yes saves; what replaces the mesh counts as saved.
      dialogs_.confirm_answers.push_back(Answer::Yes);
      dialogs_.open_answers.push_back(QStringList{File("NoName.mesh")});
      Run(item);
      QVERIFY(!Read("NoName.mesh").isEmpty() && dialogs_.unexpected == 0);
      QVERIFY(form_->MeshSaved && form_->close());
    }
  }
  void SaveAndSaveAs() {
    const struct {
      const char* name;
      const char* typed;  // Save as answers this; none: Save
      const char* file;
      int answer;  // to the overwrite question; -1: none asked
      bool saved;
    } rows[] = {
        {"save", nullptr, "NoName.mesh", -1, true},
        {"overwrite accepted", nullptr, "NoName.mesh", int(Answer::Yes), true},
        {"missing folder", nullptr, "missing/x.mesh", -1, false},
        {"save as appends the extension", "a.txt", "a.txt.mesh", -1, true},
        {"save as declined still takes the name", "keep.mesh", "keep.mesh", int(Answer::No), false},
    };
    for (const auto& r : rows) {
      RestartWindow();
      if (r.answer >= 0) WriteBytes(File(r.file), "old");
      OpenBoth(60, 50);
      ClickAt(1, {10, 10});
      if (r.answer >= 0) dialogs_.confirm_answers.push_back(Answer(r.answer));
      if (r.typed) dialogs_.save_answers = {File(r.typed)};
      if (!r.typed) form_->MeshFileName = File(r.file);
      r.typed ? Run("SaveMashAs") : Click(*form_, "SaveMeshButton");
      QVERIFY2(form_->MeshSaved == r.saved, r.name);
      QCOMPARE(Asked().size(), r.answer >= 0 ? 1 : 0);
      const bool failed = !r.saved && r.answer < 0;
      QVERIFY(Shown().size() == (failed ? 1 : 0) && (!failed || Shown()[0].endsWith('.')));
      const QByteArray old = r.answer < 0 ? "" : "old";
      QVERIFY2(Read(r.file) == (r.saved ? MeshBytes() : old), r.name);
      QVERIFY(!r.typed || form_->windowTitle() == "Trelvanique 1.1 " + File(r.file));
    }
  }
  void OpenReadsTheMeshAndReopensBothImages() {
    WriteBmp(File("one.bmp"), TestPicture(30, 20, 5));
    WriteBmp(File("two.bmp"), TestPicture(25, 22, 6));
    Mesh mesh;
    mesh.AddNode(1, 2);
    mesh.AddNode(3, 4);
    mesh.AddTriangle(8, 9, kFirstImage, 5);
    QVERIFY(WriteMeshFile(File("m.mesh").toStdString(), mesh, "one.bmp", "two.bmp").Ok());
    QFile::setPermissions(File("m.mesh"), QFile::ReadOwner);  // only read: opens
    dialogs_.open_answers.push_back(QStringList{File("m.mesh")});
    Click(*form_, "OpenMeshButton");
    QCOMPARE(form_->windowTitle(), "Trelvanique 1.1 " + File("m.mesh"));
    QCOMPARE(form_->MeshModel().NodeCount() + form_->MeshModel().TriangleCount(), size_t{4});
    QVERIFY(form_->SecondChild() && form_->MeshSaved);
    // A file of another format is named in the caption and its mesh is gone.
    WriteBytes(File("x.mesh"), QByteArray("\x06MESH10\0\0\0\0", 11));
    dialogs_.open_answers = {QStringList{File("x.mesh")}};
    Run("OpenMesh");
    QCOMPARE(Shown(), QStringList("Trelvanique: Error in file format (required mesh 1.1)"));
    QVERIFY(form_->MeshModel().Empty());
  }
  void SavingEntersTheFolderAndMeshesSavedOrOpenedHeadTheRecentList() {
    OpenBoth(60, 50);
    ClickAt(1, {10, 10});
    QVERIFY(QDir().mkpath(File("sub")));
    for (const char* name : {"sub/m.mesh", "sub/n.mesh"}) {
      dialogs_.save_answers.push_back(File(name));
      Run("SaveMashAs");
    }
    QCOMPARE(QDir::currentPath(), QFileInfo(File("sub")).absoluteFilePath());
    dialogs_.open_answers.push_back(QStringList{File("sub/m.mesh")});
    Run("OpenMesh");
    QMenu* menu = form_->findChild<QMenu*>("RecentMeshesMenu");
    QList<QAction*> recent = menu->actions();
    QVERIFY(recent.size() >= 2 && recent[0]->text().endsWith("m.mesh") &&
            recent[1]->text().endsWith("n.mesh"));
    recent[1]->trigger();  // opens n.mesh, which heads the list then
    QCOMPARE(form_->MeshFileName, File("sub/n.mesh"));
    QVERIFY(QFile::remove(File("sub/m.mesh")));
    menu->actions()[1]->trigger();  // gone: said so and left out
    QCOMPARE(Shown().join(""), "Trelvanique: " + File("sub/m.mesh") + " file already not exist");
    for (QAction* item : menu->actions()) QVERIFY(!item->text().endsWith(File("sub/m.mesh")));
  }
  void AtZoomEightEachPixelShowsAsABlock() {
    OpenBoth(60, 50);
    form_->FirstChild()->View().ZoomAt(2048, QPoint(0, 0));
    QCOMPARE(Image(1)->size(), QSize(480, 400));
    const QImage shown = Image(1)->grab().toImage();  // each pixel an 8 x 8 block
    for (const QPoint p : {QPoint(3, 2), QPoint(40, 30)}) {
      const Color c = first_.Pixel(p.x(), p.y());
      QCOMPARE(shown.pixel(p * 8 + QPoint(7, 1)), qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
    }
  }
  void AClickIsOnANodeInsideItsDrawnSquareAtEveryZoom() {
    OpenBoth(200, 160);
    // Node (100, 60) is drawn around view pixel (25, 15) at 1/4 and (804, 484) at 8; its
    // square reaches 4 view pixels right and down of that (the edges: mesh_gestures_test).
    // A click grabs that node or places a new one; either ends on the pixel `at` under it.
    const struct { int zoom; QPoint click; bool grabbed; QPoint at; } rows[] = {
        {64, {29, 19}, true, {118, 78}},      {64, {30, 15}, false, {122, 62}},
        {2048, {808, 488}, true, {101, 61}},  {2048, {809, 484}, false, {101, 60}}};
    for (const auto& r : rows) {
      Mesh& mesh = form_->MeshModel();
      mesh.FreeMesh();
      const TMeshNode* node = mesh.AddNode(100, 60);
      mesh.AddNode(20, 140);  // selected, until the click selects or places another
      Window(1)->View().ZoomAt(r.zoom, QPoint(0, 0));
      ClickAt(1, r.click);
      const TMeshNode* n = mesh.SelectedNode();
      QCOMPARE(std::pair(QPoint(n->X1, n->Y1), n == node), std::pair(r.at, r.grabbed));
      QCOMPARE(mesh.NodeCount(), size_t(r.grabbed ? 2 : 3));
    }
  }
  void CommandLineMeshWithAFoldedTriangle() {
    QDir(work_->path()).mkdir("sub");  // the pictures are found beside the mesh
    WriteBmp(File("sub/a.bmp"), Bitmap(40, 40, kWhite));
    WriteBmp(File("sub/b.bmp"), Bitmap(40, 40, kWhite));
    Mesh mesh;
    const TMeshNode* n1 = mesh.PushNode({5, 5, 30, 5});
    const TMeshNode* n2 = mesh.PushNode({30, 5, 5, 5});
    const TMeshNode* n3 = mesh.PushNode({5, 30, 30, 30});
    mesh.PushTriangle(n1, n2, n3);
    QVERIFY(WriteMeshFile(File("sub/fold.mesh").toStdString(), mesh, "a.bmp", "b.bmp").Ok());
    form_->OpenFiles({"sub/fold.mesh"});  // as given on the command line
    QVERIFY(Shown().isEmpty() && form_->SecondChild());
    QCOMPARE(NamedChild<QLabel>(*form_, "FoldOverLabel")->text(), "Folded triangles: 1");
    // The top edge's middle: warning colour on the second image only.
    const auto rgb = [](Color c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); };
    QCOMPARE(Image(2)->Picture().pixel(17, 5), rgb(kFoldOverColor));
    QCOMPARE(Image(1)->Picture().pixel(17, 5), rgb(form_->CurrentSettings().LineColor));
  }
};

QTEST_MAIN(MeshTest)
#include "mesh_test.moc"
