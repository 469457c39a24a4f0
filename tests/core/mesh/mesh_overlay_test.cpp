#include "core/mesh/mesh_overlay.h"

#include <gtest/gtest.h>

#include <iterator>

namespace vesk {
namespace {

constexpr Color kGround = MakeColor(10, 20, 30);

// Expected node square, drawn pixel by pixel: outline ring black, inside `c`.
void ExpectSquare(const Bitmap& b, int x, int y, int s, Color c) {
  for (int py = y - s; py <= y + s - 1; ++py) {
    for (int px = x - s; px <= x + s - 1; ++px) {
      bool ring = px == x - s || px == x + s - 1 || py == y - s || py == y + s - 1;
      ASSERT_EQ(b.Pixel(px, py), ring ? kBlack : c) << "at " << px << "," << py;
    }
  }
}

int CountNot(const Bitmap& b, Color c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != c;
  }
  return n;
}

TEST(MeshOverlay, NodeAtTenTenWithSizeFiveCoversFiveToFourteen) {
  Bitmap clean(30, 30, kGround);
  Mesh mesh;
  mesh.AddNode(10, 10);
  Settings settings;
  ASSERT_EQ(settings.NodeSize, 5);
  Bitmap shown = DrawMesh(clean, mesh, 1, settings);
  ExpectSquare(shown, 10, 10, 5, settings.SelectedNodeColor);
  EXPECT_EQ(shown.Pixel(5, 5), kBlack);
  EXPECT_EQ(shown.Pixel(14, 14), kBlack);
  EXPECT_EQ(shown.Pixel(4, 10), kGround);
  EXPECT_EQ(shown.Pixel(15, 10), kGround);
  EXPECT_EQ(shown.Pixel(10, 4), kGround);
  EXPECT_EQ(shown.Pixel(10, 15), kGround);
  EXPECT_EQ(CountNot(shown, kGround), 100);
  // The clean image is untouched.
  EXPECT_EQ(clean, Bitmap(30, 30, kGround));
}

TEST(MeshOverlay, SquareColourFollowsPreviousThenSelectedThenOther) {
  Bitmap clean(80, 20, kGround);
  Mesh mesh;
  mesh.AddNode(10, 10);
  mesh.AddNode(30, 10);
  mesh.AddNode(50, 10);  // previous (30, 10), selected (50, 10)
  Settings settings;
  Bitmap shown = DrawMesh(clean, mesh, 1, settings);
  ExpectSquare(shown, 10, 10, 5, settings.NodeColor);
  ExpectSquare(shown, 30, 10, 5, settings.PreviousNodeColor);
  ExpectSquare(shown, 50, 10, 5, settings.SelectedNodeColor);

  // A node that is both previous and selected shows the previous colour.
  mesh.DeleteNode(mesh.SelectedNode());
  ASSERT_EQ(mesh.SelectedNode(), mesh.PreviousNode());
  Bitmap both = DrawMesh(clean, mesh, 1, settings);
  ExpectSquare(both, 30, 10, 5, settings.PreviousNodeColor);
}

TEST(MeshOverlay, EachImageUsesItsOwnPositions) {
  Bitmap clean(60, 60, kGround);
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  Mesh::SetPosition(*n, 2, 40, 45);
  Settings settings;
  settings.NodeSize = 3;
  Bitmap first = DrawMesh(clean, mesh, 1, settings);
  Bitmap second = DrawMesh(clean, mesh, 2, settings);
  ExpectSquare(first, 10, 10, 3, settings.SelectedNodeColor);
  ExpectSquare(second, 40, 45, 3, settings.SelectedNodeColor);
  EXPECT_EQ(CountNot(first, kGround), 36);
  EXPECT_EQ(CountNot(second, kGround), 36);
  EXPECT_EQ(DrawMesh(clean, mesh, 3, settings), clean);
}

TEST(MeshOverlay, TriangleLinesAreDrawnOverTheSquares) {
  Bitmap clean(40, 40, kGround);
  Mesh mesh;
  mesh.AddNode(10, 10);
  mesh.AddNode(30, 10);
  mesh.AddTriangle(10, 30, 1, 5);
  Settings settings;
  settings.LineColor = MakeColor(1, 2, 3);
  Bitmap shown = DrawMesh(clean, mesh, 1, settings);
  // Horizontal edge y = 10 from x 10 to 30, vertical x = 10 from y 10 to 30,
  // diagonal x + y = 40: all in the line colour, squares included.
  for (int i = 10; i <= 30; ++i) {
    EXPECT_EQ(shown.Pixel(i, 10), settings.LineColor) << i;
    EXPECT_EQ(shown.Pixel(10, i), settings.LineColor) << i;
    EXPECT_EQ(shown.Pixel(i, 40 - i), settings.LineColor) << i;
  }
  // Square pixels off the lines keep their colours.
  EXPECT_EQ(shown.Pixel(5, 5), kBlack);
  EXPECT_EQ(shown.Pixel(8, 8), settings.NodeColor);
  EXPECT_EQ(shown.Pixel(11, 31), settings.SelectedNodeColor);
  EXPECT_EQ(shown.Pixel(29, 9), settings.PreviousNodeColor);
  // Every other pixel outside the squares is ground.
  EXPECT_EQ(shown.Pixel(20, 15), kGround);
  EXPECT_EQ(shown.Pixel(15, 20), kGround);
  EXPECT_EQ(shown.Pixel(0, 0), kGround);
}

TEST(MeshOverlay, NodeSizeZeroDrawsOnlyLines) {
  Bitmap clean(20, 20, kGround);
  Mesh mesh;
  mesh.AddNode(5, 5);
  mesh.AddNode(15, 5);
  mesh.AddTriangle(5, 15, 1, 5);
  Settings settings;
  settings.NodeSize = 0;
  Bitmap shown = DrawMesh(clean, mesh, 1, settings);
  // 11 + 11 + 11 pixels, the three corners shared.
  EXPECT_EQ(CountNot(shown, kGround), 30);
  EXPECT_EQ(shown.Pixel(5, 5), settings.LineColor);
}

TEST(MeshOverlay, NodesOutsideTheImageAreClipped) {
  Bitmap clean(10, 10, kGround);
  Mesh mesh;
  mesh.AddNode(-100, -100);
  mesh.AddNode(1, 1);
  mesh.AddNode(2000000000, 5);
  mesh.PushTriangle(&mesh.NodeList().back(), &mesh.NodeList().front(),
                    &*std::next(mesh.NodeList().begin()));
  Settings settings;
  Bitmap shown = DrawMesh(clean, mesh, 1, settings);
  // The square of (1, 1) covers -4..5: its visible part is 0..5 with the
  // outline only at x = 5 and y = 5.
  EXPECT_NE(shown.Pixel(0, 0), kGround);
  EXPECT_EQ(shown.Pixel(5, 3), kBlack);
  EXPECT_EQ(shown.Pixel(9, 9), kGround);
  EXPECT_EQ(shown.Width(), 10);
}

TEST(MeshOverlay, DrawingOverAnEmptyMeshKeepsTheImage) {
  Bitmap clean(7, 3, kGround);
  clean.SetPixel(2, 1, kWhite);
  EXPECT_EQ(DrawMesh(clean, Mesh(), 1, Settings()), clean);
  Bitmap empty;
  Mesh mesh;
  mesh.AddNode(0, 0);
  EXPECT_EQ(DrawMesh(empty, mesh, 1, Settings()), empty);
}

}  // namespace
}  // namespace vesk
