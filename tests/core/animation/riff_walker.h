// A small RIFF reader for the tests, written apart from the AVI writer:
// walks a file's chunks and lists, checking that every size (padded to an
// even size) stays inside its parent, and reads little-endian fields.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vesk::testing_riff {

using Bytes = std::vector<std::uint8_t>;

struct RiffChunk {
  std::string id;    // "RIFF", "LIST", "avih", "00db", ...
  std::string type;  // "AVI ", "hdrl", "movi" for RIFF and LIST chunks
  std::size_t offset = 0;  // of the id
  std::size_t data = 0;    // of the data, after the type for lists
  std::uint32_t size = 0;
  std::vector<RiffChunk> children;

  const RiffChunk& operator[](const std::string& name) const {
    for (const RiffChunk& c : children) {
      if ((c.id == "LIST" ? c.type : c.id) == name) return c;
    }
    static const RiffChunk none;
    return none;
  }
};

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
inline std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t{b.at(at + 3)} << 24;
}
inline std::string Id(const Bytes& b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

// The chunks in [begin, end); false with `error` when a size passes a parent.
inline bool Walk(const Bytes& b, std::size_t begin, std::size_t end, std::vector<RiffChunk>& out,
                 std::string& error) {
  for (std::size_t at = begin; at < end;) {
    RiffChunk c{end - at < 8 ? "" : Id(b, at), "", at, at + 8, 0, {}};
    if (end - at < 8 || (c.size = U32(b, at + 4)) > end - at - 8 ||
        at + 8 + c.size + (c.size & 1) > end) {
      error = "chunk " + c.id + " at " + std::to_string(at) + " passes its parent";
      return false;
    }
    if (c.id == "RIFF" || c.id == "LIST") {
      c.type = c.size >= 4 ? Id(b, at + 8) : "";
      c.data = at + 12;
      if (c.size < 4 || !Walk(b, at + 12, at + 8 + c.size, c.children, error)) return false;
    }
    at += 8 + c.size + (c.size & 1);
    out.push_back(std::move(c));
  }
  return true;
}

// The file as one RIFF chunk, or an empty chunk with `error` set.
inline RiffChunk WalkRiff(const Bytes& b, std::string& error) {
  std::vector<RiffChunk> top;
  if (Walk(b, 0, b.size(), top, error) && (top.size() != 1 || top[0].id != "RIFF")) {
    error = "not one RIFF chunk";
  }
  return error.empty() ? top[0] : RiffChunk{};
}

}  // namespace vesk::testing_riff
