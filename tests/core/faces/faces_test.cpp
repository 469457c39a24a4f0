// The rules of averages and caricatures on faces whose points are known:
// the eye frame, the mean shape, the colour sum, the mean shape's file, the
// caricature's points and picture, and the average's two passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "core/faces/average_faces.h"
#include "core/faces/caricature.h"
#include "core/faces/colour_sum.h"
#include "core/faces/face_warp.h"
#include "core/faces/mean_shape.h"
#include "core/faces/mean_shape_file.h"
#include "tests/core/support/picture_psnr.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

double Gap(PicturePoint p, PicturePoint q) { return std::hypot(p.x - q.x, p.y - q.y); }

Similarity Turned(double degrees, double scale, double tx, double ty) {
  const double turn = degrees * std::numbers::pi / 180;
  return {scale * std::cos(turn), scale * std::sin(turn), tx, ty};
}

// 80 points on a 10 x 8 grid 20 pixels apart from (40, 40), each moved up to
// `jitter` pixels; the eyes (36-47) keep their grid places when `steady_eyes`.
FacePoints GridFace(double jitter, unsigned seed, bool steady_eyes = true) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> wobble(-jitter, jitter);
  FacePoints face;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    const bool eye = i >= 36 && i < 48;
    const double dx = wobble(rng), dy = wobble(rng);
    face[i] = {40.0 + 20 * double(i % 10) + (eye && steady_eyes ? 0 : dx),
               40.0 + 20 * double(i / 10) + (eye && steady_eyes ? 0 : dy)};
  }
  return face;
}

double WorstGap(const FacePoints& a, const FacePoints& b) {
  double worst = 0;
  for (std::size_t i = 0; i < kFacePointCount; ++i) worst = std::max(worst, Gap(a[i], b[i]));
  return worst;
}

TEST(EyeFrame, PutsTheEyesOnTheirPlacesAndBack) {
  struct Row { ImageSize size; PicturePoint left, right; };
  for (const Row& row : {Row{{600, 800}, {224.5, 359.55}, {374.5, 359.55}},
                         Row{{1000, 400}, {462, 179.55}, {537, 179.55}},
                         Row{{16, 16}, {6, 6.75}, {9, 6.75}}}) {
    const EyePlaces places = EyePlacesOf(row.size);
    EXPECT_LT(Gap(places.left, row.left) + Gap(places.right, row.right), 1e-9) << row.size.width;
    const FacePoints face = Moved(GridFace(3, 1), Turned(-25, 1.7, 30, -12));
    const std::optional<EyeFrame> frame = EyeFrameOf(face, row.size);
    ASSERT_TRUE(frame);
    EXPECT_LT(Gap(Apply(frame->to_frame, LeftEyeCentre(face)), places.left), 1e-9);
    EXPECT_LT(Gap(Apply(frame->to_frame, RightEyeCentre(face)), places.right), 1e-9);
    EXPECT_LT(Gap(Apply(frame->to_picture, Apply(frame->to_frame, face[3])), face[3]), 1e-9);
  }
  FacePoints blind = GridFace(0, 2);
  for (std::size_t i = 36; i < 48; ++i) blind[i] = {5, 5};
  EXPECT_FALSE(EyeFrameOf(blind, kDefaultAverageSize));
}

TEST(MeanShape, OfTurnedAndScaledCopiesIsTheFaceInTheFrame) {
  const FacePoints face = GridFace(4, 3, false);
  std::vector<FacePoints> copies;
  for (const Similarity& s : {Turned(0, 1, 0, 0), Turned(12, 0.8, 40, 7), Turned(-30, 2.5, -9, 60),
                              Turned(170, 1.1, 300, 200)}) {
    const FacePoints copy = Moved(face, s);
    copies.push_back(Moved(copy, EyeFrameOf(copy, kDefaultAverageSize)->to_frame));
  }
  const FacePoints truth = Moved(face, EyeFrameOf(face, kDefaultAverageSize)->to_frame);
  EXPECT_LT(WorstGap(MeanShape(copies), truth), 1e-9);
  // Two different faces: the point-by-point middle.
  const FacePoints other = GridFace(4, 4, false);
  const FacePoints mean = MeanShape(std::vector{face, other});
  EXPECT_LT(Gap(mean[17], {(face[17].x + other[17].x) / 2, (face[17].y + other[17].y) / 2}), 1e-12);
}

