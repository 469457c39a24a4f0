#include "core/mesh/mesh_gestures.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace vesk {
namespace {

constexpr std::uint8_t kSize = 5;
using B = MouseButton;

MeshMouseDownResult Down(Mesh& mesh, int kind, B button, ShiftState state, int x, int y) {
  return MeshMouseDown(mesh, kind, button, state, x, y, kSize);
}

// What a mouse-down asks of its window, as the names of the answers that are
// set, in a fixed order: "changed" (MeshSaved := false), "redraw-this",
// "redraw-other", "arrow" (arrow cursor), "drag" (DragNode assigned).
std::string Effects(const MeshMouseDownResult& r) {
  std::string out;
  auto add = [&out](bool set, const char* name) {
    if (!set) return;
    if (!out.empty()) out += ' ';
    out += name;
  };
  add(r.mesh_changed, "changed");
  add(r.redraw_this, "redraw-this");
  add(r.redraw_other, "redraw-other");
  add(r.arrow_cursor, "arrow");
  add(r.drag_assigned, "drag");
  return out;
}

// A mesh with one triangle (p, s, c) and the selection previous s, selected c.
struct Strip {
  Mesh mesh;
  TMeshNode* p;
  TMeshNode* s;
  TMeshNode* c;
  Strip() {
    p = mesh.AddNode(0, 0);
    s = mesh.AddNode(60, 0);
    mesh.AddTriangle(0, 60, 1, kSize);
    c = mesh.SelectedNode();
  }
};

TEST(MeshGestures, ExactShiftStatesSelectTheGestures) {
  EXPECT_EQ(ClassifyMeshGesture(B::Right, kCtrlKey | kRightButton), MeshGesture::CtrlRightClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Right, kRightButton), MeshGesture::RightClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Left, kShiftKey | kLeftButton), MeshGesture::ShiftLeftClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Middle, kShiftKey | kLeftButton), MeshGesture::ShiftLeftClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Left, kCtrlKey | kLeftButton), MeshGesture::CtrlLeftClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Right, kCtrlKey | kLeftButton), MeshGesture::CtrlLeftClick);
  EXPECT_EQ(ClassifyMeshGesture(B::Left, kLeftButton), MeshGesture::Default);
}

TEST(MeshGestures, AnyExtraKeyOrButtonFallsThroughToTheDefault) {
  struct Case {
    B button;
    ShiftState state;
  };
  const std::vector<Case> fall_through = {
      {B::Right, kCtrlKey | kRightButton | kShiftKey},
      {B::Right, kCtrlKey | kRightButton | kLeftButton},
      {B::Right, kRightButton | kDoubleClick},
      {B::Right, kRightButton | kAltKey},
      {B::Right, kShiftKey | kRightButton},  // Shift+right click
      {B::Left, kRightButton},               // right state but left button
      {B::Left, kCtrlKey | kRightButton},
      {B::Left, kShiftKey | kLeftButton | kDoubleClick},
      {B::Left, kShiftKey | kCtrlKey | kLeftButton},
      {B::Left, kCtrlKey | kLeftButton | kMiddleButton},
      {B::Left, kAltKey | kLeftButton},
      {B::Left, kLeftButton | kDoubleClick},
      {B::Middle, kMiddleButton},
      {B::Left, 0},
      {B::Left, kCtrlKey},
      {B::Left, kShiftKey},
  };
  for (const Case& c : fall_through) {
    EXPECT_EQ(ClassifyMeshGesture(c.button, c.state), MeshGesture::Default)
        << "state " << c.state;
  }
}

TEST(MeshGestures, PlainClickOnEmptyGroundOfTheSecondImagePlacesANodeOnBoth) {
  Mesh mesh;
  auto r = Down(mesh, 2, B::Left, kLeftButton, 33, 44);
  EXPECT_EQ(r.edit, MeshEdit::AddNode);
  EXPECT_EQ(Effects(r), "changed redraw-this redraw-other arrow drag");
  EXPECT_EQ(r.drag_node, nullptr);
  ASSERT_EQ(mesh.NodeCount(), 1u);
  const TMeshNode& n = mesh.NodeList().front();
  EXPECT_EQ(std::tie(n.X1, n.Y1, n.X2, n.Y2), std::make_tuple(33, 44, 33, 44));
  EXPECT_EQ(mesh.SelectedNode(), &n);
}

