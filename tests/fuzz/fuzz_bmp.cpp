// libFuzzer target for the BMP reader: any bytes give the one refusal
// message or an image within the size limit that survives a write and a read.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/image/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto decoded = vesk::DecodeBmp(std::span<const std::uint8_t>(data, size));
  if (!decoded.Ok()) {
    if (decoded.Message() != vesk::kBmpNotValid) std::abort();
    return 0;
  }
  const vesk::Bitmap& image = decoded.Value();
  if (image.Empty() || !vesk::CheckBitmapSize(image.Width(), image.Height()).empty()) std::abort();
  if (std::int64_t{image.Width()} * image.Height() > 4096) return 0;  // keep the round trip cheap
  vesk::Bitmap masked = image;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) masked.SetPixel(x, y, image.Pixel(x, y) & 0xFFFFFF);
  }
  if (!(vesk::DecodeBmp(vesk::EncodeBmp(image)).Value() == masked)) std::abort();
  return 0;
}
