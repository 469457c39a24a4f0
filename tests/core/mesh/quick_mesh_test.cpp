// Quick meshes: Delaunay against references, exact predicates, grid layout, fold-overs.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/mesh/delaunay.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/grid_mesh.h"
#include "tests/core/support/delaunay_reference.h"
#include "tests/core/support/mesh_words.h"

namespace vesk {
namespace {

using namespace testing_support;  // the Delaunay references and mesh words

class DelaunayOnPointSets : public ::testing::TestWithParam<PointSetCase> {};

TEST_P(DelaunayOnPointSets, EmptyCirclesCoverTheHullWithoutOverlap) {
  const std::vector<MeshPoint> points = MakePoints(GetParam());
  const auto triangles = DelaunayTriangles(points);
  std::set<std::pair<std::int32_t, std::int32_t>> distinct, corners;
  for (MeshPoint p : points) distinct.insert({p.x, p.y});
  std::set<std::pair<std::size_t, std::size_t>> directed_edges;
  Wide area = 0;
  for (const auto& t : triangles) {
    const MeshPoint a = points[t[0]], b = points[t[1]], c = points[t[2]];
    ASSERT_GT(Cross(a, b, c), 0) << "every triangle turns the same way, none is flat";
    area += Cross(a, b, c);
    for (int i = 0; i < 3; ++i) {
      corners.insert({points[t[i]].x, points[t[i]].y});
      ASSERT_TRUE(directed_edges.insert({t[i], t[(i + 1) % 3]}).second) << "edge used twice";
    }
    for (MeshPoint d : points) ASSERT_LE(InsideCircle(a, b, c, d), 0) << "point inside a circle";
  }
  EXPECT_EQ(area, TwiceHullArea(points)) << "triangles cover exactly the convex hull";
  EXPECT_TRUE(area == 0 || corners == distinct) << "every position is a corner";
}

const PointSetCase kSets[] = {
    {"SparseRandom", 1, 300, 100000, 0, 0},    {"DenseWithDuplicates", 2, 400, 40, 200, 0},
    {"CollinearRuns", 3, 60, 200, 10, 12},     {"OnlyRuns", 4, 0, 50, 5, 6},
    {"TinyGridManyCocircular", 5, 300, 6, 50, 0}, {"OneRunIsFlat", 6, 0, 100, 3, 1},
    {"AllOnePosition", 7, 20, 1, 5, 0},        {"ThreePoints", 8, 3, 1000, 0, 0}};
INSTANTIATE_TEST_SUITE_P(Quick, DelaunayOnPointSets, ::testing::ValuesIn(kSets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Delaunay, TriangulateNodesKeepsTheNodesAndTheSelection) {
  Mesh mesh;
  std::vector<TMeshNode*> nodes;
  std::vector<MeshPoint> points;
  for (const auto& [x, y] : {std::pair{0, 0}, {40, 0}, {0, 30}, {40, 30}, {20, 15}}) {
    nodes.push_back(mesh.AddNode(x, y));
    Mesh::SetPosition(*nodes.back(), 2, x + 1, y - 1);
    points.insert(points.begin(), MeshPoint{x, y});  // the head is the newest node
  }
  mesh.AddTriangle(0, 0, 1, 1);  // an old triangle goes
  mesh.SetSelection(nodes[3], nodes[1]);
  const Mesh result = TriangulateNodes(mesh);
  EXPECT_EQ(NodesOf(result), NodesOf(mesh));
  std::vector<int> shape;  // list indices from the head, then the selection (nodes 2 and 4)
  for (const auto& t : DelaunayTriangles(points)) {
    shape.insert(shape.end(), {int(t[0]) + 1, int(t[1]) + 1, int(t[2]) + 1});
  }
  shape.insert(shape.end(), {-1, 2, 4});
  EXPECT_EQ(Shape(result), shape);
}

TEST(Delaunay, InCircleIsExactAtTheEndsOfThe32BitRange) {
  constexpr std::int32_t M = 2147483647;
  const MeshPoint a{-M, -M}, b{M, -M}, c{M, M};
  struct Row { MeshPoint d; int sign; };
  for (Row row : {Row{{-M, M}, 0}, Row{{-M + 1, M - 1}, 1}, Row{{0, 0}, 1},
                  Row{{-M - 1, M}, -1}, Row{{-M - 1, -M - 1}, -1}}) {
    EXPECT_EQ(InCircleSign(a, b, c, row.d), row.sign) << row.d.x << "," << row.d.y;
  }
}

TEST(GridMesh, LayoutNumbersAndRefusals) {
  struct Row { const char* name; int columns, rows; ImageSize first, second; const char* refusal; };
  const Row cases[] = {
      {"SmallestOnSamePictures", 2, 2, {100, 50}, {100, 50}, nullptr},
      {"SecondScaled", 5, 3, {101, 51}, {201, 11}, nullptr},
      {"LargestOnExactFit", 100, 100, {100, 100}, {300, 200}, nullptr},
      {"OneColumn", 1, 5, {100, 100}, {100, 100}, "Columns and rows must be from 2 to 100"},
      {"TooManyRows", 2, 101, {100, 200}, {100, 200}, "Columns and rows must be from 2 to 100"},
      {"SecondTooNarrow", 10, 2, {100, 100}, {9, 100},
       "The images are too small for a grid of 10 x 2 nodes"},
  };
  for (const Row& c : cases) {
    SCOPED_TRACE(c.name);
    Result<Mesh> grid = GridMesh(c.columns, c.rows, c.first, c.second);
    if (c.refusal) {
      EXPECT_EQ(grid.Ok() ? "made" : grid.Message(), c.refusal);
      continue;
    }
    ASSERT_TRUE(grid.Ok()) << grid.Message();
    const Mesh& mesh = grid.Value();
    EXPECT_EQ(mesh.NodeCount(), static_cast<std::size_t>(c.columns * c.rows));
    EXPECT_EQ(mesh.TriangleCount(), static_cast<std::size_t>(2 * (c.columns - 1) * (c.rows - 1)));
    EXPECT_EQ(mesh.SelectedNode(), nullptr);
    // The head is the bottom-right node, on the last pixel of both images.
    EXPECT_EQ(Of(&mesh.NodeList().front()), Values(c.first.width - 1, c.first.height - 1,
                                                   c.second.width - 1, c.second.height - 1));
    EXPECT_EQ(Of(&mesh.NodeList().back()), Values(0, 0, 0, 0));
    for (const TMeshTriangle& t : mesh.TriangleList()) {
      EXPECT_NE(CornerOrder(t, kFirstImage), 0);
      EXPECT_EQ(CornerOrder(t, kFirstImage), CornerOrder(t, kSecondImage));
    }
  }
  // Halves round upward: 1 * 99 / 2 = 49.5 -> 50; 2 * 10 / 3 = 6.67 -> 7.
  EXPECT_EQ(GridCoordinate(1, 3, 100), 50);
  EXPECT_EQ(GridCoordinate(2, 4, 11), 7);
  EXPECT_EQ(GridCoordinate(3, 4, 11), 10);
}

TEST(FoldOver, CornerOrdersOnTheTwoImages) {
  struct Row { const char* name; TMeshNode a, b, c; bool folded; };
  constexpr std::int32_t M = 2147483647;
  const Row rows[] = {
      {"SamePositions", {0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 0, 10}, false},
      {"MirroredOnSecond", {0, 0, 10, 0}, {10, 0, 0, 0}, {0, 10, 10, 10}, true},
      {"CornerDraggedAcross", {0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 5, -1}, true},
      {"FlatOnSecond", {0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 5, 0}, false},
      {"TwoCornersOnOnePixelOfFirst", {0, 0, 0, 0}, {0, 0, 10, 0}, {0, 10, 0, 10}, false},
      {"HugeButExact", {-M, -M, -M, -M}, {M, M - 1, M - 1, M}, {M - 1, M, M, M - 1}, true},
  };
  Mesh mesh;
  std::size_t expected = 0;
  for (const Row& row : rows) {
    const TMeshNode *a = mesh.PushNode(row.a), *b = mesh.PushNode(row.b);
    const TMeshNode* c = mesh.PushNode(row.c);
    EXPECT_EQ(FoldsOver(TMeshTriangle{a, b, c}), row.folded) << row.name;
    EXPECT_EQ(FoldsOver(TMeshTriangle{b, a, c}), row.folded) << row.name << " reversed";
    mesh.PushTriangle(a, b, c);
    expected += row.folded;
  }
  EXPECT_EQ(FoldedTriangleCount(mesh), expected);
}

}  // namespace
}  // namespace vesk
