#include "core/generate/equalize.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vesk {
namespace {

// Columns handled between two progress calls. Within a strip the pass runs
// row by row, which touches memory in order. The result is the same as the
// column by column walk: the new value of (x, y) needs the new values of
// (x, y - 1) and (x - 1, y) and the old values of (x, y + 1) and (x + 1, y),
// and a row-major walk over a strip whose left neighbours are all done
// provides exactly those.
constexpr int kStripWidth = 128;

constexpr std::uint32_t kRedBlue = 0x00FF00FFu;
constexpr std::uint32_t kGreen = 0x0000FF00u;

// Per-channel (a + b + c + d) div 4. Red and blue are summed side by side in
// one word (each sum fits in 10 bits, 16 apart), green in another.
inline Color Mean4(Color a, Color b, Color c, Color d) {
  std::uint32_t rb = (a & kRedBlue) + (b & kRedBlue) + (c & kRedBlue) + (d & kRedBlue);
  std::uint32_t g = (a & kGreen) + (b & kGreen) + (c & kGreen) + (d & kGreen);
  return ((rb >> 2) & kRedBlue) | ((g >> 2) & kGreen);
}

// One row of the strip [x0, x1): `row` is written in place, `above` holds
// the row above's new values and `below` the row below's old values (white
// rows outside the picture).
//
// Each new value waits for its left neighbour's, which would make the row
// one long chain. Two pixels are done per step instead: with S the sum of
// the three other neighbours, new(x) = (S(x) + left) div 4 and
// new(x + 1) = (S(x + 1) + new(x)) div 4 = (4 S(x + 1) + S(x) + left) div 16
// (nested truncating divisions of non-negative sums), so both wait only for
// `left`. Per channel the sums stay below 4096 and still fit their slots.
inline void EqualizeRowSpan(Color* row, const Color* above, const Color* below, int x0, int x1,
                            int width) {
  Color left = x0 > 0 ? row[x0 - 1] : kWhite;
  const int inner_end = std::min(x1, width - 1);
  int x = x0;
  for (; x + 1 < inner_end; x += 2) {
    std::uint32_t rb0 = (below[x] & kRedBlue) + (above[x] & kRedBlue) + (row[x + 1] & kRedBlue);
    std::uint32_t g0 = (below[x] & kGreen) + (above[x] & kGreen) + (row[x + 1] & kGreen);
    std::uint32_t rb1 = (below[x + 1] & kRedBlue) + (above[x + 1] & kRedBlue) + (row[x + 2] & kRedBlue);
    std::uint32_t g1 = (below[x + 1] & kGreen) + (above[x + 1] & kGreen) + (row[x + 2] & kGreen);
    std::uint32_t left_rb = left & kRedBlue;
    std::uint32_t left_g = left & kGreen;
    row[x] = (((rb0 + left_rb) >> 2) & kRedBlue) | (((g0 + left_g) >> 2) & kGreen);
    left = ((((rb1 << 2) + rb0 + left_rb) >> 4) & kRedBlue) | ((((g1 << 2) + g0 + left_g) >> 4) & kGreen);
    row[x + 1] = left;
  }
  for (; x < inner_end; ++x) {
    left = Mean4(below[x], above[x], row[x + 1], left);
    row[x] = left;
  }
  if (x1 == width) row[width - 1] = Mean4(below[width - 1], above[width - 1], kWhite, left);
}

}  // namespace

void EqualizePicture(Bitmap& picture, RunProtocol& protocol) {
  protocol.EqualizationBegin();
  const int width = picture.Width();
  const int height = picture.Height();
  std::vector<Color> white(static_cast<std::size_t>(width), kWhite);

  for (int x0 = 0; x0 < width; x0 += kStripWidth) {
    const int x1 = std::min(width, x0 + kStripWidth);
    for (int x = x0; x < x1; ++x) {
      protocol.InnerBar(static_cast<int>(static_cast<std::int64_t>(x) * 100 / width));
      protocol.ProcessMessages();
    }
    for (int y = 0; y < height; ++y) {
      const Color* above = y > 0 ? picture.Row(y - 1) : white.data();
      const Color* below = y + 1 < height ? picture.Row(y + 1) : white.data();
      EqualizeRowSpan(picture.Row(y), above, below, x0, x1, width);
    }
  }
  protocol.EqualizationEnd();
}

}  // namespace vesk