TEST(ColourSum, RoundsTheMeanOnceAtTheEnd) {
  struct Row { std::vector<int> values; int mean; };
  // Rounding each step's running mean would give 1, 0, 255 and 2 for the first four.
  for (const Row& row : {Row{{0, 0, 1}, 0}, Row{{0, 1, 1, 1}, 1}, Row{{254, 255}, 255},
                         Row{{1, 2, 2, 2, 2, 2, 2}, 2}, Row{{0, 1}, 1}, Row{{7}, 7}}) {
    ColourSum sum(2, 1);
    for (int v : row.values) {
      Bitmap picture(2, 1);
      picture.SetPixel(0, 0, MakeColor(v, 255 - v, v / 2));
      picture.SetPixel(1, 0, MakeColor(0, 0, 0));
      sum.Add(picture);
    }
    double green = 0, blue = 0;
    for (int v : row.values) green += 255 - v, blue += v / 2;
    const auto mean = [&](double sum) {
      return static_cast<int>(std::floor(sum / double(row.values.size()) + 0.5));
    };
    EXPECT_EQ(sum.Mean().Pixel(0, 0), MakeColor(row.mean, mean(green), mean(blue)));
    EXPECT_EQ(sum.Mean().Pixel(1, 0), kBlack);
    EXPECT_EQ(sum.Count(), int(row.values.size()));
  }
  EXPECT_EQ(ColourSum(1, 1).Mean().Pixel(0, 0), kWhite);
}

using MeanShapeFile = testing_support::TempFolderTest;

TEST_F(MeanShapeFile, KeepsTheShapeToAThousandthOfAPixel) {
  const FacePoints shape = Moved(GridFace(5, 5, false), Turned(8, 3.3, -0.0004, 1e5));
  ASSERT_TRUE(WriteMeanShapeFile(PathOf("a.pts"), shape));
  const Result<FacePoints> read = ReadMeanShapeFile(PathOf("a.pts"));
  ASSERT_TRUE(read) << read.Message();
  EXPECT_LE(WorstGap(read.Value(), shape), 0.0005 * std::sqrt(2));
  EXPECT_TRUE(Text("a.pts").starts_with("vesk mean shape 1\n"));
  for (const char* name : {"a.pts", "B.PTS", "c.Pts"}) EXPECT_TRUE(IsMeanShapeFileName(name));
  for (const char* name : {"a.png", "pts", "a.ptsx", ""}) EXPECT_FALSE(IsMeanShapeFileName(name));
  EXPECT_EQ(ReadMeanShapeFile(PathOf("none.pts")).Message(), "File Not Found");
}

TEST(MeanShapeText, RefusesWhatIsNotAMeanShapeWithOneLine) {
  std::string lines;
  for (std::size_t i = 0; i < kFacePointCount; ++i) lines += std::to_string(i) + " 2.5\n";
  const auto with_line = [&](int number, const std::string& text) {  // line 2 is the first point
    std::string changed = lines;
    std::size_t at = 0;
    for (int n = 2; n < number; ++n) at = changed.find('\n', at) + 1;
    return changed.replace(at, changed.find('\n', at) - at, text);
  };
  const std::string head = "vesk mean shape 1\n";
  struct Row { std::string text; std::string message; };
  const std::string not_one = "Not a mean shape file (its first line must read \"vesk mean shape 1\")";
  const Row rows[] = {
      {"", not_one},
      {"\xEF\xBB\xBFvesk mean shape 1\n" + lines, not_one},
      {"vesk mean shape 2\n" + lines, "Mean shape version 2 is not known (this program reads version 1)"},
      {head + lines.substr(0, lines.rfind('\n', lines.size() - 2) + 1), "The mean shape has 79 points; 80 expected"},
      {head + lines + "1 1\n", "The mean shape has 81 points; 80 expected"},
      {head + lines + "\n\n1 1\n", "The mean shape has 83 points; 80 expected"},
      {head + with_line(2, "3"), "Line 2 of the mean shape: two numbers expected"},
      {head + with_line(9, "3 4 5"), "Line 9 of the mean shape: two numbers expected"},
      {head + with_line(10, "3 x"), "Line 10 of the mean shape: two numbers expected"},
      {head + with_line(11, "nan 1"), "Line 11 of the mean shape: two numbers expected"},
      {head + with_line(12, "+1 1"), "Line 12 of the mean shape: two numbers expected"},
      {head + with_line(81, "1 -1000000.5"), "Line 81 of the mean shape: a coordinate beyond 1000000"},
      {head + with_line(3, "1 1e999"), "Line 3 of the mean shape: two numbers expected"},
  };
  for (const Row& row : rows) {
    const Result<FacePoints> parsed = ParseMeanShape(
        std::span(reinterpret_cast<const std::uint8_t*>(row.text.data()), row.text.size()));
    EXPECT_EQ(parsed ? "read" : parsed.Message(), row.message) << row.text.substr(0, 40);
  }
  // CR LF, blanks and blank lines at the end are taken.
  std::string crlf = "vesk mean shape 1\r\n";
  for (std::size_t i = 0; i < kFacePointCount; ++i) crlf += '\t' + std::to_string(i) + "  -7e-1 \r\n";
  crlf += "\r\n\n";
  const auto parsed = ParseMeanShape(std::span(reinterpret_cast<const std::uint8_t*>(crlf.data()), crlf.size()));
  ASSERT_TRUE(parsed) << parsed.Message();
  EXPECT_LT(Gap(parsed.Value()[79], {79, -0.7}), 1e-12);
}

