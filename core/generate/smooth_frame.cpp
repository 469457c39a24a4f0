#include "core/generate/smooth_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/generate/band_painting.h"
#include "core/image/bilinear_span.h"

namespace vesk {
namespace {

__extension__ typedef __int128 Int128;

// Node positions are kept in 1/256 pixel: exact integers, so triangles that
// share an edge see the very same edge and the fill rule gives each pixel
// on it to one of them.
constexpr int kSubBits = 8;
constexpr std::int64_t kSub = std::int64_t{1} << kSubBits;
// Corners within 2^21 pixels of the origin keep every edge sum within 64
// bits; others (far outside any picture) take 128-bit sums.
constexpr std::int64_t kNarrowLimit = std::int64_t{1} << (21 + kSubBits);
// The morph's colour weight is in 1/4096.
constexpr int kBlendBits = 12;
constexpr int kBlendOne = 1 << kBlendBits;
static_assert(kBlendOne == kSpanBlendOne);

SpanSource SourceOf(const Bitmap* picture) {
  // A missing or empty picture reads white, as an outside sample does in
  // the classic morph.
  static const Color kWhitePixel = kWhite;
  if (picture == nullptr || picture->Empty()) return SpanSource{&kWhitePixel, 1, 1};
  return SpanSource{picture->Row(0), picture->Width(), picture->Height()};
}

// One coordinate in a picture as an affine function of the frame's pixel.
struct Affine {
  double at0 = 0;  // at pixel (0, 0)
  double dx = 0;   // per pixel to the right
  double dy = 0;   // per pixel down
  double At(double x, double y) const { return at0 + dx * x + dy * y; }
};

struct Fixed {
  std::int64_t x;
  std::int64_t y;
};

// An in-between triangle ready to paint: corners in 1/256 pixel turned so
// that cross(g1 - g0, g2 - g0) > 0, and the maps to both pictures.
struct SmoothTriangle {
  bool empty = true;
  bool wide = false;
  Fixed g[3] = {};
  Affine first_x, first_y, second_x, second_y;
};

// The map that takes the in-between corners (pixel units) to the values v.
Affine MapOf(const double (&gx)[3], const double (&gy)[3], double area, double v0, double v1,
             double v2) {
  const double e1x = gx[1] - gx[0], e1y = gy[1] - gy[0];
  const double e2x = gx[2] - gx[0], e2y = gy[2] - gy[0];
  Affine map;
  map.dx = ((v1 - v0) * e2y - (v2 - v0) * e1y) / area;
  map.dy = ((v2 - v0) * e1x - (v1 - v0) * e2x) / area;
  map.at0 = v0 - map.dx * gx[0] - map.dy * gy[0];
  return map;
}

// The triangle painted at the corners `at`, reading the first picture at
// the corners `s` and the second at `d`.
SmoothTriangle Prepare(const PicturePoint (&at)[3], const PicturePoint (&s)[3],
                       const PicturePoint (&d)[3]) {
  SmoothTriangle out;
  for (int i = 0; i < 3; ++i) {
    out.g[i] = Fixed{std::llround(at[i].x * kSub), std::llround(at[i].y * kSub)};
  }
  int order[3] = {0, 1, 2};
  const Fixed* g = out.g;
  const Int128 cross = Int128{g[1].x - g[0].x} * (g[2].y - g[0].y) -
                       Int128{g[1].y - g[0].y} * (g[2].x - g[0].x);
  if (cross == 0) return out;
  if (cross < 0) {
    std::swap(out.g[1], out.g[2]);
    std::swap(order[1], order[2]);
  }
  out.empty = false;
  double gx[3], gy[3];
  for (int i = 0; i < 3; ++i) {
    out.wide = out.wide || std::max(std::abs(g[i].x), std::abs(g[i].y)) >= kNarrowLimit;
    gx[i] = static_cast<double>(g[i].x) / kSub;
    gy[i] = static_cast<double>(g[i].y) / kSub;
  }
  const double area = static_cast<double>(cross < 0 ? -cross : cross) / (kSub * kSub);
  const auto map = [&](const PicturePoint (&p)[3], double PicturePoint::*axis) {
    return MapOf(gx, gy, area, p[order[0]].*axis, p[order[1]].*axis, p[order[2]].*axis);
  };
  out.first_x = map(s, &PicturePoint::x);
  out.first_y = map(s, &PicturePoint::y);
  out.second_x = map(d, &PicturePoint::x);
  out.second_y = map(d, &PicturePoint::y);
  return out;
}

SmoothTriangle Prepare(const TrianglePositions& tri, double shape) {
  const Point s[3] = {tri.first.p0, tri.first.p1, tri.first.p2};
  const Point d[3] = {tri.second.p0, tri.second.p1, tri.second.p2};
  PicturePoint at[3], first[3], second[3];
  for (int i = 0; i < 3; ++i) {
    first[i] = {static_cast<double>(s[i].x), static_cast<double>(s[i].y)};
    second[i] = {static_cast<double>(d[i].x), static_cast<double>(d[i].y)};
    at[i] = {first[i].x + (second[i].x - first[i].x) * shape,
             first[i].y + (second[i].y - first[i].y) * shape};
  }
  return Prepare(at, first, second);
}

template <class Wide>
Wide FloorDiv(Wide a, Wide b) {  // b > 0
  const Wide q = a / b;
  return a % b < 0 ? q - 1 : q;
}

// One edge a -> b of a triangle, row by row. Pixel (x, y) lies on the inner
// side when cross(b - a, P - a) > 0 for its centre P = (256 x, 256 y), or
// == 0 on a top or left edge. With B = b.y - a.y that is F(y) - 256 B x >= 0,
// F linear in y, so the pixels of a row form x <= F / 256B (B > 0), x >=
// F / 256B (B < 0) or all or none (B = 0). The quotient is stepped from row
// to row with its remainder, without dividing.
template <class Wide>
class EdgeWalk {
 public:
  EdgeWalk(Fixed a, Fixed b, std::int64_t row) : slope_(Wide{b.y} - a.y) {
    const Wide run = Wide{b.x} - a.x;
    const bool top_left = slope_ < 0 || (slope_ == 0 && run > 0);
    const Wide f = run * (Wide{row} * kSub - a.y) + slope_ * a.x - (top_left ? 0 : 1);
    const Wide step = run * kSub;
    if (slope_ == 0) {
      quotient_ = f;
      quotient_step_ = step;
      return;
    }
    divisor_ = (slope_ < 0 ? -slope_ : slope_) * kSub;
    quotient_ = FloorDiv(f, divisor_);
    remainder_ = f - quotient_ * divisor_;
    quotient_step_ = FloorDiv(step, divisor_);
    remainder_step_ = step - quotient_step_ * divisor_;
  }

