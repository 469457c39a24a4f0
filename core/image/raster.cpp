#include "core/image/raster.h"

#include <algorithm>
#include <cstdint>

namespace vesk {
namespace {

using i64 = std::int64_t;
__extension__ typedef __int128 i128;

// Corners within this range keep every edge value of the fill inside 64 bits;
// farther corners take the 128-bit path.
constexpr i64 kSmallCoordinate = i64{1} << 29;

// Window that painting is clipped to; right and bottom are exclusive.
struct Clip {
  int left;
  int top;
  int right;
  int bottom;
};

template <typename T>
T FloorDiv(T a, T b) {
  T q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

template <typename T>
T CeilDiv(T a, T b) {
  T q = a / b;
  if (a % b != 0 && ((a < 0) == (b < 0))) ++q;
  return q;
}

i64 Abs64(i64 v) { return v < 0 ? -v : v; }

// One step along a nearest-pixel line's major axis: the remainder r
// (0 .. den - 1) takes the minor step, and the minor coordinate v moves by
// one whenever r leaves that range.
template <typename T>
inline void StepMinor(T& r, T& v, T step, T den) {
  r += step;
  if (r >= den) {
    r -= den;
    ++v;
  } else if (r < 0) {
    r += den;
    --v;
  }
}

// Nearest-pixel line along its major axis u, one pixel per u step, minor
// coordinate v = v0 + floor((2 (u - u0) dv + du) / (2 du)). Incremental:
// q is the floor, r the remainder in 0 .. 2 du - 1.
template <bool kXMajor>
void WalkLine(Bitmap& target, i64 u0, i64 v0, i64 du, i64 dv, Color c, i64 lo_u, i64 hi_u,
              i64 lo_v, i64 hi_v) {
  const i64 u_first = std::max(u0, lo_u);
  const i64 u_last = std::min(u0 + du, hi_u - 1);
  if (u_first > u_last) return;
  const i64 den = 2 * du;
  i64 v;
  i64 r;
  if (u_first == u0) {
    v = v0;
    r = du;
  } else {
    const i128 n = i128{2} * (u_first - u0) * dv + du;
    const i128 q = FloorDiv<i128>(n, den);
    v = v0 + static_cast<i64>(q);
    r = static_cast<i64>(n - q * den);
  }
  const i64 step = 2 * dv;
  for (i64 u = u_first; u <= u_last; ++u) {
    if (v >= lo_v && v < hi_v) {
      if constexpr (kXMajor) {
        target.Row(static_cast<int>(v))[u] = c;
      } else {
        target.Row(static_cast<int>(u))[v] = c;
      }
    } else if ((dv >= 0 && v >= hi_v) || (dv <= 0 && v < lo_v)) {
      return;  // moving away from the window
    }
    StepMinor(r, v, step, den);
  }
}

// Pixels of a line strictly between its end points, walked along the major
// axis u (u0 < u0 + du, |dv| <= du) with v the minor coordinate; `pixels`
// and `stride` address the bitmap, which holds the whole line.
template <bool kXMajor>
inline void WalkBetween(Color* pixels, std::size_t stride, int u0, int v0, int du, int dv,
                        Color c) {
  const int den = 2 * du;
  const int step = 2 * dv;
  int r = du;
  int v = v0;
  for (int u = u0 + 1; u < u0 + du; ++u) {
    StepMinor(r, v, step, den);
    if constexpr (kXMajor) {
      pixels[static_cast<std::size_t>(v) * stride + u] = c;
    } else {
      pixels[static_cast<std::size_t>(u) * stride + v] = c;
    }
  }
}

// Pixels of the edge a-b strictly between its end points, for an edge
// that lies inside the bitmap. Edges of one or two pixels have none.
inline void PaintEdgeBetween(Color* pixels, std::size_t stride, Point a, Point b, Color c) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const int adx = dx < 0 ? -dx : dx;
  const int ady = dy < 0 ? -dy : dy;
  if (adx <= 1 && ady <= 1) return;
  if (adx >= ady) {
    if (dx < 0) std::swap(a, b);
    WalkBetween<true>(pixels, stride, a.x, a.y, adx, b.y - a.y, c);
  } else {
    if (dy < 0) std::swap(a, b);
    WalkBetween<false>(pixels, stride, a.y, a.x, ady, b.x - a.x, c);
  }
}

bool Inside(Point p, const Clip& clip) {
  return p.x >= clip.left && p.x < clip.right && p.y >= clip.top && p.y < clip.bottom;
}

void PaintLine(Bitmap& target, Point a, Point b, Color c, const Clip& clip) {
  if (Inside(a, clip) && Inside(b, clip)) {
    // Every pixel of the line lies in the window: its two end points and
    // the walk between them, with nothing checked per pixel.
    Color* pixels = target.Row(0);
    const std::size_t stride = static_cast<std::size_t>(target.Width());
    pixels[static_cast<std::size_t>(a.y) * stride + a.x] = c;
    pixels[static_cast<std::size_t>(b.y) * stride + b.x] = c;
    PaintEdgeBetween(pixels, stride, a, b, c);
    return;
  }
  const i64 dx = i64{b.x} - a.x;
  const i64 dy = i64{b.y} - a.y;
  if (dx == 0 && dy == 0) return;  // a single point outside the window
  if (Abs64(dx) >= Abs64(dy)) {
    if (dx < 0) std::swap(a, b);
    WalkLine<true>(target, a.x, a.y, Abs64(dx), i64{b.y} - a.y, c, clip.left, clip.right,
                   clip.top, clip.bottom);
  } else {
    if (dy < 0) std::swap(a, b);
    WalkLine<false>(target, a.y, a.x, Abs64(dy), i64{b.x} - a.x, c, clip.top, clip.bottom,
                    clip.left, clip.right);
  }
}

// Interior of the closed triangle inside the clipped bounding box
// x_lo..x_hi, y_lo..y_hi. Edge i is E(P) = a x + b y + k; for a
// non-degenerate triangle the pixels with all three values of the
// triangle's orientation sign (zero included) are painted. A degenerate
// triangle's closed set lies on its longest edge, which the outline paints.
template <typename W>
void PaintInterior(Bitmap& target, const Point (&g)[3], Color c, int x_lo, int x_hi, int y_lo,
                   int y_hi) {
  W a[3];
  W b[3];
  W k[3];
  for (int i = 0; i < 3; ++i) {
    const Point u = g[i];
    const Point v = g[(i + 1) % 3];
    a[i] = W{u.y} - v.y;
    b[i] = W{v.x} - u.x;
    k[i] = W{u.x} * v.y - W{v.x} * u.y;
  }
  const W orientation = k[0] + k[1] + k[2];
  if (orientation == 0) return;
  if (orientation < 0) {
    for (int i = 0; i < 3; ++i) {
      a[i] = -a[i];
      b[i] = -b[i];
      k[i] = -k[i];
    }
  }
  const bool narrow = x_hi - x_lo < 8;
  for (int y = y_lo; y <= y_hi; ++y) {
    Color* row = target.Row(y);
    W e0 = a[0] * x_lo + b[0] * y + k[0];
    W e1 = a[1] * x_lo + b[1] * y + k[1];
    W e2 = a[2] * x_lo + b[2] * y + k[2];
    if (narrow) {
      for (int x = x_lo; x <= x_hi; ++x) {
        if ((e0 | e1 | e2) >= 0) row[x] = c;
        e0 += a[0];
        e1 += a[1];
        e2 += a[2];
      }
      continue;
    }
    // Each edge bounds x from one side: e + a (x - x_lo) >= 0.
    W left = 0;
    W right = x_hi - x_lo;
    const W e[3] = {e0, e1, e2};
    bool empty = false;
    for (int i = 0; i < 3 && !empty; ++i) {
      if (a[i] > 0) {
        left = std::max(left, CeilDiv<W>(-e[i], a[i]));
      } else if (a[i] < 0) {
        right = std::min(right, FloorDiv<W>(e[i], -a[i]));
      } else if (e[i] < 0) {
        empty = true;
      }
    }
    if (empty || left > right) continue;
    std::fill(row + x_lo + static_cast<int>(left), row + x_lo + static_cast<int>(right) + 1, c);
  }
}

void PaintPiece(Bitmap& target, Point g0, Point g1, Point g2, Color c, const Clip& clip) {
  const int min_x = std::min({g0.x, g1.x, g2.x});
  const int max_x = std::max({g0.x, g1.x, g2.x});
  const int min_y = std::min({g0.y, g1.y, g2.y});
  const int max_y = std::max({g0.y, g1.y, g2.y});
  const Point g[3] = {g0, g1, g2};
  if (min_x >= clip.left && max_x < clip.right && min_y >= clip.top && max_y < clip.bottom) {
    // The usual leaf: wholly inside, small. Every lattice point on the
    // boundary lies on an outline, and by Pick's theorem a triangle of
    // twice-area 2 or less has no lattice point strictly inside, so then
    // the outline is the whole piece.
    const int twice_area = (g1.x - g0.x) * (g2.y - g0.y) - (g2.x - g0.x) * (g1.y - g0.y);
    if (twice_area > 2 || twice_area < -2) {
      PaintInterior<i64>(target, g, c, min_x, max_x, min_y, max_y);
    }
    Color* pixels = target.Row(0);
    const std::size_t stride = static_cast<std::size_t>(target.Width());
    for (const Point& p : g) pixels[static_cast<std::size_t>(p.y) * stride + p.x] = c;
    PaintEdgeBetween(pixels, stride, g0, g1, c);
    PaintEdgeBetween(pixels, stride, g1, g2, c);
    PaintEdgeBetween(pixels, stride, g2, g0, c);
    return;
  }
  const int x_lo = std::max(min_x, clip.left);
  const int x_hi = std::min(max_x, clip.right - 1);
  const int y_lo = std::max(min_y, clip.top);
  const int y_hi = std::min(max_y, clip.bottom - 1);
  if (x_lo > x_hi || y_lo > y_hi) return;  // the outline lies in the box too
  bool small = true;
  for (const Point& p : g) {
    small = small && Abs64(p.x) <= kSmallCoordinate && Abs64(p.y) <= kSmallCoordinate;
  }
  if (small) {
    PaintInterior<i64>(target, g, c, x_lo, x_hi, y_lo, y_hi);
  } else {
    PaintInterior<i128>(target, g, c, x_lo, x_hi, y_lo, y_hi);
  }
  PaintLine(target, g0, g1, c, clip);
  PaintLine(target, g1, g2, c, clip);
  PaintLine(target, g2, g0, c, clip);
}

Clip WholeBitmap(const Bitmap& target) { return Clip{0, 0, target.Width(), target.Height()}; }

}  // namespace

void FillLeafPiece(Bitmap& target, Point g0, Point g1, Point g2, Color c) {
  PaintPiece(target, g0, g1, g2, c, WholeBitmap(target));
}

void FillLeafPieceInRows(Bitmap& target, Point g0, Point g1, Point g2, Color c, int first_row,
                         int end_row) {
  Clip clip = WholeBitmap(target);
  clip.top = std::max(clip.top, first_row);
  clip.bottom = std::min(clip.bottom, end_row);
  if (clip.top >= clip.bottom) return;
  PaintPiece(target, g0, g1, g2, c, clip);
}

void DrawLine(Bitmap& target, Point a, Point b, Color c) {
  PaintLine(target, a, b, c, WholeBitmap(target));
}

void DrawNodeRectangle(Bitmap& target, int x, int y, int s, Color inside) {
  if (s <= 0) return;
  const i64 left = i64{x} - s;
  const i64 right = i64{x} + s - 1;
  const i64 top = i64{y} - s;
  const i64 bottom = i64{y} + s - 1;
  const i64 x_lo = std::max<i64>(left, 0);
  const i64 x_hi = std::min<i64>(right, target.Width() - 1);
  const i64 y_lo = std::max<i64>(top, 0);
  const i64 y_hi = std::min<i64>(bottom, target.Height() - 1);
  if (x_lo > x_hi || y_lo > y_hi) return;
  for (i64 row_y = y_lo; row_y <= y_hi; ++row_y) {
    Color* row = target.Row(static_cast<int>(row_y));
    const bool ring_row = row_y == top || row_y == bottom;
    std::fill(row + x_lo, row + x_hi + 1, ring_row ? kBlack : inside);
    if (left == x_lo) row[x_lo] = kBlack;
    if (right == x_hi) row[x_hi] = kBlack;
  }
}

}  // namespace vesk
