#include "core/mesh/mesh_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace vesk {
namespace {

constexpr std::uint8_t kSize = 5;

std::vector<const TMeshNode*> Nodes(const Mesh& mesh) {
  std::vector<const TMeshNode*> out;
  for (const TMeshNode& n : mesh.NodeList()) out.push_back(&n);
  return out;
}

using Corners = std::tuple<const TMeshNode*, const TMeshNode*, const TMeshNode*>;

std::vector<Corners> Triangles(const Mesh& mesh) {
  std::vector<Corners> out;
  for (const TMeshTriangle& t : mesh.TriangleList()) out.emplace_back(t.A, t.B, t.C);
  return out;
}

TEST(MeshModel, AddNodePutsTheNewNodeFirstAndShiftsTheSelection) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(10, 20);
  EXPECT_EQ(a->X1, 10);
  EXPECT_EQ(a->Y1, 20);
  EXPECT_EQ(a->X2, 10);
  EXPECT_EQ(a->Y2, 20);
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
  TMeshNode* b = mesh.AddNode(30, 40);
  EXPECT_EQ(mesh.SelectedNode(), b);
  EXPECT_EQ(mesh.PreviousNode(), a);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{b, a}));
  EXPECT_EQ(mesh.NodeCount(), 2u);
  EXPECT_EQ(mesh.TriangleCount(), 0u);
}

TEST(MeshModel, FindNodeHitsOnlyInsideTheSquareOfNodeSize) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(100, 100);
  EXPECT_EQ(mesh.FindNode(100, 100, 1, kSize), n);
  EXPECT_EQ(mesh.FindNode(104, 96, 1, kSize), n);
  EXPECT_EQ(mesh.FindNode(96, 104, 2, kSize), n);
  // Exactly NodeSize away in either direction misses.
  EXPECT_EQ(mesh.FindNode(105, 100, 1, kSize), nullptr);
  EXPECT_EQ(mesh.FindNode(95, 100, 1, kSize), nullptr);
  EXPECT_EQ(mesh.FindNode(100, 105, 1, kSize), nullptr);
  EXPECT_EQ(mesh.FindNode(100, 95, 1, kSize), nullptr);
  // NodeSize 0 never hits; other kinds match nothing.
  EXPECT_EQ(mesh.FindNode(100, 100, 1, 0), nullptr);
  EXPECT_EQ(mesh.FindNode(100, 100, 3, kSize), nullptr);
  EXPECT_EQ(mesh.FindNode(100, 100, 0, kSize), nullptr);
  // NodeSize 1 hits only the node's own pixel.
  EXPECT_EQ(mesh.FindNode(100, 100, 1, 1), n);
  EXPECT_EQ(mesh.FindNode(101, 100, 1, 1), nullptr);
}

TEST(MeshModel, FindNodeLooksAtTheGivenImageOnly) {
  Mesh mesh;
  TMeshNode* n = mesh.AddNode(10, 10);
  Mesh::SetPosition(*n, 2, 200, 300);
  EXPECT_EQ(mesh.FindNode(10, 10, 1, kSize), n);
  EXPECT_EQ(mesh.FindNode(10, 10, 2, kSize), nullptr);
  EXPECT_EQ(mesh.FindNode(200, 300, 2, kSize), n);
  EXPECT_EQ(mesh.FindNode(200, 300, 1, kSize), nullptr);
}

TEST(MeshModel, FindNodeBetweenTwoCloseNodesHitsTheNewerOne) {
  Mesh mesh;
  mesh.AddNode(10, 10);
  TMeshNode* newer = mesh.AddNode(14, 10);
  EXPECT_EQ(mesh.FindNode(12, 10, 1, kSize), newer);
}

