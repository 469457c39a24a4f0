// libFuzzer target for the EXIF orientation reader: any bytes give one of
// the eight orientations, never a read outside them.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/image/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vesk::MemoryBytes bytes(std::span<const std::uint8_t>(data, size));
  const int orientation = static_cast<int>(vesk::ReadExifOrientation(bytes));
  if (orientation < 1 || orientation > 8) std::abort();
  return 0;
}
