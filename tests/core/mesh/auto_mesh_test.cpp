// Auto Mesh's mesh step (thinning, border, fold-overs, report), flow samples, face points.
#include "core/mesh/auto_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "core/mesh/face_points.h"
#include "core/mesh/flow_samples.h"
#include "core/mesh/fold_over.h"
#include "tests/core/support/mesh_words.h"

namespace vesk {
namespace {

using namespace testing_support;  // NodesOf, Values

TEST(AutoMesh, KeepsPointsApartWithinTheCountAndBothPictures) {
  const PointPair p[] = {{{50, 50}, {52, 50}}, {{55, 50}, {57, 50}},  // 5 px apart
                         {{60, 50}, {62, 50}}, {{3, 3}, {3, 3}},      // 10 px on; near a corner
                         {{-1, 9}, {9, 9}},    {{30, 30}, {100, 30}}, // off the first; the second
                         {{0, 30}, {0, 27}},                          // on both left edges
                         {{10.4, 20.6}, {30.6, 40.6}}, {{80, 80}, {80, 80}}};  // moved alike
  struct Row { int spacing; std::size_t max_count; std::vector<std::size_t> kept; };  // 0: 2 px
  for (const Row& row : {Row{10, 9, {0, 2, 6, 7, 8}}, Row{10, 2, {0, 2}},
                         Row{4, 9, {0, 1, 2, 3, 6, 7, 8}}, Row{0, 9, {0, 1, 2, 3, 6, 7, 8}}}) {
    const AutoMeshResult result = AutoMesh(p, {100, 100}, {100, 90}, {row.spacing, row.max_count});
    EXPECT_EQ(result.kept, row.kept) << row.spacing << " " << row.max_count;
    const std::vector<Values> nodes = NodesOf(result.mesh);
    ASSERT_EQ(nodes.size(), 8 + row.kept.size());
    if (row.kept.size() > 2) { EXPECT_EQ(nodes[nodes.size() - 2], Values(10, 21, 30, 41)); }
  }
  EXPECT_EQ(AutoMeshReport(AutoMeshMethod::kFaces, AutoMesh(p, {100, 100}, {100, 90}, {}), 6),
            "Faces: 4 + 3 points, 8 border, 0 removed");
}

TEST(AutoMesh, MethodWordsPictureSizesSpacingAndSampleStep) {
  for (AutoMeshMethod m : kAutoMeshMethods) EXPECT_EQ(MethodOfWord(MethodWord(m)), m);
  EXPECT_FALSE(MethodOfWord("Flow").has_value());
  EXPECT_TRUE(CheckAutoMeshPicture({16, 16}, "a.bmp").Ok());
  EXPECT_EQ(CheckAutoMeshPicture({300, 15}, "a.bmp").Message(),
            "Auto Mesh needs pictures of at least 16 x 16 pixels; a.bmp is 300 x 15");
  const std::tuple<int, int, int, std::size_t, int, int> rows[] = {
      // width, height, spacing, count: default spacing, sample step
      {1, 1, 0, 1000, 2, 1}, {640, 480, 4, 100, 4, 56}, {300, 400, 120, 100, 3, 120},
      {4000, 3000, 4, 300, 25, 200}};
  for (const auto& [w, h, spacing, count, default_spacing, step] : rows) {
    EXPECT_EQ(DefaultSpacing({w, h}), default_spacing) << w;
    EXPECT_EQ(SampleStep({w, h}, spacing, count), step) << w;
  }
}

TEST(AutoMesh, BorderMapsCornerToCornerAndEdgeMiddleToEdgeMiddle) {
  const AutoMeshResult result = AutoMesh({}, {101, 51}, {11, 22}, {});
  EXPECT_EQ(NodesOf(result.mesh),
            (std::vector<Values>{{0, 0, 0, 0}, {50, 0, 5, 0}, {100, 0, 10, 0}, {100, 25, 10, 11},
                                 {100, 50, 10, 21}, {50, 50, 5, 21}, {0, 50, 0, 21},
                                 {0, 25, 0, 11}}));
  EXPECT_EQ(result.mesh.TriangleCount(), 6u);
  EXPECT_EQ(AutoMesh({}, {2, 2}, {9, 9}, {}).border, 4u);  // each position once
  EXPECT_EQ(AutoMesh({}, {1, 1}, {1, 1}, {}).mesh.NodeCount(), 1u);
}

TEST(AutoMesh, NodesThatFoldTrianglesGoUntilNoneDoes) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> at(5, 395), wild(-60, 60);
  std::vector<PointPair> points;
  for (int i = 0; i < 120; ++i) {  // every seventh point thrown far
    const double x = at(random), y = at(random), dx = i % 7 ? 3 : wild(random);
    points.push_back({{x, y}, {x + dx, y + (i % 7 ? 1 : wild(random))}});
  }
  const AutoMeshResult result = AutoMesh(points, {400, 400}, {400, 400}, {10, 300});
  EXPECT_GT(result.removed, 3u);
  EXPECT_EQ(FoldedTriangleCount(result.mesh), 0u);
  EXPECT_EQ(result.mesh.NodeCount(), result.border + result.kept.size());
  EXPECT_GT(result.mesh.TriangleCount(), result.mesh.NodeCount());
  // One point against four: the one goes, not its neighbours.
  const PointPair crossed[] = {{{40, 50}, {40, 50}}, {{60, 50}, {60, 50}}, {{50, 40}, {50, 40}},
                               {{50, 60}, {50, 60}}, {{50, 50}, {50, 80}}};
  const AutoMeshResult one = AutoMesh(crossed, {100, 100}, {100, 100}, {5, 9});
  EXPECT_EQ(one.kept, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(AutoMeshReport(AutoMeshMethod::kFlow, one), "Flow: 4 points, 8 border, 1 removed");
}

TEST(FlowSamples, KeepOnlyRoundTripsThatComeBackOnUsableTexture) {
  constexpr int W = 9, H = 6;  // (7, y) goes to x = 9, just off
  std::vector<float> forward, backward;
  for (int i = 0; i < W * H; ++i) forward.insert(forward.end(), {2, 1});
  for (int i = 0; i < W * H; ++i) backward.insert(backward.end(), {-2, -1});
  backward[2 * (4 * W + 3)] = -0.9f;  // at q = (3, 4) of p = (1, 3): misses by 1.1
  backward[2 * (4 * W + 5)] = -2.9f;  // at q = (5, 4) of p = (3, 3): misses by 0.9
  std::vector<std::uint8_t> usable(W * H, 1);
  usable[1 * W + 5] = 0;  // p = (5, 1)
  std::vector<Values> found;
  for (const PointPair& p : ConsistentFlowPairs({W, H, forward.data()}, {W, H, backward.data()}, 2,
                                                1.0, usable)) {
    found.push_back({int(p.first.x), int(p.first.y), int(p.second.x), int(p.second.y)});
  }
  // The grid from (1, 1) every 2 pixels; (7, y) and row 5 go off the picture.
  EXPECT_EQ(found, (std::vector<Values>{{1, 1, 3, 2}, {3, 1, 5, 2}, {3, 3, 5, 4}, {5, 3, 7, 4}}));
  EXPECT_TRUE(ConsistentFlowPairs({W, H, forward.data()}, {W, H, backward.data()}, 0, 1).empty());
}

TEST(FacePoints, RankModelAndMirroredLandmarks) {
  const double scores[] = {0.2, 1.5, 0.2, 0.9};
  for (auto [rank, index] : {std::pair{1, 1}, {2, 3}, {3, 0}, {4, 2}}) {
    EXPECT_EQ(FaceOfRank(scores, rank, "a.png").Value(), std::size_t(index));
  }
  EXPECT_EQ(FaceOfRank({}, 1, "a.png").Message(), "No face found in a.png");
  EXPECT_EQ(FaceOfRank({scores, 1}, 2, "a.png").Message(),
            "Only 1 face found in a.png; face 2 was asked for");
  EXPECT_EQ(FaceOfRank(scores, 0, "b").Message(), "Only 4 faces found in b; face 0 was asked for");
  EXPECT_EQ(FaceModelPath("", "v.dat"), "v.dat");  // the option, else the variable, else Debian's
  EXPECT_EQ(FaceModelPath("", nullptr), kDefaultFaceModel);
  for (int i = 0; i < 68; ++i) EXPECT_EQ(MirroredLandmark(MirroredLandmark(i)), i);
  for (auto [a, b] : {std::pair{0, 16}, {8, 8}, {21, 22}, {30, 30}, {31, 35}, {36, 45}, {39, 42},
                      {41, 46}, {48, 54}, {57, 57}, {59, 55}, {61, 63}, {66, 66}, {67, 65}}) {
    EXPECT_EQ(MirroredLandmark(a), b) << a;
  }
}

TEST(FacePoints, ForeheadArcsTurnAndScaleWithTheFaceAndPairsGoEyesFirst) {
  // Upright: the brows' centre (100, 100), the chin (100, 200), the jaw's ends 80 px apart.
  std::array<PicturePoint, kFaceLandmarkCount> face{}, turned{};
  for (int i = 0; i < 68; ++i) face[i] = {double(i), 300.0 + i};  // each landmark its own place
  face[0] = {60, 110}, face[16] = {140, 110}, face[8] = {100, 200};
  for (int i = 17; i <= 26; ++i) face[i] = {100 + (i - 21.5) * 8, 100};
  auto near = [](PicturePoint a, PicturePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y) < 1e-9;
  };
  const auto upright = ForeheadPoints(face);
  // The inner arc 0.8 x 40 wide, 0.35 x 100 high, from 150 degrees; the outer 1.05 x 40, 0.7.
  const std::pair<int, PicturePoint> golden[] = {
      {0, {100 - 32 * std::cos(std::numbers::pi / 6), 82.5}}, {2, {100, 65}}, {5, {58, 100}},
      {8, {100, 30}}, {11, {142, 100}}};
  for (const auto& [i, at] : golden) EXPECT_TRUE(near(upright[i], at)) << i;
  auto turn = [](PicturePoint p) {  // a sixth of a half turn, halved and moved
    return PicturePoint{300 + (p.x * 0.866 - p.y * 0.5) / 2, (p.x * 0.5 + p.y * 0.866) / 2};
  };
  for (std::size_t i = 0; i < face.size(); ++i) turned[i] = turn(face[i]);
  const auto follow = ForeheadPoints(turned);
  for (std::size_t i = 0; i < follow.size(); ++i) EXPECT_TRUE(near(follow[i], turn(upright[i])));

  const std::vector<PointPair> pairs = FacePointPairs(face, turned);
  ASSERT_EQ(pairs.size(), 80u);
  for (auto [at, landmark] : {std::pair{0, 36}, {12, 17}, {43, 0}, {59, 16}, {67, 67}}) {
    EXPECT_TRUE(near(pairs[at].first, face[landmark]) && near(pairs[at].second, turned[landmark]));
  }
  EXPECT_TRUE(near(pairs[68].first, upright[0]) && near(pairs[79].second, follow[11]));
}

}  // namespace
}  // namespace vesk