TEST(MeshModel, FindNodeFarAwayNeverWrapsIntoReach) {
  Mesh mesh;
  mesh.AddNode(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(mesh.FindNode(std::numeric_limits<std::int32_t>::max(),
                          std::numeric_limits<std::int32_t>::max(), 1, 12),
            nullptr);
}

TEST(MeshModel, FindNodeAgreesWithAPlainReferenceOnRandomMeshes) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, 60);
  for (int round = 0; round < 200; ++round) {
    Mesh mesh;
    int count = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < count; ++i) {
      TMeshNode* n = mesh.AddNode(coord(rng), coord(rng));
      Mesh::SetPosition(*n, 2, coord(rng), coord(rng));
    }
    auto size = static_cast<std::uint8_t>(rng() % 13);
    for (int probe = 0; probe < 20; ++probe) {
      int x = coord(rng);
      int y = coord(rng);
      int kind = 1 + static_cast<int>(rng() % 2);
      const TMeshNode* expected = nullptr;
      for (const TMeshNode& n : mesh.NodeList()) {
        int nx = kind == 1 ? n.X1 : n.X2;
        int ny = kind == 1 ? n.Y1 : n.Y2;
        if (std::abs(x - nx) < size && std::abs(y - ny) < size) {
          expected = &n;
          break;
        }
      }
      ASSERT_EQ(mesh.FindNode(x, y, kind, size), expected);
    }
  }
}

TEST(MeshModel, AddTriangleOnEmptyGroundBuildsAStrip) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  mesh.AddTriangle(25, 40, 1, kSize);
  TMeshNode* c = mesh.SelectedNode();
  ASSERT_NE(c, b);
  EXPECT_EQ(c->X1, 25);
  EXPECT_EQ(c->Y2, 40);
  EXPECT_EQ(mesh.PreviousNode(), b);
  mesh.AddTriangle(75, 40, 1, kSize);
  TMeshNode* d = mesh.SelectedNode();
  EXPECT_EQ(mesh.PreviousNode(), c);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{b, c, d}, {a, b, c}}));
  EXPECT_EQ(mesh.NodeCount(), 4u);
}

TEST(MeshModel, AddTriangleOnExistingNodesBuildsAFanAndKeepsTheSelection) {
  Mesh mesh;
  TMeshNode* x = mesh.AddNode(100, 100);
  TMeshNode* y = mesh.AddNode(200, 100);
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.AddTriangle(101, 99, 1, kSize);
  mesh.AddTriangle(198, 102, 1, kSize);
  EXPECT_EQ(mesh.SelectedNode(), s);
  EXPECT_EQ(mesh.PreviousNode(), p);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{p, s, y}, {p, s, x}}));
  EXPECT_EQ(mesh.NodeCount(), 4u);
}

TEST(MeshModel, AddTriangleOnTheSelectedNodeRepeatsACorner) {
  Mesh mesh;
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.AddTriangle(50, 0, 1, kSize);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{p, s, s}}));
}

TEST(MeshModel, AddTriangleWithoutTwoSelectedNodesDoesNothing) {
  Mesh mesh;
  mesh.AddNode(0, 0);
  mesh.AddTriangle(30, 30, 1, kSize);
  EXPECT_EQ(mesh.TriangleCount(), 0u);
  EXPECT_EQ(mesh.NodeCount(), 1u);
}

TEST(MeshModel, DeletingTheSelectedNodeSelectsPreviousAndMakesTheSuccessorPrevious) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(10, 0);
  TMeshNode* c = mesh.AddNode(20, 0);
  TMeshNode* d = mesh.AddNode(30, 0);
  // Selection: previous c, selected d. Select b, then a: previous b, selected a.
  mesh.SelectNode(b);
  mesh.SelectNode(a);
  ASSERT_EQ(mesh.SelectedNode(), a);
  ASSERT_EQ(mesh.PreviousNode(), b);
  // Delete b (previous): previous becomes b's successor a. Then both are a.
  mesh.DeleteNode(b);
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), a);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{d, c, a}));
  // Now select d with c previous and delete d: selected := c, previous := c.
  mesh.SelectNode(c);
  mesh.SelectNode(d);
  ASSERT_EQ(mesh.PreviousNode(), c);
  mesh.DeleteNode(d);
  EXPECT_EQ(mesh.SelectedNode(), c);
  EXPECT_EQ(mesh.PreviousNode(), c);
}

TEST(MeshModel, DeletingTheSelectedNodeUsesItsListSuccessorAsPrevious) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(10, 0);
  TMeshNode* c = mesh.AddNode(20, 0);
  mesh.SelectNode(a);  // previous c, selected a
  mesh.SelectNode(c);  // exchange: previous a, selected c
  ASSERT_EQ(mesh.SelectedNode(), c);
  ASSERT_EQ(mesh.PreviousNode(), a);
  mesh.DeleteNode(c);
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), b);
}

