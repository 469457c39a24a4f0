// Reading a frame-list file (".any"): plain 8-bit text, one frame file name
// per line. A line ends at CR, which eats one LF directly after it; an LF on
// its own is part of the name. The list ends at the end of the file or at the
// first 0x1A byte; text before either still forms a last line. Lines are
// used unchanged as file names (an empty line is a name that is never found).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace vesk {

// Longest frame-list file that is read (a list of 64 MiB holds millions of
// names); a longer one is refused rather than loaded whole.
inline constexpr std::uint64_t kMaxFrameListBytes = std::uint64_t{64} << 20;

std::vector<std::string> ParseFrameList(std::span<const std::uint8_t> bytes);

// The lines of the list at `path`, or the message to show when it cannot be
// read ("File Not Found" for a file that cannot be opened).
Result<std::vector<std::string>> ReadFrameListFile(const std::string& path);

}  // namespace vesk