  // Narrows the row's pixels lo .. hi to this edge's inner side, then moves
  // to the next row.
  void NarrowAndStep(Wide& lo, Wide& hi) {
    if (slope_ > 0) {
      hi = std::min(hi, quotient_);
    } else if (slope_ < 0) {
      lo = std::max(lo, -quotient_);
    } else if (quotient_ < 0) {
      hi = lo - 1;
    }
    quotient_ += quotient_step_;
    if (slope_ == 0) return;
    remainder_ += remainder_step_;
    if (remainder_ >= divisor_) {
      remainder_ -= divisor_;
      ++quotient_;
    }
  }

 private:
  Wide slope_;
  Wide divisor_ = 1;
  Wide quotient_ = 0;  // for a level edge, F itself
  Wide remainder_ = 0;
  Wide quotient_step_ = 0;
  Wide remainder_step_ = 0;
};

// Calls span(y, x_lo, x_hi) for every row y of first_row .. end_row - 1 that
// holds pixels of the triangle, x_lo .. x_hi within 0 .. width - 1.
template <class Wide, class Span>
void WalkRows(const SmoothTriangle& t, int first_row, int end_row, int width, Span&& span) {
  const std::int64_t top = std::min({t.g[0].y, t.g[1].y, t.g[2].y});
  const std::int64_t bottom = std::max({t.g[0].y, t.g[1].y, t.g[2].y});
  const std::int64_t row_lo = std::max<std::int64_t>(-FloorDiv(-top, kSub), first_row);
  const std::int64_t row_hi = std::min<std::int64_t>(FloorDiv(bottom, kSub), end_row - 1);
  if (row_lo > row_hi) return;
  EdgeWalk<Wide> edges[3] = {EdgeWalk<Wide>(t.g[0], t.g[1], row_lo),
                             EdgeWalk<Wide>(t.g[1], t.g[2], row_lo),
                             EdgeWalk<Wide>(t.g[2], t.g[0], row_lo)};
  for (std::int64_t y = row_lo; y <= row_hi; ++y) {
    Wide lo = 0;
    Wide hi = width - 1;
    for (EdgeWalk<Wide>& edge : edges) edge.NarrowAndStep(lo, hi);
    if (lo <= hi) span(static_cast<int>(y), static_cast<int>(lo), static_cast<int>(hi));
  }
}

// Painted colours never carry this value: their top byte is zero.
constexpr Color kUnpainted = kInvalidColor;

inline Color Mixed(Color a, Color b, int weight) {
  Color out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    out |= static_cast<Color>((ca * (kBlendOne - weight) + cb * weight + kBlendOne / 2) >>
                              kBlendBits)
           << shift;
  }
  return out;
}

// What every band of a frame reads.
struct FrameWork {
  std::vector<SmoothTriangle> triangles;
  SpanSource first;
  SpanSource second;
  bool morph = false;
  bool cross_fade = true;
  int weight = 0;  // of the second picture, in 1/4096
  Color* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// The painter of one band of rows.
class SmoothBand {
 public:
  SmoothBand(const FrameWork& work, int first_row, int end_row)
      : work_(work), first_row_(first_row), end_row_(std::min(end_row, work.height)) {}