TEST(MeshModel, DeletingTheNodeThatHoldsBothRolesClearsTheSelection) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(10, 0);
  // previous a, selected b; a is b's successor in the list.
  mesh.DeleteNode(b);
  ASSERT_EQ(mesh.SelectedNode(), a);
  ASSERT_EQ(mesh.PreviousNode(), a);
  mesh.DeleteNode(a);
  EXPECT_EQ(mesh.SelectedNode(), nullptr);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
  EXPECT_EQ(mesh.NodeCount(), 0u);
}

TEST(MeshModel, DeletingTheLastNodeOfTheListLeavesNoPrevious) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(10, 0);
  mesh.SelectNode(a);  // exchange: previous b, selected a
  ASSERT_EQ(mesh.PreviousNode(), b);
  mesh.DeleteNode(a);  // selected := b, previous := a's successor (none)
  EXPECT_EQ(mesh.SelectedNode(), b);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
}

TEST(MeshModel, DeletingANodeNotInTheMeshChangesNothing) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode stranger{1, 2, 3, 4};
  mesh.DeleteNode(&stranger);
  mesh.DeleteNodeAndTriangles(&stranger);
  mesh.DeleteTriangleOrNode(&stranger);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{a}));
  EXPECT_EQ(mesh.SelectedNode(), a);
}

TEST(MeshModel, DeleteNodeAndTrianglesRemovesEveryTriangleUsingIt) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  mesh.AddTriangle(25, 40, 1, kSize);
  TMeshNode* c = mesh.SelectedNode();
  mesh.AddTriangle(75, 40, 1, kSize);
  TMeshNode* d = mesh.SelectedNode();
  mesh.AddTriangle(100, 0, 1, kSize);
  TMeshNode* e = mesh.SelectedNode();
  ASSERT_EQ(Triangles(mesh), (std::vector<Corners>{{c, d, e}, {b, c, d}, {a, b, c}}));
  mesh.DeleteNodeAndTriangles(b);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{c, d, e}}));
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{e, d, c, a}));
}

TEST(MeshModel, NodeIsUnusedTellsWhetherAnyTriangleUsesTheNode) {
  Mesh mesh;
  TMeshNode* lone = mesh.AddNode(500, 500);
  TMeshNode* a = mesh.AddNode(0, 0);
  mesh.AddNode(50, 0);
  mesh.AddTriangle(25, 40, 1, kSize);
  EXPECT_TRUE(mesh.NodeIsUnused(lone));
  EXPECT_FALSE(mesh.NodeIsUnused(a));
  EXPECT_FALSE(mesh.NodeIsUnused(mesh.SelectedNode()));
}

TEST(MeshModel, RightClickOnAnUnusedNodeDeletesIt) {
  Mesh mesh;
  TMeshNode* lone = mesh.AddNode(500, 500);
  TMeshNode* a = mesh.AddNode(0, 0);
  mesh.DeleteTriangleOrNode(lone);
  EXPECT_EQ(Nodes(mesh), (std::vector<const TMeshNode*>{a}));
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
}

TEST(MeshModel, RightClickRemovesTheTriangleOfNodePreviousSelectedInCyclicOrder) {
  Mesh mesh;
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  TMeshNode* d = mesh.AddNode(25, 40);
  mesh.SelectNode(p);  // previous d, selected p
  mesh.SelectNode(s);  // previous p, selected s
  mesh.PushTriangle(s, d, p);   // picked: (S, D, P)
  mesh.PushTriangle(d, s, p);   // wrong cyclic order: never picked
  mesh.PushTriangle(p, s, d);   // picked, at the head
  ASSERT_EQ(mesh.PreviousNode(), p);
  ASSERT_EQ(mesh.SelectedNode(), s);
  // Head is picked: only it goes.
  mesh.DeleteTriangleOrNode(d);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{d, s, p}, {s, d, p}}));
  // Head not picked: every picked triangle further down goes.
  mesh.PushTriangle(d, p, s);
  mesh.PushTriangle(d, s, p);
  mesh.DeleteTriangleOrNode(d);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{d, s, p}, {d, s, p}}));
  EXPECT_EQ(mesh.NodeCount(), 3u);
  // Nothing picked: nothing changes, the node stays.
  mesh.DeleteTriangleOrNode(d);
  EXPECT_EQ(mesh.TriangleCount(), 2u);
  EXPECT_EQ(mesh.NodeCount(), 3u);
}

