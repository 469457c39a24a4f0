// The Smooth renderer held exactly to a slow, plain reference of its rule
// (in the renderer's stated fixed point) over a table of meshes, its paint counts, and a run that uses it.
#include "core/generate/smooth_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "core/generate/morph.h"
#include "core/image/bilinear_span.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

using Triangles = std::vector<TrianglePositions>;
using testing::Grid;
struct Xy {
  long double x, y;
};

long double Cross(Xy a, Xy b, Xy p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

// A node's in-between position, kept to 1/256 pixel.
Xy Between(Point s, Point d, double shape) {
  const auto at = [&](int a, int b) { return std::llround((a + (double(b) - a) * shape) * 256) / 256.0L; };
  return {at(s.x, d.x), at(s.y, d.y)};
}

// The renderer's fixed point, stated: a sample position is kept to the
// nearest 1/1024 pixel (halves up) within the picture, so its bilinear
// weights have 10 bits and a sample of one channel is an integer in 2^-20.
// The distortion rounds the sample to the nearest value (halves up); the
// morph keeps each sample to 1/1024 (dropping the rest), weighs the second
// with the colour position in 1/4096 and rounds the blend (halves up). A
// pixel outside every triangle samples both pictures at itself by the same
// rule, which is the cross-fade of the two pixels, rounded.
struct Position {
  long long x, y;  // in 1/1024 pixel
};

Position Fixed(const Bitmap& b, long double x, long double y) {
  const auto at = [](long double v, int size) {
    return std::clamp<long long>(std::floor(v * 1024 + 0.5L), 0, (size - 1) * 1024LL);
  };
  return {at(x, b.Width()), at(y, b.Height())};
}

long long Sample(const Bitmap& b, Position at, int shift) {
  const int x0 = int(at.x / 1024), y0 = int(at.y / 1024);
  const int fx = int(at.x % 1024), fy = int(at.y % 1024);
  const int x1 = std::min(x0 + 1, b.Width() - 1), y1 = std::min(y0 + 1, b.Height() - 1);
  const auto v = [&](int px, int py) { return (long long)(b.Pixel(px, py) >> shift & 0xFF); };
  return (1024 - fy) * ((1024 - fx) * v(x0, y0) + fx * v(x1, y0)) +
         fy * ((1024 - fx) * v(x0, y1) + fx * v(x1, y1));
}

// The frame pixel by pixel: barycentric coordinates in the last triangle
// holding the centre (top-left rule on its edges), else the pixel itself.
// `count` gets the number of triangles holding each pixel.
Bitmap Reference(const SmoothFrame& f, int width, int height, std::vector<int>& count) {
  const bool morph = f.kind == PieceKind::kMorph;
  const Bitmap& second = morph ? *f.second : *f.first;
  const long long w = std::lround(f.colour * 4096);
  Bitmap out(width, height);
  count.assign(std::size_t(width) * height, 0);
  for (int n = 0; n < width * height; ++n) {
    const int x = n % width, y = n / width;
    long double x1 = x, y1 = y, x2 = x, y2 = y;  // where the two pictures are sampled
    for (const TrianglePositions& tri : f.triangles) {
      const Point s[3] = {tri.first.p0, tri.first.p1, tri.first.p2};
      const Point d[3] = {tri.second.p0, tri.second.p1, tri.second.p2};
      Xy g[3];
      for (int i = 0; i < 3; ++i) g[i] = Between(s[i], d[i], f.shape);
      const long double area = Cross(g[0], g[1], g[2]);
      if (area == 0) continue;
      const int turn = area > 0 ? 1 : -1;
      const Xy p{x * 1.0L, y * 1.0L};
      bool inside = true;
      long double l[3];
      for (int i = 0; i < 3; ++i) {  // the edge opposite corner i
        const Xy a = g[(i + 1) % 3], b = g[(i + 2) % 3];
        const long double e = turn * Cross(a, b, p), dy = turn * (b.y - a.y);
        inside = inside && (e > 0 || (e == 0 && (dy < 0 || (dy == 0 && turn * (b.x - a.x) > 0))));
        l[i] = e * turn / area;
      }
      if (!inside) continue;
      ++count[n];
      const auto map = [&](const Point(&p)[3], int Point::*axis) {
        return l[0] * (p[0].*axis) + l[1] * (p[1].*axis) + l[2] * (p[2].*axis);
      };
      x1 = map(s, &Point::x), y1 = map(s, &Point::y), x2 = map(d, &Point::x);
      y2 = map(d, &Point::y);
    }
    Color c = 0;
    for (int sh : {0, 8, 16}) {
      const long long a = Sample(*f.first, Fixed(*f.first, x1, y1), sh);
      const long long b = Sample(second, Fixed(second, x2, y2), sh);
      const long long v = morph ? ((4096 - w) * (a >> 10) + w * (b >> 10) + (1 << 21)) >> 22
                                : (a + (1 << 19)) >> 20;
      c |= Color(v) << sh;
    }
    out.SetPixel(x, y, c);
  }
  return out;
}

// Inner nodes moved, border nodes kept.
std::function<Point(Point)> Inner(int width, int height, std::function<Point(Point)> move) {
  return [=](Point p) {
    return p.x == 0 || p.y == 0 || p.x == width - 1 || p.y == height - 1 ? p : move(p);
  };
}

TEST(SmoothFrame, MatchesThePlainReferenceAndPaintsEachPixelOfAMeshOnce) {
  constexpr PieceKind kM = PieceKind::kMorph, kD = PieceKind::kDistortion;
  const auto zoom = [](double f) {  // about the centre of 64 x 48
    return Inner(64, 48, [=](Point p) {
      return Point{int(std::lround(32 + (p.x - 32) * f)), int(std::lround(24 + (p.y - 24) * f))};
    });
  };
  const auto jitter = [](Point p) {  // by up to 8 pixels
    return Point{p.x + (p.x * 7 + p.y * 3) % 17 - 8, p.y + (p.x * 5 + p.y * 11) % 17 - 8};
  };
  const Point far{3000000, 24};  // beyond 64-bit edge sums
  struct Row {
    const char* name; PieceKind kind; int w1, h1, w2, h2; Triangles mesh; double shape, colour;
    bool folds, covers_picture;
  } rows[] = {
      {"zoom in", kM, 64, 48, 64, 48, Grid(64, 48, 5, 4, zoom(1.25)), 0.5, 0.5, false, true},
      {"zoom out", kD, 64, 48, 64, 48, Grid(64, 48, 5, 4, zoom(0.8)), 1, 0, false, true},
      {"shear, pictures of two sizes", kM, 64, 48, 40, 56,
       Grid(64, 48, 4, 4, [](Point p) { return Point{p.x + p.y / 3, p.y}; }), 0.7, 0.3, false, false},
      {"fold-over", kM, 48, 48, 48, 48,
       Grid(48, 48, 3, 3, [](Point p) { return p == Point{23, 23} ? Point{60, 30} : p; }), 0.9, 0.6,
       true, false},
      {"one-pixel triangles", kD, 12, 10, 12, 10,
       Grid(12, 10, 12, 10, [](Point p) { return Point{p.x + (p.x < 11) * p.x * p.y % 2, p.y}; }), 0.5, 0, false,
       true},
      {"nodes at the edges, smaller second picture", kM, 160, 130, 90, 70,
       Grid(160, 130, 6, 5, Inner(160, 130, jitter)), 0.6, 0.4, false, true},
      {"nodes far outside", kD, 64, 48, 64, 48,
       {{{{0, 0}, far, {0, 47}}, {{0, 0}, far, {0, 47}}},
        {{{0, 47}, far, {far.x, 80}}, {{0, 47}, far, {far.x, 30}}}},
       0.5, 0, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const Bitmap first = testing_support::RandomImage(r.w1, r.h1, 1);
    const Bitmap second = testing_support::RandomImage(r.w2, r.h2, 2);
    SmoothFrame f{r.kind, &first, &second, r.mesh, r.shape, r.colour, 1};
    std::vector<int> ref_count;
    const Bitmap expected = Reference(f, r.w1, r.h1, ref_count);
    RunProtocol quiet;
    Bitmap vesk(r.w1, r.h1, kBlack);
    EXPECT_EQ(PaintSmoothFrame(f, vesk, quiet), int(r.mesh.size()));
    for (int p = 0; p < r.w1 * r.h1; ++p) {  // rows follow each other
      ASSERT_EQ(vesk.Row(0)[p], expected.Row(0)[p]) << p % r.w1 << "," << p / r.w1;
    }
    f.painting_threads = 3;
    Bitmap threaded(r.w1, r.h1);
    PaintSmoothFrame(f, threaded, quiet);
    EXPECT_EQ(threaded, vesk);
    if (r.kind == kD) {  // the same as a warp to corners between pixels, outside left alone
      std::vector<WarpTriangle> warp;
      for (const TrianglePositions& t : r.mesh) {
        const auto on = [](Point p) { return PicturePoint{double(p.x), double(p.y)}; };
        const auto at = [&](Point s, Point d) {
          const Xy g = Between(s, d, r.shape);
          return PicturePoint{double(g.x), double(g.y)};
        };
        warp.push_back({{on(t.first.p0), on(t.first.p1), on(t.first.p2)},
                        {at(t.first.p0, t.second.p0), at(t.first.p1, t.second.p1),
                         at(t.first.p2, t.second.p2)}});
      }
      Bitmap warped(r.w1, r.h1, kInvalidColor);
      EXPECT_EQ(PaintSmoothWarp(first, warp, warped, quiet), int(r.mesh.size()));
      for (int p = 0; p < r.w1 * r.h1; ++p) {
        ASSERT_EQ(warped.Row(0)[p], ref_count[p] ? vesk.Row(0)[p] : kInvalidColor) << p;
      }
    }
    // Each triangle alone over a mark that no colour has shows what it paints.
    std::vector<int> count(ref_count.size(), 0);
    f.cross_fade_outside = false;
    for (std::size_t k = 0; k < r.mesh.size(); ++k) {
      f.triangles = std::span(r.mesh).subspan(k, 1);
      Bitmap marked(r.w1, r.h1, kInvalidColor);
      PaintSmoothFrame(f, marked, quiet);
      for (std::size_t p = 0; p < count.size(); ++p) count[p] += marked.Row(0)[p] != kInvalidColor;
    }
    EXPECT_EQ(count, ref_count);
    EXPECT_EQ(std::ranges::max(count) > 1, r.folds);
    // A mesh over the whole picture leaves out only the right and bottom edge.
    for (int p = 0; r.covers_picture && p < r.w1 * r.h1; ++p) {
      const int x = p % r.w1, y = p / r.w1;
      ASSERT_EQ(count[p], x < r.w1 - 1 && y < r.h1 - 1) << x << "," << y;
    }
  }
}

// A run paints frame t at t / N; a cancel leaves the triangles before it.
TEST(SmoothFrame, RunPaintsFrameTAtTOverNAndStopsAtACancel) {
  const Bitmap first = testing_support::RandomImage(40, 30, 3);
  const Bitmap second = testing_support::RandomImage(30, 40, 4);
  const Triangles mesh = Grid(40, 30, 3, 3, [](Point p) { return p == Point{19, 14} ? Point{26, 20} : p; });
  const auto at = [&](double position, std::size_t count) {
    Bitmap frame(40, 30);
    RunProtocol quiet;
    PaintSmoothFrame({PieceKind::kMorph, &first, &second, std::span(mesh).first(count), position,
                      position, 1},
                     frame, quiet);
    return frame;
  };
  testing_support::RecordingRun run;
  run.cancel_frame = 2;
  run.cancel_inner = 3;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first, second, mesh, {3, 1, false, 1, Renderer::kSmooth}, vesk, run));
  EXPECT_EQ(run.written, (std::vector<Bitmap>{first, at(1.0 / 3, 8)}));
  EXPECT_EQ(run.shown[run.shown.size() - 2], at(2.0 / 3, 3));
  EXPECT_EQ(run.Only("Inner").size(), 8u + 3u);
  EXPECT_EQ(run.messages, 8 + 3);
  const Bitmap none;  // a missing second picture reads white
  Bitmap white(40, 30);
  RunProtocol quiet;
  PaintSmoothFrame({PieceKind::kMorph, &first, &none, mesh, 0.5, 1}, white, quiet);
  EXPECT_EQ(white, Bitmap(40, 30, kWhite));
}

// Runs reaching outside pictures of 1 pixel and more, both weights' ends.
TEST(SmoothSpan, PlainLoopGivesTheFastLoopsColours) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    const auto sample = [&](const Bitmap& p) {
      const auto axis = [&](int size) {
        return AxisOf(int(rng() % 1000) / 20.0 - 5, (int(rng() % 400) - 200) / 100.0, size);
      };
      return SpanSample{{p.Row(0), p.Width(), p.Height()}, axis(p.Width()), axis(p.Height())};
    };
    const Bitmap a = testing_support::RandomImage(1 + rng() % 40, 1 + rng() % 30, rng());
    const Bitmap b = testing_support::RandomImage(1 + rng() % 40, 1 + rng() % 30, rng());
    const SpanSample first = sample(a), second = sample(b);
    const int count = 1 + int(rng() % 37), weight = std::vector{0, 4096, int(rng() % 4097)}[round % 3];
    std::vector<Color> fast(count), plain(count);
    ColourSpan(fast.data(), count, first, round % 2 ? &second : nullptr, weight);
    ColourSpanPlain(plain.data(), count, first, round % 2 ? &second : nullptr, weight);
    ASSERT_EQ(fast, plain) << round;
  }
}

}  // namespace
}  // namespace vesk
