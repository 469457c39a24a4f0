// The rules of averages and caricatures on faces whose points are known: eye frame, mean
// shape, colour sum, mean shape file, caricature points and picture, the average's passes.
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
// `jitter` pixels, the eyes (36-47) too unless `steady_eyes`.
FacePoints GridFace(double jitter, unsigned seed, bool steady_eyes = true) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> wobble(-jitter, jitter);
  FacePoints face;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    const double keep = steady_eyes && i >= 36 && i < 48 ? 0 : 1, dx = wobble(rng);
    const double dy = wobble(rng);
    face[i] = {40 + 20 * double(i % 10) + keep * dx, 40 + 20 * double(i / 10) + keep * dy};
  }
  return face;
}

double WorstGap(const FacePoints& a, const FacePoints& b) {
  double worst = 0;
  for (std::size_t i = 0; i < kFacePointCount; ++i) worst = std::max(worst, Gap(a[i], b[i]));
  return worst;
}

FacePoints Blind(FacePoints face) {  // both eyes on one point
  std::fill(face.begin() + 36, face.begin() + 48, PicturePoint{50, 50});
  return face;
}

TEST(EyeFrame, PutsTheEyesOnTheirPlacesAndTheMeanShapeOfCopiesIsTheFace) {
  struct Row { ImageSize size; PicturePoint left, right; };
  for (const Row& row :
       {Row{{600, 800}, {224.5, 359.55}, {374.5, 359.55}},
        Row{{1000, 400}, {462, 179.55}, {537, 179.55}}, Row{{16, 16}, {6, 6.75}, {9, 6.75}}}) {
    const EyePlaces places = EyePlacesOf(row.size);
    EXPECT_LT(Gap(places.left, row.left) + Gap(places.right, row.right), 1e-9) << row.size.width;
    const FacePoints face = Moved(GridFace(3, 1, false), Turned(-25, 1.7, 30, -12));
    const std::optional<EyeFrame> frame = EyeFrameOf(face, row.size);
    ASSERT_TRUE(frame);
    EXPECT_LT(Gap(Apply(frame->to_frame, LeftEyeCentre(face)), places.left) +
                  Gap(Apply(frame->to_frame, RightEyeCentre(face)), places.right) +
                  Gap(Apply(frame->to_picture, Apply(frame->to_frame, face[3])), face[3]),
              1e-9);
  }
  EXPECT_FALSE(EyeFrameOf(Blind(GridFace(0, 2)), kDefaultAverageSize));
  // Turned, scaled and shifted copies of one face average to the face in the frame.
  const FacePoints face = GridFace(4, 3, false);
  std::vector<FacePoints> copies;
  for (const Similarity& s : {Turned(0, 1, 0, 0), Turned(12, 0.8, 40, 7), Turned(-30, 2.5, -9, 60),
                              Turned(170, 1.1, 300, 200)}) {
    const FacePoints copy = Moved(face, s);
    copies.push_back(Moved(copy, EyeFrameOf(copy, kDefaultAverageSize)->to_frame));
  }
  EXPECT_LT(WorstGap(MeanShape(copies), copies[0]), 1e-9);
}

TEST(ColourSum, RoundsTheMeanOnceAtTheEnd) {
  // Red takes the values, blue 255 minus them. Rounding a running mean at
  // each step would give red 1, 0, 255 and 2 in the first four rows.
  struct Row { std::vector<int> values; int red, blue; };
  for (const Row& row :
       {Row{{0, 0, 1}, 0, 255}, Row{{0, 1, 1, 1}, 1, 254}, Row{{254, 255}, 255, 1},
        Row{{1, 2, 2, 2, 2, 2, 2}, 2, 253}, Row{{0, 1}, 1, 255}, Row{{7}, 7, 248}}) {
    ColourSum sum(1, 1);
    for (int v : row.values) {
      Bitmap picture(1, 1);
      picture.SetPixel(0, 0, MakeColor(v, 7, 255 - v));
      sum.Add(picture);
    }
    EXPECT_EQ(sum.Mean().Pixel(0, 0), MakeColor(row.red, 7, row.blue));
  }
}

