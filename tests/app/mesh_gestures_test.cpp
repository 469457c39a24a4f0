// Mesh gestures on the first and second image windows, driven by real mouse
// events with exact modifier sets.
#include <QScrollArea>

#include "app1_support.h"

using namespace vesk;
using namespace vesk::testing;

namespace {

struct Pos {
  int x1, y1, x2, y2;
  bool operator==(const Pos&) const = default;
};

Pos PosOf(const TMeshNode* n) { return {n->X1, n->Y1, n->X2, n->Y2}; }

std::vector<Pos> Nodes(const TMDIForm& form) {
  std::vector<Pos> out;
  for (const TMeshNode& n : form.MeshModel().NodeList()) out.push_back(PosOf(&n));
  return out;
}

char* Describe(const std::vector<Pos>& nodes) {
  QString s;
  for (const Pos& p : nodes) s += QString("(%1,%2|%3,%4) ").arg(p.x1).arg(p.y1).arg(p.x2).arg(p.y2);
  return qstrdup(qPrintable(s));
}

}  // namespace

namespace QTest {
template <>
inline char* toString(const std::vector<Pos>& nodes) {
  return Describe(nodes);
}
}  // namespace QTest

class MeshGesturesTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  TImage* first_ = nullptr;
  TImage* second_ = nullptr;

  void Click(TImage* image, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) {
    QTest::mouseClick(image, button, mods, QPoint(x, y));
  }
  void Plain(TImage* image, int x, int y) { Click(image, Qt::LeftButton, {}, x, y); }
  void CtrlLeft(TImage* image, int x, int y) {
    Click(image, Qt::LeftButton, Qt::ControlModifier, x, y);
  }
  const Mesh& M() const { return form_->MeshModel(); }

 private slots:
  void init() {
    StartWindow();
    OpenImage(*form_, dialogs_, "OpenFirst",
              WriteBmp(work_->File("a.bmp"), Uniform(60, 50, MakeColor(250, 250, 250))));
    OpenImage(*form_, dialogs_, "OpenSecond",
              WriteBmp(work_->File("b.bmp"), Uniform(60, 50, MakeColor(240, 240, 240))));
    first_ = form_->FirstChild()->Image1();
    second_ = form_->SecondChild()->Image1();
    QVERIFY(form_->MeshSaved);
  }
  void cleanup() { StopWindow(); }

  void PlainClickOnTheSecondImagePlacesANodeOnBoth() {
    Plain(second_, 30, 20);
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{30, 20, 30, 20}}));
    QVERIFY(!form_->MeshSaved);
    QCOMPARE(M().SelectedNode(), &M().NodeList().front());
    // Both windows show it, in the selected colour.
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(30, 20), MakeColor(255, 0, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(30, 20), MakeColor(255, 0, 0));
    QVERIFY(Item(*form_, "SwapMorphMesh")->isEnabled());
  }

  void ArrowCursorWhileANodeIsPlacedDefaultAfterwards() {
    QTest::mousePress(first_, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(first_->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(first_->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(first_, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!first_->testAttribute(Qt::WA_SetCursor));
  }

  void CtrlLeftWithFewerThanTwoSelectedActsLikeAPlainClick() {
    CtrlLeft(first_, 10, 10);
    QCOMPARE(M().NodeCount(), size_t{1});
    QCOMPARE(M().TriangleCount(), size_t{0});
    CtrlLeft(first_, 10, 10);  // on the node: selects it, places nothing
    QCOMPARE(M().NodeCount(), size_t{1});
  }

  void CtrlLeftBuildsAStripAndAFan() {
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    form_->MeshSaved = true;
    CtrlLeft(first_, 25, 40);  // empty ground: new node and triangle
    QCOMPARE(M().NodeCount(), size_t{3});
    QCOMPARE(M().TriangleCount(), size_t{1});
    QVERIFY(!form_->MeshSaved);
    const TMeshTriangle& t = M().TriangleList().front();
    QCOMPARE(PosOf(t.A), (Pos{10, 10, 10, 10}));
    QCOMPARE(PosOf(t.B), (Pos{40, 10, 40, 10}));
    QCOMPARE(PosOf(t.C), (Pos{25, 40, 25, 40}));
    // The line A-B shows on the other window too, in the line colour.
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(25, 10), MakeColor(0, 0, 255));
    // On an existing node: a fan triangle on the selected edge, no new node.
    CtrlLeft(first_, 10, 10);
    QCOMPARE(M().NodeCount(), size_t{3});
    QCOMPARE(M().TriangleCount(), size_t{2});
  }

  void CtrlLeftInsideATriangleSplitsItEvenWithTwoSelected() {
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    CtrlLeft(first_, 25, 40);
    QVERIFY(M().PreviousNode() && M().SelectedNode());
    CtrlLeft(first_, 25, 20);
    QCOMPARE(M().NodeCount(), size_t{4});
    QCOMPARE(M().TriangleCount(), size_t{3});
    // The new node is on the other image at the triangle's centroid.
    QCOMPARE(PosOf(M().SelectedNode()), (Pos{25, 20, 25, 20}));
    // A point on an edge is not inside: a Ctrl+click there adds a triangle.
    CtrlLeft(second_, 20, 10);
    QCOMPARE(M().TriangleCount(), size_t{4});
    QCOMPARE(M().NodeCount(), size_t{5});
  }

  void SplitOnTheSecondImagePlacesTheNewNodeAtTheFirstImageCentroid() {
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    CtrlLeft(first_, 25, 40);
    // Move one corner on the first image only.
    QTest::mousePress(first_, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseRelease(first_, Qt::LeftButton, {}, QPoint(44, 14));
    CtrlLeft(second_, 25, 21);
    QCOMPARE(PosOf(M().SelectedNode()), (Pos{(10 + 44 + 25) / 3, (10 + 14 + 40) / 3, 25, 21}));
    QCOMPARE(M().TriangleCount(), size_t{3});
  }

  void RightClickDeletesAnUnusedNodeOrTheSelectedTriangle() {
    Plain(first_, 50, 45);  // unused node
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    CtrlLeft(first_, 25, 40);
    form_->MeshSaved = true;
    Click(first_, Qt::RightButton, {}, 50, 45);
    QCOMPARE(M().NodeCount(), size_t{3});
    QCOMPARE(M().TriangleCount(), size_t{1});
    QVERIFY(!form_->MeshSaved);
    // A triangle node with the selection not matching: nothing goes, but
    // the mesh still counts as changed.
    form_->MeshSaved = true;
    Click(first_, Qt::RightButton, {}, 25, 40);
    QCOMPARE(M().TriangleCount(), size_t{1});
    QVERIFY(!form_->MeshSaved);
    // Select 10,10 then 40,10: previous 10,10, selected 40,10; right click
    // on the third corner removes the triangle (P, S, D) and keeps nodes.
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    Click(first_, Qt::RightButton, {}, 25, 40);
    QCOMPARE(M().TriangleCount(), size_t{0});
    QCOMPARE(M().NodeCount(), size_t{3});
    // Right click on empty ground does nothing at all.
    form_->MeshSaved = true;
    Click(first_, Qt::RightButton, {}, 55, 5);
    QCOMPARE(M().NodeCount(), size_t{3});
    QVERIFY(form_->MeshSaved);
  }

  void CtrlRightDeletesTheNodeWithItsTriangles() {
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    CtrlLeft(first_, 25, 40);
    CtrlLeft(first_, 50, 30);
    QCOMPARE(M().TriangleCount(), size_t{2});
    Click(second_, Qt::RightButton, Qt::ControlModifier, 40, 10);
    QCOMPARE(M().NodeCount(), size_t{3});
    QCOMPARE(M().TriangleCount(), size_t{0});
    for (const Pos& p : Nodes(*form_)) QVERIFY(!(p == Pos{40, 10, 40, 10}));
  }

  void ShiftLeftOnTheSecondImageMovesTheFirstImagePosition() {
    Plain(first_, 10, 10);
    // Drag the node on the second image to (30, 25).
    QTest::mousePress(second_, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(second_, QPoint(30, 25));
    QTest::mouseRelease(second_, Qt::LeftButton, {}, QPoint(30, 25));
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 30, 25}}));
    form_->MeshSaved = true;
    Click(second_, Qt::LeftButton, Qt::ShiftModifier, 31, 24);
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{30, 25, 30, 25}}));
    QVERIFY(!form_->MeshSaved);
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(30, 25), MakeColor(255, 0, 0));
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(10, 10), MakeColor(250, 250, 250));
    // On the first image it copies the other way.
    Mesh::SetPosition(*form_->MeshModel().SelectedNode(), kSecondImage, 1, 2);
    Click(first_, Qt::LeftButton, Qt::ShiftModifier, 30, 25);
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{30, 25, 30, 25}}));
    // Shift+left on empty ground does nothing.
    form_->MeshSaved = true;
    Click(first_, Qt::LeftButton, Qt::ShiftModifier, 50, 5);
    QCOMPARE(M().NodeCount(), size_t{1});
    QVERIFY(form_->MeshSaved);
  }

  void ExtraKeysAndButtonsFallThroughToTheDefaultGesture() {
    Plain(first_, 10, 10);
    Plain(first_, 40, 10);
    const size_t before = M().NodeCount();
    // Each of these on empty ground places a node.
    Click(first_, Qt::RightButton, Qt::ShiftModifier, 5, 40);
    Click(first_, Qt::LeftButton, Qt::AltModifier, 15, 40);
    Click(first_, Qt::MiddleButton, {}, 25, 45);
    Click(first_, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, 35, 45);
    Click(first_, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, 45, 45);
    Click(first_, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, 55, 45);
    QTest::mouseDClick(first_, Qt::LeftButton, Qt::ControlModifier, QPoint(55, 30));
    QCOMPARE(M().NodeCount(), before + 7);
    QCOMPARE(M().TriangleCount(), size_t{0});
    // Ctrl+left with the right button also held is no Ctrl+left click.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 20), first_->mapToGlobal(QPointF(50, 20)),
                      Qt::LeftButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(first_, &press);
    QCOMPARE(M().TriangleCount(), size_t{0});
    QCOMPARE(M().NodeCount(), before + 8);
    QTest::mouseRelease(first_, Qt::LeftButton, {}, QPoint(50, 20));
  }

  void ClickingNodesMovesTheSelection() {
    Plain(first_, 10, 10);
    Plain(first_, 30, 10);
    Plain(first_, 50, 10);
    const TMeshNode* a = &*std::next(M().NodeList().begin(), 2);
    const TMeshNode* b = &*std::next(M().NodeList().begin(), 1);
    const TMeshNode* c = &M().NodeList().front();
    QCOMPARE(M().PreviousNode(), b);
    QCOMPARE(M().SelectedNode(), c);
    form_->MeshSaved = true;
    Plain(first_, 30, 11);  // the previous node: roles swap
    QCOMPARE(M().PreviousNode(), c);
    QCOMPARE(M().SelectedNode(), b);
    Plain(second_, 30, 10);  // the selected node: no change
    QCOMPARE(M().PreviousNode(), c);
    QCOMPARE(M().SelectedNode(), b);
    Plain(first_, 12, 8);  // a third node
    QCOMPARE(M().PreviousNode(), b);
    QCOMPARE(M().SelectedNode(), a);
    QVERIFY(!form_->MeshSaved);  // the click at (30, 11) moved a node by one pixel
    // Colours follow: previous green, selected red, others grey.
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(30, 10), MakeColor(0, 128, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(10, 10), MakeColor(255, 0, 0));
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(50, 10), MakeColor(200, 200, 200));
  }

  void DraggingMovesTheNodeWithinInclusiveBoundsOnThisImageOnly() {
    Plain(second_, 10, 10);
    form_->MeshSaved = true;
    QTest::mousePress(second_, Qt::LeftButton, {}, QPoint(12, 9));
    QVERIFY(form_->SecondChild()->DragNode == &M().NodeList().front());
    QTest::mouseMove(second_, QPoint(60, 50));  // one beyond the last column and row
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 60, 50}}));
    QTest::mouseMove(second_, QPoint(61, 20));  // outside: ignored
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 60, 50}}));
    QTest::mouseMove(second_, QPoint(-1, 20));
    QTest::mouseMove(second_, QPoint(20, 51));
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 60, 50}}));
    // (QTest takes a null point for the widget's centre, so send it plainly.)
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), second_->mapToGlobal(QPointF(0, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(second_, &move);
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 0, 0}}));
    QTest::mouseRelease(second_, Qt::LeftButton, {}, QPoint(33, 44));
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 33, 44}}));
    QVERIFY(form_->SecondChild()->DragNode == nullptr);
    QVERIFY(!form_->MeshSaved);
    QCOMPARE(form_->SecondChild()->PictureBitmap().Pixel(33, 44), MakeColor(255, 0, 0));
    // After the release, moves no longer drag.
    QTest::mouseMove(second_, QPoint(5, 5));
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 33, 44}}));
    // A release outside the bounds leaves the node where it last was.
    QTest::mousePress(second_, Qt::LeftButton, {}, QPoint(33, 44));
    QTest::mouseRelease(second_, Qt::LeftButton, {}, QPoint(70, 44));
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 33, 44}}));
  }

  void SwapMorphMeshExchangesThePositionsAndRedraws() {
    Plain(first_, 10, 10);
    QTest::mousePress(second_, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(second_, Qt::LeftButton, {}, QPoint(40, 30));
    form_->MeshSaved = true;
    QTest::mouseClick(Button(*form_, "SwapButton"), Qt::LeftButton);
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{40, 30, 10, 10}}));
    QCOMPARE(form_->FirstChild()->PictureBitmap().Pixel(40, 30), MakeColor(255, 0, 0));
    QVERIFY(!form_->MeshSaved);
    Item(*form_, "SwapMorphMesh")->trigger();
    QCOMPARE(Nodes(*form_), (std::vector<Pos>{{10, 10, 40, 30}}));
  }
};

QTEST_MAIN(MeshGesturesTest)
#include "mesh_gestures_test.moc"
