// Small file helpers shared by every reader and writer of the core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace vesk {

// The file probe: true when the file can be opened for reading and writing
// (and is then closed again). A file that cannot be so opened, a read-only
// one included, counts as missing. Never reports anything.
bool FileFound(const std::string& name);

// Whole file as bytes, or the message "File Not Found" when it cannot be
// opened for reading. Files larger than max_bytes are refused.
Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name,
                                                std::uint64_t max_bytes = std::uint64_t{1} << 32);

// Writes bytes to a temporary file in the same folder and renames it over
// `name`, so a failed write never destroys the previous file.
Status WriteFileReplacing(const std::string& name, const std::vector<std::uint8_t>& bytes);

// For writers that stream: the temporary name beside `name` to write to,
// and the step that puts the finished temporary file in place of `name`
// (or removes it and reports when that fails).
std::string TemporaryNameFor(const std::string& name);
Status MoveIntoPlace(const std::string& temporary, const std::string& name);

}  // namespace vesk
