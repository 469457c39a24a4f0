// Averages and caricatures of real portraits, faces found as the tool finds them: copies made
// with known warps, two portraits against their middle morph frame, the commands' files.

#include <QImage>
#include <numbers>

#include "core/faces/average_faces.h"
#include "core/faces/colour_sum.h"
#include "core/faces/face_warp.h"
#include "core/faces/mean_shape.h"
#include "core/faces/mean_shape_file.h"
#include "core/generate/smooth_frame.h"
#include "core/image/bilinear_span.h"
#include "match/face_points_finder.h"
#include "pictures/image_convert.h"
#include "tests/batch/batch_test_support.h"
#include "tests/core/support/picture_psnr.h"

namespace vesk::testing {
namespace {

using testing_support::PsnrWhere;

Bitmap Portrait(const char* name) {
  return FromQImage(QImage(QString::fromStdString(kExamples + "/" + name)));
}

FacePoints FaceOf(const Bitmap& picture) {
  Result<FacePoints> face = FindFacePoints(picture, {});
  EXPECT_TRUE(face) << face.Message();
  return face ? face.Value() : FacePoints{};
}

double Gap(PicturePoint p, PicturePoint q) { return std::hypot(p.x - q.x, p.y - q.y); }

// `picture` at p, bilinear, edge pixels repeated: the Smooth renderer's sampler.
Color SampleAt(const Bitmap& picture, PicturePoint p) {
  const SpanSource source{picture.Row(0), picture.Width(), picture.Height()};
  Color c;
  ColourSpanPlain(&c, 1, {source, AxisOf(p.x, 0, source.width), AxisOf(p.y, 0, source.height)},
                  nullptr, 0);
  return c;
}

// The face: the pixels inside the mesh's triangles between landmarks.
std::function<bool(int, int)> InsideFace(const FacePoints& face, ImageSize size) {
  std::vector<WarpTriangle> triangles;
  for (const auto& [a, b, c] : FaceWarpTo(face, size).triangles) {
    if (std::max({a, b, c}) < kFaceLandmarkCount)
      triangles.push_back({{}, {face[a], face[b], face[c]}});
  }
  auto mask = std::make_shared<Bitmap>(size.width, size.height, kInvalidColor);
  RunProtocol quiet;
  PaintSmoothWarp(Bitmap(1, 1, kBlack), triangles, *mask, quiet);
  return [mask](int x, int y) { return mask->Pixel(x, y) != kInvalidColor; };
}

FacePictures InMemory(const std::vector<Bitmap>& pictures,
                      std::function<Result<FacePoints>(std::size_t)> face) {
  return {std::vector<std::string>(pictures.size(), "a portrait"),
          [&pictures](std::size_t i) { return Result<Bitmap>(pictures[i]); },
          [face](const Bitmap&, std::size_t i) { return face(i); }};
}

// Six copies of the astronaut's portrait, each turned, scaled and shifted
// and bent: stretched 10 % across and squeezed 10 % down about the middle
// (or the other way) and waved by 5 pixels. The bends come in opposite
// pairs, so the true mean shape is that of the portrait's own points
// carried through each copy's known warp. The output frame has the copies'
// scale (eyes 85 pixels apart; they are 70 to 100 apart in the copies).
TEST(AverageOfCopies, ComesBackToThePortraitAndToItsShape) {
  const ImageSize size{340, 453};
  const Bitmap portrait = Portrait("astronaut.png");
  const FacePoints truth = FaceOf(portrait);
  struct Copy { double degrees, scale, tx, ty, sign, phase; };
  const Copy copies[] = {{8, 1.1, 30, -10, 1, 0.3},  {-6, 0.9, -20, 25, -1, 0.3},
                         {3, 1.2, 10, -40, 1, 2.1},  {-12, 0.95, 40, 30, -1, 2.1},
                         {15, 1.05, -30, 0, 1, 4.0}, {0, 0.85, 0, 20, -1, 4.0}};
  std::vector<Bitmap> pictures;
  std::vector<FacePoints> true_in_frame;
  for (const Copy& c : copies) {
    const double turn = c.degrees * std::numbers::pi / 180;
    const Similarity moved{c.scale * std::cos(turn), c.scale * std::sin(turn), c.tx, c.ty};
    const Similarity back =
        *SimilarityOf(Apply(moved, {0, 0}), Apply(moved, {100, 0}), {0, 0}, {100, 0});
    // Copy pixel x shows the portrait at u + bend(u), u = back(x).
    const auto bend = [&c](PicturePoint u) {
      return PicturePoint{c.sign * (0.1 * (u.x - 256) + 5 * std::sin(u.y / 135 + c.phase)),
                          c.sign * (-0.1 * (u.y - 256) + 5 * std::sin(u.x / 165 + c.phase))};
    };
    Bitmap copy(560, 640);
    for (int y = 0; y < copy.Height(); ++y) {
      for (int x = 0; x < copy.Width(); ++x) {
        const PicturePoint u = Apply(back, {double(x), double(y)}), d = bend(u);
        copy.SetPixel(x, y, SampleAt(portrait, {u.x + d.x, u.y + d.y}));
      }
    }
    FacePoints points;
    for (std::size_t i = 0; i < kFaceLandmarkCount; ++i) {
      PicturePoint u = truth[i];  // u + bend(u) = the portrait's point
      for (int step = 0; step < 100; ++step) u = {truth[i].x - bend(u).x, truth[i].y - bend(u).y};
      points[i] = Apply(moved, u);
    }
    points = FacePointsOf(
        std::span<const PicturePoint, kFaceLandmarkCount>(points.data(), kFaceLandmarkCount));
    true_in_frame.push_back(Moved(points, EyeFrameOf(points, size)->to_frame));
    pictures.push_back(std::move(copy));
  }
  RunProtocol quiet;
  const Result<FaceAverage> average = AverageFaces(
      InMemory(pictures, [&](std::size_t i) { return FindFacePoints(pictures[i], {}); }),
      {.size = size}, quiet);
  ASSERT_TRUE(average) << average.Message();
  const FacePoints true_mean = MeanShape(true_in_frame);
  double worst = 0, mean = 0;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    const double gap = Gap(average.Value().shapes.mean[i], true_mean[i]);
    worst = std::max(worst, gap), mean += gap / kFacePointCount;
  }
  EXPECT_LE(mean, 1.5) << "worst " << worst;  // measured: 0.97 and 1.98

