// libFuzzer target: the frame-list reader on arbitrary bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/generate/frame_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  auto lines = vesk::ParseFrameList(bytes);
  std::size_t total = 0;
  for (const auto& line : lines) {
    // No line holds a line end or the text end marker.
    if (line.find('\r') != std::string::npos || line.find('\x1A') != std::string::npos) std::abort();
    total += line.size();
  }
  if (total > size || lines.size() > size) std::abort();
  // Every line but a last one without a line end used a CR of the input.
  auto crs = static_cast<std::size_t>(std::count(data, data + size, std::uint8_t{0x0D}));
  if (lines.size() > crs + 1) std::abort();
  return 0;
}
