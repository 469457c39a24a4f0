// The mesh editing rules: where nodes and triangles go, how the selection
// moves, what a right click removes, and a seeded run of random edits.
#include "core/mesh/mesh_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <tuple>
#include <vector>

namespace vesk {
namespace {

constexpr std::uint8_t kSize = 5;
using Corners = std::tuple<const TMeshNode*, const TMeshNode*, const TMeshNode*>;

std::vector<const TMeshNode*> Nodes(const Mesh& mesh) {
  std::vector<const TMeshNode*> out;
  for (const TMeshNode& n : mesh.NodeList()) out.push_back(&n);
  return out;
}

std::vector<Corners> Triangles(const Mesh& mesh) {
  std::vector<Corners> out;
  for (const TMeshTriangle& t : mesh.TriangleList()) out.emplace_back(t.A, t.B, t.C);
  return out;
}

TEST(MeshModel, NewNodeGoesFirstOnBothImagesAndTakesTheSelection) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(10, 20);
  TMeshNode* b = mesh.AddNode(30, 40);
  EXPECT_EQ(std::tie(a->X1, a->Y1, a->X2, a->Y2), std::make_tuple(10, 20, 10, 20));
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{b, a}));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(a, b));
}

TEST(MeshModel, FindNodeHitsTheNewestNodeWithinNodeSizeOnTheGivenImage) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, 60);
  for (int round = 0; round < 200; ++round) {
    Mesh mesh;
    for (int i = 0, count = 1 + static_cast<int>(rng() % 12); i < count; ++i) {
      Mesh::SetPosition(*mesh.AddNode(coord(rng), coord(rng)), 2, coord(rng), coord(rng));
    }
    auto size = static_cast<std::uint8_t>(rng() % 13);
    for (int probe = 0; probe < 20; ++probe) {
      const int x = coord(rng), y = coord(rng), kind = 1 + static_cast<int>(rng() % 2);
      const TMeshNode* expected = nullptr;
      for (const TMeshNode& n : mesh.NodeList()) {
        MeshPoint p = kind == 1 ? MeshPoint{n.X1, n.Y1} : MeshPoint{n.X2, n.Y2};
        if (expected == nullptr && std::abs(x - p.x) < size && std::abs(y - p.y) < size) {
          expected = &n;
        }
      }
      ASSERT_EQ(mesh.FindNode(x, y, kind, size), expected);
      ASSERT_EQ(mesh.FindNode(x, y, 3 * (kind - 1), size), nullptr);  // kinds 0 and 3
    }
  }
  Mesh far;
  far.AddNode(INT_MIN, INT_MIN);
  EXPECT_EQ(far.FindNode(INT_MAX, INT_MAX, 1, 12), nullptr);  // no wrap into reach
}

TEST(MeshModel, AddTriangleBuildsAStripOnGroundAndAFanOnNodes) {
  Mesh mesh;
  TMeshNode* x = mesh.AddNode(100, 100);
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  mesh.AddTriangle(25, 40, 1, kSize);  // new node c, selection moves on
  TMeshNode* c = mesh.SelectedNode();
  EXPECT_EQ(std::tie(c->X1, c->Y1, c->X2, c->Y2), std::make_tuple(25, 40, 25, 40));
  EXPECT_EQ(mesh.PreviousNode(), b);
  mesh.AddTriangle(101, 99, 1, kSize);  // on x: the selection stays
  mesh.AddTriangle(25, 40, 1, kSize);   // on the selected node: a repeated corner
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{b, c, c}, {b, c, x}, {a, b, c}}));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(b, c));
  Mesh lone;
  lone.AddNode(0, 0);
  lone.AddTriangle(30, 30, 1, kSize);  // without two selected nodes: nothing
  EXPECT_EQ(lone.NodeCount() + lone.TriangleCount(), 1u);
}

TEST(MeshModel, DeletingANodeMovesTheSelectionByItsRules) {
  struct Row {
    const char* name;
    std::vector<int> selects, deletes;  // indexes into a, b, c, d (d newest)
    int selected, previous;             // -1: none
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
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode stranger{1, 2, 3, 4};
  mesh.DeleteNode(&stranger);
  mesh.DeleteNodeAndTriangles(&stranger);
  mesh.DeleteTriangleOrNode(&stranger);
  mesh.SelectNode(&stranger);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{a}));
  EXPECT_EQ(mesh.SelectedNode(), a);
}

TEST(MeshModel, DeleteNodeAndTrianglesRemovesEveryTriangleUsingIt) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  TMeshNode* c = mesh.AddNode(25, 40);
  TMeshNode* d = mesh.AddNode(75, 40);
  mesh.PushTriangle(a, b, c);
  mesh.PushTriangle(b, c, d);
  mesh.PushTriangle(c, d, d);
  mesh.DeleteNodeAndTriangles(b);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{c, d, d}}));
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{d, c, a}));
}

TEST(MeshModel, RightClickRemovesTrianglesOfNodePreviousSelectedOrAnUnusedNode) {
  Mesh mesh;
  TMeshNode* lone = mesh.AddNode(500, 500);
  TMeshNode* d = mesh.AddNode(25, 40);
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.PushTriangle(s, d, p);  // (S, D, P) and (P, S, D) are (D, P, S) turned
  mesh.PushTriangle(d, s, p);  // the other order: never removed
  mesh.PushTriangle(p, s, d);
  EXPECT_FALSE(mesh.NodeIsUnused(d));
  mesh.DeleteTriangleOrNode(d);  // the head matches: only it goes
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{d, s, p}, {s, d, p}}));
  mesh.PushTriangle(d, p, s);
  mesh.PushTriangle(d, s, p);
  mesh.DeleteTriangleOrNode(d);  // the head does not: every match further down goes
  mesh.DeleteTriangleOrNode(s);  // a selected corner removes nothing
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{d, s, p}, {d, s, p}}));
  EXPECT_TRUE(mesh.NodeIsUnused(lone));
  mesh.DeleteTriangleOrNode(lone);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{s, p, d}));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(p, s));
}