// A face that differs from `average` (turned and scaled onto it) by `away`,
// which leaves the eyes alone.
struct KnownFaces {
  FacePoints average = GridFace(0, 6);
  Similarity onto = Turned(10, 1.2, 20, -5);
  FacePoints own;
  FacePoints placed;  // the average on the face
  KnownFaces() {
    placed = Moved(average, onto);
    const FacePoints away = GridFace(3, 7);
    own = placed;
    for (std::size_t i = 0; i < kFacePointCount; ++i) {
      own[i].x += away[i].x - GridFace(0, 7)[i].x;
      own[i].y += away[i].y - GridFace(0, 7)[i].y;
    }
  }
  PicturePoint At(std::size_t i, double amount) const {
    return {placed[i].x + amount * (own[i].x - placed[i].x),
            placed[i].y + amount * (own[i].y - placed[i].y)};
  }
};

TEST(Caricature, PointsGoAlongTheirDifferenceFromTheAverage) {
  const KnownFaces faces;
  for (double amount : {1.0, 0.0, 0.5, 2.0, -1.0}) {
    const std::optional<FacePoints> target = CaricaturePoints(faces.own, faces.average, amount);
    ASSERT_TRUE(target);
    for (std::size_t i = 0; i < kFacePointCount; ++i) {
      EXPECT_LT(Gap((*target)[i], faces.At(i, amount)), 1e-9) << amount << " " << i;
    }
  }
  EXPECT_EQ(WorstGap(*CaricaturePoints(faces.own, faces.average, 1), faces.own), 0);  // exactly
  FacePoints blind = faces.own;
  for (std::size_t i = 36; i < 48; ++i) blind[i] = {50, 50};
  EXPECT_FALSE(CaricaturePoints(blind, faces.average, 2));
  EXPECT_FALSE(CaricaturePoints(faces.own, blind, 2));
}

// A soft grey picture with a dark dot of 1 pixel's spread at every point.
Bitmap DottedPicture(const std::vector<PicturePoint>& dots, int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double dark = 0;
      for (PicturePoint p : dots) {
        const double d2 = (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y);
        if (d2 < 16) dark += std::exp(-d2 / 2);
      }
      const int level = static_cast<int>(std::lround(230 - 200 * std::min(dark, 1.0)));
      picture.SetPixel(x, y, MakeColor(level, level, (x * 3 + y) % 256));
    }
  }
  return picture;
}

// The darkness-weighted centre of the pixels within 4 of `near`.
PicturePoint DotCentre(const Bitmap& picture, PicturePoint near) {
  double sum = 0, sx = 0, sy = 0;
  for (int y = int(near.y) - 4; y <= int(near.y) + 5; ++y) {
    for (int x = int(near.x) - 4; x <= int(near.x) + 5; ++x) {
      const double dark = 230 - double(picture.Pixel(x, y) & 0xFF);
      if (dark <= 5 || Gap({double(x), double(y)}, near) > 4.5) continue;
      sum += dark, sx += dark * x, sy += dark * y;
    }
  }
  return {sx / sum, sy / sum};
}

PicturePoint Centroid(const FacePoints& face, const std::array<std::size_t, 3>& t) {
  return {(face[t[0]].x + face[t[1]].x + face[t[2]].x) / 3,
          (face[t[0]].y + face[t[1]].y + face[t[2]].y) / 3};
}

double Inradius(const FacePoints& face, const std::array<std::size_t, 3>& t) {
  const PicturePoint a = face[t[0]], b = face[t[1]], c = face[t[2]];
  const double area = std::abs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
  return 2 * area / (Gap(a, b) + Gap(b, c) + Gap(c, a));
}