TEST(MeshModel, RightClickOnASelectedCornerRemovesNothingButTheThirdCornerDoes) {
  Mesh mesh;
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.AddTriangle(25, 40, 1, kSize);  // (p, s, c); selection now previous s, selected c
  TMeshNode* c = mesh.SelectedNode();
  mesh.DeleteTriangleOrNode(s);
  mesh.DeleteTriangleOrNode(c);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{p, s, c}}));
  // p with previous s and selected c: (p, s, c) is (D, P, S).
  mesh.DeleteTriangleOrNode(p);
  EXPECT_EQ(mesh.TriangleCount(), 0u);
  EXPECT_EQ(mesh.NodeCount(), 3u);
}

TEST(MeshModel, RightClickRemovesTheTriangleThatAFanClickMade) {
  Mesh mesh;
  TMeshNode* d = mesh.AddNode(100, 100);
  TMeshNode* p = mesh.AddNode(0, 0);
  TMeshNode* s = mesh.AddNode(50, 0);
  mesh.AddTriangle(100, 100, 1, kSize);
  ASSERT_EQ(Triangles(mesh), (std::vector<Corners>{{p, s, d}}));
  mesh.DeleteTriangleOrNode(d);
  EXPECT_EQ(mesh.TriangleCount(), 0u);
  EXPECT_EQ(mesh.NodeCount(), 3u);
}

TEST(MeshModel, EdgeSideSignTellsTheSideOfTheDirectedEdge) {
  MeshPoint u{0, 0};
  MeshPoint v{10, 0};
  // (V.x - P.x)(V.y - U.y) - (V.x - U.x)(V.y - P.y)
  EXPECT_EQ(EdgeSide({5, 5}, u, v), (10 - 5) * 0 - 10 * (0 - 5));
  EXPECT_EQ(EdgeSide({5, -5}, u, v), -50);
  EXPECT_EQ(EdgeSide({20, 0}, u, v), 0);
  EXPECT_EQ(EdgeSide({3, 7}, {1, 2}, {4, 9}), (4 - 3) * (9 - 2) - (4 - 1) * (9 - 7));
}

TEST(MeshModel, EdgeSideOfExtremeCoordinatesKeepsItsSign) {
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  // (hi - lo)(hi - lo) - (hi - lo)(hi - lo)... choose a case beyond 64 bits:
  // P = (lo, lo), U = (hi, lo), V = (hi, hi): (hi-lo)(hi-lo) - 0 > 0.
  EXPECT_GT(EdgeSide({lo, lo}, {hi, lo}, {hi, hi}), 0);
  EXPECT_LT(EdgeSide({lo, lo}, {hi, hi}, {hi, lo}), 0);
  EXPECT_EQ(EdgeSide({lo, lo}, {hi, hi}, {lo, lo}), 0);
  EXPECT_TRUE(PointStrictlyInside({0, 0}, {lo, lo}, {hi, lo}, {0, hi}));
}

TEST(MeshModel, PointInTriangleCountsEitherOrientationButNotEdges) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(20, 0);
  TMeshNode* c = mesh.AddNode(0, 20);
  mesh.PushTriangle(a, b, c);
  EXPECT_TRUE(mesh.PointInTriangle(5, 5, 1));
  EXPECT_FALSE(mesh.PointInTriangle(10, 0, 1));   // on edge AB
  EXPECT_FALSE(mesh.PointInTriangle(10, 10, 1));  // on edge BC
  EXPECT_FALSE(mesh.PointInTriangle(0, 0, 1));    // corner
  EXPECT_FALSE(mesh.PointInTriangle(15, 15, 1));
  EXPECT_FALSE(mesh.PointInTriangle(5, 5, 3));
  Mesh reversed;
  TMeshNode* ra = reversed.AddNode(0, 0);
  TMeshNode* rb = reversed.AddNode(20, 0);
  TMeshNode* rc = reversed.AddNode(0, 20);
  reversed.PushTriangle(ra, rc, rb);
  EXPECT_TRUE(reversed.PointInTriangle(5, 5, 1));
  EXPECT_TRUE(reversed.PointInTriangle(5, 5, 2));
  Mesh::SetPosition(*rb, 2, -20, 0);
  EXPECT_FALSE(reversed.PointInTriangle(5, 5, 2));
  EXPECT_TRUE(reversed.PointInTriangle(-5, 5, 2));
}

