// Other programs as independent readers of what we write: a shell command's
// output, whether FFmpeg's tools are there, how near a decoded frame is to ours.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

inline bool HaveFfmpeg() {
  return std::system("ffprobe -version >/dev/null 2>&1 && ffmpeg -version >/dev/null 2>&1") == 0;
}

inline std::string Shell(const std::string& command) {
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

// PSNR of decoded RGB24 frame (stored `width` wide) against `ours`; 99 when exact.
inline double Psnr(const std::string& decoded, std::size_t offset, int width, const Bitmap& ours) {
  double sum = 0;
  for (int y = 0; y < ours.Height(); ++y) {
    for (int x = 0; x < ours.Width() * 3; ++x) {
      const auto at = offset + static_cast<std::size_t>(y) * width * 3 + x;
      const double d = static_cast<unsigned char>(decoded[at]) -
                       static_cast<double>((ours.Row(y)[x / 3] >> (8 * (x % 3))) & 0xFF);
      sum += d * d;
    }
  }
  return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * 3 * ours.Width() * ours.Height() / sum);
}

}  // namespace vesk::testing_support
