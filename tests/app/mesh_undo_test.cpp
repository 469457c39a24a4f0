// Undo and redo of mesh changes, and zoomed image windows, driven through
// the main window as the user would.
#include <QMdiArea>
#include <QScrollArea>
#include <QUndoStack>
#include <functional>
#include <vector>

#include "app/image_view.h"
#include "app/mesh_undo.h"
#include "app1_support.h"
#include "core/image/view_transform.h"
#include "core/mesh/mesh_file.h"

using namespace vesk;
using namespace vesk::testing;

class MeshUndoTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  TImage* First() const { return form_->FirstChild()->Image1(); }
  TImage* Second() const { return form_->SecondChild()->Image1(); }
  static void Click(TImage* image, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x,
                    int y) {
    QTest::mouseClick(image, button, mods, QPoint(x, y));
  }
  static void Drag(TImage* image, QPoint from, QPoint via, QPoint to) {
    QTest::mousePress(image, Qt::LeftButton, {}, from);
    QTest::mouseMove(image, via);
    QTest::mouseRelease(image, Qt::LeftButton, {}, to);
  }
  // The mesh file that saving now would write.
  std::vector<std::uint8_t> MeshBytes() const {
    return WriteMesh(form_->MeshModel(), form_->FirstFileName.toStdString(),
                     form_->SecondFileName.toStdString())
        .Value();
  }
  QString UndoTip() { return Item(*form_, "Undo1")->toolTip(); }

 private slots:
  void init() {
    StartWindow();
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(WindowFixture::File("a.bmp"), TestPicture(60, 50, 1)));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(WindowFixture::File("b.bmp"), TestPicture(60, 50, 2)));
  }
  void cleanup() { StopWindow(); }

  void EveryEditUndoesToTheEarlierFileAndRedoesToTheLast() {
    struct Step {
      const char* name;
      std::function<void()> edit;
    };
    QString saved_mesh;
    const std::vector<Step> steps = {
        {"place node", [&] { Click(First(), Qt::LeftButton, {}, 10, 10); }},
        {"place node", [&] { Click(Second(), Qt::LeftButton, {}, 40, 10); }},
        {"add triangle", [&] { Click(First(), Qt::LeftButton, Qt::ControlModifier, 25, 40); }},
        {"split triangle", [&] { Click(First(), Qt::LeftButton, Qt::ControlModifier, 25, 20); }},
        {"move node", [&] { Drag(First(), {40, 10}, {45, 12}, {46, 14}); }},
        {"move node", [&] { Drag(Second(), {25, 40}, {20, 30}, {30, 44}); }},
        {"copy node position", [&] { Click(Second(), Qt::LeftButton, Qt::ShiftModifier, 30, 44); }},
        {"delete triangle", [&] { Click(First(), Qt::RightButton, {}, 25, 20); }},
        {"delete node", [&] { Click(First(), Qt::RightButton, Qt::ControlModifier, 30, 44); }},
        {"swap morph mesh", [&] { Item(*form_, "SwapMorphMesh")->trigger(); }},
        {"new morph mesh",
         [&] {
           saved_mesh = WindowFixture::File("earlier.mesh");
           QVERIFY(WriteMeshFile(saved_mesh.toStdString(), form_->MeshModel(),
                                 form_->FirstFileName.toStdString(),
                                 form_->SecondFileName.toStdString())
                       .Ok());
           Item(*form_, "NewMesh")->trigger();
         }},
        {"open morph mesh",
         [&] {
           dialogs_.open_answers.push_back(QStringList{saved_mesh});
           Item(*form_, "OpenMesh")->trigger();
         }},
    };
    std::vector<std::vector<std::uint8_t>> files{MeshBytes()};
    std::vector<QString> mesh_names{form_->MeshFileName};
    QCOMPARE(UndoTip(), QString("Undo"));
    for (const Step& step : steps) {
      step.edit();
      QCOMPARE(UndoTip(), QString("Undo ") + step.name);
      QVERIFY2(MeshBytes() != files.back(), step.name);
      files.push_back(MeshBytes());
      mesh_names.push_back(form_->MeshFileName);
    }
    QCOMPARE(form_->MeshFileName, saved_mesh);
    QCOMPARE(form_->MeshModel().TriangleCount(), size_t{1});
    for (size_t i = steps.size(); i-- > 0;) {
      QVERIFY(Item(*form_, "Undo1")->isEnabled());
      QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);
      QVERIFY2(MeshBytes() == files[i], steps[i].name);
      QCOMPARE(form_->MeshFileName, mesh_names[i]);
      QCOMPARE(Item(*form_, "Redo1")->toolTip(), QString("Redo ") + steps[i].name);
    }
    QVERIFY(!Item(*form_, "Undo1")->isEnabled());
    for (size_t i = 0; i < steps.size(); ++i) {
      QTest::keyClick(form_.get(), i % 2 ? Qt::Key_Y : Qt::Key_Z,
                      i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }
    QVERIFY(MeshBytes() == files.back());
    QCOMPARE(form_->windowTitle(), "Trelvanique 1.1 " + saved_mesh);
    QVERIFY(!Item(*form_, "Redo1")->isEnabled());
    QCOMPARE(dialogs_.unexpected, 0);
  }

  void TheCloseQueryFollowsTheSavedStep() {
    QUndoStack& stack = form_->Undo().Stack();
    Click(First(), Qt::LeftButton, {}, 10, 10);
    QVERIFY(!form_->MeshSaved);
    Item(*form_, "Savemesh")->trigger();
    QVERIFY(form_->MeshSaved);
    Click(First(), Qt::LeftButton, {}, 30, 30);
    // Selecting a node without moving it is no step and no change.
    Drag(First(), {10, 10}, {10, 10}, {10, 10});
    QCOMPARE(stack.count(), 2);
    QVERIFY(!form_->MeshSaved);
    Item(*form_, "Undo1")->trigger();
    QVERIFY(form_->MeshSaved);
    QVERIFY(form_->FormCloseQuery());
    QVERIFY(dialogs_.confirmations.empty());
    Item(*form_, "Undo1")->trigger();
    QVERIFY(!form_->MeshSaved);
    dialogs_.confirm_answers.push_back(Answer::Cancel);
    QVERIFY(!form_->FormCloseQuery());
    QCOMPARE(dialogs_.confirmations.size(), size_t{1});
    Item(*form_, "Redo1")->trigger();
    QVERIFY(form_->MeshSaved);
  }

  void AtZoomEightAClickAddressesThePixelUnderIt() {
    TChildForm* first = form_->FirstChild();
    first->View().ZoomAt(2048, QPoint(0, 0));
    QCOMPARE(First()->size(), QSize(480, 400));
    Click(First(), Qt::LeftButton, {}, 5 * 8 + 4, 7 * 8 + 4);
    const TMeshNode& node = form_->MeshModel().NodeList().front();
    QCOMPARE(QPoint(node.X1, node.Y1), QPoint(5, 7));
    QCOMPARE(NamedChild<QLabel>(*form_, "Label1")->text(), QString("(   5:   7)"));
    // The node keeps its on-screen size: NodeSize 5 is 10 view pixels wide.
    const QImage shown = First()->grab().toImage();
    QCOMPARE(shown.pixelColor(44, 60), QColor(255, 0, 0));
    QCOMPARE(shown.pixelColor(39, 60), QColor(0, 0, 0));
    QCOMPARE(shown.pixelColor(48, 60), QColor(0, 0, 0));
    QVERIFY(shown.pixelColor(50, 60) != QColor(0, 0, 0));
    // Dragging at 8 times lands on exact pixels too.
    Drag(First(), {44, 60}, {100, 100}, {9 * 8 + 7, 3 * 8});
    QCOMPARE(QPoint(form_->MeshModel().NodeList().front().X1,
                    form_->MeshModel().NodeList().front().Y1),
             QPoint(9, 3));
  }

  void ZoomCommandsWheelPanAndLink() {
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    ImageView& view = form_->FirstChild()->View();
    const QSize room = form_->FirstChild()->findChild<QScrollArea*>()->maximumViewportSize();
    const std::pair<const char*, int> rows[] = {
        {"ZoomIn1", 384}, {"ZoomOut1", 256},
        {"FitWindow1", FitZoom(60, 50, room.width(), room.height())}, {"ActualPixels1", 256}};
    for (auto [item, zoom] : rows) {
      Item(*form_, item)->trigger();
      QCOMPARE(view.Zoom(), zoom);
    }
    // Ctrl+wheel zooms, a plain wheel does not; linked, the second window follows.
    Item(*form_, "LinkWindows1")->trigger();
    const std::pair<Qt::KeyboardModifiers, int> wheels[] = {
        {Qt::ControlModifier, 384}, {Qt::NoModifier, 384}, {Qt::ControlModifier, 512}};
    for (auto [mods, zoom] : wheels) {
      QWheelEvent event(QPointF(20, 20), First()->mapToGlobal(QPointF(20, 20)), QPoint(),
                        QPoint(0, 120), Qt::NoButton, mods, Qt::NoScrollPhase, false);
      QApplication::sendEvent(First(), &event);
      QCOMPARE(view.Zoom(), zoom);
      QCOMPARE(form_->SecondChild()->View().Zoom(), zoom);
    }
    // The middle button drags the zoomed picture, and places no node.
    view.ZoomAt(2048, QPoint(0, 0));
    const ImageView::State before = view.CurrentState();
    const QPoint at = First()->mapFromGlobal(First()->parentWidget()->mapToGlobal(QPoint(60, 60)));
    QTest::mousePress(First(), Qt::MiddleButton, {}, at);
    QTest::mouseMove(First(), at - QPoint(10, 5));
    QTest::mouseRelease(First(), Qt::MiddleButton, {}, at - QPoint(10, 5));
    QCOMPARE(view.CurrentState().scroll_x, before.scroll_x + 10);
    QCOMPARE(view.CurrentState().scroll_y, before.scroll_y + 5);
    QCOMPARE(form_->SecondChild()->View().CurrentState().scroll_x, before.scroll_x + 10);
    QVERIFY(form_->MeshModel().Empty());
  }
};

QTEST_MAIN(MeshUndoTest)
#include "mesh_undo_test.moc"
