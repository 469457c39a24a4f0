// Auto Mesh's matching on pairs made from the two portraits by known warps, so every point's
// true place on the second picture is known; the face chosen by rank; what cannot match.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

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

// The first picture read at Back of each pixel, bilinear, edges held; grey levels on request.
Bitmap Warped(const Bitmap& first, const Back& back, int side, bool grey) {
  Bitmap second(side, side);
  for (int i = 0; i < side * side; ++i) {
    const PicturePoint p = back({double(i % side), double(i / side)});
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
    second.SetPixel(i % side, i / side, grey ? MakeColor(g, g, g) : MakeColor(c[0], c[1], c[2]));
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
  int side = 512;     // of the second picture
  bool grey = false;  // the second picture in grey levels
};
void PrintTo(const WarpCase& c, std::ostream* out) { *out << c.name; }
class KnownWarp : public ::testing::TestWithParam<WarpCase> {};

TEST_P(KnownWarp, PointsLieNearTheirTruePlaces) {
  const WarpCase& c = GetParam();
  const Bitmap first = Load(c.picture), second = Warped(first, c.back, c.side, c.grey);
  MatchOptions options;
  options.method = c.method;
  Result<AutoMeshOutcome> outcome = AutoMeshOfPictures(first, second, options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Message();
  const std::string& report = outcome.Value().report;
  EXPECT_NE(report.find(c.says), std::string::npos) << report;
  std::vector<double> errors;
  if (outcome.Value().match.method == AutoMeshMethod::kFaces) {
    // Each landmark against the true place of its first-picture namesake, which after a
    // mirror is the one on the other side of the face.
    const FaceLandmarks one = FindFaceLandmarks(first, {}).Value();
    const FaceLandmarks other = FindFaceLandmarks(second, {}).Value();
    const bool mirror = c.back({1, 0}).x < c.back({0, 0}).x;
    for (int i = 0; i < 68; ++i) {
      const PicturePoint truth = Forward(c.back, one.points[mirror ? MirroredLandmark(i) : i]);
      errors.push_back(Distance(other.points[i], truth));
    }
    EXPECT_LE(Median(errors), 0.03 * Distance(one.points[36], one.points[45])) << report;
    return;
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
}

const WarpCase kWarps[] = {
    {"FacesTurned", AutoMeshMethod::kFaces, "grace_hopper.jpg", Similarity(8, 0.9, 5), "Faces: "},
    // The bent astronaut's round badge is a second "face", larger than hers.
    {"FacesBent", AutoMeshMethod::kFaces, "astronaut.png", kBend, "faces found: 1 and 2"},
    {"FacesMirrored", AutoMeshMethod::kFaces, "grace_hopper.jpg", kMirror, "Faces: "},
    {"AutoGreyTurned", AutoMeshMethod::kAuto, "grace_hopper.jpg", Similarity(-5, 1.1, -4),
     "Faces: ", 512, true},
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
  using Row = std::tuple<AutoMeshMethod, const Bitmap*, const Bitmap*, std::string, std::string>;
  const Row rows[] = {
      {AutoMeshMethod::kFaces, &face, &flat, "", "No face found in the second picture"},
      {AutoMeshMethod::kFaces, &face, &face, "/no/such.dat",
       "The face model /no/such.dat is missing (it comes with the Debian package libdlib-data)"},
      {AutoMeshMethod::kAuto, &dot, &face, "",
       "Auto Mesh needs pictures of at least 16 x 16 pixels; the first picture is 1 x 1"},
      {AutoMeshMethod::kAuto, &flat, &flat, "",
       "No face found in the first picture; Too few matching features" + between +
           "; 12 are needed); Too little flow to follow" + between + " points; 4 are needed)"}};
  for (const auto& [method, first, second, model, says] : rows) {
    MatchOptions options;
    options.method = method;
    options.model_path = model;
    EXPECT_EQ(AutoMeshOfPictures(*first, *second, options).Message(), says);
  }
  MatchOptions stop;
  stop.cancelled = [] { return true; };
  EXPECT_EQ(MatchPictures(face, face, stop).Message(), kMatchCancelled);
}

}  // namespace
}  // namespace vesk
