// Averages and caricatures of real portraits, faces found as the tool finds
// them: copies of one portrait made with known turns and bends average back
// to it, two portraits average to their middle morph frame, and the
// commands' files, messages and memory.
#include <QImage>
#include <sys/resource.h>
#include <sys/wait.h>

#include <numbers>

#include "core/faces/average_faces.h"
#include "core/faces/colour_sum.h"
#include "core/faces/face_warp.h"
#include "core/faces/mean_shape.h"
#include "core/faces/mean_shape_file.h"
#include "core/generate/smooth_frame.h"
#include "match/face_points_finder.h"
#include "qtimage/image_convert.h"
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

// One channel of `picture` at (x, y), bilinear, edge pixels repeated.
Color SampleAt(const Bitmap& picture, PicturePoint p) {
  const double x = std::clamp(p.x, 0.0, picture.Width() - 1.0);
  const double y = std::clamp(p.y, 0.0, picture.Height() - 1.0);
  const int x0 = int(x), y0 = int(y);
  const int x1 = std::min(x0 + 1, picture.Width() - 1), y1 = std::min(y0 + 1, picture.Height() - 1);
  Color c = 0;
  for (int s = 0; s < 24; s += 8) {
    const auto v = [&](int px, int py) { return double(picture.Pixel(px, py) >> s & 255); };
    const double top = v(x0, y0) + (x - x0) * (v(x1, y0) - v(x0, y0));
    const double bottom = v(x0, y1) + (x - x0) * (v(x1, y1) - v(x0, y1));
    c |= Color(std::lround(top + (y - y0) * (bottom - top))) << s;
  }
  return c;
}

