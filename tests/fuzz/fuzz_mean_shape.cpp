// libFuzzer target for the mean shape reader: a refusal is one line of a documented kind; a
// shape read reads back from its own text, and a caricature on it paints (Delaunay, warp).
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/faces/caricature.h"
#include "core/faces/mean_shape_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto read = vesk::ParseMeanShape(std::span(data, size));
  if (!read) {
    const std::string& m = read.Message();
    for (const char* kind :
         {"Not a mean shape file", "Mean shape version ", "Line ", "The mean shape has "}) {
      if (m.starts_with(kind) && m.find('\n') == std::string::npos) return 0;
    }
    std::abort();
  }
  const vesk::FacePoints& shape = read.Value();
  const auto again = vesk::ParseMeanShape(vesk::MeanShapeText(shape));
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const double x = again.Value()[i].x - shape[i].x, y = again.Value()[i].y - shape[i].y;
    if (!(std::abs(x) <= 0.0005 + 1e-9 && std::abs(y) <= 0.0005 + 1e-9)) std::abort();
  }
  vesk::RunProtocol quiet;
  const auto target = vesk::CaricaturePoints(shape, shape, 2);
  const vesk::Bitmap bent = vesk::PaintCaricature(
      vesk::Bitmap(16, 12), shape, target ? *target : shape, vesk::Renderer::kSmooth, quiet);
  if (bent.Width() != 16 || bent.Height() != 12) std::abort();
  return 0;
}
