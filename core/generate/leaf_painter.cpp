#include "core/generate/leaf_painter.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace vesk {
namespace {

constexpr int kReach = LeafPainter::kReach;
constexpr int kSpan = LeafPainter::kSpan;
constexpr std::uint64_t kRowBits = (std::uint64_t{1} << kSpan) - 1;

// One mask per shape (corner 1 and corner 2 relative to corner 0, each
// coordinate shifted by kReach): bit 8 y + x stands for window pixel (x, y),
// corner 0 sitting at (kReach, kReach). FillLeafPiece draws every shape once.
std::vector<std::uint64_t> DrawMasks() {
  std::vector<std::uint64_t> masks(static_cast<std::size_t>(kSpan) * kSpan * kSpan * kSpan);
  Bitmap window(kSpan, kSpan, kBlack);
  std::size_t index = 0;
  for (int dx1 = 0; dx1 < kSpan; ++dx1) {
    for (int dy1 = 0; dy1 < kSpan; ++dy1) {
      for (int dx2 = 0; dx2 < kSpan; ++dx2) {
        for (int dy2 = 0; dy2 < kSpan; ++dy2) {
          window.Fill(kBlack);
          FillLeafPiece(window, Point{kReach, kReach}, Point{dx1, dy1}, Point{dx2, dy2}, kWhite);
          std::uint64_t mask = 0;
          for (int y = 0; y < kSpan; ++y) {
            for (int x = 0; x < kSpan; ++x) {
              if (window.Pixel(x, y) == kWhite) mask |= std::uint64_t{1} << (8 * y + x);
            }
          }
          masks[index++] = mask;
        }
      }
    }
  }
  return masks;
}

const std::uint64_t* Masks() {
  static const std::vector<std::uint64_t> masks = DrawMasks();
  return masks.data();
}

}  // namespace

LeafPainter::LeafPainter(Bitmap& target, int band, int band_count)
    : target_(&target),
      masks_(Masks()),
      pixels_(target.Row(0)),
      width_(target.Width()),
      height_(target.Height()),
      band_(band),
      band_count_(band_count),
      period_(kBandRows * band_count) {
  assert(band_count >= 1 && band_count <= kMaxPaintingBands && band >= 0 && band < band_count);
  if (band_count_ == 1) return;
  for (int top = 0; top < period_; ++top) {
    std::uint64_t mask = 0;
    for (int j = 0; j < kSpan; ++j) {
      if (((top + j) / kBandRows) % band_count_ == band_) mask |= kRowBits << (8 * j);
    }
    row_masks_[top] = mask;
  }
}

void LeafPainter::PaintAny(const Corners& g, Color c) {
  if (band_count_ == 1) {
    FillLeafPiece(*target_, g.p0, g.p1, g.p2, c);
    return;
  }
  const int y_lo = std::max(Min3(g.p0.y, g.p1.y, g.p2.y), 0);
  const int y_hi = std::min(Max3(g.p0.y, g.p1.y, g.p2.y), height_ - 1);
  for (int b = y_lo / kBandRows; b <= y_hi / kBandRows; ++b) {
    if (b % band_count_ != band_) continue;
    FillLeafPieceInRows(*target_, g.p0, g.p1, g.p2, c, b * kBandRows, (b + 1) * kBandRows);
  }
}

}  // namespace vesk
