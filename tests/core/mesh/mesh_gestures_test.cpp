// Mesh window gestures: exact key and button states, each edit's redraws, drags, overlay.
#include "core/mesh/mesh_gestures.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/image/raster.h"
#include "core/mesh/mesh_overlay.h"
#include "tests/core/support/mesh_words.h"

namespace vesk {
namespace {

using B = MouseButton;
using E = MeshEdit;
using testing_support::Effects;
constexpr ShiftState L = kLeftButton, R = kRightButton, C = kCtrlKey, S = kShiftKey;

TEST(MeshGestures, OnlyExactShiftStatesMakeTheSpecialGestures) {
  using G = MeshGesture;
  const ShiftState A = kAltKey, M = kMiddleButton, D = kDoubleClick;
  const std::tuple<B, ShiftState, G> rows[] = {
      {B::Right, C | R, G::CtrlRightClick}, {B::Right, R, G::RightClick},
      {B::Left, S | L, G::ShiftLeftClick},  {B::Middle, S | L, G::ShiftLeftClick},
      {B::Left, C | L, G::CtrlLeftClick},   {B::Right, C | L, G::CtrlLeftClick},
      {B::Left, L, G::Default},             {B::Right, C | R | S, G::Default},
      {B::Right, C | R | L, G::Default},    {B::Right, R | D, G::Default},
      {B::Right, R | A, G::Default},        {B::Right, S | R, G::Default},
      {B::Left, R, G::Default},             {B::Left, C | R, G::Default},
      {B::Left, S | L | D, G::Default},     {B::Left, S | C | L, G::Default},
      {B::Left, C | L | M, G::Default},     {B::Left, A | L, G::Default},
      {B::Middle, M, G::Default},           {B::Left, 0, G::Default},
      {B::Left, C, G::Default}};
  for (auto [button, state, gesture] : rows) {
    EXPECT_EQ(ClassifyMeshGesture(button, state), gesture) << "state " << state;
  }
}

TEST(MeshGestures, EachGestureMakesItsEditAndAsksForItsRedraws) {
  struct Row {  // selected: the selected node's positions afterwards
    const char* name; int kind; B button; ShiftState state; int x, y; MeshEdit edit;
    const char* effects; std::size_t nodes, triangles; std::tuple<int, int, int, int> selected;
  };
  const std::tuple<int, int, int, int> c{0, 60, 7, 70};
  const char* add = "changed this other arrow drag ";
  const char *all = "changed this other ", *pick = "this other drag ";
  const Row rows[] = {
      {"click on ground", 2, B::Left, L, 33, 44, E::AddNode, add, 4, 1, {33, 44, 33, 44}},
      {"click on the selected node", 1, B::Left, L, 1, 59, E::SelectNode, pick, 3, 1, c},
      {"click on a node", 1, B::Left, L, 0, 0, E::SelectNode, pick, 3, 1, {0, 0, 0, 0}},
      {"odd click on ground", 1, B::Right, S | R, 99, 9, E::AddNode, add, 4, 1, {99, 9, 99, 9}},
      {"odd click on a node", 1, B::Middle, kMiddleButton, 0, 0, E::SelectNode, pick, 3, 1,
       {0, 0, 0, 0}},
      {"ctrl right on a node", 1, B::Right, C | R, 58, 2, E::DeleteNodeAndTriangles, all, 2, 0, c},
      {"ctrl right on ground", 1, B::Right, C | R, 300, 0, E::None, "", 3, 1, c},
      {"right on ground", 1, B::Right, R, 300, 0, E::None, "", 3, 1, c},
      {"right on the third corner", 1, B::Right, R, 0, 0, E::DeleteTriangleOrNode, all, 3, 0, c},
      {"right on a selected corner", 1, B::Right, R, 60, 0, E::DeleteTriangleOrNode, all, 3, 1, c},
      {"shift on ground", 1, B::Left, S | L, 300, 0, E::None, "", 3, 1, c},
      {"shift copies to the second", 1, B::Left, S | L, 0, 60, E::CopyPositionToOther,
       "changed other ", 3, 1, {0, 60, 0, 60}},
      {"shift copies to the first", 2, B::Left, S | L, 7, 70, E::CopyPositionToOther,
       "changed other ", 3, 1, {7, 70, 7, 70}},
      {"ctrl in a triangle splits", 1, B::Left, C | L, 15, 15, E::SplitTriangle, all, 4, 3,
       {15, 15, 22, 23}},
      {"ctrl on ground", 2, B::Left, C | L, 100, 90, E::AddTriangle, all, 4, 2, {100, 90, 100, 90}},
      {"ctrl on a node never splits", 1, B::Left, C | L, 1, 1, E::AddTriangle, all, 3, 2, c},
      {"nothing on the third image", 3, B::Left, L, 0, 0, E::None, "", 3, 1, c}};
  for (const Row& row : rows) {
    Mesh mesh;  // triangle (p, s, c): previous s, selected c, moved on the second image
    mesh.AddNode(0, 0);
    mesh.AddNode(60, 0);
    mesh.AddTriangle(0, 60, 1, 5);
    Mesh::SetPosition(*mesh.SelectedNode(), 2, 7, 70);
    MeshMouseDownResult r =
        MeshMouseDown(mesh, row.kind, row.button, row.state, {row.x, row.y}, 5);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(r.edit, row.edit);
    EXPECT_EQ(Effects(r), row.effects);
    EXPECT_EQ(r.drag_node, r.edit == E::SelectNode ? mesh.SelectedNode() : nullptr);
    EXPECT_EQ(mesh.NodeCount(), row.nodes);
    EXPECT_EQ(mesh.TriangleCount(), row.triangles);
    const TMeshNode* n = mesh.SelectedNode();
    EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), row.selected);
  }
  Mesh one;  // ctrl without two selected nodes acts as a plain click (here at 8 times)
  one.AddNode(0, 0);
  MeshMouseDownResult r = MeshMouseDown(one, 1, B::Left, C | L, {329, 164, 2048}, 5);
  EXPECT_EQ(std::pair(r.gesture, r.edit), std::pair(MeshGesture::CtrlLeftClick, E::AddNode));
  EXPECT_EQ(Effects(r), add);
  EXPECT_EQ(std::tie(one.SelectedNode()->X1, one.SelectedNode()->Y1), std::tuple(41, 20));
}

