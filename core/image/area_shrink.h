// Shrinking a picture by area averaging: every pixel of the smaller picture
// is the mean of the part of the larger one it covers, partly covered
// pixels counted by the part covered. So detail finer than the new pixels
// (stripes, fabric, hair, brick) becomes its mean colour instead of the
// moiré that sampling a few points of it gives.
#pragma once

#include "core/image/bitmap.h"

namespace vesk {

// `source` as a width x height picture; each side may only shrink or stay
// (a larger side is taken as the source's). Each channel is rounded to the
// nearest value.
Bitmap AreaShrink(const Bitmap& source, int width, int height);

}  // namespace vesk
