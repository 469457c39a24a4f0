#include "core/image/bitmap.h"

#include <algorithm>
#include <cassert>

namespace vesk {

std::string CheckBitmapSize(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0) return "Bitmap size is not valid";
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels) {
    return kBitmapTooLargeMessage;
  }
  return {};
}

Bitmap::Bitmap(int width, int height, Color fill) : width_(width), height_(height) {
  assert(CheckBitmapSize(width, height).empty());
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

Result<Bitmap> Bitmap::Create(std::int64_t width, std::int64_t height, Color fill) {
  std::string problem = CheckBitmapSize(width, height);
  if (!problem.empty()) return Failure{problem};
  return Bitmap(static_cast<int>(width), static_cast<int>(height), fill);
}

void Bitmap::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), c); }

}  // namespace vesk
