// Mouse gestures on the mesh windows: which exact key and button states
// select which edit, what each edit asks of the windows, and dragging.
#include "core/mesh/mesh_gestures.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace vesk {
namespace {

using B = MouseButton;
constexpr ShiftState kLeft = kLeftButton;
constexpr ShiftState kRight = kRightButton;

TEST(MeshGestures, OnlyExactShiftStatesSelectTheSpecialGestures) {
  using G = MeshGesture;
  const std::tuple<B, ShiftState, G> rows[] = {
      {B::Right, kCtrlKey | kRight, G::CtrlRightClick}, {B::Right, kRight, G::RightClick},
      {B::Left, kShiftKey | kLeft, G::ShiftLeftClick},  {B::Middle, kShiftKey | kLeft, G::ShiftLeftClick},
      {B::Left, kCtrlKey | kLeft, G::CtrlLeftClick},    {B::Right, kCtrlKey | kLeft, G::CtrlLeftClick},
      {B::Left, kLeft, G::Default},                     {B::Right, kCtrlKey | kRight | kShiftKey, G::Default},
      {B::Right, kCtrlKey | kRight | kLeft, G::Default}, {B::Right, kRight | kDoubleClick, G::Default},
      {B::Right, kRight | kAltKey, G::Default},          {B::Right, kShiftKey | kRight, G::Default},
      {B::Left, kRight, G::Default},                     {B::Left, kCtrlKey | kRight, G::Default},
      {B::Left, kShiftKey | kLeft | kDoubleClick, G::Default},
      {B::Left, kShiftKey | kCtrlKey | kLeft, G::Default},
      {B::Left, kCtrlKey | kLeft | kMiddleButton, G::Default}, {B::Left, kAltKey | kLeft, G::Default},
      {B::Middle, kMiddleButton, G::Default}, {B::Left, 0, G::Default}, {B::Left, kCtrlKey, G::Default}};
  for (auto [button, state, gesture] : rows) {
    EXPECT_EQ(ClassifyMeshGesture(button, state), gesture) << "state " << state;
  }
}

// What a mouse-down asks of its window, as the names of the answers set.
std::string Effects(const MeshMouseDownResult& r) {
  std::string out;
  for (auto [set, name] : {std::pair{r.mesh_changed, "changed "}, {r.redraw_this, "this "},
                           {r.redraw_other, "other "}, {r.arrow_cursor, "arrow "},
                           {r.drag_assigned, "drag "}}) {
    if (set) out += name;
  }
  return out;
}

TEST(MeshGestures, EachGestureMakesItsEditAndAsksForItsRedraws) {
  struct Row {
    const char* name;
    int kind;
    B button;
    ShiftState state;
    int x, y;
    MeshEdit edit;
    const char* effects;
    std::size_t nodes, triangles;
    std::tuple<int, int, int, int> selected;  // positions of the selected node afterwards
  };
  using E = MeshEdit;
  const std::tuple<int, int, int, int> c{0, 60, 7, 70};
  const Row rows[] = {
      {"click on ground", 2, B::Left, kLeft, 33, 44, E::AddNode, "changed this other arrow drag ",
       4, 1, {33, 44, 33, 44}},
      {"click on the selected node", 1, B::Left, kLeft, 1, 59, E::SelectNode, "this other drag ",
       3, 1, c},
      {"click on a node", 1, B::Left, kLeft, 0, 0, E::SelectNode, "this other drag ", 3, 1,
       {0, 0, 0, 0}},
      {"odd click on ground", 1, B::Right, kShiftKey | kRight, 200, 200, E::AddNode,
       "changed this other arrow drag ", 4, 1, {200, 200, 200, 200}},
      {"odd click on a node", 1, B::Middle, kMiddleButton, 0, 0, E::SelectNode,
       "this other drag ", 3, 1, {0, 0, 0, 0}},
      {"ctrl right on a node", 1, B::Right, kCtrlKey | kRight, 58, 2, E::DeleteNodeAndTriangles,
       "changed this other ", 2, 0, c},
      {"ctrl right on ground", 1, B::Right, kCtrlKey | kRight, 300, 0, E::None, "", 3, 1, c},
      {"right on ground", 1, B::Right, kRight, 300, 0, E::None, "", 3, 1, c},
      {"right on the third corner", 1, B::Right, kRight, 0, 0, E::DeleteTriangleOrNode,
       "changed this other ", 3, 0, c},
      {"right on a selected corner", 1, B::Right, kRight, 60, 0, E::DeleteTriangleOrNode,
       "changed this other ", 3, 1, c},
      {"shift on ground", 1, B::Left, kShiftKey | kLeft, 300, 0, E::None, "", 3, 1, c},
      {"shift copies to the second", 1, B::Left, kShiftKey | kLeft, 0, 60,
       E::CopyPositionToOther, "changed other ", 3, 1, {0, 60, 0, 60}},
      {"shift copies to the first", 2, B::Left, kShiftKey | kLeft, 7, 70, E::CopyPositionToOther,
       "changed other ", 3, 1, {7, 70, 7, 70}},
      {"ctrl inside a triangle splits", 1, B::Left, kCtrlKey | kLeft, 15, 15, E::SplitTriangle,
       "changed this other ", 4, 3, {15, 15, 22, 23}},
      {"ctrl on ground adds a triangle", 2, B::Left, kCtrlKey | kLeft, 100, 90, E::AddTriangle,
       "changed this other ", 4, 2, {100, 90, 100, 90}},
      {"ctrl on a node never splits", 1, B::Left, kCtrlKey | kLeft, 1, 1, E::AddTriangle,
       "changed this other ", 3, 2, c},
      {"no gestures on the third image", 3, B::Left, kLeft, 0, 0, E::None, "", 3, 1, c},
      {"no right click on the third image", 3, B::Right, kRight, 0, 0, E::None, "", 3, 1, c}};
  for (const Row& row : rows) {
    Mesh mesh;  // triangle (p, s, c): previous s, selected c, moved on the second image
    mesh.AddNode(0, 0);
    mesh.AddNode(60, 0);
    mesh.AddTriangle(0, 60, 1, 5);
    Mesh::SetPosition(*mesh.SelectedNode(), 2, 7, 70);
    MeshMouseDownResult r = MeshMouseDown(mesh, row.kind, row.button, row.state, row.x, row.y, 5);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(r.edit, row.edit);
    EXPECT_EQ(Effects(r), row.effects);
    EXPECT_EQ(r.drag_node, r.edit == E::SelectNode ? mesh.SelectedNode() : nullptr);
    EXPECT_EQ(std::pair(mesh.NodeCount(), mesh.TriangleCount()), std::pair(row.nodes, row.triangles));
    const TMeshNode* n = mesh.SelectedNode();
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), row.selected);
  }
}

