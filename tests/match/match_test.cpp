// Auto Mesh's matching on pairs made from the two portraits by known warps, so every point's
// true place and the true second picture are known; the two different portraits; faces handed
// in; the face chosen by rank; what cannot match, in one line.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>

#include "core/generate/smooth_frame.h"
#include "core/mesh/fold_over.h"
#include "match/auto_match.h"
#include "match/face_landmarks.h"
#include "pictures/image_convert.h"

namespace vesk {
namespace {

Bitmap Load(const char* name) {
  return FromQImage(QImage(QString(VESK_SOURCE_DIR "/tests/data/") + name));
}

// A warp as the map from the second picture back to the first.
using Back = std::function<PicturePoint(PicturePoint)>;
Back Similarity(double degrees, double scale, double shift) {
  const double c = std::cos(degrees * std::numbers::pi / 180) / scale;
  const double s = std::sin(degrees * std::numbers::pi / 180) / scale;
  return [=](PicturePoint p) {
    const double x = p.x - 256 - shift, y = p.y - 256 - shift;
    return PicturePoint{256 + c * x + s * y, 256 - s * x + c * y};
  };
}
const Back kBend = [](PicturePoint p) {
  using std::numbers::pi;
  return PicturePoint{p.x + 6 * std::sin(p.y * pi / 128), p.y + 6 * std::sin(p.x * pi / 150)};
};
const Back kMirror = [](PicturePoint p) { return PicturePoint{511 - p.x, p.y}; };
// A small turn of the head about `head` (below the eyes) that fades with the distance from it,
// and shoulders that sway sideways the more the lower they are: smooth, one map for no two parts.
Back HeadAndShoulders(PicturePoint head, double radius) {
  return [=](PicturePoint p) {
    const double dx = p.x - head.x, dy = p.y - head.y;
    const double turn = 0.07 * std::exp(-(dx * dx + dy * dy) / (2 * radius * radius));
    const double low = std::max(0.0, dy / radius), sway = 7 * std::tanh(low * low / 4);
    return PicturePoint{head.x + std::cos(turn) * dx + std::sin(turn) * dy - sway + 3,
                        head.y - std::sin(turn) * dx + std::cos(turn) * dy +
                            2 * std::sin(p.x / 90) * std::tanh(low)};
  };
}

// The first picture read at Back of each pixel, bilinear, edges held; grey levels on request;
// `side` wide and as high (0: the first's size).
Bitmap Warped(const Bitmap& first, const Back& back, int side, bool grey) {
  const int w = side ? side : first.Width(), h = side ? side : first.Height();
  Bitmap second(w, h);
  for (int i = 0; i < w * h; ++i) {
    const PicturePoint p = back({double(i % w), double(i / w)});
    const double fx = std::clamp(p.x, 0.0, first.Width() - 1.001);
    const double fy = std::clamp(p.y, 0.0, first.Height() - 1.001);
    const int x0 = int(fx), y0 = int(fy);
    int c[3];
    for (int k = 0; k < 3; ++k) {
      auto at = [&](int dx, int dy) { return int(first.Pixel(x0 + dx, y0 + dy) >> 8 * k & 255); };
      const double top = at(0, 0) + (fx - x0) * (at(1, 0) - at(0, 0));
      const double bottom = at(0, 1) + (fx - x0) * (at(1, 1) - at(0, 1));
      c[k] = int(std::lround(top + (fy - y0) * (bottom - top)));
    }
    const int g = (c[0] + c[1] + c[2]) / 3;
    second.SetPixel(i % w, i / w, grey ? MakeColor(g, g, g) : MakeColor(c[0], c[1], c[2]));
  }
  return second;
}

// Where `back` takes q to p: every warp here but the mirror is near enough a shift for a
// fixed point, and the mirror is its own inverse.
PicturePoint Forward(const Back& back, PicturePoint p) {
  if (back({1, 0}).x < back({0, 0}).x) return back(p);
  PicturePoint q = p;
  for (int i = 0; i < 80; ++i) q = {q.x + p.x - back(q).x, q.y + p.y - back(q).y};
  return q;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 1e9 : v[v.size() / 2];
}
double Distance(PicturePoint a, PicturePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct WarpCase {
  const char* name;
  AutoMeshMethod method;
  const char* picture;
  Back back;
  const char* says;   // in the report
  int side = 512;     // of the second picture; 0: the first's size
  bool grey = false;  // the second picture in grey levels
};
void PrintTo(const WarpCase& c, std::ostream* out) { *out << c.name; }
class KnownWarp : public ::testing::TestWithParam<WarpCase> {};

// The first picture distorted by the mesh (the Smooth painter) against the true second
// picture, over the whole frame but a margin of 8 pixels, in dB.
double DistortionPsnr(const Bitmap& first, const Bitmap& second, const Mesh& mesh) {
  const std::vector<TrianglePositions> triangles = TrianglePositionsOf(mesh);
  Bitmap painted(second.Width(), second.Height());
  RunProtocol quiet;
  PaintSmoothFrame({PieceKind::kDistortion, &first, nullptr, triangles, 1, 0, 1}, painted, quiet);
  double sum = 0, count = 0;
  for (int y = 8; y < second.Height() - 8; ++y) {
    for (int x = 8; x < second.Width() - 8; ++x, count += 3) {
      for (int k = 0; k < 24; k += 8) {
        const double d = double(painted.Pixel(x, y) >> k & 255) - (second.Pixel(x, y) >> k & 255);
        sum += d * d;
      }
    }
  }
  return 10 * std::log10(255.0 * 255.0 * count / sum);
}

// Faces and auto: each landmark of the mesh near the true place of its first position (after
// a mirror, of its namesake on the other side of the face). Auto and the other methods: the
// nodes near their true places; auto's mesh also distorts the first picture into the true
// second at 28 dB or more, and as well as the flow alone (within 0.1 dB: both carry the same
// flow outside the face, and the face points' tenths of a pixel can show on a small face).
TEST_P(KnownWarp, PointsLieNearTheirTruePlaces) {
  const WarpCase& c = GetParam();
  const Bitmap first = Load(c.picture), second = Warped(first, c.back, c.side, c.grey);
  MatchOptions options;
  options.method = c.method;
  Result<AutoMeshOutcome> outcome = AutoMeshOfPictures(first, second, options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Message();
  const std::string& report = outcome.Value().report;
  EXPECT_NE(report.find(c.says), std::string::npos) << report;
  EXPECT_EQ(FoldedTriangleCount(outcome.Value().mesh), 0u);
  std::vector<double> errors;
  if (const auto& face = outcome.Value().match.first_face) {
    const auto& one = face->points;
    const bool mirror = c.back({1, 0}).x < c.back({0, 0}).x;
    for (const FoundPoint& p : outcome.Value().match.points) {
      const auto at = std::find_if(one.begin(), one.end(), [&](PicturePoint q) {
        return q.x == p.pair.first.x && q.y == p.pair.first.y;
      });
      if (p.kind != PointKind::kLandmark || at == one.end()) continue;
      const int i = int(at - one.begin());
      const PicturePoint truth = Forward(c.back, one[mirror ? MirroredLandmark(i) : i]);
      errors.push_back(Distance(p.pair.second, truth));
    }
    ASSERT_EQ(errors.size(), 68u);
    EXPECT_LE(Median(errors), 0.03 * Distance(one[36], one[45])) << report;
    if (c.method == AutoMeshMethod::kFaces) return;
    errors.clear();
  }
  for (const TMeshNode& n : outcome.Value().mesh.NodeList()) {  // but the border's
    if (n.X1 % (first.Width() - 1) == 0 || n.Y1 % (first.Height() - 1) == 0) continue;
    const PicturePoint truth = Forward(c.back, {double(n.X1), double(n.Y1)});
    errors.push_back(Distance({double(n.X2), double(n.Y2)}, truth));
  }
  EXPECT_GE(errors.size(), 40u) << report;
  EXPECT_LE(Median(errors), 1.5) << report;
  std::sort(errors.begin(), errors.end());
  EXPECT_LE(errors[errors.size() * 9 / 10], 4.0) << report;  // 90 % within 4 pixels
  if (c.method != AutoMeshMethod::kAuto || c.side != 0) return;
  options.method = AutoMeshMethod::kFlow;
  const Mesh alone = AutoMeshOfPictures(first, second, options).Value().mesh;
  const double flow = DistortionPsnr(first, second, alone);
  const double psnr = DistortionPsnr(first, second, outcome.Value().mesh);
  EXPECT_GE(psnr, 28.0) << report;
  EXPECT_GE(psnr, flow - 0.1) << report << "; the flow alone: " << flow << " dB";
}

const WarpCase kWarps[] = {
    {"FacesTurned", AutoMeshMethod::kFaces, "grace_hopper.jpg", Similarity(8, 0.9, 5), "Faces: "},
    // The bent astronaut's round badge is a second "face", larger than hers.
    {"FacesBent", AutoMeshMethod::kFaces, "astronaut.png", kBend, "faces found: 1 and 2"},
    {"FacesMirrored", AutoMeshMethod::kFaces, "grace_hopper.jpg", kMirror, "Faces: "},
    {"AutoGreyTurned", AutoMeshMethod::kAuto, "grace_hopper.jpg", Similarity(-5, 1.1, -4),
     "Faces: ", 512, true},
    {"AutoTurned", AutoMeshMethod::kAuto, "grace_hopper.jpg", Similarity(4, 1.05, 6), "flow: ", 0},
    {"AutoTurnedAstronaut", AutoMeshMethod::kAuto, "astronaut.png", Similarity(4, 1.05, 6),
     "flow: ", 0},
    {"AutoHeadAndShoulders", AutoMeshMethod::kAuto, "grace_hopper.jpg",
     HeadAndShoulders({265, 216}, 132), "flow: ", 0},
    {"AutoHeadAndShouldersAstronaut", AutoMeshMethod::kAuto, "astronaut.png",
     HeadAndShoulders({225, 116}, 70), "flow: ", 0},
    {"FeaturesBent", AutoMeshMethod::kFeatures, "astronaut.png", kBend, "Features: "},
    {"FeaturesLarger", AutoMeshMethod::kFeatures, "astronaut.png", Similarity(0, 1.8, 200),
     "Features: ", 920},
    {"FlowBent", AutoMeshMethod::kFlow, "astronaut.png", kBend, "Flow: "}};
INSTANTIATE_TEST_SUITE_P(Match, KnownWarp, ::testing::ValuesIn(kWarps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Match, ARankPicksAnotherFaceAndWhatCannotMatchIsSaidInOneLine) {
  // The bent astronaut's badge, her second face by score.
  Result<FaceLandmarks> badge = FindFaceLandmarks(Warped(Load("astronaut.png"), kBend, 512, false),
                                                  {2, "", "astronaut.png"});
  ASSERT_TRUE(badge.Ok()) << badge.Message();
  EXPECT_GT(badge.Value().LeftEyeCentre().y, 300);

  const Bitmap face = Load("astronaut.png"), flat(64, 64, MakeColor(128, 128, 128)), dot(1, 1);
  const std::string between = " between the first picture and the second picture (0";
  const std::string text = (std::filesystem::temp_directory_path() / "vesk-model.txt").string();
  std::ofstream(text) << "not a model\n";
  using Row = std::tuple<AutoMeshMethod, const Bitmap*, int, std::string, std::string>;
  const Row rows[] = {  // method, second picture, face rank, model: the one line
      {AutoMeshMethod::kFaces, &flat, 1, "", "No face found in the second picture"},
      {AutoMeshMethod::kAuto, &face, 2, "",
       "Only 1 face found in the first picture; face 2 was asked for"},
      {AutoMeshMethod::kFaces, &face, 1, "/no/such.dat",
       "The face model /no/such.dat is missing (it comes with the Debian package libdlib-data)"},
      {AutoMeshMethod::kFaces, &face, 1, text,
       "The face model " + text + " is damaged or not a shape predictor (Error deserializing "
       "object of type int)"},
      {AutoMeshMethod::kAuto, &face, 1, "/usr/share", "The face model /usr/share is a folder"},
      {AutoMeshMethod::kAuto, &dot, 1, "",
       "Auto Mesh needs pictures of at least 16 x 16 pixels; the second picture is 1 x 1"}};
  for (const auto& [method, second, rank, model, says] : rows) {
    MatchOptions options;
    options.method = method;
    options.face_rank = rank;
    options.model_path = model;
    EXPECT_EQ(AutoMeshOfPictures(face, *second, options).Message(), says);
  }
  // The examples' two drawings: a flat night sky, different stars and waves.
  const Bitmap night = FromQImage(QImage(VESK_SOURCE_DIR "/examples/first.bmp"));
  const Bitmap waves = FromQImage(QImage(VESK_SOURCE_DIR "/examples/second.bmp"));
  EXPECT_EQ(AutoMeshOfPictures(night, waves, {}).Message(),
            "No face found in the first picture; Too few matching features" + between +
                "; 12 are needed); Too little flow to follow between the first picture and the "
                "second picture (3 points; 12 are needed)");
  std::filesystem::remove(text);
  MatchOptions stop;
  stop.cancelled = [] { return true; };
  EXPECT_EQ(MatchPictures(face, face, stop).Message(), kMatchCancelled);
}

// Landmarks handed in are taken as they are and not looked for again: a blank picture meshes
// as if it had the face handed in, and the match hands the landmarks back.
TEST(Match, FacesHandedInAreTakenAndHandedBack) {
  const Bitmap grace = Load("grace_hopper.jpg"), blank(grace.Width(), grace.Height());
  MatchOptions options;
  options.method = AutoMeshMethod::kFaces;
  options.first_face = FindFaceLandmarks(grace, {}).Value();
  Result<MatchResult> match = MatchPictures(blank, grace, options);
  ASSERT_TRUE(match.Ok()) << match.Message();
  EXPECT_EQ(match.Value().points.size(), kFaceLandmarkCount + kForeheadPointCount);
  EXPECT_EQ(match.Value().points[0].pair.first.x, options.first_face->points[36].x);
  EXPECT_EQ(match.Value().first_face->points[45].y, options.first_face->points[45].y);
  EXPECT_EQ(match.Value().second_face->faces_found, 1);
}

// Two different people (the README's pair): auto's mesh holds every node of the faces
// method's, does not fold, and leaves out what did not match outside the faces.
TEST(Match, DifferentPortraitsKeepEveryFacePointAndDoNotFold) {
  std::vector<std::pair<int, int>> nodes[2];
  for (AutoMeshMethod method : {AutoMeshMethod::kFaces, AutoMeshMethod::kAuto}) {
    MatchOptions options;
    options.method = method;
    Result<AutoMeshOutcome> outcome =
        AutoMeshOfPictures(Load("grace_hopper.jpg"), Load("astronaut.png"), options);
    ASSERT_TRUE(outcome.Ok()) << outcome.Message();
    EXPECT_EQ(FoldedTriangleCount(outcome.Value().mesh), 0u);
    EXPECT_EQ(outcome.Value().report.rfind("Faces: 65 + 12 points, ", 0), 0u);
    for (const TMeshNode& n : outcome.Value().mesh.NodeList()) {
      nodes[method == AutoMeshMethod::kAuto].emplace_back(n.X1 << 16 | n.Y1, n.X2 << 16 | n.Y2);
    }
  }
  for (auto& n : nodes) std::sort(n.begin(), n.end());
  EXPECT_TRUE(std::includes(nodes[1].begin(), nodes[1].end(), nodes[0].begin(), nodes[0].end()));
}

}  // namespace
}  // namespace vesk
