// A small RIFF reader for the tests: walks a file's chunks and lists, checks
// that every size stays inside its parent, and reads little-endian fields.
// Written apart from the AVI writer so the tests do not trust its layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::testing_riff {

struct RiffChunk {
  std::string id;         // "RIFF", "LIST", "avih", "00db", ...
  std::string list_type;  // "AVI ", "hdrl", "movi" for RIFF and LIST chunks
  std::size_t offset = 0;       // file offset of the id
  std::size_t data_offset = 0;  // file offset of the data (after the list type for lists)
  std::uint32_t size = 0;       // the size field
  std::vector<RiffChunk> children;

  const RiffChunk* Child(const std::string& name) const {
    for (const RiffChunk& c : children) {
      if ((c.id == "LIST" ? c.list_type : c.id) == name) return &c;
    }
    return nullptr;
  }
};

inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t{b.at(at + 3)} << 24;
}
inline std::string Id(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

// Walks [begin, end) as a sequence of chunks, padded to even sizes; on a chunk
// (or its padding) that passes its parent or a list too short for its type,
// false with the chunk's offset in `error`.
inline bool WalkChunks(const std::vector<std::uint8_t>& b, std::size_t begin, std::size_t end,
                       std::vector<RiffChunk>& out, std::string& error) {
  for (std::size_t at = begin; at < end;) {
    error = "bad chunk at " + std::to_string(at);
    if (end - at < 8 || U32(b, at + 4) > end - at - 8) return false;
    RiffChunk c{Id(b, at), "", at, at + 8, U32(b, at + 4), {}};
    if (c.id == "RIFF" || c.id == "LIST") {
      if (c.size < 4) return false;
      c.list_type = Id(b, at + 8);
      c.data_offset = at + 12;
      if (!WalkChunks(b, at + 12, at + 8 + c.size, c.children, error)) return false;
    }
    at += 8 + c.size + (c.size & 1);
    if (at > end) return false;
    out.push_back(std::move(c));
  }
  return true;
}

}  // namespace vesk::testing_riff