  const Bitmap expected =
      WarpPicture(portrait, EyeFrameOf(truth, size)->to_frame, size.width, size.height);
  const auto face = InsideFace(true_mean, size);
  const double psnr = PsnrWhere(average.Value().picture, expected, face);
  // Lined up by the eyes alone, the bends blur the face.
  ColourSum by_eyes(size.width, size.height);
  for (std::size_t k = 0; k < pictures.size(); ++k) {
    const FacePoints& found = average.Value().shapes.faces[k];
    by_eyes.Add(
        WarpPicture(pictures[k], EyeFrameOf(found, size)->to_frame, size.width, size.height));
  }
  const double eyes_only = PsnrWhere(by_eyes.Mean(), expected, face);
  EXPECT_GE(psnr, 26);       // measured: 28.2 dB
  EXPECT_LE(eyes_only, 22);  // measured: 20.4 dB
}

// Two portraits brought into a 600 x 801 frame, where the eye places are
// whole or half pixels, with their points rounded and their eye centres put
// exactly there: the average is the pair's middle Smooth morph frame.
TEST(AverageOfTwo, IsThePairsMiddleMorphFrame) {
  const ImageSize size{600, 801};
  const EyePlaces places = EyePlacesOf(size);
  std::vector<Bitmap> pictures;
  std::vector<FacePoints> points;
  for (const char* name : {"grace_hopper.jpg", "astronaut.png"}) {
    const Bitmap portrait = Portrait(name);
    const FacePoints found = FaceOf(portrait);
    const Similarity into = EyeFrameOf(found, size)->to_frame;
    pictures.push_back(WarpPicture(portrait, into, size.width, size.height));
    FacePoints whole = Moved(found, into);
    for (PicturePoint& p : whole) p = {std::round(p.x), std::round(p.y)};
    for (auto [from, place] : {std::pair{36, places.left}, std::pair{42, places.right}}) {
      PicturePoint sum{};
      for (int i = from; i < from + 6; ++i) sum = {sum.x + whole[i].x, sum.y + whole[i].y};
      whole[from] = {whole[from].x + 6 * place.x - sum.x, whole[from].y + 6 * place.y - sum.y};
    }
    points.push_back(whole);
  }
  RunProtocol quiet;
  const Result<FaceAverage> average = AverageFaces(
      InMemory(pictures, [&](std::size_t i) { return points[i]; }), {.size = size}, quiet);
  ASSERT_TRUE(average) << average.Message();
  std::vector<TrianglePositions> mesh;
  const auto whole = [](PicturePoint p) { return Point{int(p.x), int(p.y)}; };
  for (const auto& [a, b, c] : FaceWarpTo(average.Value().shapes.mean, size).triangles) {
    if (std::max({a, b, c}) >= kFacePointCount) continue;  // the border lies between pixels
    mesh.push_back({{whole(points[0][a]), whole(points[0][b]), whole(points[0][c])},
                    {whole(points[1][a]), whole(points[1][b]), whole(points[1][c])}});
  }
  Bitmap middle(size.width, size.height);
  PaintSmoothFrame({PieceKind::kMorph, &pictures[0], &pictures[1], mesh, 0.5, 0.5}, middle, quiet);
  // Measured: 54.1 dB.
  EXPECT_GE(
      PsnrWhere(average.Value().picture, middle, InsideFace(average.Value().shapes.mean, size)),
      40);
}

using AverageCommand = BatchTest;

// A picture without a face ends the average, named, before anything is
// written, or is named and skipped; the mean shape then drives a caricature
// video from the portrait (amount 1) to the amount's picture.
TEST_F(AverageCommand, NamesAPictureWithoutAFaceAndCaricaturesFromTheSavedShape) {
  const std::string hopper = kExamples + "/grace_hopper.jpg", drawing = kExamples + "/first.bmp";
  const std::string average = "average " + hopper + " " + drawing + " " + kExamples +
                              "/astronaut.png --out out/a.png --points out/a.pts";
  EXPECT_EQ(Run(average), 1);
  EXPECT_EQ(err_, "vesk-batch: No face found in " + drawing + "\n");
  EXPECT_EQ(Files("out"), std::set<std::string>{});
  ASSERT_EQ(Run(average + " --skip-failed --size 300 400"), 0) << err_;
  EXPECT_EQ(err_, "vesk-batch: skipped " + drawing + ": No face found in " + drawing + "\n");
  EXPECT_EQ(out_, "average: 2 faces averaged into out/a.png (300 x 400), 1 skipped\n");
  EXPECT_EQ(QImage(QString::fromStdString(PathOf("out/a.png"))).size(), QSize(300, 400));
  Save("hopper.bmp", Portrait("grace_hopper.jpg"));
  EXPECT_EQ(Run("caricature hopper.bmp --average " + hopper + " " + drawing +
                " --amount 2 --out out/d.bmp"), 1);
  EXPECT_EQ(err_, "vesk-batch: No face found in " + drawing + "\n");
  ASSERT_EQ(Run("caricature hopper.bmp --average-points out/a.pts --amount 3 --out out/c.bmp"), 0);
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  ASSERT_EQ(Run("caricature hopper.bmp --average out/a.pts --amount 3 --frames 3 --out out/c.webm "
                "--lossless"), 0) << err_;
  const std::string decoded =
      Shell("ffmpeg -v error -i '" + PathOf("out/c.webm") + "' -f rawvideo -pix_fmt rgb24 -");
  constexpr std::size_t kFrame = 512 * 600 * 3;
  ASSERT_EQ(decoded.size(), 3 * kFrame);
  EXPECT_GE(testing_support::Psnr(decoded, 0, 512, Load("hopper.bmp")), 45);
  EXPECT_LT(testing_support::Psnr(decoded, kFrame, 512, Load("hopper.bmp")), 40);
  EXPECT_EQ(testing_support::Psnr(decoded, 2 * kFrame, 512, Load("out/c.bmp")), 99);
}

TEST_F(AverageCommand, RefusesWrongUsageBeforeReadingAnything) {
  const std::pair<std::string, std::string> rows[] = {
      {"average a --out a.jpg", "--out must end in .png or .bmp"},
      {"caricature a --average b --out c.png", "option --amount is missing"},
      {"caricature a --average b --amount 1,5 --out c.png", "--amount must be a number from -2"},
      {"caricature a --amount 2 --out c.png", "give either --average or --average-points"},
      {"caricature a --average b.pts c --amount 2 --out c.png", "a mean shape file comes alone"},
      {"caricature a --average b --amount 2 --out c.png --frames 5", "--frames needs a video"},
      {"caricature a --average b --amount 2 --out c.avi", "--out must end in .png, .bmp, .mp4, "},
  };
  for (const auto& [args, problem] : rows) {
    EXPECT_EQ(Run(args), 2) << args;
    EXPECT_EQ(err_.find("vesk-batch: " + problem), 0u) << err_;
  }
}

}  // namespace
}  // namespace vesk::testing
