// The program's one bilinear sampler: the colours of a run of pixels whose
// position in a picture (and, for the morph, in a second picture) advances
// by a fixed step. Each picture is sampled bilinearly with its edge pixels
// repeated, and the samples are rounded (one picture) or blended and
// rounded (two). The Smooth renderer (smooth_frame.h) paints every span of
// a triangle's row with it, and the similarity warp (similarity_warp.h)
// every row of a fitted or aligned picture. On processors with AVX2 eight
// pixels are done at once; the plain loop gives the very same colours.
#pragma once

#include "core/image/color.h"

namespace vesk {

// A picture as the sampler reads it (width and height at least 1).
struct SpanSource {
  const Color* pixels;
  int width;
  int height;
};

// One coordinate along the run, in 1/1024 pixel plus one half: pixel i of
// the run samples at base + step x i, kept within 0.5 .. (size - 1) x 1024 +
// 0.5 (edge pixels repeat), and truncated to whole 1/1024 (so rounded).
struct SpanAxis {
  double base;
  double step;
  double high;
};

struct SpanSample {
  SpanSource source;
  SpanAxis x;
  SpanAxis y;
};

// Bilinear weights and sample positions have 10 bits; the morph's weight of
// the second picture is given in 1/4096.
inline constexpr int kSpanWeightBits = 10;
inline constexpr int kSpanBlendOne = 4096;

// The axis of coordinate `at_first` (at the run's first pixel) advancing by
// `step` per pixel, in a picture side of `size` pixels.
inline SpanAxis AxisOf(double at_first, double step, int size) {
  constexpr double kOne = 1 << kSpanWeightBits;
  return SpanAxis{at_first * kOne + 0.5, step * kOne, (size - 1) * kOne + 0.5};
}

// Fills out[0 .. count - 1]: with `second` null the first picture's samples
// rounded to the nearest value, else first x (4096 - weight) + second x
// weight over 4096, rounded.
void ColourSpan(Color* out, int count, const SpanSample& first, const SpanSample* second,
                int weight);
// The plain loop that processors without AVX2 run; the same colours.
void ColourSpanPlain(Color* out, int count, const SpanSample& first, const SpanSample* second,
                     int weight);

}  // namespace vesk
