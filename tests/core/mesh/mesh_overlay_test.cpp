// What the mesh window shows: node squares coloured by role at each image's
// own positions, with the triangle lines drawn over them.
#include "core/mesh/mesh_overlay.h"

#include <gtest/gtest.h>

#include "core/image/raster.h"

namespace vesk {
namespace {

TEST(MeshOverlay, SquaresShowTheRolesAndLinesAreDrawnOverThemOnEachImage) {
  Mesh mesh;
  Mesh::SetPosition(*mesh.AddNode(10, 10), 2, 12, 14);
  mesh.AddNode(30, 10);
  mesh.AddTriangle(10, 30, 1, 5);  // previous (30, 10), selected (10, 30)
  Settings s;
  s.NodeSize = 3;
  s.LineColor = MakeColor(1, 2, 3);
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
  EXPECT_EQ(DrawMesh(clean, Mesh(), 1, s), clean);
  EXPECT_EQ(DrawMesh(Bitmap(), mesh, 1, s), Bitmap());
}

TEST(MeshOverlay, ANodeHoldingBothRolesShowsThePreviousColour) {
  Mesh mesh;
  mesh.AddNode(10, 10);
  mesh.AddNode(30, 10);
  mesh.DeleteNode(mesh.SelectedNode());
  ASSERT_EQ(mesh.SelectedNode(), mesh.PreviousNode());
  Bitmap expected(20, 20, kWhite);
  DrawNodeRectangle(expected, 10, 10, 5, Settings().PreviousNodeColor);
  EXPECT_EQ(DrawMesh(Bitmap(20, 20, kWhite), mesh, 1, Settings()), expected);
}

}  // namespace
}  // namespace vesk