TEST(MeshModel, EdgeSideAndStrictInsideKeepTheirSignsAtExtremes) {
  EXPECT_EQ(EdgeSide({3, 7}, {1, 2}, {4, 9}), (4 - 3) * (9 - 2) - (4 - 1) * (9 - 7));
  EXPECT_EQ(EdgeSide({5, -5}, {0, 0}, {10, 0}), -50);
  EXPECT_GT(EdgeSide({INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}), 0);
  EXPECT_LT(EdgeSide({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, INT_MIN}), 0);
  EXPECT_EQ(EdgeSide({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}), 0);
  EXPECT_TRUE(PointStrictlyInside({0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}));
}

TEST(MeshModel, PointInTriangleIsStrictlyInsideInEitherOrientation) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(20, 0);
  TMeshNode* c = mesh.AddNode(0, 20);
  mesh.PushTriangle(a, c, b);
  Mesh::SetPosition(*b, 2, -20, 0);
  const std::tuple<int, int, int, bool> rows[] = {
      {5, 5, 1, true},   {10, 0, 1, false}, {10, 10, 1, false}, {0, 0, 1, false},
      {15, 15, 1, false}, {5, 5, 3, false}, {5, 5, 2, false},   {-5, 5, 2, true}};
  for (auto [x, y, kind, inside] : rows) {
    EXPECT_EQ(mesh.PointInTriangle(x, y, kind), inside) << x << "," << y << " on " << kind;
  }
}

TEST(MeshModel, SplitMakesABN_NBC_ANCFromTheFirstTriangleHoldingThePoint) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  TMeshNode* other = mesh.AddNode(300, 300);
  mesh.PushTriangle(c, b, a);
  mesh.PushTriangle(a, b, c);
  Mesh::SetPosition(*a, 2, -10, -1);
  Mesh::SetPosition(*b, 2, -1, -1);
  Mesh::SetPosition(*c, 2, 0, 0);
  EXPECT_FALSE(mesh.SplitTriangle(15, 0, 1));  // on an edge
  EXPECT_FALSE(mesh.SplitTriangle(100, 100, 1));
  EXPECT_FALSE(mesh.SplitTriangle(5, 5, 3));
  ASSERT_EQ(mesh.NodeCount(), 4u);
  ASSERT_TRUE(mesh.SplitTriangle(5, 6, 1));
  TMeshNode* n = mesh.SelectedNode();
  EXPECT_EQ(mesh.PreviousNode(), other);
  // On the other image the centroid, truncated toward zero: -11 / 3, -2 / 3.
  EXPECT_EQ(std::tie(n->X1, n->Y1, n->X2, n->Y2), std::make_tuple(5, 6, -3, 0));
  EXPECT_EQ(Triangles(mesh),
            (std::vector<Corners>{{a, b, n}, {n, b, c}, {a, n, c}, {c, b, a}}));
  EXPECT_EQ(Nodes(mesh).front(), n);
}

TEST(MeshModel, SwapExchangesTheImagesAndTwiceRestoresThem) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(1, 2);
  Mesh::SetPosition(*a, 2, 3, 4);
  TMeshNode* b = mesh.AddNode(-5, 6);
  mesh.SwapMorphMesh();
  EXPECT_EQ(std::tie(a->X1, a->Y1, a->X2, a->Y2), std::make_tuple(3, 4, 1, 2));
  EXPECT_EQ(std::pair(mesh.PreviousNode(), mesh.SelectedNode()), std::pair(a, b));
  mesh.SwapMorphMesh();
  EXPECT_EQ(std::tie(a->X1, a->Y1, a->X2, a->Y2), std::make_tuple(1, 2, 3, 4));
  mesh.FreeMesh();
  EXPECT_TRUE(mesh.Empty());
  EXPECT_EQ(mesh.SelectedNode(), nullptr);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
}

// Random edits never leave the selection or a corner on a released node.
TEST(MeshModel, RandomEditsKeepTheSelectionAndCornersOnLiveNodes) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> coord(0, 40);
  Mesh mesh;
  for (int step = 0; step < 20000; ++step) {
    const int x = coord(rng), y = coord(rng), kind = 1 + static_cast<int>(rng() % 2);
    TMeshNode* hit = mesh.FindNode(x, y, kind, kSize);
    switch (rng() % 8) {
      case 0: case 1: mesh.AddNode(x, y); break;
      case 2: mesh.AddTriangle(x, y, kind, kSize); break;
      case 3: mesh.SplitTriangle(x, y, kind); break;
      case 4: mesh.DeleteNodeAndTriangles(hit); break;
      case 5: mesh.DeleteTriangleOrNode(hit); break;
      case 6: mesh.SelectNode(hit); break;
      default: if (hit != nullptr && mesh.NodeIsUnused(hit)) mesh.DeleteNode(hit);
    }
    if (mesh.NodeCount() > 60) mesh.FreeMesh();
    for (const TMeshNode* n : {mesh.SelectedNode(), mesh.PreviousNode()}) {
      ASSERT_TRUE(n == nullptr || mesh.Contains(n));
    }
    for (const TMeshTriangle& t : mesh.TriangleList()) {
      ASSERT_TRUE(mesh.Contains(t.A) && mesh.Contains(t.B) && mesh.Contains(t.C));
    }
  }
}

}  // namespace
}  // namespace vesk
