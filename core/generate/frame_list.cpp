#include "core/generate/frame_list.h"

#include <algorithm>

#include "core/common/file_io.h"

namespace vesk {

std::vector<std::string> ParseFrameList(std::span<const std::uint8_t> bytes) {
  constexpr std::uint8_t kCr = 0x0D;
  constexpr std::uint8_t kLf = 0x0A;
  constexpr std::uint8_t kTextEnd = 0x1A;

  // Nothing at or after the text end marker counts.
  auto end = std::find(bytes.begin(), bytes.end(), kTextEnd);
  std::vector<std::string> lines;
  auto pos = bytes.begin();
  while (pos != end) {
    auto cr = std::find(pos, end, kCr);
    lines.emplace_back(pos, cr);
    if (cr == end) break;
    pos = cr + 1;
    if (pos != end && *pos == kLf) ++pos;
  }
  return lines;
}

Result<std::vector<std::string>> ReadFrameListFile(const std::string& path) {
  auto bytes = ReadWholeFile(path, kMaxFrameListBytes);
  if (!bytes) return Failure{bytes.Message()};
  return ParseFrameList(bytes.Value());
}

}  // namespace vesk