TEST(MeshGestures, AClickIsOnANodeInsideItsSquareAsDrawnAtEveryZoom) {
  Mesh mesh;
  TMeshNode* node = mesh.PushNode({40, 20, 8, 8});
  // Drawn around view pixel (10, 5) at 1/4, (40, 20) at 1, (324, 164) at 8.
  const std::tuple<int, std::int64_t, std::int64_t, bool> rows[] = {
      {64, 14, 9, true},      {64, 15, 5, false},      {64, 6, 1, true},
      {64, 10, 0, false},     {256, 44, 24, true},     {256, 45, 20, false},
      {256, 36, 16, true},    {256, 35, 20, false},    {2048, 328, 168, true},
      {2048, 329, 164, false}, {2048, 320, 160, true}, {2048, 324, 159, false}};
  for (auto [zoom, x, y, on] : rows) {
    EXPECT_EQ(NodeUnderClick(mesh, {x, y, zoom}, 1, 5), on ? node : nullptr) << zoom << " " << x;
  }
  EXPECT_EQ(NodeUnderClick(mesh, {2, 2, 64}, 2, 5), node);
  EXPECT_EQ(NodeUnderClick(mesh, {2, 2, 64}, 3, 5), nullptr);
}

TEST(MeshGestures, DragMovesTheNodeOnItsImageWhileInBoundsUntilRelease) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  TMeshNode* drag = n;
  for (auto [x, y, moved] : {std::tuple{40, 30, true}, {100, 50, true}, {0, 0, true},
                             {101, 20, false}, {20, 51, false}, {-1, 20, false},
                             {20, -1, false}}) {
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

TEST(MeshOverlay, SquaresShowTheRolesAndLinesAreDrawnOverThemOnEachImage) {
  Mesh mesh;
  Mesh::SetPosition(*mesh.AddNode(10, 10), 2, 12, 14);
  mesh.AddNode(30, 10);
  mesh.AddTriangle(10, 30, 1, 5);  // previous (30, 10), selected (10, 30)
  const Settings s{.NodeSize = 3, .LineColor = MakeColor(1, 2, 3)};
  const Bitmap clean(40, 40, MakeColor(10, 20, 30));
  for (Point first : {Point{10, 10}, Point{12, 14}}) {
    Bitmap expected = clean;
    DrawNodeRectangle(expected, first.x, first.y, 3, s.NodeColor);
    DrawNodeRectangle(expected, 30, 10, 3, s.PreviousNodeColor);
    DrawNodeRectangle(expected, 10, 30, 3, s.SelectedNodeColor);
    DrawLine(expected, first, {30, 10}, s.LineColor);
    DrawLine(expected, {30, 10}, {10, 30}, s.LineColor);
    DrawLine(expected, {10, 30}, first, s.LineColor);
    EXPECT_EQ(DrawMesh(clean, mesh, first.x == 10 ? 1 : 2, s), expected) << first.x;
  }
  EXPECT_EQ(DrawMesh(clean, mesh, 3, s), clean);
  mesh.DeleteNodeAndTriangles(mesh.SelectedNode());  // both roles on one node: previous colour
  Bitmap both = clean;
  DrawNodeRectangle(both, 10, 10, 3, s.NodeColor);
  DrawNodeRectangle(both, 30, 10, 3, s.PreviousNodeColor);
  EXPECT_EQ(DrawMesh(clean, mesh, 1, s), both);
}

}  // namespace
}  // namespace vesk
