// The photo cases in tests/data/photos (made by tests/data/make_photo_cases.sh)
// and what each must read as: upright, in sRGB, within its codec's error of
// the reference it was made from. The batch tool's test and the desktop
// program's test read every case through their own path and ask PhotoProblem.
#pragma once

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image/bitmap.h"
#include "pictures/image_convert.h"

namespace vesk::testing {

inline const std::string kPhotos = std::string(VESK_SOURCE_DIR) + "/tests/data/photos/";

struct PhotoCase {
  const char* file;
  // Measured: the portrait's JPEGs at quality 90 come back at 34.2 dB, the
  // WebP, HEIC and AVIF at 35.4 to 36.2 dB, the Display P3 files converted
  // to sRGB at 35.0 and 35.5 dB, where their pixels taken as sRGB give
  // 31.1 dB. 0: exact, the cases of 16 bits a channel.
  double min_psnr;
};

inline const PhotoCase kPhotoCases[] = {
    {"orientation_1.jpg", 33}, {"orientation_2.jpg", 33}, {"orientation_3.jpg", 33},
    {"orientation_4.jpg", 33}, {"orientation_5.jpg", 33}, {"orientation_6.jpg", 33},
    {"orientation_7.jpg", 33}, {"orientation_8.jpg", 33}, {"astronaut.webp", 34},
    {"astronaut.heic", 34},    {"astronaut.avif", 34},    {"astronaut_p3.jpg", 34},
    {"astronaut_p3.avif", 34}, {"astronaut_16bit.tif", 0}, {"astronaut_16bit_alpha.png", 0},
};

// What `file` must read as: its reference, for the 16-bit cases the crop at
// (48, 16) with the alpha case's middle third white and its right third
// half way to white.
inline Bitmap PhotoReference(const std::string& file) {
  const bool portrait = file.starts_with("orientation");
  Bitmap reference = FromQImage(QImage(QString::fromStdString(
      kPhotos + (portrait ? "portrait.png" : "astronaut.png"))));
  if (!file.starts_with("astronaut_16bit")) return reference;
  Bitmap crop(96, 96);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const Color c = reference.Pixel(48 + x, 16 + y);
      const bool alpha = file.find("alpha") != std::string::npos;
      const auto half = [c](int shift) { return (int(c >> shift & 255) + 255) / 2; };
      const Color over_white = MakeColor(half(0), half(8), half(16));
      crop.SetPixel(x, y, !alpha || x < 32 ? c : x < 64 ? kWhite : over_white);
    }
  }
  return crop;
}

// Empty when `read` is what the case must read as, else what is wrong.
inline std::string PhotoProblem(const PhotoCase& photo, const Bitmap& read) {
  const Bitmap reference = PhotoReference(photo.file);
  const int width = reference.Width();
  if (read.Width() != width || read.Height() != reference.Height()) {
    return "read as " + std::to_string(read.Width()) + " x " + std::to_string(read.Height());
  }
  double sum = 0;
  int beyond = 0;  // the largest difference beyond the one allowed
  for (int i = 0; i < width * read.Height(); ++i) {
    const Color a = read.Row(0)[i], b = reference.Row(0)[i];
    // The half-transparent third may round either way.
    const int allowed = photo.file == std::string("astronaut_16bit_alpha.png") && i % width >= 64;
    for (int shift : {0, 8, 16}) {
      const int d = int(a >> shift & 255) - int(b >> shift & 255);
      sum += d * d;
      beyond = std::max(beyond, std::abs(d) - allowed);
    }
  }
  if (photo.min_psnr == 0) return beyond == 0 ? "" : "differs by " + std::to_string(beyond);
  const double psnr = 10 * std::log10(255.0 * 255.0 * 3 * width * read.Height() / sum);
  return psnr >= photo.min_psnr ? "" : "only " + std::to_string(psnr) + " dB";
}

}  // namespace vesk::testing
