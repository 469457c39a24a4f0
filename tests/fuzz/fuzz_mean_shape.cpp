// libFuzzer target for the mean shape reader: a refusal is one line of the
// documented kinds; a shape read has finite coordinates within the limit,
// reads back the same from its own text, and survives a caricature on it
// and the whole-picture face warp (the Delaunay mesh of any 88 points).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/faces/caricature.h"
#include "core/faces/face_warp.h"
#include "core/faces/mean_shape_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto read = vesk::ParseMeanShape(std::span(data, size));
  if (!read) {
    const std::string& m = read.Message();
    const bool known = m.starts_with("Not a mean shape file") || m.starts_with("Mean shape version ") ||
                       m.starts_with("Line ") || m.starts_with("The mean shape has ");
    if (!known || m.find('\n') != std::string::npos) std::abort();
    return 0;
  }
  const vesk::FacePoints& shape = read.Value();
  for (const vesk::PicturePoint& p : shape) {
    if (!(std::abs(p.x) <= vesk::kMaxMeanShapeCoordinate && std::abs(p.y) <= vesk::kMaxMeanShapeCoordinate)) {
      std::abort();
    }
  }
  const auto again = vesk::ParseMeanShape(vesk::MeanShapeText(shape));
  if (!again) std::abort();
  constexpr double kRounding = 0.0005 + 1e-9;  // three decimals, and the doubles' own
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (std::abs(again.Value()[i].x - shape[i].x) > kRounding ||
        std::abs(again.Value()[i].y - shape[i].y) > kRounding) {
      std::abort();
    }
  }
  vesk::RunProtocol quiet;
  const vesk::Bitmap picture(16, 12, vesk::MakeColor(1, 2, 3));
  const auto target = vesk::CaricaturePoints(shape, shape, 2);
  const vesk::Bitmap bent =
      vesk::PaintCaricature(picture, shape, target ? *target : shape, vesk::Renderer::kSmooth, quiet);
  if (bent.Width() != 16 || bent.Height() != 12) std::abort();
  return 0;
}
