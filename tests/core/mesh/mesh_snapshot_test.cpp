// Snapshots restore the mesh exactly: same file bytes, same corner and
// selection identities (even among nodes with equal values), and a snapshot
// tells every difference a reader could see.
#include "core/mesh/mesh_snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/mesh/mesh_file.h"
#include "core/mesh/mesh_overlay.h"
#include "core/mesh/zoomed_mesh_overlay.h"

namespace vesk {
namespace {

struct Recipe {
  const char* name;
  std::function<void(Mesh&)> build;
};

// Nodes 1..n in head order: the list index of each triangle corner and of
// the selection, as a reader sees them.
std::vector<int> Shape(const Mesh& mesh) {
  std::vector<const TMeshNode*> nodes;
  for (const TMeshNode& n : mesh.NodeList()) nodes.push_back(&n);
  auto index = [&nodes](const TMeshNode* p) {
    for (std::size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i] == p) return static_cast<int>(i) + 1;
    return 0;
  };
  std::vector<int> shape;
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    shape.insert(shape.end(), {index(t.A), index(t.B), index(t.C)});
  }
  shape.insert(shape.end(), {-1, index(mesh.PreviousNode()), index(mesh.SelectedNode())});
  return shape;
}

std::vector<std::uint8_t> Bytes(const Mesh& mesh) {
  return WriteMesh(mesh, "first.bmp", "second.bmp").Value();
}

const std::vector<Recipe>& Recipes() {
  static const std::vector<Recipe> recipes = {
      {"empty", [](Mesh&) {}},
      {"one node", [](Mesh& m) { m.AddNode(3, 4); }},
      {"strip with split and swap",
       [](Mesh& m) {
         m.AddNode(0, 0);
         m.AddNode(40, 0);
         m.AddTriangle(20, 30, kFirstImage, 5);
         m.AddTriangle(60, 30, kFirstImage, 5);
         m.SplitTriangle(20, 10, kFirstImage);
         m.SwapMorphMesh();
         Mesh::SetPosition(*m.SelectedNode(), kSecondImage, -7, 99);
       }},
      {"equal nodes, selection on the older twin",
       [](Mesh& m) {
         TMeshNode* older = m.AddNode(5, 5);
         TMeshNode* newer = m.AddNode(5, 5);
         m.AddNode(9, 9);
         m.PushTriangle(newer, older, m.SelectedNode());
         m.SetSelection(newer, older);
       }},
      {"selection cleared by deletion",
       [](Mesh& m) {
         m.AddNode(1, 1);
         m.AddNode(2, 2);
         m.DeleteNode(m.SelectedNode());
         m.DeleteNode(m.SelectedNode());
         m.AddNode(8, 8);
         m.SetSelection(nullptr, nullptr);
       }},
  };
  return recipes;
}

TEST(MeshSnapshot, RestoringGivesTheSameMeshFileAndIdentities) {
  for (const Recipe& r : Recipes()) {
    SCOPED_TRACE(r.name);
    Mesh original;
    r.build(original);
    MeshSnapshot snapshot = TakeMeshSnapshot(original);
    Mesh restored = RestoreMeshSnapshot(snapshot);
    EXPECT_EQ(Bytes(restored), Bytes(original));
    EXPECT_EQ(Shape(restored), Shape(original));
    EXPECT_TRUE(TakeMeshSnapshot(restored) == snapshot);
  }
}

TEST(MeshSnapshot, EveryVisibleDifferenceCounts) {
  struct Change {
    const char* name;
    std::function<void(Mesh&)> apply;
  };
  const std::vector<Change> changes = {
      {"a position on the second image", [](Mesh& m) { m.SelectedNode()->Y2 += 1; }},
      {"the selection roles", [](Mesh& m) { m.SelectNode(m.PreviousNode()); }},
      {"a triangle's corner order",
       [](Mesh& m) {
         const TMeshTriangle t = m.TriangleList().front();
         m.PushTriangle(t.B, t.C, t.A);
       }},
      {"a node more", [](Mesh& m) { m.PushNode(TMeshNode{}); }},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.name);
    Mesh mesh;
    Recipes()[2].build(mesh);
    MeshSnapshot before = TakeMeshSnapshot(mesh);
    c.apply(mesh);
    EXPECT_FALSE(TakeMeshSnapshot(mesh) == before);
  }
}

TEST(ZoomedMeshOverlay, ActualPixelsMatchesTheOverlayAndZoomKeepsNodeSize) {
  Mesh mesh;
  Recipes()[2].build(mesh);
  Settings settings;
  Bitmap plain(80, 60, kBlack);
  Bitmap zoomed = plain;
  DrawMeshOver(plain, mesh, kSecondImage, settings);
  DrawZoomedMeshOver(zoomed, 0, 0, 256, mesh, kSecondImage, settings);
  EXPECT_TRUE(zoomed == plain);

  // At 8 times, image pixel (2, 3) is the block 16..23 x 24..31, centred on
  // view pixel (20, 28); seen from view point (10, 20) that is (10, 8).
  Mesh one;
  one.AddNode(2, 3);
  settings.NodeSize = 2;
  Bitmap view(30, 30, MakeColor(1, 2, 3));
  DrawZoomedMeshOver(view, 10, 20, 2048, one, kFirstImage, settings);
  EXPECT_EQ(view.Pixel(8, 6), kBlack);  // the outline ring, 4 view pixels wide
  EXPECT_EQ(view.Pixel(11, 9), kBlack);
  EXPECT_EQ(view.Pixel(9, 7), settings.SelectedNodeColor);
  EXPECT_EQ(view.Pixel(10, 8), settings.SelectedNodeColor);
  EXPECT_EQ(view.Pixel(12, 8), MakeColor(1, 2, 3));
}

}  // namespace
}  // namespace vesk
