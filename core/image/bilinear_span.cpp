#include "core/image/bilinear_span.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VESK_SPAN_AVX2 1
#endif

namespace vesk {
namespace {

constexpr int kBits = kSpanWeightBits;
constexpr int kOne = 1 << kBits;
constexpr int kBlendBits = 12;
static_assert(kSpanBlendOne == 1 << kBlendBits);
// A sample is a channel value times 2^20; a blended one drops 10 of those
// bits first, so every product stays within 31 bits.
constexpr int kRoundSample = 1 << (2 * kBits - 1);
constexpr int kRoundBlend = 1 << (kBits + kBlendBits - 1);

// The plain loop's steps are those the AVX2 loop takes lane by lane: the
// same double operations (no fused multiply-add) and integer sums.
int Position(const SpanAxis& a, int i) {
  double t = a.base + a.step * i;
  t = t > 0.5 ? t : 0.5;
  t = t < a.high ? t : a.high;
  return static_cast<int>(t);
}

struct Channels {
  int c[3];
};

Channels Bilinear(const SpanSample& s, int i) {
  const SpanSource& p = s.source;
  const int tx = Position(s.x, i);
  const int ty = Position(s.y, i);
  // The left and upper pixels stop one short of the last, with the weight
  // then all on the right or lower one, so a pixel pair is always whole.
  const int x0 = std::min(tx >> kBits, std::max(p.width - 2, 0)), fx = tx - (x0 << kBits);
  const int y0 = std::min(ty >> kBits, std::max(p.height - 2, 0)), fy = ty - (y0 << kBits);
  const int right = p.width > 1 ? 1 : 0;
  const int down = p.height > 1 ? p.width : 0;
  const int at = y0 * p.width + x0;
  const Color p00 = p.pixels[at], p01 = p.pixels[at + right];
  const Color p10 = p.pixels[at + down], p11 = p.pixels[at + down + right];
  Channels out;
  for (int k = 0; k < 3; ++k) {
    const int shift = 8 * k;
    const auto channel = [shift](Color c) { return static_cast<int>((c >> shift) & 0xFF); };
    const int a = channel(p00), b = channel(p01), c = channel(p10), d = channel(p11);
    const int upper = (a << kBits) + (b - a) * fx;
    const int lower = (c << kBits) + (d - c) * fx;
    out.c[k] = (upper << kBits) + (lower - upper) * fy;
  }
  return out;
}

#ifdef VESK_SPAN_AVX2

#define VESK_AVX2 __attribute__((target("avx2")))

// Pixel numbers i .. i + 3 and i + 4 .. i + 7 of the run, as doubles.
struct Index8 {
  __m256d low;
  __m256d high;
};

// Positions of pixels i .. i + 7 on one axis.
VESK_AVX2 inline __m256i Positions8(const SpanAxis& a, const Index8& i) {
  const __m256d base = _mm256_set1_pd(a.base), step = _mm256_set1_pd(a.step);
  const __m256d low = _mm256_set1_pd(0.5), high = _mm256_set1_pd(a.high);
  __m256d t0 = _mm256_add_pd(base, _mm256_mul_pd(step, i.low));
  __m256d t1 = _mm256_add_pd(base, _mm256_mul_pd(step, i.high));
  t0 = _mm256_min_pd(_mm256_max_pd(t0, low), high);
  t1 = _mm256_min_pd(_mm256_max_pd(t1, low), high);
  return _mm256_set_m128i(_mm256_cvttpd_epi32(t1), _mm256_cvttpd_epi32(t0));
}

struct Channels8 {
  __m256i c[3];
};

VESK_AVX2 inline __m256i Lerp8(__m256i a, __m256i b, __m256i f) {
  return _mm256_add_epi32(_mm256_slli_epi32(a, kBits),
                          _mm256_mullo_epi32(_mm256_sub_epi32(b, a), f));
}

// Each channel of a pixel pair, left in the low and right in the high 16
// bits of a lane, mixed with the weights (1024 - f) and f in one step.
VESK_AVX2 inline void Rows8(__m256i left, __m256i right, __m256i weights, __m256i (&out)[3]) {
  const __m256i red_blue = _mm256_set1_epi32(0x00FF00FF);
  const __m256i l = _mm256_and_si256(left, red_blue), r = _mm256_and_si256(right, red_blue);
  const __m256i red = _mm256_blend_epi16(l, _mm256_slli_epi32(r, 16), 0xAA);
  const __m256i blue = _mm256_blend_epi16(_mm256_srli_epi32(l, 16), r, 0xAA);
  const __m256i green = _mm256_or_si256(
      _mm256_and_si256(_mm256_srli_epi32(left, 8), _mm256_set1_epi32(0xFF)),
      _mm256_slli_epi32(_mm256_and_si256(right, _mm256_set1_epi32(0xFF00)), 8));
  out[0] = _mm256_madd_epi16(red, weights);
  out[1] = _mm256_madd_epi16(green, weights);
  out[2] = _mm256_madd_epi16(blue, weights);
}

VESK_AVX2 inline Channels8 Bilinear8(const SpanSample& s, const Index8& i) {
  const SpanSource& p = s.source;
  const __m256i tx = Positions8(s.x, i), ty = Positions8(s.y, i);
  const __m256i x0 = _mm256_min_epi32(_mm256_srai_epi32(tx, kBits),
                                      _mm256_set1_epi32(std::max(p.width - 2, 0)));
  const __m256i y0 = _mm256_min_epi32(_mm256_srai_epi32(ty, kBits),
                                      _mm256_set1_epi32(std::max(p.height - 2, 0)));
  const __m256i fx = _mm256_sub_epi32(tx, _mm256_slli_epi32(x0, kBits));
  const __m256i fy = _mm256_sub_epi32(ty, _mm256_slli_epi32(y0, kBits));
  const __m256i weights =
      _mm256_or_si256(_mm256_sub_epi32(_mm256_set1_epi32(kOne), fx), _mm256_slli_epi32(fx, 16));
  const __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(y0, _mm256_set1_epi32(p.width)), x0);
  const __m256i at_down = _mm256_add_epi32(at, _mm256_set1_epi32(p.height > 1 ? p.width : 0));
  const int* pixels = reinterpret_cast<const int*>(p.pixels);
  const __m256i right = _mm256_set1_epi32(p.width > 1 ? 1 : 0);
  __m256i upper[3], lower[3];
  Rows8(_mm256_i32gather_epi32(pixels, at, 4),
        _mm256_i32gather_epi32(pixels, _mm256_add_epi32(at, right), 4), weights, upper);
  Rows8(_mm256_i32gather_epi32(pixels, at_down, 4),
        _mm256_i32gather_epi32(pixels, _mm256_add_epi32(at_down, right), 4), weights, lower);
  Channels8 out;
  for (int k = 0; k < 3; ++k) out.c[k] = Lerp8(upper[k], lower[k], fy);
  return out;
}

VESK_AVX2 void Avx2Span(Color* out, int count, const SpanSample& first, const SpanSample* second,
                        int weight) {
  const __m256i round_sample = _mm256_set1_epi32(kRoundSample);
  const __m256i round_blend = _mm256_set1_epi32(kRoundBlend);
  const __m256i blend = _mm256_set1_epi32(weight);
  // The last block may reach past the run: its extra lanes read pixels
  // inside the pictures (positions are clamped) and are not stored.
  const __m256d eight = _mm256_set1_pd(8);
  Index8 index{_mm256_set_pd(3, 2, 1, 0), _mm256_set_pd(7, 6, 5, 4)};
  for (int i = 0; i < count; i += 8) {
    const Channels8 a = Bilinear8(first, index);
    __m256i c[3];
    if (second == nullptr) {
      for (int k = 0; k < 3; ++k) {
        c[k] = _mm256_srai_epi32(_mm256_add_epi32(a.c[k], round_sample), 2 * kBits);
      }
    } else {
      const Channels8 b = Bilinear8(*second, index);
      for (int k = 0; k < 3; ++k) {
        const __m256i x = _mm256_srai_epi32(a.c[k], kBits), y = _mm256_srai_epi32(b.c[k], kBits);
        const __m256i sum = _mm256_add_epi32(_mm256_slli_epi32(x, kBlendBits),
                                             _mm256_mullo_epi32(_mm256_sub_epi32(y, x), blend));
        c[k] = _mm256_srai_epi32(_mm256_add_epi32(sum, round_blend), kBits + kBlendBits);
      }
    }
    const __m256i colour = _mm256_or_si256(
        c[0], _mm256_or_si256(_mm256_slli_epi32(c[1], 8), _mm256_slli_epi32(c[2], 16)));
    if (count - i >= 8) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), colour);
    } else {
      const __m256i lanes = _mm256_set_epi32(7, 6, 5, 4, 3, 2, 1, 0);
      const __m256i keep = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), lanes);
      _mm256_maskstore_epi32(reinterpret_cast<int*>(out + i), keep, colour);
    }
    index.low = _mm256_add_pd(index.low, eight);
    index.high = _mm256_add_pd(index.high, eight);
  }
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif

}  // namespace

void ColourSpan(Color* out, int count, const SpanSample& first, const SpanSample* second,
                int weight) {
#ifdef VESK_SPAN_AVX2
  if (HasAvx2()) {
    Avx2Span(out, count, first, second, weight);
    return;
  }
#endif
  ColourSpanPlain(out, count, first, second, weight);
}

void ColourSpanPlain(Color* out, int count, const SpanSample& first, const SpanSample* second,
                     int weight) {
  for (int i = 0; i < count; ++i) {
    const Channels a = Bilinear(first, i);
    const Channels b = second != nullptr ? Bilinear(*second, i) : a;
    Color c = 0;
    for (int k = 0; k < 3; ++k) {
      const int x = a.c[k] >> kBits, y = b.c[k] >> kBits;
      const int value =
          second == nullptr
              ? (a.c[k] + kRoundSample) >> (2 * kBits)
              : ((x << kBlendBits) + (y - x) * weight + kRoundBlend) >> (kBits + kBlendBits);
      c |= static_cast<Color>(value) << (8 * k);
    }
    out[i] = c;
  }
}

}  // namespace vesk
