// Auto Mesh's mesh step (face points first, thinning, border, fold-overs, report, minimum),
// flow samples, face points.
#include "core/mesh/auto_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<FoundPoint> Found(std::initializer_list<std::pair<PointPair, PointKind>> list) {
  std::vector<FoundPoint> points;
  for (const auto& [pair, kind] : list) points.push_back({pair, kind});
  return points;
}
constexpr PointKind kLand = PointKind::kLandmark, kBrow = PointKind::kForehead,
                    kFlow = PointKind::kFlow, kFeat = PointKind::kFeature;

TEST(AutoMesh, FacePointsFirstThenMatchedPointsApartAndOutsideTheLandmarks) {
  // Three landmarks round (50, 48), a forehead point above; the rest matched (flow keeps half
  // the spacing from the nodes, a feature all of it); all moved by (1, 0).
  const auto p = Found({{{{40, 40}, {41, 40}}, kLand}, {{{60, 40}, {61, 40}}, kLand},
                        {{{50, 60}, {51, 60}}, kLand}, {{{51, 60}, {52, 60}}, kLand},  // 1 px on
                        {{{50, 25}, {51, 25}}, kBrow},
                        {{{50, 47}, {51, 47}}, kFlow},    // among the landmarks
                        {{{80, 80}, {81, 80}}, kFlow}, {{{86, 80}, {87, 80}}, kFlow},  // 6 apart
                        {{{45, 28}, {46, 28}}, kFeat},    // 5.8 from the forehead point: a feature
                        {{{-1, 9}, {0, 9}}, kFlow},       // off the first picture
                        {{{30, 30}, {100, 30}}, kFeat},   // off the second
                        {{{10.4, 60.6}, {11.6, 60.6}}, kFeat}});  // rounded alike: (10, 61, 11, 61)
  struct Row { int spacing; std::size_t max_count; std::vector<std::size_t> kept; };
  for (const Row& row : {Row{14, 99, {0, 1, 2, 4, 6, 11}}, Row{12, 99, {0, 1, 2, 4, 6, 7, 11}},
                         Row{10, 99, {0, 1, 2, 4, 6, 7, 11}}, Row{14, 5, {0, 1, 2, 4, 6}},
                         Row{0, 99, {0, 1, 2, 4, 6, 7, 8, 11}},  // 5 px; face points 2 px
                         Row{1, 99, {0, 1, 2, 3, 4, 6, 7, 8, 11}}}) {
    const AutoMeshResult result = AutoMesh(p, {100, 100}, {100, 90}, {row.spacing, row.max_count});
    EXPECT_EQ(result.kept, row.kept) << row.spacing << " " << row.max_count;
    const std::vector<Values> nodes = NodesOf(result.mesh);
    ASSERT_EQ(nodes.size(), 8 + row.kept.size());
    if (row.kept.back() == 11) { EXPECT_EQ(nodes.back(), Values(10, 61, 11, 61)); }
    EXPECT_EQ(FoldedTriangleCount(result.mesh), 0u);
  }
  EXPECT_EQ(AutoMeshReport(p, AutoMesh(p, {100, 100}, {100, 90}, {12, 99})),
            "Faces: 3 + 1 points, flow: 2 points, features: 1 points, 8 border, 0 removed");
  EXPECT_EQ(AutoMeshReport(std::span(p).subspan(5, 3), AutoMesh({}, {9, 9}, {9, 9}, {})),
            "Flow: 0 points, 8 border, 0 removed");
}

TEST(AutoMesh, MatchedPointsGoWhenTrianglesFoldAndNeverMoveOrDropAFacePoint) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> at(5, 395), wild(-60, 60);
  std::vector<FoundPoint> points;
  for (int i = 0; i < 40; ++i) {  // a face: a ring of landmarks, every fifth thrown far
    const double x = 200 + 60 * std::cos(i * 0.157), y = 200 + 80 * std::sin(i * 0.157);
    const double dx = i % 5 ? 2 : wild(random), dy = i % 5 ? 1 : wild(random);
    points.push_back({{{x, y}, {x + dx, y + dy}}, i % 8 ? kLand : kBrow});
  }
  const std::size_t face = points.size();
  for (int i = 0; i < 150; ++i) {  // matched points all over, every seventh thrown far
    const double x = at(random), y = at(random), dx = i % 7 ? 3 : wild(random);
    points.push_back({{{x, y}, {x + dx, y + (i % 7 ? 1 : wild(random))}}, i % 2 ? kFlow : kFeat});
  }
  const AutoMeshResult alone = AutoMesh(std::span(points).first(face), {400, 400}, {400, 400}, {});
  const AutoMeshResult whole = AutoMesh(points, {400, 400}, {400, 400}, {16, 300});
  EXPECT_GT(alone.removed, 2u);
  EXPECT_GT(whole.removed, alone.removed + 5);
  EXPECT_EQ(FoldedTriangleCount(whole.mesh), 0u);
  EXPECT_EQ(whole.mesh.NodeCount(), whole.border + whole.kept.size());
  EXPECT_GT(whole.kept.size(), alone.kept.size() + 60);
  // The face's nodes are the face-only mesh's, first after the border.
  const std::vector<Values> nodes = NodesOf(whole.mesh), face_nodes = NodesOf(alone.mesh);
  EXPECT_TRUE(std::equal(face_nodes.begin(), face_nodes.end(), nodes.begin()));
  EXPECT_TRUE(std::equal(alone.kept.begin(), alone.kept.end(), whole.kept.begin()));
  // One point against four: the one goes, not its neighbours.
  const PointPair crossed[] = {{{40, 50}, {40, 50}}, {{60, 50}, {60, 50}}, {{50, 40}, {50, 40}},
                               {{50, 60}, {50, 60}}, {{50, 50}, {50, 80}}};
  std::vector<FoundPoint> flow;
  AppendPoints(flow, crossed, kFlow);
  const AutoMeshResult one = AutoMesh(flow, {100, 100}, {100, 100}, {10, 9});
  EXPECT_EQ(one.kept, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(AutoMeshReport(flow, one), "Flow: 4 points, 8 border, 1 removed");
  EXPECT_EQ(CheckAutoMeshPoints(one, AutoMeshMethod::kFlow, "a.png", "b.png").Message(),
            "Auto Mesh by flow of a.png and b.png keeps 4 points once thinned and rid of folds; "
            "12 are needed");
  EXPECT_TRUE(CheckAutoMeshPoints(whole, AutoMeshMethod::kAuto, "a", "b").Ok());
}

