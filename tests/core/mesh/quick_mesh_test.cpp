// Quick meshes and the fold-over check: the grid's layout numbers, the
// Delaunay triangulation on seeded random integer points (duplicates and
// collinear runs included) against an independent in-circle test and the
// convex hull's area, the exact predicates at the ends of the 32-bit range,
// and which triangles count as folded.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/mesh/delaunay.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/grid_mesh.h"

namespace vesk {
namespace {

__extension__ typedef __int128 Wide;

Wide Cross(MeshPoint a, MeshPoint b, MeshPoint c) {
  return Wide(b.x - a.x) * (c.y - a.y) - Wide(b.y - a.y) * (c.x - a.x);
}

// Reference in-circle test for small coordinates, written from the
// textbook determinant: > 0 when d is strictly inside the circle of the
// positively turning triangle a, b, c.
Wide InsideCircle(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d) {
  auto lift = [d](MeshPoint p) {
    const Wide x = p.x - d.x, y = p.y - d.y;
    return std::array<Wide, 3>{x, y, x * x + y * y};
  };
  const std::array<std::array<Wide, 3>, 3> m = {lift(a), lift(b), lift(c)};
  Wide det = 0;
  for (int i = 0, j = 1, k = 2; i < 3; ++i, j = (j + 1) % 3, k = (k + 1) % 3) {
    det += m[0][i] * (m[1][j] * m[2][k] - m[1][k] * m[2][j]);
  }
  return det;
}

// Twice the convex hull's area (Andrew's monotone chain).
Wide TwiceHullArea(std::vector<MeshPoint> p) {
  std::sort(p.begin(), p.end(), [](MeshPoint a, MeshPoint b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
  });
  std::vector<MeshPoint> hull(2 * p.size());
  std::size_t k = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const std::size_t start = k;
    for (std::size_t n = 0; n < p.size(); ++n) {
      const MeshPoint q = pass == 0 ? p[n] : p[p.size() - 1 - n];
      while (k >= start + 2 && Cross(hull[k - 2], hull[k - 1], q) <= 0) --k;
      hull[k++] = q;
    }
    --k;
  }
  Wide area = 0;
  for (std::size_t i = 0; i < k; ++i) area += Cross(MeshPoint{}, hull[i], hull[(i + 1) % k]);
  return area < 0 ? -area : area;
}

struct PointSetCase {
  const char* name;
  unsigned seed;
  int random_points;
  int range;           // coordinates 0 .. range - 1
  int duplicates;      // copies of random earlier points
  int collinear_runs;  // runs of 12 points on one line
};

void PrintTo(const PointSetCase& c, std::ostream* out) { *out << c.name; }

std::vector<MeshPoint> MakePoints(const PointSetCase& c) {
  std::mt19937 random(c.seed);
  auto coordinate = [&] { return static_cast<std::int32_t>(random() % c.range); };
  std::vector<MeshPoint> points;
  for (int i = 0; i < c.random_points; ++i) points.push_back({coordinate(), coordinate()});
  for (int r = 0; r < c.collinear_runs; ++r) {
    const MeshPoint from{coordinate(), coordinate()};
    const std::int32_t dx = static_cast<std::int32_t>(random() % 7) - 3;
    const std::int32_t dy = dx == 0 ? 1 + static_cast<std::int32_t>(random() % 3)
                                    : static_cast<std::int32_t>(random() % 7) - 3;
    for (int i = 0; i < 12; ++i) points.push_back({from.x + i * dx, from.y + i * dy});
  }
  for (int i = 0; i < c.duplicates && !points.empty(); ++i) {
    points.push_back(points[random() % points.size()]);
  }
  std::shuffle(points.begin(), points.end(), random);
  return points;
}

class DelaunayOnPointSets : public ::testing::TestWithParam<PointSetCase> {};

TEST_P(DelaunayOnPointSets, EmptyCirclesCoverTheHullWithoutOverlap) {
  const std::vector<MeshPoint> points = MakePoints(GetParam());
  const auto triangles = DelaunayTriangles(points);
  std::set<std::pair<std::int32_t, std::int32_t>> distinct;
  for (MeshPoint p : points) distinct.insert({p.x, p.y});
  std::set<std::pair<std::int32_t, std::int32_t>> corners;
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
  if (GetParam().range == 1) {
    EXPECT_TRUE(triangles.empty());
    return;
  }
  EXPECT_EQ(area, TwiceHullArea(points)) << "triangles cover exactly the convex hull";
  if (area > 0) {
    EXPECT_EQ(corners, distinct) << "every position is a corner";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quick, DelaunayOnPointSets,
    ::testing::Values(PointSetCase{"SparseRandom", 1, 300, 100000, 0, 0},
                      PointSetCase{"DenseWithDuplicates", 2, 400, 40, 200, 0},
                      PointSetCase{"CollinearRuns", 3, 60, 200, 10, 12},
                      PointSetCase{"OnlyRuns", 4, 0, 50, 5, 6},
                      PointSetCase{"TinyGridManyCocircular", 5, 300, 6, 50, 0},
                      PointSetCase{"OneRunIsFlat", 6, 0, 100, 3, 1},
                      PointSetCase{"AllOnePosition", 7, 20, 1, 5, 0},
                      PointSetCase{"ThreePoints", 8, 3, 1000, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Delaunay, ThreeThousandNodesTriangulateQuickly) {
  const std::vector<MeshPoint> points = MakePoints({"Big", 9, 3000, 3000, 0, 0});
  const auto started = std::chrono::steady_clock::now();
  const auto triangles = DelaunayTriangles(points);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GT(triangles.size(), 5900u);
  EXPECT_LT(took, std::chrono::seconds(1));
}

TEST(Delaunay, InCircleIsExactAtTheEndsOfThe32BitRange) {
  constexpr std::int32_t M = 2147483647;
  const MeshPoint a{-M, -M}, b{M, -M}, c{M, M};
  struct Row {
    MeshPoint d;
    int sign;
  };
  for (Row row : {Row{{-M, M}, 0}, Row{{-M + 1, M - 1}, 1}, Row{{0, 0}, 1},
                  Row{{-M - 1, M}, -1}, Row{{-M - 1, -M - 1}, -1}}) {
    EXPECT_EQ(InCircleSign(a, b, c, row.d), row.sign) << row.d.x << "," << row.d.y;
  }
}

TEST(Delaunay, TriangulateNodesKeepsEveryNodeOrderAndSelection) {
  Mesh mesh;
  const TMeshNode values[] = {{0, 0, 5, 5}, {10, 0, 6, 6}, {0, 10, 7, 7},
                              {10, 0, 8, 8}, {20, 20, 9, 9}};
  TMeshNode* made[5];
  for (int i = 0; i < 5; ++i) made[i] = mesh.PushNode(values[i]);
  mesh.PushTriangle(made[0], made[1], made[2]);
  mesh.SetSelection(made[1], made[3]);
  const Mesh triangulated = TriangulateNodes(mesh);
  ASSERT_EQ(triangulated.NodeCount(), 5u);
  auto node = triangulated.NodeList().begin();
  for (int i = 4; i >= 0; --i, ++node) {
    EXPECT_EQ(std::tie(node->X1, node->Y1, node->X2, node->Y2),
              std::tie(values[i].X1, values[i].Y1, values[i].X2, values[i].Y2));
  }
  EXPECT_EQ(triangulated.PreviousNode()->X2, 6);
  EXPECT_EQ(triangulated.SelectedNode()->X2, 8);
  ASSERT_EQ(triangulated.TriangleCount(), 2u);
  // Of the two nodes at (10, 0) the newer one, nearer the head, is the corner.
  for (const TMeshTriangle& t : triangulated.TriangleList()) {
    for (const TMeshNode* corner : {t.A, t.B, t.C}) EXPECT_NE(corner->X2, 6);
  }
}

struct GridCase {
  const char* name;
  int columns, rows;
  ImageSize first, second;
  const char* refusal;  // nullptr when made
};

TEST(GridMesh, LayoutNumbersAndRefusals) {
  const GridCase cases[] = {
      {"SmallestOnSamePictures", 2, 2, {100, 50}, {100, 50}, nullptr},
      {"SecondScaled", 5, 3, {101, 51}, {201, 11}, nullptr},
      {"LargestOnExactFit", 100, 100, {100, 100}, {300, 200}, nullptr},
      {"OneColumn", 1, 5, {100, 100}, {100, 100}, "Columns and rows must be from 2 to 100"},
      {"TooManyRows", 2, 101, {100, 200}, {100, 200}, "Columns and rows must be from 2 to 100"},
      {"SecondTooNarrow", 10, 2, {100, 100}, {9, 100},
       "The images are too small for a grid of 10 x 2 nodes"},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(c.name);
    Result<Mesh> grid = GridMesh(c.columns, c.rows, c.first, c.second);
    if (c.refusal) {
      ASSERT_FALSE(grid.Ok());
      EXPECT_EQ(grid.Message(), c.refusal);
      continue;
    }
    ASSERT_TRUE(grid.Ok()) << grid.Message();
    const Mesh& mesh = grid.Value();
    EXPECT_EQ(mesh.NodeCount(), static_cast<std::size_t>(c.columns * c.rows));
    EXPECT_EQ(mesh.TriangleCount(), static_cast<std::size_t>(2 * (c.columns - 1) * (c.rows - 1)));
    EXPECT_EQ(mesh.SelectedNode(), nullptr);
    // The head is the bottom-right node, on the last pixel of both images.
    const TMeshNode& last = mesh.NodeList().front();
    EXPECT_EQ(std::tie(last.X1, last.Y1, last.X2, last.Y2),
              std::make_tuple(c.first.width - 1, c.first.height - 1, c.second.width - 1,
                              c.second.height - 1));
    const TMeshNode& first = mesh.NodeList().back();
    EXPECT_EQ(std::tie(first.X1, first.Y1, first.X2, first.Y2), std::make_tuple(0, 0, 0, 0));
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
  struct Row {
    const char* name;
    TMeshNode a, b, c;
    bool folded;
  };
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
    const TMeshNode* a = mesh.PushNode(row.a);
    const TMeshNode* b = mesh.PushNode(row.b);
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
