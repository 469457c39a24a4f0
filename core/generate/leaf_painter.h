// Paints the leaf pieces of the morph and the distortion, optionally only on
// one set of rows so that several threads can paint one frame together.
//
// Rows are dealt out in bands of kBandRows: with n bands-sets, row y belongs
// to set (y / kBandRows) mod n. A painter owning one set paints every piece
// in painting order but only on its rows, so the painters never touch the
// same pixel and each row sees the pieces in the order of the recursion:
// the frame is exactly the one a single painter makes.
//
// Pixels are exactly those of FillLeafPiece. Small pieces (every corner
// within 3 pixels of corner 0, the usual case at Precision 1 and 4) take a
// table of pixel masks that FillLeafPiece itself drew once; the rule does
// not depend on where a piece lies, so a mask drawn at one place holds
// everywhere. Other pieces, and pieces at the bitmap's border, go to
// FillLeafPiece / FillLeafPieceInRows.
#pragma once

#include <bit>
#include <cstdint>

#include "core/generate/subdivision.h"
#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk {

inline constexpr int kBandRows = 16;

class LeafPainter {
 public:
  // Paints on every row.
  explicit LeafPainter(Bitmap& target) : LeafPainter(target, 0, 1) {}
  // Paints only on the rows of set `band` of `band_count` (0 <= band <
  // band_count, band_count >= 1).
  LeafPainter(Bitmap& target, int band, int band_count);

  // True when no pixel of the piece (or of anything cut from it, which lies
  // within its corners' bounding box) falls on this painter's rows inside
  // the bitmap.
  bool Skip(const Corners& g) const {
    const int x_lo = Min3(g.p0.x, g.p1.x, g.p2.x);
    const int x_hi = Max3(g.p0.x, g.p1.x, g.p2.x);
    int y_lo = Min3(g.p0.y, g.p1.y, g.p2.y);
    int y_hi = Max3(g.p0.y, g.p1.y, g.p2.y);
    if (x_hi < 0 || x_lo >= width_ || y_hi < 0 || y_lo >= height_) return true;
    if (band_count_ == 1) return false;
    if (y_lo < 0) y_lo = 0;
    if (y_hi >= height_) y_hi = height_ - 1;
    const int first = y_lo / kBandRows;
    const int last = y_hi / kBandRows;
    if (last - first + 1 >= band_count_) return false;
    for (int b = first; b <= last; ++b) {
      if (b % band_count_ == band_) return false;
    }
    return true;
  }

  // Paints the piece in colour c on this painter's rows.
  void Paint(const Corners& g, Color c) {
    const unsigned dx1 = static_cast<unsigned>(g.p1.x - g.p0.x + kReach);
    const unsigned dy1 = static_cast<unsigned>(g.p1.y - g.p0.y + kReach);
    const unsigned dx2 = static_cast<unsigned>(g.p2.x - g.p0.x + kReach);
    const unsigned dy2 = static_cast<unsigned>(g.p2.y - g.p0.y + kReach);
    const int left = g.p0.x - kReach;
    const int top = g.p0.y - kReach;
    const bool small = (dx1 | dy1 | dx2 | dy2) < kSpan;  // also rejects wrapped differences
    if (small && left >= 0 && top >= 0 && left + kSpan <= width_ && top + kSpan <= height_) {
      std::uint64_t mask = masks_[((dx1 * kSpan + dy1) * kSpan + dx2) * kSpan + dy2];
      if (band_count_ != 1) mask &= row_masks_[top % period_];
      Color* window = pixels_ + static_cast<std::ptrdiff_t>(top) * width_ + left;
      while (mask != 0) {
        const int bit = std::countr_zero(mask);
        window[static_cast<std::ptrdiff_t>(bit >> 3) * width_ + (bit & 7)] = c;
        mask &= mask - 1;
      }
      return;
    }
    PaintAny(g, c);
  }

  // How far corners 1 and 2 may lie from corner 0 (in x and in y) for the
  // mask table; the window is (2 kReach + 1) pixels square, one byte a row.
  static constexpr int kReach = 3;
  static constexpr int kSpan = 2 * kReach + 1;

 private:
  static int Min3(int a, int b, int c) { return a < b ? (a < c ? a : c) : (b < c ? b : c); }
  static int Max3(int a, int b, int c) { return a > b ? (a > c ? a : c) : (b > c ? b : c); }
  void PaintAny(const Corners& g, Color c);

  Bitmap* target_;
  const std::uint64_t* masks_;
  Color* pixels_;
  int width_;
  int height_;
  int band_;
  int band_count_;
  int period_;
  // For each window top row modulo period_: the window rows that are ours.
  std::uint64_t row_masks_[kBandRows * 8] = {};
};

// Most row-band sets a painter accepts (the mask table above holds 8).
inline constexpr int kMaxPaintingBands = 8;

}  // namespace vesk
