#include "core/image/exif_orientation.h"

#include <array>
#include <cstring>

namespace vesk {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr int kMaxSteps = 1 << 20;  // segments or chunks walked before giving up

template <std::size_t N>
bool ReadAt(const ByteSource& file, std::uint64_t offset, std::array<std::uint8_t, N>& out) {
  return file.Read(offset, out);
}

std::uint32_t Big16(const std::uint8_t* p) { return std::uint32_t{p[0]} << 8 | p[1]; }
std::uint32_t Big32(const std::uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
std::uint32_t Little32(const std::uint8_t* p) {
  return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

// The tag in the first directory of the TIFF structure at `base`, `length`
// bytes long (offsets inside it count from `base`).
ExifOrientation FromTiff(const ByteSource& file, std::uint64_t base, std::uint64_t length) {
  std::array<std::uint8_t, 8> header;
  if (length < header.size() || !ReadAt(file, base, header)) return ExifOrientation::kUpright;
  const bool big = header[0] == 'M' && header[1] == 'M';
  if (!big && !(header[0] == 'I' && header[1] == 'I')) return ExifOrientation::kUpright;
  const auto u16 = [big](const std::uint8_t* p) -> std::uint32_t {
    return big ? Big16(p) : std::uint32_t{p[1]} << 8 | p[0];
  };
  const auto u32 = [big](const std::uint8_t* p) { return big ? Big32(p) : Little32(p); };
  if (u16(header.data() + 2) != 42) return ExifOrientation::kUpright;
  const std::uint64_t directory = u32(header.data() + 4);
  std::array<std::uint8_t, 2> count_bytes;
  if (directory > length - 2 || !ReadAt(file, base + directory, count_bytes)) {
    return ExifOrientation::kUpright;
  }
  const std::uint32_t count = u16(count_bytes.data());
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = directory + 2 + std::uint64_t{12} * i;
    std::array<std::uint8_t, 12> entry;
    if (at + entry.size() > length || !ReadAt(file, base + at, entry)) break;
    if (u16(entry.data()) != kOrientationTag) continue;
    const std::uint32_t type = u16(entry.data() + 2);
    // SHORT as written; LONG from a few writers. One value, kept in place.
    std::uint32_t value = 0;
    if (type == 3 && u32(entry.data() + 4) >= 1) value = u16(entry.data() + 8);
    if (type == 4 && u32(entry.data() + 4) >= 1) value = u32(entry.data() + 8);
    if (value >= 1 && value <= 8) return static_cast<ExifOrientation>(value);
    return ExifOrientation::kUpright;
  }
  return ExifOrientation::kUpright;
}

// An EXIF block as JPEG, WebP and PNG carry it: the TIFF structure, in
// JPEG (and by some writers in the others) after "Exif\0\0".
ExifOrientation FromExifBlock(const ByteSource& file, std::uint64_t at, std::uint64_t length) {
  std::array<std::uint8_t, 6> marker;
  if (length >= marker.size() && ReadAt(file, at, marker) &&
      std::memcmp(marker.data(), "Exif\0\0", 6) == 0) {
    return FromTiff(file, at + 6, length - 6);
  }
  return FromTiff(file, at, length);
}

ExifOrientation FromJpeg(const ByteSource& file) {
  std::uint64_t at = 2;  // after the start-of-image marker
  for (int step = 0; step < kMaxSteps; ++step) {
    std::array<std::uint8_t, 4> segment;
    if (!ReadAt(file, at, segment) || segment[0] != 0xFF) break;
    const std::uint8_t marker = segment[1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;  // end of image, start of scan
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    const std::uint32_t length = Big16(segment.data() + 2);
    if (length < 2) break;
    if (marker == 0xE1) {
      std::array<std::uint8_t, 6> name;
      if (length >= 8 && ReadAt(file, at + 4, name) &&
          std::memcmp(name.data(), "Exif\0\0", 6) == 0) {
        return FromTiff(file, at + 10, length - 8);
      }
    }
    at += 2 + std::uint64_t{length};
  }
  return ExifOrientation::kUpright;
}

ExifOrientation FromPng(const ByteSource& file) {
  std::uint64_t at = 8;  // after the signature
  for (int step = 0; step < kMaxSteps; ++step) {
    std::array<std::uint8_t, 8> chunk;
    if (!ReadAt(file, at, chunk)) break;
    const std::uint64_t length = Big32(chunk.data());
    if (std::memcmp(chunk.data() + 4, "eXIf", 4) == 0) return FromExifBlock(file, at + 8, length);
    if (std::memcmp(chunk.data() + 4, "IEND", 4) == 0) break;
    at += 12 + length;  // length, type, data, CRC
  }
  return ExifOrientation::kUpright;
}

ExifOrientation FromWebp(const ByteSource& file) {
  std::uint64_t at = 12;  // after "RIFF", the size and "WEBP"
  for (int step = 0; step < kMaxSteps; ++step) {
    std::array<std::uint8_t, 8> chunk;
    if (!ReadAt(file, at, chunk)) break;
    const std::uint64_t length = Little32(chunk.data() + 4);
    if (std::memcmp(chunk.data(), "EXIF", 4) == 0) return FromExifBlock(file, at + 8, length);
    at += 8 + length + (length & 1);  // chunks are padded to an even length
  }
  return ExifOrientation::kUpright;
}

}  // namespace

ExifOrientation ReadExifOrientation(const ByteSource& file) {
  std::array<std::uint8_t, 12> start{};
  if (!ReadAt(file, 0, start)) {
    // Shorter than the longest signature: only a tiny TIFF or JPEG could be.
    start.fill(0);
    std::array<std::uint8_t, 4> head;
    if (!ReadAt(file, 0, head)) return ExifOrientation::kUpright;
    std::memcpy(start.data(), head.data(), head.size());
  }
  if (start[0] == 0xFF && start[1] == 0xD8) return FromJpeg(file);
  if (std::memcmp(start.data(), "II*\0", 4) == 0 || std::memcmp(start.data(), "MM\0*", 4) == 0) {
    return FromTiff(file, 0, file.Size());
  }
  if (std::memcmp(start.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return FromPng(file);
  if (std::memcmp(start.data(), "RIFF", 4) == 0 && std::memcmp(start.data() + 8, "WEBP", 4) == 0) {
    return FromWebp(file);
  }
  return ExifOrientation::kUpright;
}

}  // namespace vesk