// Pixels inside the convex hull of the 68 landmarks: the face.
std::function<bool(int, int)> InsideFace(const FacePoints& face) {
  std::vector<PicturePoint> p(face.begin(), face.begin() + kFaceLandmarkCount), hull;
  std::sort(p.begin(), p.end(), [](auto a, auto b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  const auto turn = [](PicturePoint o, PicturePoint a, PicturePoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
  };
  for (int pass = 0; pass < 2; ++pass, std::reverse(p.begin(), p.end())) {
    const std::size_t start = hull.size();
    for (PicturePoint q : p) {
      while (hull.size() >= start + 2 && turn(hull[hull.size() - 2], hull.back(), q) <= 0) hull.pop_back();
      hull.push_back(q);
    }
    hull.pop_back();
  }
  return [hull, turn](int x, int y) {
    for (std::size_t i = 0; i < hull.size(); ++i) {
      if (turn(hull[i], hull[(i + 1) % hull.size()], {double(x), double(y)}) < 0) return false;
    }
    return true;
  };
}

FacePictures InMemory(const std::vector<Bitmap>& pictures,
                      std::function<Result<FacePoints>(std::size_t)> face) {
  FacePictures source;
  for (std::size_t i = 0; i < pictures.size(); ++i) source.names.push_back(std::to_string(i));
  source.read = [&pictures](std::size_t i) { return Result<Bitmap>(pictures[i]); };
  source.find_face = [face](const Bitmap&, std::size_t i) { return face(i); };
  return source;
}

// The portrait's points: the mean of the points found on it and on three
// turned and scaled views of it, mapped back (points found once are off by
// about 2 % of the eye distance).
FacePoints ConsensusPoints(const Bitmap& portrait) {
  FacePoints sum{};
  const Similarity views[] = {{1, 0, 0, 0}, {0.9, 0.08, 20, 0}, {1.1, -0.1, -10, 30}, {0.95, 0, 12, 12}};
  for (const Similarity& view : views) {
    const FacePoints found = FaceOf(WarpPicture(portrait, view, portrait.Width(), portrait.Height()));
    const Similarity back = *SimilarityOf(Apply(view, {0, 0}), Apply(view, {100, 0}), {0, 0}, {100, 0});
    for (std::size_t i = 0; i < kFacePointCount; ++i) {
      const PicturePoint p = Apply(back, found[i]);
      sum[i] = {sum[i].x + p.x / 4, sum[i].y + p.y / 4};
    }
  }
  return sum;
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
  const FacePoints truth = ConsensusPoints(portrait);
  struct Copy { double degrees, scale, tx, ty, sign, phase; };
  const Copy copies[] = {{8, 1.1, 30, -10, 1, 0.3}, {-6, 0.9, -20, 25, -1, 0.3},
                         {3, 1.2, 10, -40, 1, 2.1},  {-12, 0.95, 40, 30, -1, 2.1},
                         {15, 1.05, -30, 0, 1, 4.0}, {0, 0.85, 0, 20, -1, 4.0}};
  std::vector<Bitmap> pictures;
  std::vector<FacePoints> true_points, true_in_frame;
  for (const Copy& c : copies) {
    const double turn = c.degrees * std::numbers::pi / 180;
    const Similarity moved{c.scale * std::cos(turn), c.scale * std::sin(turn), c.tx, c.ty};
    const Similarity back = *SimilarityOf(Apply(moved, {0, 0}), Apply(moved, {100, 0}), {0, 0}, {100, 0});
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
    points = FacePointsOf(std::span<const PicturePoint, kFaceLandmarkCount>(points.data(), kFaceLandmarkCount));
    true_points.push_back(points);
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
  EXPECT_LE(mean, 1.5) << "worst " << worst;

  const Bitmap expected =
      WarpPicture(portrait, EyeFrameOf(truth, size)->to_frame, size.width, size.height);
  const auto face = InsideFace(true_mean);
  const double psnr = PsnrWhere(average.Value().picture, expected, face);
  // Lined up by the eyes alone, the bends blur the face.
  ColourSum by_eyes(size.width, size.height);
  for (std::size_t k = 0; k < pictures.size(); ++k) {
    const FacePoints& found = average.Value().shapes.faces[k];
    by_eyes.Add(WarpPicture(pictures[k], EyeFrameOf(found, size)->to_frame, size.width, size.height));
  }
  const double eyes_only = PsnrWhere(by_eyes.Mean(), expected, face);
  EXPECT_GE(psnr, 26);
  EXPECT_LE(eyes_only, 22);
  std::printf("copies: mean shape %.2f px off on average, %.2f at most; face %.1f dB, eyes alone %.1f dB\n",
              mean, worst, psnr, eyes_only);
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
  const Result<FaceAverage> average =
      AverageFaces(InMemory(pictures, [&](std::size_t i) { return points[i]; }), {.size = size}, quiet);
  ASSERT_TRUE(average) << average.Message();
  std::vector<TrianglePositions> face_mesh;
  const auto whole = [](PicturePoint p) { return Point{int(p.x), int(p.y)}; };
  for (const auto& [a, b, c] : FaceWarpTo(average.Value().shapes.mean, size).triangles) {
    if (std::max({a, b, c}) >= kFacePointCount) continue;
    face_mesh.push_back({{whole(points[0][a]), whole(points[0][b]), whole(points[0][c])},
                         {whole(points[1][a]), whole(points[1][b]), whole(points[1][c])}});
  }
  SmoothFrame middle{PieceKind::kMorph, &pictures[0], &pictures[1], face_mesh, 0.5, 0.5};
  middle.cross_fade_outside = false;
  Bitmap frame(size.width, size.height, kInvalidColor);
  PaintSmoothFrame(middle, frame, quiet);
  const double psnr = PsnrWhere(average.Value().picture, frame,
                                [&](int x, int y) { return frame.Pixel(x, y) != kInvalidColor; });
  EXPECT_GE(psnr, 40);
  std::printf("two portraits: %.1f dB against the middle morph frame in the face\n", psnr);
}

using AverageCommand = BatchTest;

TEST_F(AverageCommand, NamesAPictureWithoutAFaceAndWritesNothingUnlessTold) {
  const std::string hopper = kExamples + "/grace_hopper.jpg", astronaut = kExamples + "/astronaut.png";
  const std::string drawing = kExamples + "/first.bmp";
  const std::string pictures = hopper + " " + drawing + " " + astronaut;
  EXPECT_EQ(Run("average " + pictures + " --out out/a.png --points out/a.pts"), 1);
  EXPECT_EQ(err_, "vesk-batch: No face found in " + drawing + "\n");
  EXPECT_EQ(Files("out"), std::set<std::string>{});
  ASSERT_EQ(Run("average " + pictures + " --out out/a.png --points out/a.pts --skip-failed "
                "--size 300 400"), 0) << err_;
  EXPECT_EQ(err_, "vesk-batch: skipped " + drawing + ": No face found in " + drawing + "\n");
  EXPECT_EQ(out_, "average: 2 faces averaged into out/a.png (300 x 400), 1 skipped\n");
  const QImage written(QString::fromStdString(PathOf("out/a.png")));
  EXPECT_EQ(written.size(), QSize(300, 400));
  ASSERT_TRUE(ReadMeanShapeFile(PathOf("out/a.pts")));
  Save("hopper.bmp", Portrait("grace_hopper.jpg"));
  EXPECT_EQ(Run("caricature hopper.bmp --average " + hopper + " " + drawing +
                " --amount 2 --out out/d.bmp"), 1);
  EXPECT_EQ(err_, "vesk-batch: No face found in " + drawing + "\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("out/d.bmp")));
}

TEST_F(AverageCommand, RefusesWrongUsageBeforeReadingAnything) {
  struct Row { std::string args, problem; };
  const Row rows[] = {
      {"average a.jpg", "option --out is missing"},
      {"average a.jpg --out a.jpg", "--out must end in .png or .bmp"},
      {"average a.jpg --out a.png --size 15 400", "--size must be a whole number from 16 to 8192, not \"15\""},
      {"average a.jpg --out a.png --render fast", "--render must be classic or smooth, not \"fast\""},
      {"caricature a.jpg --average b.jpg --out c.png", "option --amount is missing"},
      {"caricature a.jpg --average b.jpg --amount 1,5 --out c.png",
       "--amount must be a number from -2 to 5, not \"1,5\""},
      {"caricature a.jpg --average b.jpg --amount 6 --out c.png",
       "--amount must be a number from -2 to 5, not \"6\""},
      {"caricature a.jpg --amount 2 --out c.png", "give either --average or --average-points"},
      {"caricature a.jpg --average b.pts c.jpg --amount 2 --out c.png",
       "a mean shape file comes alone: b.pts"},
      {"caricature a.jpg --average b.jpg --amount 2 --out c.png --frames 5",
       "--frames needs a video --out (.mp4, .webm or .gif)"},
      {"caricature a.jpg --average b.jpg --amount 2 --out c.avi",
       "--out must end in .png, .bmp, .mp4, .webm or .gif"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Run(row.args), 2) << row.args;
    EXPECT_NE(err_.find(row.problem + " (usage: vesk-batch "), std::string::npos) << err_;
  }
}

TEST_F(AverageCommand, CaricatureVideoGoesFromThePortraitToTheAmountOfASavedShape) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  // The astronaut's face as a saved mean shape.
  const FacePoints astronaut = FaceOf(Portrait("astronaut.png"));
  ASSERT_TRUE(WriteMeanShapeFile(PathOf("a.pts"),
                                 Moved(astronaut, EyeFrameOf(astronaut, kDefaultAverageSize)->to_frame)));
  Save("hopper.bmp", Portrait("grace_hopper.jpg"));
  ASSERT_EQ(Run("caricature hopper.bmp --average a.pts --amount 2.5 --frames 3 --out out/c.webm "
                "--lossless"), 0) << err_;
  const std::string decoded =
      Shell("ffmpeg -v error -i '" + PathOf("out/c.webm") + "' -f rawvideo -pix_fmt rgb24 -");
  constexpr std::size_t kFrame = 512 * 600 * 3;
  ASSERT_EQ(decoded.size(), 3 * kFrame);
  ASSERT_EQ(Run("caricature hopper.bmp --average-points a.pts --amount 2.5 --out out/last.bmp"), 0)
      << err_;
  // Amount 1 gives the portrait back; the last frame is the picture of the amount.
  EXPECT_GE(testing_support::Psnr(decoded, 0, 512, Load("hopper.bmp")), 45);
  EXPECT_LT(testing_support::Psnr(decoded, kFrame, 512, Load("hopper.bmp")), 40);
  EXPECT_EQ(testing_support::Psnr(decoded, 2 * kFrame, 512, Load("out/last.bmp")), 99);
}

// The peak memory of averaging 3 and 12 copies of a 1600 x 1200 portrait
// (7.7 MB a picture) differs by less than one picture.
TEST_F(AverageCommand, HoldsOnePictureAtATime) {
  const Bitmap portrait = Portrait("grace_hopper.jpg");
  Save("big.bmp", WarpPicture(portrait, FitInside(512, 600, 1600, 1200), 1600, 1200));
  const auto peak_kib = [&](int count) {
    std::vector<std::string> words = {VESK_BATCH_EXE, "average"};
    for (int i = 0; i < count; ++i) words.push_back(PathOf("big.bmp"));
    for (const char* w : {"--out", "a.bmp"}) words.push_back(w);
    words.back() = PathOf("a.bmp");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      freopen("/dev/null", "w", stdout);
      execv(argv[0], argv.data());
      _exit(98);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return usage.ru_maxrss;
  };
  const long few = peak_kib(3), many = peak_kib(12);
  EXPECT_LT(many - few, 1600 * 1200 * 4 / 1024) << few << " KiB, " << many << " KiB";
  std::printf("peak memory: 3 pictures %ld KiB, 12 pictures %ld KiB\n", few, many);
}

}  // namespace
}  // namespace vesk::testing