using MeanShapeFile = testing_support::TempFolderTest;

TEST_F(MeanShapeFile, KeepsTheShapeToAThousandthOfAPixelAndRefusesAnythingElseWithOneLine) {
  const FacePoints shape = Moved(GridFace(5, 5, false), Turned(8, 3.3, -0.0004, 1e5));
  ASSERT_TRUE(WriteMeanShapeFile(PathOf("a.pts"), shape));
  EXPECT_LE(WorstGap(ReadMeanShapeFile(PathOf("a.pts")).Value(), shape), 0.0005 * std::sqrt(2));
  EXPECT_TRUE(Text("a.pts").starts_with("vesk mean shape 1\n"));
  EXPECT_EQ(ReadMeanShapeFile(PathOf("none.pts")).Message(), "File Not Found");
  const auto parse = [](const std::string& text) {
    const auto read =
        ParseMeanShape(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return read ? "read " + std::to_string(read.Value()[79].y) : read.Message();
  };
  // Point i on line i + 2; `line` replaces one of them.
  const auto file = [](std::string out, int line = 0, std::string text = "", int count = 80) {
    for (int i = 0; i < count; ++i) out += (i + 2 == line ? text : std::to_string(i) + " 5") + "\n";
    return out;
  };
  const std::string v1 = "vesk mean shape 1\n";
  const std::string not_one =
      "Not a mean shape file (its first line must read \"vesk mean shape 1\")";
  const std::pair<std::string, std::string> rows[] = {
      {"", not_one},
      {file("\xEF\xBB\xBF" + v1), not_one},
      {file("vesk mean shape 2\n"),
       "Mean shape version 2 is not known (this program reads version 1)"},
      {file(v1, 0, "", 79), "The mean shape has 79 points; 80 expected"},
      {file(v1) + "\n\n1 1\n", "The mean shape has 83 points; 80 expected"},
      {file(v1, 2, "3"), "Line 2 of the mean shape: two numbers expected"},
      {file(v1, 10, "3 x"), "Line 10 of the mean shape: two numbers expected"},
      {file(v1, 11, "nan 1"), "Line 11 of the mean shape: two numbers expected"},
      {file(v1, 3, "1 1e999"), "Line 3 of the mean shape: two numbers expected"},
      {file(v1, 81, "1 -1000000.5"), "Line 81 of the mean shape: a coordinate beyond 1000000"},
      {file("vesk mean shape 1 \r\n", 81, "\t79  -7e-1 \r") + "\r\n\n", "read -0.700000"},
  };
  for (const auto& [text, message] : rows) EXPECT_EQ(parse(text), message) << text.substr(0, 40);
}

// A soft grey picture with a dark dot of 1 pixel's spread at every point.
Bitmap DottedPicture(const std::vector<PicturePoint>& dots, ImageSize size) {
  Bitmap picture(size.width, size.height);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
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

// The darkness-weighted centre of the pixels within 4.5 of `near`.
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

TEST(Caricature, PointsGoAlongTheirDifferenceAndThePictureWithThem) {
  // A face that differs from the average turned and scaled onto it (`placed`)
  // by up to 3 pixels a point, the eyes left alone.
  const FacePoints average = GridFace(0, 6), placed = Moved(average, Turned(10, 1.2, 20, -5));
  const FacePoints away = GridFace(3, 7), grid = GridFace(0, 7);
  FacePoints own;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    own[i] = {placed[i].x + away[i].x - grid[i].x, placed[i].y + away[i].y - grid[i].y};
  }
  const ImageSize size{320, 300};
  RunProtocol quiet;
  EXPECT_EQ(WorstGap(*CaricaturePoints(own, average, 1), own), 0);  // exactly
  const Bitmap plain = DottedPicture({own.begin(), own.end()}, size);
  EXPECT_GE(testing_support::PsnrWhere(
                PaintCaricature(plain, own, own, Renderer::kSmooth, quiet), plain),
            45);
  EXPECT_FALSE(CaricaturePoints(Blind(own), average, 2));
  EXPECT_FALSE(CaricaturePoints(own, Blind(own), 2));
  // Dots well inside the face's triangles, apart from each other, land where
  // the triangles' affine maps take them: on the moved triangles' centroids.
  for (double amount : {0.0, 2.0, -1.0}) {
    const FacePoints target = *CaricaturePoints(own, average, amount);
    FacePoints truth;
    for (std::size_t i = 0; i < kFacePointCount; ++i) {
      truth[i] = {placed[i].x + amount * (own[i].x - placed[i].x),
                  placed[i].y + amount * (own[i].y - placed[i].y)};
    }
    EXPECT_LT(WorstGap(target, truth), 1e-9) << amount;
    std::vector<PicturePoint> dots, moved;
    const auto centroid = [](const FacePoints& p, const auto& t) {
      return PicturePoint{(p[t[0]].x + p[t[1]].x + p[t[2]].x) / 3,
                          (p[t[0]].y + p[t[1]].y + p[t[2]].y) / 3};
    };
    for (const auto& t : FaceWarpTo(target, size).triangles) {
      if (std::ranges::max(t) >= kFacePointCount) continue;  // a border point
      const PicturePoint a = own[t[0]], b = own[t[1]], c = own[t[2]];
      const double inradius = std::abs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) /
                              (Gap(a, b) + Gap(b, c) + Gap(c, a));
      const PicturePoint dot = centroid(own, t), to = centroid(target, t);
      const auto near = [](PicturePoint p) {
        return [p](PicturePoint q) { return Gap(p, q) < 11; };
      };
      if (inradius < 3.5 || std::ranges::any_of(dots, near(dot)) ||
          std::ranges::any_of(moved, near(to))) {
        continue;
      }
      dots.push_back(dot);
      moved.push_back(to);
    }
    ASSERT_GE(dots.size(), 20u);
    const Bitmap caricature =
        PaintCaricature(DottedPicture(dots, size), own, target, Renderer::kSmooth, quiet);
    double worst = 0;
    for (std::size_t i = 0; i < dots.size(); ++i)
      worst = std::max(worst, Gap(DotCentre(caricature, moved[i]), moved[i]));
    EXPECT_LT(worst, 0.15) << amount << ", dots moved up to 5 pixels";
  }
}