TEST(MeshModel, SplitTriangleMakesThreeTrianglesInTheOrderABN_NBC_ANC) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  TMeshNode* other = mesh.AddNode(300, 300);
  mesh.PushTriangle(other, other, other);
  mesh.PushTriangle(a, b, c);
  Mesh::SetPosition(*a, 2, 10, 10);
  Mesh::SetPosition(*b, 2, 41, 10);
  Mesh::SetPosition(*c, 2, 10, 42);
  ASSERT_TRUE(mesh.SplitTriangle(5, 6, 1));
  TMeshNode* n = mesh.SelectedNode();
  EXPECT_EQ(mesh.PreviousNode(), other);
  EXPECT_EQ(n->X1, 5);
  EXPECT_EQ(n->Y1, 6);
  EXPECT_EQ(n->X2, (10 + 41 + 10) / 3);
  EXPECT_EQ(n->Y2, (10 + 10 + 42) / 3);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{
                                 {a, b, n}, {n, b, c}, {a, n, c}, {other, other, other}}));
  EXPECT_EQ(mesh.NodeList().front().X1, 5);
}

TEST(MeshModel, SplitTriangleKeepsTheOrientationOfTheSplitTriangle) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  mesh.PushTriangle(a, b, c);
  ASSERT_TRUE(mesh.SplitTriangle(8, 8, 2));
  auto sign = [](const TMeshTriangle& t) {
    return EdgeSide(PositionOn(*t.C, 1), PositionOn(*t.A, 1), PositionOn(*t.B, 1)) > 0;
  };
  bool original = EdgeSide({0, 30}, {0, 0}, {30, 0}) > 0;
  for (const TMeshTriangle& t : mesh.TriangleList()) EXPECT_EQ(sign(t), original);
}

TEST(MeshModel, SplitCentroidTruncatesTowardZeroForNegativeSums) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  mesh.PushTriangle(a, b, c);
  Mesh::SetPosition(*a, 1, -10, -1);
  Mesh::SetPosition(*b, 1, -1, -1);
  Mesh::SetPosition(*c, 1, 0, 0);
  // Split on the second image; the first-image centroid: -11 / 3 = -3, -2 / 3 = 0.
  ASSERT_TRUE(mesh.SplitTriangle(5, 5, 2));
  TMeshNode* n = mesh.SelectedNode();
  EXPECT_EQ(n->X1, -3);
  EXPECT_EQ(n->Y1, 0);
  EXPECT_EQ(n->X2, 5);
  EXPECT_EQ(n->Y2, 5);
}

TEST(MeshModel, SplitOnAnEdgeOrOutsideChangesNothing) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  mesh.PushTriangle(a, b, c);
  EXPECT_FALSE(mesh.SplitTriangle(15, 0, 1));
  EXPECT_FALSE(mesh.SplitTriangle(100, 100, 1));
  EXPECT_FALSE(mesh.SplitTriangle(5, 5, 3));
  EXPECT_EQ(mesh.NodeCount(), 3u);
  EXPECT_EQ(Triangles(mesh), (std::vector<Corners>{{a, b, c}}));
  EXPECT_EQ(mesh.SelectedNode(), c);
}

TEST(MeshModel, SplitTakesOnlyTheFirstContainingTriangle) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(30, 0);
  TMeshNode* c = mesh.AddNode(0, 30);
  mesh.PushTriangle(a, b, c);
  mesh.PushTriangle(c, b, a);
  ASSERT_TRUE(mesh.SplitTriangle(5, 5, 1));
  TMeshNode* n = mesh.SelectedNode();
  EXPECT_EQ(Triangles(mesh),
            (std::vector<Corners>{{c, b, n}, {n, b, a}, {c, n, a}, {a, b, c}}));
}

TEST(MeshModel, SwapTwiceRestoresEveryPosition) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(1, 2);
  Mesh::SetPosition(*a, 2, 3, 4);
  TMeshNode* b = mesh.AddNode(-5, 6);
  Mesh::SetPosition(*b, 2, 7, -8);
  mesh.PushTriangle(a, b, a);
  mesh.SwapMorphMesh();
  EXPECT_EQ(std::tie(a->X1, a->Y1, a->X2, a->Y2), std::make_tuple(3, 4, 1, 2));
  EXPECT_EQ(std::tie(b->X1, b->Y1, b->X2, b->Y2), std::make_tuple(7, -8, -5, 6));
  EXPECT_EQ(mesh.SelectedNode(), b);
  EXPECT_EQ(mesh.PreviousNode(), a);
  mesh.SwapMorphMesh();
  EXPECT_EQ(std::tie(a->X1, a->Y1, a->X2, a->Y2), std::make_tuple(1, 2, 3, 4));
  EXPECT_EQ(std::tie(b->X1, b->Y1, b->X2, b->Y2), std::make_tuple(-5, 6, 7, -8));
  EXPECT_EQ(mesh.TriangleCount(), 1u);
}