  // The band's rows are marked unpainted; End cross-fades what stays so.
  void Begin() {
    if (!work_.cross_fade) return;
    std::fill(Row(first_row_), Row(end_row_), kUnpainted);
  }

  void End() {
    if (!work_.cross_fade) return;
    const SpanSource& a = work_.first;
    const SpanSource& b = work_.second;
    const int weight = work_.morph ? work_.weight : 0;
    for (int y = first_row_; y < end_row_; ++y) {
      Color* out = Row(y);
      const Color* row_a = a.pixels + static_cast<std::ptrdiff_t>(std::min(y, a.height - 1)) * a.width;
      const Color* row_b = b.pixels + static_cast<std::ptrdiff_t>(std::min(y, b.height - 1)) * b.width;
      for (int x = 0; x < work_.width; ++x) {
        if (out[x] != kUnpainted) continue;
        out[x] = Mixed(row_a[std::min(x, a.width - 1)], row_b[std::min(x, b.width - 1)], weight);
      }
    }
  }

  void Paint(std::size_t k) {
    const SmoothTriangle& t = work_.triangles[k];
    if (t.empty) return;
    const auto span = [&](int y, int x_lo, int x_hi) { Colour(t, y, x_lo, x_hi); };
    if (t.wide) {
      WalkRows<Int128>(t, first_row_, end_row_, work_.width, span);
    } else {
      WalkRows<std::int64_t>(t, first_row_, end_row_, work_.width, span);
    }
  }

 private:
  Color* Row(int y) const { return work_.pixels + static_cast<std::ptrdiff_t>(y) * work_.width; }

  void Colour(const SmoothTriangle& t, int y, int x_lo, int x_hi) const {
    const auto sample = [&](const SpanSource& source, const Affine& x, const Affine& y_map) {
      return SpanSample{source, AxisOf(x.At(x_lo, y), x.dx, source.width),
                        AxisOf(y_map.At(x_lo, y), y_map.dx, source.height)};
    };
    const SpanSample first = sample(work_.first, t.first_x, t.first_y);
    if (work_.morph) {
      const SpanSample second = sample(work_.second, t.second_x, t.second_y);
      ColourSpan(Row(y) + x_lo, x_hi - x_lo + 1, first, &second, work_.weight);
    } else {
      ColourSpan(Row(y) + x_lo, x_hi - x_lo + 1, first, nullptr, 0);
    }
  }

  const FrameWork& work_;
  int first_row_;
  int end_row_;
};

}  // namespace

SmoothFrame SmoothFrameAt(const PieceFrame& pieces, const FramePosition& at) {
  return SmoothFrame{.kind = pieces.kind,
                     .first = pieces.first,
                     .second = pieces.second,
                     .triangles = pieces.triangles,
                     .shape = at.shape,
                     .colour = at.colour,
                     .painting_threads = pieces.painting_threads};
}

int PaintSmoothFrame(const SmoothFrame& frame, Bitmap& vesk, RunProtocol& protocol) {
  FrameWork work;
  work.morph = frame.kind == PieceKind::kMorph;
  work.first = SourceOf(frame.first);
  work.second = work.morph ? SourceOf(frame.second) : work.first;
  work.cross_fade = frame.cross_fade_outside;
  work.weight = static_cast<int>(std::lround(std::clamp(frame.colour, 0.0, 1.0) * kBlendOne));
  work.pixels = vesk.Empty() ? nullptr : vesk.Row(0);
  work.width = vesk.Width();
  work.height = vesk.Height();
  const std::size_t count = frame.triangles.size();
  work.triangles.reserve(count);
  for (const TrianglePositions& tri : frame.triangles) {
    work.triangles.push_back(Prepare(tri, frame.shape));
  }

  return PaintTriangles(
      vesk.Height(), count, frame.painting_threads,
      [&](int first_row, int end_row) { return SmoothBand(work, first_row, end_row); }, protocol,
      [](std::size_t) {});
}

int PaintSmoothWarp(const Bitmap& picture, std::span<const WarpTriangle> triangles, Bitmap& out,
                    RunProtocol& protocol, int painting_threads) {
  FrameWork work;
  work.first = work.second = SourceOf(&picture);
  work.cross_fade = false;
  work.pixels = out.Empty() ? nullptr : out.Row(0);
  work.width = out.Width();
  work.height = out.Height();
  work.triangles.reserve(triangles.size());
  for (const WarpTriangle& tri : triangles) {
    work.triangles.push_back(Prepare(tri.to, tri.from, tri.from));
  }
  return PaintTriangles(
      out.Height(), triangles.size(), painting_threads,
      [&](int first_row, int end_row) { return SmoothBand(work, first_row, end_row); }, protocol,
      [](std::size_t) {});
}

}  // namespace vesk