TEST(AverageFaces, ReadsEachPictureOnceAPassAndSkipsPicturesWithoutAFace) {
  std::vector<std::optional<FacePoints>> faces;
  std::vector<std::size_t> reads;
  for (unsigned k = 0; k < 3; ++k) faces.push_back(Moved(GridFace(3, k), Turned(5.0 * k, 1, 0, 0)));
  faces[1].reset();
  const auto read = [&](std::size_t i) -> Result<Bitmap> {
    reads.push_back(i);
    return Bitmap(240, 220, MakeColor(30 * int(i), 90, 200));
  };
  const auto face = [&](const Bitmap&, std::size_t i) -> Result<FacePoints> {
    if (faces[i]) return *faces[i];
    return Failure{std::string("No face found in p") + std::to_string(i)};
  };
  RunProtocol quiet;
  const AverageOptions options{.size = {120, 160}, .skip_failed = true};
  const FacePictures source{{"p0", "p1", "p2"}, read, face};
  const Result<FaceAverage> average = AverageFaces(source, options, quiet);
  ASSERT_TRUE(average) << average.Message();
  EXPECT_EQ(reads, (std::vector<std::size_t>{0, 1, 2, 0, 2}));
  EXPECT_EQ(average.Value().shapes.used, (std::vector<std::size_t>{0, 2}));
  ASSERT_EQ(average.Value().shapes.skipped.size(), 1u);
  EXPECT_EQ(average.Value().shapes.skipped[0].reason, "No face found in p1");
  EXPECT_EQ(average.Value().picture.Pixel(60, 80), MakeColor(30, 90, 200));  // (0 + 60) / 2
  faces = {std::nullopt, std::nullopt, std::nullopt};
  EXPECT_EQ(FindFaceShapes(source, options, quiet).Message(),
            "None of the 3 pictures has a face to average");
  EXPECT_EQ(FindFaceShapes({}, options, quiet).Message(), "There are no pictures to average");
}

}  // namespace
}  // namespace vesk
