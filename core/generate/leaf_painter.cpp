#include "core/generate/leaf_painter.h"

#include <algorithm>
#include <vector>

namespace vesk {
namespace {

constexpr int kReach = LeafPainter::kReach;
constexpr int kSpan = LeafPainter::kSpan;
static_assert(kSpan == 8, "one byte a window row, 3 bits a difference");

// One mask per shape (corner 1 and corner 2 relative to corner 0, each
// coordinate shifted by kReach, 3 bits each): bit 8 y + x stands for window
// pixel (x, y), corner 0 sitting at (kReach, kReach). FillLeafPiece draws
// every shape once.
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

LeafPainter::LeafPainter(Bitmap& target, int first_row, int end_row)
    : target_(&target),
      masks_(Masks()),
      pixels_(target.Row(0)),
      stride_(target.Width()),
      width_(target.Width()),
      height_(target.Height()),
      first_row_(std::max(first_row, 0)),
      end_row_(std::min(end_row, target.Height())) {
  for (int bit = 0; bit < 64; ++bit) {
    bit_offsets_[bit] = (bit >> 3) * stride_ + (bit & 7);
  }
}

}  // namespace vesk
