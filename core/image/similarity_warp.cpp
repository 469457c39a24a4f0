#include "core/image/similarity_warp.h"

#include <algorithm>
#include <cmath>

namespace vesk {

PicturePoint Apply(const Similarity& s, PicturePoint p) {
  return {s.a * p.x - s.b * p.y + s.tx, s.b * p.x + s.a * p.y + s.ty};
}

Similarity Then(const Similarity& first, const Similarity& second) {
  const PicturePoint shift = Apply(second, {first.tx, first.ty});
  return {second.a * first.a - second.b * first.b, second.b * first.a + second.a * first.b,
          shift.x, shift.y};
}

std::optional<Similarity> SimilarityOf(PicturePoint p1, PicturePoint p2, PicturePoint q1,
                                       PicturePoint q2) {
  const double px = p2.x - p1.x, py = p2.y - p1.y;
  const double qx = q2.x - q1.x, qy = q2.y - q1.y;
  const double length = px * px + py * py;
  if (length == 0) return std::nullopt;
  // (a + ib)(px + i py) = qx + i qy, as complex numbers.
  Similarity s{(qx * px + qy * py) / length, (qy * px - qx * py) / length, 0, 0};
  const PicturePoint moved = Apply(s, p1);
  s.tx = q1.x - moved.x;
  s.ty = q1.y - moved.y;
  return s;
}

Similarity FitInside(int width, int height, int target_width, int target_height) {
  const double scale = std::min(static_cast<double>(target_width) / width,
                                static_cast<double>(target_height) / height);
  // Pixel edges: the source spans -0.5 .. width - 0.5, centred in the target.
  return {scale, 0, (target_width - scale * width) / 2 + scale * 0.5 - 0.5,
          (target_height - scale * height) / 2 + scale * 0.5 - 0.5};
}

Bitmap WarpPicture(const Bitmap& source, const Similarity& s, int width, int height) {
  Bitmap out(width, height);
  if (source.Empty()) return out;
  const double det = s.a * s.a + s.b * s.b;
  if (!(det > 0) || !std::isfinite(det)) {
    out.Fill(source.Pixel(0, 0));
    return out;
  }
  // The inverse map, pixel of `out` to point of `source`.
  const double ia = s.a / det, ib = s.b / det;
  const double last_x = source.Width() - 1, last_y = source.Height() - 1;
  for (int y = 0; y < height; ++y) {
    Color* row = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const double dx = x - s.tx, dy = y - s.ty;
      const double px = std::clamp(ia * dx + ib * dy, 0.0, last_x);
      const double py = std::clamp(-ib * dx + ia * dy, 0.0, last_y);
      const int x0 = static_cast<int>(px), y0 = static_cast<int>(py);
      const int x1 = std::min(x0 + 1, source.Width() - 1);
      const int y1 = std::min(y0 + 1, source.Height() - 1);
      const double fx = px - x0, fy = py - y0;
      const Color c00 = source.Row(y0)[x0], c10 = source.Row(y0)[x1];
      const Color c01 = source.Row(y1)[x0], c11 = source.Row(y1)[x1];
      Color c = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const auto at = [shift](Color v) { return static_cast<double>((v >> shift) & 0xFF); };
        const double top = at(c00) + fx * (at(c10) - at(c00));
        const double bottom = at(c01) + fx * (at(c11) - at(c01));
        c |= static_cast<Color>(std::floor(top + fy * (bottom - top) + 0.5)) << shift;
      }
      row[x] = c;
    }
  }
  return out;
}

}  // namespace vesk
