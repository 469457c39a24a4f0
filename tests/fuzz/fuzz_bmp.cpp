// libFuzzer target for the BMP reader: any bytes must give either an image
// of a size the reader allows or the one refusal message, and a decoded
// image must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/image/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::Result<vesk::Bitmap> decoded = vesk::DecodeBmp(std::span<const std::uint8_t>(data, size));
  if (!decoded.Ok()) {
    if (decoded.Message() != vesk::kBmpNotValid) std::abort();
    return 0;
  }
  const vesk::Bitmap& image = decoded.Value();
  if (image.Empty() || !vesk::CheckBitmapSize(image.Width(), image.Height()).empty()) std::abort();
  // Keep the round trip cheap: the reader itself is the target.
  if (static_cast<std::int64_t>(image.Width()) * image.Height() <= 4096) {
    vesk::Result<vesk::Bitmap> again = vesk::DecodeBmp(vesk::EncodeBmp(image));
    if (!again.Ok()) std::abort();
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        if (again.Value().Pixel(x, y) != (image.Pixel(x, y) & 0xFFFFFFu)) std::abort();
      }
    }
  }
  return 0;
}
