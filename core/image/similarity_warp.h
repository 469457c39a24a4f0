// Turning, scaling and shifting a picture as a whole: the similarity
// transforms that line pictures up (a picture fitted into another's frame,
// a portrait turned so that its eyes lie where another's do) and the warp
// that applies one, averaging when it shrinks and sampling bilinearly with
// the edge pixels repeated, so the border a turn or a shrink uncovers takes
// the picture's edge colours.
#pragma once

#include <optional>

#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk {

// (x, y) goes to (a x - b y + tx, b x + a y + ty): a turn by atan2(b, a)
// and a scaling by hypot(a, b) about the origin, then a shift.
struct Similarity {
  double a = 1;
  double b = 0;
  double tx = 0;
  double ty = 0;
  bool operator==(const Similarity&) const = default;
};

PicturePoint Apply(const Similarity& s, PicturePoint p);

// `first`, then `second`.
Similarity Then(const Similarity& first, const Similarity& second);

// The similarity that takes p1 to q1 and p2 to q2; none when p1 and p2 are
// the same point.
std::optional<Similarity> SimilarityOf(PicturePoint p1, PicturePoint p2, PicturePoint q1,
                                       PicturePoint q2);

// A width x height picture scaled (its sides in proportion) as large as it
// fits into target_width x target_height, and centred there.
Similarity FitInside(int width, int height, int target_width, int target_height);

// A width x height picture whose pixel (x, y) is `source` at the point that
// `s` takes to (x, y), sampled by the bilinear sampler (bilinear_span.h:
// positions to 1/1024 pixel, each channel rounded); points outside `source`
// read its nearest edge pixel. A similarity that shrinks (scale below 1)
// first area-averages `source` to that scale (area_shrink.h), so fine
// detail becomes its mean colour instead of moiré. A similarity that does
// not scale to a positive size gives the source's top-left pixel everywhere.
Bitmap WarpPicture(const Bitmap& source, const Similarity& s, int width, int height);

}  // namespace vesk