TEST(Caricature, PictureMovesWithItsPoints) {
  const KnownFaces faces;
  const ImageSize size{320, 300};
  RunProtocol quiet;
  const Bitmap plain = DottedPicture({faces.own.begin(), faces.own.end()}, size.width, size.height);
  EXPECT_GE(testing_support::PsnrWhere(
                PaintCaricature(plain, faces.own, faces.own, Renderer::kSmooth, quiet), plain), 45);
  // The classic pieces are flat: near the picture, not at it.
  EXPECT_GE(testing_support::PsnrWhere(
                PaintCaricature(plain, faces.own, faces.own, Renderer::kClassic, quiet), plain), 20);
  // Dots inside the face's triangles, away from each other, land where the
  // triangles' affine maps take them: on the centroids of the moved triangles.
  for (double amount : {0.0, 2.0}) {
    const FacePoints target = *CaricaturePoints(faces.own, faces.average, amount);
    std::vector<PicturePoint> dots, moved_dots;
    for (const auto& t : FaceWarpTo(target, size).triangles) {
      if (std::ranges::max(t) >= kFacePointCount || Inradius(faces.own, t) < 3.5) continue;
      const PicturePoint dot = Centroid(faces.own, t), moved = Centroid(target, t);
      const auto apart = [](PicturePoint p) { return [p](PicturePoint q) { return Gap(p, q) < 11; }; };
      if (std::ranges::any_of(dots, apart(dot)) || std::ranges::any_of(moved_dots, apart(moved))) continue;
      dots.push_back(dot);
      moved_dots.push_back(moved);
    }
    ASSERT_GE(dots.size(), 20u);
    const Bitmap picture = DottedPicture(dots, size.width, size.height);
    const Bitmap caricature = PaintCaricature(picture, faces.own, target, Renderer::kSmooth, quiet);
    double worst = 0;
    for (std::size_t i = 0; i < dots.size(); ++i) {
      worst = std::max(worst, Gap(DotCentre(caricature, moved_dots[i]), moved_dots[i]));
    }
    EXPECT_LT(worst, 0.15) << amount << ", dots moved up to 5 pixels";
  }
}

// Pictures that a test makes, with the faces it says they show.
struct FakePictures {
  std::vector<Bitmap> pictures;
  std::vector<std::optional<FacePoints>> faces;
  std::vector<std::size_t> reads;
  FacePictures Source() {
    FacePictures source;
    for (std::size_t i = 0; i < pictures.size(); ++i) source.names.push_back('p' + std::to_string(i));
    source.read = [this](std::size_t i) -> Result<Bitmap> {
      reads.push_back(i);
      return pictures[i];
    };
    source.find_face = [this](const Bitmap&, std::size_t i) -> Result<FacePoints> {
      if (!faces[i]) return Failure{std::string("No face found in p") + std::to_string(i)};
      return *faces[i];
    };
    return source;
  }
};

TEST(AverageFaces, ReadsEachPictureOnceAPassAndSkipsOnlyWhenAsked) {
  FakePictures fake;
  for (unsigned k = 0; k < 3; ++k) {
    fake.pictures.push_back(Bitmap(240, 220, MakeColor(30 * k, 90, 200)));
    fake.faces.push_back(Moved(GridFace(3, 8 + k), Turned(5.0 * k, 1 + 0.1 * k, 3, 4)));
  }
  fake.faces[1].reset();
  RunProtocol quiet;
  AverageOptions options{.size = {120, 160}};
  EXPECT_EQ(AverageFaces(fake.Source(), options, quiet).Message(), "No face found in p1");
  fake.reads.clear();
  options.skip_failed = true;
  const Result<FaceAverage> average = AverageFaces(fake.Source(), options, quiet);
  ASSERT_TRUE(average) << average.Message();
  EXPECT_EQ(fake.reads, (std::vector<std::size_t>{0, 1, 2, 0, 2}));
  EXPECT_EQ(average.Value().shapes.used, (std::vector<std::size_t>{0, 2}));
  ASSERT_EQ(average.Value().shapes.skipped.size(), 1u);
  EXPECT_EQ(average.Value().shapes.skipped[0].reason, "No face found in p1");
  EXPECT_EQ(average.Value().picture.Pixel(60, 80), MakeColor(30, 90, 200));  // (0 + 60) / 2
  const std::vector<FacePoints> in_frame = {
      Moved(*fake.faces[0], EyeFrameOf(*fake.faces[0], options.size)->to_frame),
      Moved(*fake.faces[2], EyeFrameOf(*fake.faces[2], options.size)->to_frame)};
  EXPECT_LT(WorstGap(average.Value().shapes.mean, MeanShape(in_frame)), 1e-9);

  fake.faces = {std::nullopt, std::nullopt, std::nullopt};
  EXPECT_EQ(FindFaceShapes(fake.Source(), options, quiet).Message(),
            "None of the 3 pictures has a face to average");
  EXPECT_EQ(FindFaceShapes(FacePictures{}, options, quiet).Message(),
            "There are no pictures to average");
}

}  // namespace
}  // namespace vesk
