// Mesh editing: where nodes and triangles go, the selection, right-click removal, splits,
// and the snapshots that restore a mesh.
#include "core/mesh/mesh_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "core/mesh/mesh_file.h"
#include "core/mesh/mesh_snapshot.h"
#include "tests/core/support/mesh_words.h"

namespace vesk {
namespace {

using namespace testing_support;  // the shared mesh words

TEST(MeshModel, FindNodeHitsTheNewestNodeWithinNodeSizeOnTheGivenImage) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, 60);
  for (int round = 0; round < 200; ++round) {
    Mesh mesh;
    for (int i = 0; i <= round % 12; ++i) {
      Mesh::SetPosition(*mesh.AddNode(coord(rng), coord(rng)), 2, coord(rng), coord(rng));
    }
    const auto size = static_cast<std::uint8_t>(rng() % 13);
    for (int probe = 0; probe < 20; ++probe) {
      const int x = coord(rng), y = coord(rng), kind = 1 + probe % 2;
      const TMeshNode* expected = nullptr;
      for (auto n = mesh.NodeList().rbegin(); n != mesh.NodeList().rend(); ++n) {
        const MeshPoint p = PositionOn(*n, kind);
        if (std::abs(x - p.x) < size && std::abs(y - p.y) < size) expected = &*n;
      }
      ASSERT_EQ(mesh.FindNode(x, y, kind, size), expected);
      ASSERT_EQ(mesh.FindNode(x, y, 3 * (kind - 1), size), nullptr);  // kinds 0 and 3
    }
  }
  Mesh far;
  far.AddNode(INT_MIN, INT_MIN);
  EXPECT_EQ(far.FindNode(INT_MAX, INT_MAX, 1, 12), nullptr);  // no wrap into reach
}

TEST(MeshModel, NewNodesGoFirstAndTrianglesMakeAStripOnGroundAndAFanOnNodes) {
  Mesh mesh;
  TMeshNode* x = mesh.AddNode(100, 100);
  x->X2 = 0;  // the first node alone can make no triangle
  mesh.AddTriangle(30, 30, 1, 5);
  EXPECT_EQ(mesh.NodeCount() + mesh.TriangleCount(), 1u);
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(a, b));
  mesh.AddTriangle(25, 40, 1, 5);  // a new node c on both images takes the selection
  TMeshNode* c = mesh.SelectedNode();
  EXPECT_EQ(Of(c), Values(25, 40, 25, 40));
  EXPECT_EQ(&mesh.NodeList().front(), c);
  mesh.AddTriangle(101, 99, 1, 5);  // on x (first image only): the selection stays
  mesh.AddTriangle(25, 40, 1, 5);   // on the selected node: a repeated corner
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{b, c, c}, {b, c, x}, {a, b, c}}));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(b, c));
}

TEST(MeshModel, DeletingANodeMovesTheSelectionByItsRules) {
  struct Row {  // indexes into a, b, c, d (d newest); -1: none
    const char* name; std::vector<int> selects, deletes; int selected, previous;
  };
  const Row rows[] = {
      {"previous: its list successor becomes previous", {1, 0}, {1}, 0, 0},
      {"selected: previous selected, successor previous", {2, 3}, {3}, 2, 2},
      {"selected with another successor", {0, 2}, {2}, 0, 1},
      {"the last node of the list has no successor", {0}, {0}, 3, -1},
      {"both roles on one node: selected cleared", {}, {3, 2}, -1, 1},
      {"both roles on the last node: all cleared", {1, 0}, {1, 0}, -1, -1},
      {"another node: the selection stays", {}, {0}, 3, 2}};
  for (const Row& row : rows) {
    Mesh mesh;
    TMeshNode* n[] = {mesh.AddNode(0, 0), mesh.AddNode(10, 0), mesh.AddNode(20, 0),
                      mesh.AddNode(30, 0)};
    for (int i : row.selects) mesh.SelectNode(n[i]);
    for (int i : row.deletes) mesh.DeleteNode(n[i]);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(mesh.SelectedNode(), row.selected < 0 ? nullptr : n[row.selected]);
    EXPECT_EQ(mesh.PreviousNode(), row.previous < 0 ? nullptr : n[row.previous]);
    EXPECT_EQ(mesh.NodeCount(), 4 - row.deletes.size());
  }
}