TEST(MeshGestures, PlainClickOnANodeSelectsItAndStartsItsDrag) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(10, 10);
  TMeshNode* b = mesh.AddNode(50, 10);
  TMeshNode* c = mesh.AddNode(90, 10);
  // previous b, selected c. Clicking the selected node changes nothing.
  auto r = Down(mesh, 1, B::Left, kLeftButton, 91, 12);
  EXPECT_EQ(r.edit, MeshEdit::SelectNode);
  EXPECT_EQ(Effects(r), "redraw-this redraw-other drag");
  EXPECT_EQ(r.drag_node, c);
  EXPECT_EQ(mesh.SelectedNode(), c);
  EXPECT_EQ(mesh.PreviousNode(), b);
  // Clicking the previous node swaps the roles.
  r = Down(mesh, 1, B::Left, kLeftButton, 50, 10);
  EXPECT_EQ(r.drag_node, b);
  EXPECT_EQ(mesh.SelectedNode(), b);
  EXPECT_EQ(mesh.PreviousNode(), c);
  // Clicking a third node makes the selected node the previous one.
  r = Down(mesh, 1, B::Left, kLeftButton, 10, 10);
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), b);
  EXPECT_EQ(mesh.NodeCount(), 3u);
}

TEST(MeshGestures, OddClicksActAsTheDefaultGesture) {
  const std::vector<std::pair<B, ShiftState>> odd = {
      {B::Right, kShiftKey | kRightButton},
      {B::Left, kAltKey | kLeftButton},
      {B::Middle, kMiddleButton},
      {B::Left, kLeftButton | kDoubleClick},
  };
  for (auto [button, state] : odd) {
    Strip strip;
    auto r = Down(strip.mesh, 1, button, state, 200, 200);
    EXPECT_EQ(r.gesture, MeshGesture::Default);
    EXPECT_EQ(r.edit, MeshEdit::AddNode);
    EXPECT_EQ(strip.mesh.NodeCount(), 4u);
    // On a node the same gestures select it instead of deleting anything.
    r = Down(strip.mesh, 1, button, state, 0, 0);
    EXPECT_EQ(r.edit, MeshEdit::SelectNode);
    EXPECT_EQ(r.drag_node, strip.p);
    EXPECT_EQ(strip.mesh.TriangleCount(), 1u);
  }
}

TEST(MeshGestures, CtrlRightClickDeletesTheNodeAndItsTriangles) {
  Strip strip;
  auto r = Down(strip.mesh, 1, B::Right, kCtrlKey | kRightButton, 58, 2);
  EXPECT_EQ(r.edit, MeshEdit::DeleteNodeAndTriangles);
  EXPECT_EQ(Effects(r), "changed redraw-this redraw-other");
  EXPECT_EQ(strip.mesh.NodeCount(), 2u);
  EXPECT_EQ(strip.mesh.TriangleCount(), 0u);
  EXPECT_FALSE(strip.mesh.Contains(strip.s));
}

TEST(MeshGestures, RightGesturesOnEmptyGroundDoNothing) {
  Strip strip;
  for (ShiftState state : {kCtrlKey | kRightButton, ShiftState{kRightButton}}) {
    auto r = Down(strip.mesh, 1, B::Right, state, 300, 300);
    EXPECT_EQ(r.edit, MeshEdit::None);
    EXPECT_EQ(Effects(r), "");
  }
  auto r = Down(strip.mesh, 1, B::Left, kShiftKey | kLeftButton, 300, 300);
  EXPECT_EQ(r.edit, MeshEdit::None);
  EXPECT_FALSE(r.mesh_changed);
  EXPECT_EQ(strip.mesh.NodeCount(), 3u);
  EXPECT_EQ(strip.mesh.TriangleCount(), 1u);
}

TEST(MeshGestures, RightClickRemovesTheSelectedTriangleOrAnUnusedNode) {
  Strip strip;
  TMeshNode* lone = strip.mesh.AddNode(200, 200);  // previous c, selected lone
  auto r = Down(strip.mesh, 1, B::Right, kRightButton, 200, 200);
  EXPECT_EQ(r.edit, MeshEdit::DeleteTriangleOrNode);
  EXPECT_TRUE(r.mesh_changed);
  EXPECT_FALSE(strip.mesh.Contains(lone));
  // Both roles are now on c. Select s, then c: previous s, selected c.
  Down(strip.mesh, 1, B::Left, kLeftButton, 60, 0);
  Down(strip.mesh, 1, B::Left, kLeftButton, 0, 60);
  ASSERT_EQ(strip.mesh.PreviousNode(), strip.s);
  ASSERT_EQ(strip.mesh.SelectedNode(), strip.c);
  // A used node whose triangle does not match the selection: nothing goes,
  // but the mesh still counts as changed.
  r = Down(strip.mesh, 1, B::Right, kRightButton, 60, 0);
  EXPECT_TRUE(r.mesh_changed);
  EXPECT_EQ(strip.mesh.TriangleCount(), 1u);
  // p with previous s and selected c picks (p, s, c).
  r = Down(strip.mesh, 1, B::Right, kRightButton, 0, 0);
  EXPECT_EQ(strip.mesh.TriangleCount(), 0u);
  EXPECT_EQ(strip.mesh.NodeCount(), 3u);
}

