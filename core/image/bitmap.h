// An image in memory: width x height colours, top row first. Engines take
// row pointers; Pixel/SetPixel are the bounds-checked single-pixel access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/color.h"

namespace vesk {

// Largest bitmap the program makes: 32768 pixels on a side, 2^28 in all.
inline constexpr int kMaxBitmapSide = 32768;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 28;

// The message of the size limit, also shown when memory runs out for a
// bitmap inside it.
inline constexpr char kBitmapTooLargeMessage[] =
    "Bitmap is too large (at most 32768 pixels on a side and 268435456 pixels in all)";

// Empty when width x height may be made; otherwise the message to show.
// Negative sizes are refused; 0 x 0 is allowed (an empty bitmap).
std::string CheckBitmapSize(std::int64_t width, std::int64_t height);

class Bitmap {
 public:
  Bitmap() = default;
  // Caller checks the size with CheckBitmapSize first; asserts otherwise.
  Bitmap(int width, int height, Color fill = kWhite);

  // Makes a bitmap of the size, or the size limit's message.
  static Result<Bitmap> Create(std::int64_t width, std::int64_t height, Color fill = kWhite);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  bool Contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }

  Color* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Color* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }

  Color Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : kInvalidColor; }
  void SetPixel(int x, int y, Color c) {
    if (Contains(x, y)) Row(y)[x] = c;
  }
  void Fill(Color c);

  bool operator==(const Bitmap&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace vesk