TEST(MeshGestures, CtrlClickWithoutTwoSelectedNodesActsAsAPlainClick) {
  Mesh mesh;
  auto r = MeshMouseDown(mesh, 1, B::Left, kCtrlKey | kLeft, 5, 5, 5);
  EXPECT_EQ(std::pair(r.gesture, r.edit), std::pair(MeshGesture::CtrlLeftClick, MeshEdit::AddNode));
  EXPECT_EQ(Effects(r), "changed this other arrow drag ");
  r = MeshMouseDown(mesh, 1, B::Left, kCtrlKey | kLeft, 6, 6, 5);
  EXPECT_EQ(r.drag_node, &mesh.NodeList().front());
  EXPECT_EQ(mesh.NodeCount() + mesh.TriangleCount(), 1u);
}

TEST(MeshGestures, DragMovesTheNodeOnItsImageWhileInBoundsUntilRelease) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  TMeshNode* drag = n;
  const std::tuple<int, int, bool> moves[] = {
      {40, 30, true}, {100, 50, true}, {0, 0, true}, {101, 20, false}, {20, 51, false},
      {-1, 20, false}, {20, -1, false}};
  for (auto [x, y, moved] : moves) {
    const std::tuple<int, int> before{n->X2, n->Y2};
    EXPECT_EQ(MeshMouseMove(mesh, 2, drag, x, y, 100, 50), moved) << x << "," << y;
    EXPECT_EQ(std::tie(n->X2, n->Y2), moved ? std::tuple(x, y) : before);
  }
  EXPECT_FALSE(MeshMouseMove(mesh, 3, drag, 5, 5, 100, 50));
  EXPECT_FALSE(MeshMouseUp(mesh, 2, drag, 500, 8, 100, 50));  // out of bounds: stays
  EXPECT_EQ(drag, nullptr);
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(10, 10, 0, 0));
  drag = n;
  EXPECT_TRUE(MeshMouseUp(mesh, 1, drag, 7, 8, 100, 50));
  EXPECT_EQ(std::tie(n->X1, n->Y1), std::make_tuple(7, 8));
  EXPECT_FALSE(MeshMouseMove(mesh, 1, drag, 9, 9, 100, 50));  // no drag any more
  drag = n;
  mesh.FreeMesh();  // a node gone since the drag began moves nothing
  EXPECT_FALSE(MeshMouseUp(mesh, 1, drag, 5, 5, 100, 100));
}

}  // namespace
}  // namespace vesk