TEST(AutoMesh, MethodWordsPictureSizesSpacingAndSampleStep) {
  for (AutoMeshMethod m : kAutoMeshMethods) EXPECT_EQ(MethodOfWord(MethodWord(m)), m);
  EXPECT_FALSE(MethodOfWord("Flow").has_value());
  EXPECT_TRUE(CheckAutoMeshPicture({16, 16}, "a.bmp").Ok());
  EXPECT_EQ(CheckAutoMeshPicture({300, 15}, "a.bmp").Message(),
            "Auto Mesh needs pictures of at least 16 x 16 pixels; a.bmp is 300 x 15");
  const std::tuple<int, int, int, std::size_t, int, int, int> rows[] = {
      // width, height, spacing, count: default spacing, face spacing, sample step
      {1, 1, 0, 1000, 2, 2, 1}, {640, 480, 4, 100, 27, 4, 56}, {300, 400, 120, 100, 17, 3, 120},
      {4000, 3000, 40, 1000, 167, 25, 110}, {4000, 3000, 0, 1000, 167, 25, 110}};
  for (const auto& [w, h, spacing, count, default_spacing, face, step] : rows) {
    EXPECT_EQ(DefaultSpacing({w, h}), default_spacing) << w;
    EXPECT_EQ(FacePointSpacing({w, h}, spacing), face) << w;
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

TEST(FlowSamples, AnEvenGridToTheEdgesMovedToTextureAndKeptWhereRoundTripsComeBack) {
  // 9 x 6: columns at 1, 4, 7 (step 3, inset 1), rows at 1, 4; a picture narrower than a step
  // gets one column in the middle.
  const SampleGrid grid = SampleGridOf({9, 6}, 3, 1);
  auto values = [](const std::vector<PicturePoint>& points) {
    std::vector<std::pair<int, int>> v;
    for (const PicturePoint& p : points) v.emplace_back(int(p.x), int(p.y));
    return v;
  };
  using V = std::vector<std::pair<int, int>>;
  EXPECT_EQ(values(grid.edges), (V{{1, 1}, {4, 1}, {7, 1}, {1, 4}, {4, 4}, {7, 4}}));
  EXPECT_TRUE(grid.inner.empty());
  EXPECT_EQ(values(SampleGridOf({10, 9}, 4, 0).inner), (V{{5, 4}}));  // 0, 5, 9; 0, 4, 8
  EXPECT_EQ(values(SampleGridOf({3, 20}, 5, 1).edges).front(), std::pair(1, 1));
  // Texture: the highest within 1 pixel, of equals the nearest.
  const float field[] = {0, 5, 0, 0,  //
                         0, 1, 0, 9,  //
                         5, 0, 1, 0};
  const PicturePoint samples[] = {{1, 1}, {2, 1}, {0, 2}, {7, 7}};
  EXPECT_EQ(values(TowardsHighest(samples, {4, 3, field}, 1)), (V{{1, 0}, {3, 1}, {0, 2}, {7, 7}}));

  constexpr int W = 9, H = 6;
  std::vector<float> forward, backward;
  for (int i = 0; i < W * H; ++i) forward.insert(forward.end(), {2, 1});
  for (int i = 0; i < W * H; ++i) backward.insert(backward.end(), {-2, -1});
  backward[2 * (4 * W + 3)] = -0.9f;  // at q = (3, 4) of p = (1, 3): misses by 1.1
  backward[2 * (4 * W + 5)] = -2.9f;  // at q = (5, 4) of p = (3, 3): misses by 0.9
  const PicturePoint at[] = {{1, 3}, {3, 3}, {7, 1}, {1.4, 1}, {4, 5}, {-1, 0}};
  std::vector<Values> found;
  for (const PointPair& p : ConsistentFlowPairs({W, H, forward.data()}, {W, H, backward.data()},
                                                at, 1.0)) {
    found.push_back({int(p.first.x * 10), int(p.first.y), int(p.second.x * 10), int(p.second.y)});
  }
  // (1, 3) misses; (7, 1) goes to x = 9, just off; (4, 5) to row 6, off; (-1, 0) is off.
  EXPECT_EQ(found, (std::vector<Values>{{30, 3, 50, 4}, {14, 1, 34, 2}}));
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