TEST(MeshModel, SelectNodeFollowsTheClickRules) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(10, 0);
  TMeshNode* c = mesh.AddNode(20, 0);
  // previous b, selected c
  mesh.SelectNode(c);
  EXPECT_EQ(mesh.SelectedNode(), c);
  EXPECT_EQ(mesh.PreviousNode(), b);
  mesh.SelectNode(b);
  EXPECT_EQ(mesh.SelectedNode(), b);
  EXPECT_EQ(mesh.PreviousNode(), c);
  mesh.SelectNode(a);
  EXPECT_EQ(mesh.SelectedNode(), a);
  EXPECT_EQ(mesh.PreviousNode(), b);
  TMeshNode stranger;
  mesh.SelectNode(&stranger);
  EXPECT_EQ(mesh.SelectedNode(), a);
}

TEST(MeshModel, FreeAndInitEmptyTheMeshAndTheSelection) {
  Mesh mesh;
  mesh.AddNode(0, 0);
  mesh.AddNode(50, 0);
  mesh.AddTriangle(20, 20, 1, kSize);
  mesh.FreeMesh();
  EXPECT_TRUE(mesh.Empty());
  EXPECT_EQ(mesh.SelectedNode(), nullptr);
  EXPECT_EQ(mesh.PreviousNode(), nullptr);
  mesh.AddNode(1, 1);
  mesh.InitMesh();
  EXPECT_EQ(mesh.NodeCount(), 0u);
  EXPECT_EQ(mesh.SelectedNode(), nullptr);
}

TEST(MeshModel, MovingTheMeshKeepsNodeAddressesAndSelection) {
  Mesh mesh;
  TMeshNode* a = mesh.AddNode(0, 0);
  TMeshNode* b = mesh.AddNode(50, 0);
  mesh.AddTriangle(20, 20, 1, kSize);
  Mesh moved = std::move(mesh);
  EXPECT_EQ(moved.PreviousNode(), b);
  EXPECT_TRUE(moved.Contains(a));
  EXPECT_EQ(moved.TriangleList().front().A, a);
}

// Random edits never leave the selection or a triangle corner on a released
// node, and list counts match what was added and removed.
TEST(MeshModel, RandomEditsKeepTheSelectionAndCornersOnLiveNodes) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> coord(0, 40);
  Mesh mesh;
  for (int step = 0; step < 20000; ++step) {
    int x = coord(rng);
    int y = coord(rng);
    int kind = 1 + static_cast<int>(rng() % 2);
    switch (rng() % 8) {
      case 0: case 1: mesh.AddNode(x, y); break;
      case 2: mesh.AddTriangle(x, y, kind, kSize); break;
      case 3: mesh.SplitTriangle(x, y, kind); break;
      case 4: mesh.DeleteNodeAndTriangles(mesh.FindNode(x, y, kind, kSize)); break;
      case 5: mesh.DeleteTriangleOrNode(mesh.FindNode(x, y, kind, kSize)); break;
      case 6: mesh.SelectNode(mesh.FindNode(x, y, kind, kSize)); break;
      case 7: {
        TMeshNode* n = mesh.FindNode(x, y, kind, kSize);
        if (n != nullptr && mesh.NodeIsUnused(n)) mesh.DeleteNode(n);
        break;
      }
    }
    if (mesh.NodeCount() > 60) mesh.FreeMesh();
    if (mesh.SelectedNode() != nullptr) {
      ASSERT_TRUE(mesh.Contains(mesh.SelectedNode()));
    }
    if (mesh.PreviousNode() != nullptr) {
      ASSERT_TRUE(mesh.Contains(mesh.PreviousNode()));
    }
    for (const TMeshTriangle& t : mesh.TriangleList()) {
      ASSERT_TRUE(mesh.Contains(t.A));
      ASSERT_TRUE(mesh.Contains(t.B));
      ASSERT_TRUE(mesh.Contains(t.C));
    }
  }
}

}  // namespace
}  // namespace vesk