TEST(MeshGestures, ShiftClickCopiesThePositionToTheOtherImageAndRedrawsOnlyThatOne) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 20);
  Mesh::SetPosition(*n, 2, 70, 80);
  auto r = Down(mesh, 1, B::Left, kShiftKey | kLeftButton, 11, 21);
  EXPECT_EQ(r.edit, MeshEdit::CopyPositionToOther);
  EXPECT_EQ(Effects(r), "changed redraw-other");
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(10, 20, 10, 20));

  Mesh::SetPosition(*n, 2, 70, 80);
  r = Down(mesh, 2, B::Left, kShiftKey | kLeftButton, 70, 80);
  EXPECT_EQ(Effects(r), "changed redraw-other");
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(70, 80, 70, 80));
}

TEST(MeshGestures, CtrlClickInsideATriangleSplitsItEvenWithTwoSelectedNodes) {
  Strip strip;
  ASSERT_NE(strip.mesh.PreviousNode(), nullptr);
  auto r = Down(strip.mesh, 1, B::Left, kCtrlKey | kLeftButton, 15, 15);
  EXPECT_EQ(r.edit, MeshEdit::SplitTriangle);
  EXPECT_EQ(Effects(r), "changed redraw-this redraw-other");
  EXPECT_EQ(strip.mesh.TriangleCount(), 3u);
  EXPECT_EQ(strip.mesh.NodeCount(), 4u);
  EXPECT_EQ(strip.mesh.SelectedNode()->X1, 15);
  EXPECT_EQ(strip.mesh.PreviousNode(), strip.c);
}

TEST(MeshGestures, CtrlClickOnANodeNeverSplits) {
  Strip strip;
  TMeshNode* inner = strip.mesh.AddNode(15, 15);  // inside the triangle, unused
  strip.mesh.SelectNode(strip.s);                // previous inner, selected s
  auto r = Down(strip.mesh, 1, B::Left, kCtrlKey | kLeftButton, 16, 14);
  EXPECT_EQ(r.edit, MeshEdit::AddTriangle);
  EXPECT_EQ(strip.mesh.NodeCount(), 4u);
  EXPECT_EQ(strip.mesh.TriangleCount(), 2u);
  const TMeshTriangle& t = strip.mesh.TriangleList().front();
  EXPECT_EQ(t.A, inner);
  EXPECT_EQ(t.B, strip.s);
  EXPECT_EQ(t.C, inner);
}

TEST(MeshGestures, CtrlClickOnEmptyGroundAddsATriangleWithANewNode) {
  Strip strip;
  auto r = Down(strip.mesh, 2, B::Left, kCtrlKey | kLeftButton, 100, 100);
  EXPECT_EQ(r.edit, MeshEdit::AddTriangle);
  EXPECT_EQ(Effects(r), "changed redraw-this redraw-other");
  EXPECT_EQ(strip.mesh.NodeCount(), 4u);
  const TMeshTriangle& t = strip.mesh.TriangleList().front();
  EXPECT_EQ(t.A, strip.s);
  EXPECT_EQ(t.B, strip.c);
  EXPECT_EQ(t.C, strip.mesh.SelectedNode());
  EXPECT_EQ(t.C->X2, 100);
  EXPECT_EQ(t.C->X1, 100);
}

TEST(MeshGestures, CtrlClickWithoutTwoSelectedNodesActsAsAPlainClick) {
  Mesh mesh;
  auto r = Down(mesh, 1, B::Left, kCtrlKey | kLeftButton, 5, 5);
  EXPECT_EQ(r.gesture, MeshGesture::CtrlLeftClick);
  EXPECT_EQ(r.edit, MeshEdit::AddNode);
  EXPECT_TRUE(r.arrow_cursor);
  EXPECT_TRUE(r.drag_assigned);
  r = Down(mesh, 1, B::Left, kCtrlKey | kLeftButton, 6, 6);
  EXPECT_EQ(r.edit, MeshEdit::SelectNode);
  EXPECT_EQ(r.drag_node, &mesh.NodeList().front());
  EXPECT_FALSE(r.mesh_changed);
  EXPECT_EQ(mesh.NodeCount(), 1u);
  EXPECT_EQ(mesh.TriangleCount(), 0u);
}

TEST(MeshGestures, TheVeskImageHasNoMeshGestures) {
  Strip strip;
  for (auto [button, state] : std::vector<std::pair<B, ShiftState>>{
           {B::Left, kLeftButton},
           {B::Right, kRightButton},
           {B::Right, kCtrlKey | kRightButton},
           {B::Left, kCtrlKey | kLeftButton},
           {B::Left, kShiftKey | kLeftButton}}) {
    auto r = Down(strip.mesh, 3, button, state, 0, 0);
    EXPECT_EQ(r.edit, MeshEdit::None);
    EXPECT_EQ(Effects(r), "");
  }
  EXPECT_EQ(strip.mesh.NodeCount(), 3u);
  EXPECT_EQ(strip.mesh.TriangleCount(), 1u);
  TMeshNode* drag = strip.p;
  EXPECT_FALSE(MeshMouseMove(strip.mesh, 3, drag, 5, 5, 100, 100));
  EXPECT_EQ(strip.p->X1, 0);
}

