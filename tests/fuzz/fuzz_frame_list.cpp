// libFuzzer target for the frame-list reader: no line holds a CR or the end
// marker, and the lines never hold more than the input.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/generate/frame_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t total = 0;
  for (const auto& line : vesk::ParseFrameList(std::span<const std::uint8_t>(data, size))) {
    if (line.find_first_of("\r\x1A") != std::string::npos) std::abort();
    total += line.size() + 1;  // each line but the last used at least a CR
  }
  if (total > size + 1) std::abort();
  return 0;
}
