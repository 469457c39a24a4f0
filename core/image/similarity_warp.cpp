#include "core/image/similarity_warp.h"

#include <algorithm>
#include <cmath>

#include "core/image/area_shrink.h"
#include "core/image/bilinear_span.h"

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
  if (source.Empty() || out.Empty()) return out;
  const double det = s.a * s.a + s.b * s.b;
  if (!(det > 0) || !std::isfinite(det)) {
    out.Fill(source.Pixel(0, 0));
    return out;
  }
  // A shrink first averages the source down to the target's scale, so the
  // bilinear warp that follows turns and shifts at about one pixel per pixel.
  const Bitmap* from = &source;
  Bitmap shrunk;
  double kx = 1, ky = 1;  // source centre x is at (x + 0.5) kx - 0.5 in `from`
  const double scale = std::sqrt(det);
  if (scale < 1) {
    const auto side = [scale](int n) {
      return static_cast<int>(std::clamp(std::lround(n * scale), 1L, static_cast<long>(n)));
    };
    shrunk = AreaShrink(source, side(source.Width()), side(source.Height()));
    from = &shrunk;
    kx = static_cast<double>(shrunk.Width()) / source.Width();
    ky = static_cast<double>(shrunk.Height()) / source.Height();
  }
  // The inverse map, pixel of `out` to point of `source`, then of `from`.
  const double ia = s.a / det, ib = s.b / det;
  const SpanSource picture{from->Row(0), from->Width(), from->Height()};
  for (int y = 0; y < height; ++y) {
    const double dx = -s.tx, dy = y - s.ty;
    const double px = ia * dx + ib * dy, py = -ib * dx + ia * dy;
    const SpanSample row{picture, AxisOf((px + 0.5) * kx - 0.5, ia * kx, from->Width()),
                         AxisOf((py + 0.5) * ky - 0.5, -ib * ky, from->Height())};
    ColourSpan(out.Row(y), width, row, nullptr, 0);
  }
  return out;
}

}  // namespace vesk