TEST(MeshModel, RightClickRemovesTrianglesOfNodePreviousSelectedOrAnUnusedNode) {
  Mesh mesh;
  TMeshNode* lone = mesh.AddNode(500, 500);
  TMeshNode* d = mesh.AddNode(25, 40);
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.PushTriangle(s, d, p);  // (S, D, P) and (P, S, D) are (D, P, S) turned
  mesh.PushTriangle(s, p, d);  // the other order, in every turn: never removed
  mesh.PushTriangle(p, d, s);
  mesh.PushTriangle(d, s, p);
  mesh.PushTriangle(p, s, d);
  mesh.DeleteTriangleOrNode(d);  // the head matches: only it goes
  const std::vector<Corners> others{{d, s, p}, {p, d, s}, {s, p, d}};
  std::vector<Corners> expected = others;
  expected.push_back({s, d, p});
  EXPECT_EQ(Triangles(mesh), expected);
  mesh.PushTriangle(d, p, s);
  mesh.PushTriangle(d, s, p);
  mesh.DeleteTriangleOrNode(d);  // the head does not: every match further down goes
  mesh.DeleteTriangleOrNode(s);  // a selected corner removes nothing
  expected = others;
  expected.insert(expected.begin(), {d, s, p});
  EXPECT_EQ(Triangles(mesh), expected);
  TMeshNode stranger{1, 2, 3, 4};
  for (const TMeshNode* node : {&stranger, lone}) mesh.DeleteTriangleOrNode(node);
  mesh.DeleteNodeAndTriangles(&stranger);
  mesh.SelectNode(&stranger);
  EXPECT_EQ(mesh.NodeCount(), 3u);  // the unused node went
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(p, s));
  mesh.PushTriangle(p, s, p);
  mesh.DeleteNodeAndTriangles(d);  // every triangle using it goes
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{p, s, p}}));
}

TEST(MeshModel, PointInTriangleIsStrictlyInsideInEitherOrientation) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.PushNode({20, 0, -20, 0});
  mesh.PushTriangle(a, mesh.AddNode(0, 20), b);
  for (auto [x, y, kind, inside] : {std::tuple{5, 5, 1, true}, {10, 0, 1, false},
                                    {10, 10, 1, false}, {0, 0, 1, false}, {15, 15, 1, false},
                                    {5, 5, 3, false}, {5, 5, 2, false}, {-5, 5, 2, true}}) {
    EXPECT_EQ(mesh.PointInTriangle(x, y, kind), inside) << x << "," << y << " on " << kind;
  }
  EXPECT_TRUE(PointStrictlyInside({0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}));
  EXPECT_LT(EdgeSide({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, INT_MIN}), 0);
}

TEST(MeshModel, SplitMakesABN_NBC_ANCFromTheFirstTriangleHoldingThePoint) {
  Mesh mesh;
  TMeshNode* a = mesh.PushNode({0, 0, -10, -1});
  TMeshNode* b = mesh.PushNode({30, 0, -1, -1});
  TMeshNode* c = mesh.PushNode({0, 30, 0, 0});
  TMeshNode* other = mesh.AddNode(300, 300);
  mesh.PushTriangle(c, b, a);
  mesh.PushTriangle(a, b, c);
  for (auto [x, y, kind] : {std::tuple{15, 0, 1}, {100, 100, 1}, {5, 5, 3}}) {
    EXPECT_FALSE(mesh.SplitTriangle(x, y, kind));  // on an edge, outside, no image
  }
  ASSERT_TRUE(mesh.SplitTriangle(5, 6, 1));
  TMeshNode* n = mesh.SelectedNode();
  EXPECT_EQ(mesh.PreviousNode(), other);
  EXPECT_EQ(&mesh.NodeList().front(), n);
  // On the other image the centroid, truncated toward zero: -11 / 3, -2 / 3.
  EXPECT_EQ(Of(n), Values(5, 6, -3, 0));
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{a, b, n}, {n, b, c}, {a, n, c}, {c, b, a}}));
}

TEST(MeshModel, SwapExchangesTheImagesAndFreeEmptiesTheMesh) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(1, 2);
  Mesh::SetPosition(*a, 2, 3, 4);
  TMeshNode* b = mesh.AddNode(-5, 6);
  mesh.SwapMorphMesh();
  EXPECT_EQ(Of(a), Values(3, 4, 1, 2));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(a, b));
  mesh.FreeMesh();
  EXPECT_EQ(std::make_tuple(mesh.Empty(), mesh.SelectedNode(), mesh.PreviousNode()),
            std::make_tuple(true, nullptr, nullptr));
}

// Snapshots restore the mesh exactly: file bytes, corner and selection identities.
TEST(MeshSnapshot, RestoringGivesTheSameMeshFileAndIdentities) {
  const struct { const char* name; std::function<void(Mesh&)> build; } recipes[] = {
      {"empty", [](Mesh&) {}},
      {"two triangles moved on the second image", [](Mesh& m) { m = SmallMesh(); }},
      {"equal nodes, selection on the older twin",
       [](Mesh& m) {
         TMeshNode* older = m.AddNode(5, 5);
         TMeshNode* newer = m.AddNode(5, 5);
         m.AddNode(9, 9);
         m.PushTriangle(newer, older, m.SelectedNode());
         m.SetSelection(newer, older);
       }},
      {"no selection",
       [](Mesh& m) {
         m.AddNode(8, 8);
         m.SetSelection(nullptr, nullptr);
       }},
  };
  for (const auto& r : recipes) {
    SCOPED_TRACE(r.name);
    Mesh original;
    r.build(original);
    const MeshSnapshot snapshot = TakeMeshSnapshot(original);
    const Mesh restored = RestoreMeshSnapshot(snapshot);
    auto bytes = [](const Mesh& m) { return WriteMesh(m, "1.bmp", "2.bmp").Value(); };
    EXPECT_EQ(bytes(restored), bytes(original));
    EXPECT_EQ(Shape(restored), Shape(original));
    EXPECT_TRUE(TakeMeshSnapshot(restored) == snapshot);
  }
}

}  // namespace
}  // namespace vesk
