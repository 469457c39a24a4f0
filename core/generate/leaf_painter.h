// Paints the leaf pieces of the morph and the distortion, optionally only on
// a band of rows so that several threads can paint one frame together.
//
// A painter given the rows first_row .. end_row - 1 paints every piece in
// painting order but only on those rows. Painters of disjoint bands never
// touch the same pixel, and each row sees the pieces in the order of the
// recursion, so the frame is exactly the one a single painter makes.
//
// Pixels are exactly those of FillLeafPiece. Small pieces (corners 1 and 2
// at most 3 pixels left of or above corner 0 and at most 4 right of or below
// it: every piece at Precision 1 and most at Precision 4) take a table of
// pixel masks that FillLeafPiece itself drew once; the rule does not depend
// on where a piece lies, so a mask drawn at one place holds everywhere.
// Other pieces, and pieces at the bitmap's border, go to FillLeafPiece /
// FillLeafPieceInRows.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "core/generate/subdivision.h"
#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk {

// How much of a piece (and of everything cut from it) a painter paints.
enum class Coverage {
  kNone,   // nothing: outside the bitmap or wholly outside the painter's rows
  kPart,   // some of it: it reaches over the bitmap's border or the band's
  kWhole,  // all of it: inside the bitmap and within the painter's rows
};

class LeafPainter {
 public:
  // Paints on every row.
  explicit LeafPainter(Bitmap& target) : LeafPainter(target, 0, target.Height()) {}
  // Paints only on rows first_row .. end_row - 1 (clipped to the bitmap).
  LeafPainter(Bitmap& target, int first_row, int end_row);

  // Which of the piece's pixels (and of everything cut from it, which lies
  // within its corners' bounding box) this painter paints.
  Coverage Cover(const Corners& g) const {
    const int x_lo = Min3(g.p0.x, g.p1.x, g.p2.x);
    const int x_hi = Max3(g.p0.x, g.p1.x, g.p2.x);
    const int y_lo = Min3(g.p0.y, g.p1.y, g.p2.y);
    const int y_hi = Max3(g.p0.y, g.p1.y, g.p2.y);
    if (x_hi < 0 || x_lo >= width_ || y_hi < first_row_ || y_lo >= end_row_) {
      return Coverage::kNone;
    }
    if (x_lo >= 0 && x_hi < width_ && y_lo >= first_row_ && y_hi < end_row_) {
      return Coverage::kWhole;
    }
    return Coverage::kPart;
  }

  bool Skip(const Corners& g) const { return Cover(g) == Coverage::kNone; }

  // Paints a piece whose Cover is kWhole (or that lies within such a piece).
  void PaintWhole(const Corners& g, Color c) {
    const int left = g.p0.x - kReach;
    const int top = g.p0.y - kReach;
    const unsigned dx1 = static_cast<unsigned>(g.p1.x - left);
    const unsigned dy1 = static_cast<unsigned>(g.p1.y - top);
    const unsigned dx2 = static_cast<unsigned>(g.p2.x - left);
    const unsigned dy2 = static_cast<unsigned>(g.p2.y - top);
    // kSpan is a power of two, so one test covers all four differences (a
    // negative one wraps to a large unsigned value).
    if ((dx1 | dy1 | dx2 | dy2) < unsigned{kSpan}) {
      // The window may reach past the bitmap; the piece's own pixels do not.
      std::uint64_t mask = masks_[(dx1 << 9) | (dy1 << 6) | (dx2 << 3) | dy2];
      const std::ptrdiff_t base = top * stride_ + left;
      while (mask != 0) {
        pixels_[base + bit_offsets_[std::countr_zero(mask)]] = c;
        mask &= mask - 1;
      }
      return;
    }
    FillLeafPiece(*target_, g.p0, g.p1, g.p2, c);
  }

  // Paints any piece in colour c on this painter's rows.
  void Paint(const Corners& g, Color c) {
    // Any corners may come here: differences are taken in 64 bits.
    const std::int64_t left = std::int64_t{g.p0.x} - kReach;
    const std::int64_t top = std::int64_t{g.p0.y} - kReach;
    const auto dx1 = static_cast<std::uint64_t>(g.p1.x - left);
    const auto dy1 = static_cast<std::uint64_t>(g.p1.y - top);
    const auto dx2 = static_cast<std::uint64_t>(g.p2.x - left);
    const auto dy2 = static_cast<std::uint64_t>(g.p2.y - top);
    if ((dx1 | dy1 | dx2 | dy2) < std::uint64_t{kSpan} && left >= 0 && top >= 0 &&
        left + kSpan <= width_ && top + kSpan <= height_) {
      std::uint64_t mask = masks_[(dx1 << 9) | (dy1 << 6) | (dx2 << 3) | dy2];
      mask &= RowsMask(first_row_ - static_cast<int>(top), end_row_ - static_cast<int>(top));
      const std::ptrdiff_t base = top * stride_ + left;
      while (mask != 0) {
        pixels_[base + bit_offsets_[std::countr_zero(mask)]] = c;
        mask &= mask - 1;
      }
      return;
    }
    FillLeafPieceInRows(*target_, g.p0, g.p1, g.p2, c, first_row_, end_row_);
  }

  // The mask table's window: kSpan pixels square, one byte a row, corner 0
  // at (kReach, kReach); corners 1 and 2 may lie from kReach pixels before
  // corner 0 to kSpan - kReach - 1 pixels after it, in x and in y.
  static constexpr int kReach = 3;
  static constexpr int kSpan = 8;

 private:
  static int Min3(int a, int b, int c) { return a < b ? (a < c ? a : c) : (b < c ? b : c); }
  static int Max3(int a, int b, int c) { return a > b ? (a > c ? a : c) : (b > c ? b : c); }
  // Window rows lo .. hi - 1 (clamped to 0 .. 8) as mask bits.
  static std::uint64_t RowsMask(int lo, int hi) {
    if (lo <= 0 && hi >= kSpan) return ~std::uint64_t{0};
    if (lo < 0) lo = 0;
    if (hi > kSpan) hi = kSpan;
    if (lo >= hi) return 0;
    const std::uint64_t below_hi =
        hi == kSpan ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * hi)) - 1;
    return below_hi & ~((std::uint64_t{1} << (8 * lo)) - 1);
  }

  Bitmap* target_;
  const std::uint64_t* masks_;
  Color* pixels_;
  // The width as a pointer-sized value too: the pixel stores cannot alias it,
  // so it stays in a register from piece to piece.
  std::ptrdiff_t stride_;
  int width_;
  int height_;
  int first_row_;
  int end_row_;
  // Offset in the bitmap of each window bit from the window's corner.
  std::ptrdiff_t bit_offsets_[64];
};

}  // namespace vesk