TEST(MeshGestures, DragBoundsIncludeOnePixelBeyondTheLastColumnAndRow) {
  EXPECT_TRUE(DragInBounds(0, 0, 100, 50));
  EXPECT_TRUE(DragInBounds(100, 50, 100, 50));
  EXPECT_TRUE(DragInBounds(100, 0, 100, 50));
  EXPECT_FALSE(DragInBounds(101, 0, 100, 50));
  EXPECT_FALSE(DragInBounds(0, 51, 100, 50));
  EXPECT_FALSE(DragInBounds(-1, 0, 100, 50));
  EXPECT_FALSE(DragInBounds(0, -1, 100, 50));
}

TEST(MeshGestures, DragMovesTheNodeOnItsOwnImageWithinBounds) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  auto r = Down(mesh, 2, B::Left, kLeftButton, 10, 10);
  ASSERT_EQ(r.drag_node, n);
  TMeshNode* drag = r.drag_node;
  EXPECT_TRUE(MeshMouseMove(mesh, 2, drag, 40, 30, 100, 50));
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(10, 10, 40, 30));
  EXPECT_TRUE(MeshMouseMove(mesh, 2, drag, 100, 50, 100, 50));
  EXPECT_EQ(std::tie(n->X2, n->Y2), std::make_tuple(100, 50));
  // Beyond the bounds the node stays where it last was.
  EXPECT_FALSE(MeshMouseMove(mesh, 2, drag, 101, 20, 100, 50));
  EXPECT_FALSE(MeshMouseMove(mesh, 2, drag, 20, -1, 100, 50));
  EXPECT_EQ(std::tie(n->X2, n->Y2), std::make_tuple(100, 50));
  // Release in bounds lands the node there and ends the drag.
  EXPECT_TRUE(MeshMouseUp(mesh, 2, drag, 7, 8, 100, 50));
  EXPECT_EQ(drag, nullptr);
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(10, 10, 7, 8));
  // Without a drag moves do nothing.
  EXPECT_FALSE(MeshMouseMove(mesh, 2, drag, 20, 20, 100, 50));
  EXPECT_FALSE(MeshMouseUp(mesh, 2, drag, 20, 20, 100, 50));
  EXPECT_EQ(n->X2, 7);
}

TEST(MeshGestures, ReleaseOutOfBoundsKeepsTheLastPosition) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  TMeshNode* drag = n;
  MeshMouseMove(mesh, 1, drag, 12, 13, 20, 20);
  EXPECT_FALSE(MeshMouseUp(mesh, 1, drag, 500, 13, 20, 20));
  EXPECT_EQ(drag, nullptr);
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(12, 13, 10, 10));
}

TEST(MeshGestures, DragOfANodeThatWasDeletedMovesNothing) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  TMeshNode* drag = n;
  mesh.FreeMesh();
  mesh.InitMesh();
  EXPECT_FALSE(MeshMouseMove(mesh, 1, drag, 5, 5, 100, 100));
  EXPECT_FALSE(MeshMouseUp(mesh, 1, drag, 5, 5, 100, 100));
  EXPECT_EQ(drag, nullptr);
}

TEST(MeshGestures, TypicalSessionBuildsAStripAndDragsOnTheSecondImage) {
  Mesh mesh;
  Down(mesh, 1, B::Left, kLeftButton, 0, 0);
  Down(mesh, 1, B::Left, kLeftButton, 50, 0);
  Down(mesh, 1, B::Left, kCtrlKey | kLeftButton, 0, 50);
  Down(mesh, 1, B::Left, kCtrlKey | kLeftButton, 50, 50);
  EXPECT_EQ(mesh.NodeCount(), 4u);
  EXPECT_EQ(mesh.TriangleCount(), 2u);
  auto r = Down(mesh, 2, B::Left, kLeftButton, 50, 50);
  ASSERT_NE(r.drag_node, nullptr);
  MeshMouseMove(mesh, 2, r.drag_node, 60, 55, 100, 100);
  TMeshNode* drag = r.drag_node;
  MeshMouseUp(mesh, 2, drag, 61, 57, 100, 100);
  const TMeshNode& moved = mesh.NodeList().front();
  EXPECT_EQ(std::tie(moved.X1, moved.Y1, moved.X2, moved.Y2), std::make_tuple(50, 50, 61, 57));
}

}  // namespace
}  // namespace vesk
