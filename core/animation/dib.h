// Device-independent bitmaps (DIBs): a bitmap described as a 40-byte
// BITMAPINFOHEADER, an optional colour table of 4-byte entries and a
// bottom-up pixel array whose rows are padded to a multiple of 4 bytes.
// The AVI creator turns every frame into a 24-bit DIB with these routines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/image/bitmap.h"

namespace vesk {

// The colour selector: which pixel format a DIB is made in.
enum class DibColors : int {
  kOwn = 0,          // the bitmap's own depth (16 and 32 bits become 24)
  kTwo = 2,          // 1 bit per pixel, 2-entry colour table
  kSixteen = 16,     // 4 bits per pixel, 16-entry colour table
  k256 = 256,        // 8 bits per pixel, 256-entry colour table
  kTrueColor = 32767 // 24 bits per pixel, no colour table
};

inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
inline constexpr std::uint32_t kBiRgb = 0;

// The 40-byte Windows bitmap information header, field by field.
struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;

  bool operator==(const BitmapInfoHeader&) const = default;

  // Little-endian bytes as they stand in a file.
  std::array<std::uint8_t, kBitmapInfoHeaderSize> Bytes() const;
  static BitmapInfoHeader FromBytes(std::span<const std::uint8_t, kBitmapInfoHeaderSize> bytes);
};

// What the platform tells about a bitmap object: its size and its own pixel
// depth. A Bitmap in memory is one plane of 32 bits per pixel; callers that
// know another source depth (a loaded file's) describe it with this record.
struct DibSource {
  int width = 0;
  int height = 0;
  int planes = 1;
  int bits_per_pixel = 32;
};
DibSource DibSourceOf(const Bitmap& bitmap);

// Fills the header for the bitmap in the selector's format. With kOwn the
// depth is bits per pixel times planes; 16 and 32 become 24, and so does any
// depth that no DIB has (0, or above 8 but not 24).
void InitDibHeader(const DibSource& source, BitmapInfoHeader& header, DibColors selector);
void InitDibHeader(const Bitmap& bitmap, BitmapInfoHeader& header, DibColors selector);

// Number of colour-table entries for a depth: 2^bits up to 8 bits, else 0.
int DibColorTableEntries(int bit_count);

struct DibSizes {
  int header_size = 0;  // header plus colour table, in bytes
  int image_size = 0;   // the header's biSizeImage
};
DibSizes GetDibSizes(const DibSource& source, DibColors selector);
DibSizes GetDibSizes(const Bitmap& bitmap, DibColors selector);

// Fills the header block (header and colour table) and the pixel block with
// the bitmap's pixels in the selector's format, rows bottom-up and padded to
// 4 bytes. Indexed formats take their colour table from `palette` when one
// is given (missing entries black), else from the default table of the
// depth (black and white; the 16 standard colours; a 6 x 6 x 6 colour cube
// followed by 40 greys), and every pixel takes the nearest entry.
// Answers false, touching nothing, when a block is smaller than GetDibSizes
// says or the bitmap has no pixels (no scan line copied).
bool GetDib(const Bitmap& bitmap, const std::vector<Color>* palette,
            std::span<std::uint8_t> header_block, std::span<std::uint8_t> pixel_block,
            DibColors selector);

// The colour table GetDib writes for an indexed depth without a palette.
std::vector<Color> DefaultDibColorTable(int bit_count);

}  // namespace vesk
