#include "core/image/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "core/common/file_io.h"

namespace vesk {
namespace {

using u8 = std::uint8_t;
using u32 = std::uint32_t;
using i64 = std::int64_t;

constexpr std::size_t kFileHeaderBytes = 14;
constexpr u32 kCoreHeaderBytes = 12;
constexpr u32 kInfoHeaderBytes = 40;

constexpr u32 kBiRgb = 0;
constexpr u32 kBiRle8 = 1;
constexpr u32 kBiRle4 = 2;
constexpr u32 kBiBitfields = 3;

// Files larger than this are not BMP files the program can hold: the
// largest bitmap (2^28 pixels at 32 bits) takes 1 GiB of pixel data.
constexpr std::uint64_t kMaxBmpFileBytes = (std::uint64_t{1} << 30) + (std::uint64_t{1} << 20);

Failure NotValid() { return Failure{kBmpNotValid}; }

u32 U16At(const u8* p) { return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8); }
u32 U32At(const u8* p) {
  return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
         (static_cast<u32>(p[3]) << 24);
}
std::int32_t I32At(const u8* p) { return static_cast<std::int32_t>(U32At(p)); }

bool KnownHeaderSize(u32 size) {
  return size == kCoreHeaderBytes || size == kInfoHeaderBytes || size == 52 || size == 56 ||
         size == 108 || size == 124;
}

// One colour channel of a 16- or 32-bit pixel: the bits of its mask, scaled
// to 8 bits. Up to 8 bits wide the bits are repeated (a full 5-bit value
// gives 255); wider channels keep their top 8 bits. A zero mask gives 0.
class Channel {
 public:
  explicit Channel(u32 mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = 32 - std::countl_zero(mask) - shift_;
    if (bits_ <= 8) {
      for (u32 v = 0; v < (u32{1} << bits_); ++v) {
        u32 repeated = 0;
        int filled = 0;
        while (filled < 8) {
          repeated = (repeated << bits_) | v;
          filled += bits_;
        }
        scale_[v] = static_cast<u8>(repeated >> (filled - 8));
      }
    }
  }

  u32 Of(u32 pixel) const {
    const u32 v = (pixel & mask_) >> shift_;
    return bits_ <= 8 ? scale_[v] : v >> (bits_ - 8);
  }

 private:
  u32 mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
  std::array<u8, 256> scale_{};
};

// Everything the header says, checked, before any pixel is touched.
struct Layout {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bits = 0;
  u32 compression = kBiRgb;
  u32 masks[3] = {0, 0, 0};
  std::size_t pixel_offset = 0;
  std::array<Color, 256> palette{};  // entries the file lacks stay black
};

Result<Layout> ReadLayout(std::span<const u8> bytes) {
  const std::size_t size = bytes.size();
  const u8* d = bytes.data();
  if (size < kFileHeaderBytes + 4 || d[0] != 'B' || d[1] != 'M') return NotValid();
  const std::size_t offset_bits = U32At(d + 10);
  const u32 header_size = U32At(d + 14);
  if (!KnownHeaderSize(header_size) || kFileHeaderBytes + header_size > size) return NotValid();
  const bool core = header_size == kCoreHeaderBytes;

  Layout layout;
  i64 width;
  i64 height;
  u32 planes;
  u32 colors_used = 0;
  if (core) {
    width = U16At(d + 18);
    height = U16At(d + 20);
    planes = U16At(d + 22);
    layout.bits = static_cast<int>(U16At(d + 24));
  } else {
    width = I32At(d + 18);
    height = I32At(d + 22);
    planes = U16At(d + 26);
    layout.bits = static_cast<int>(U16At(d + 28));
    layout.compression = U32At(d + 30);
    colors_used = U32At(d + 46);
  }
  if (planes != 1 || width <= 0 || height == 0) return NotValid();
  layout.top_down = height < 0;
  if (height < 0) height = -height;  // 64-bit: the most negative height is safe
  if (!CheckBitmapSize(width, height).empty()) return NotValid();
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  const int bits = layout.bits;
  const bool bits_known = core ? (bits == 1 || bits == 4 || bits == 8 || bits == 24)
                               : (bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                                  bits == 24 || bits == 32);
  if (!bits_known) return NotValid();
  switch (layout.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
      if (bits != 8) return NotValid();
      break;
    case kBiRle4:
      if (bits != 4) return NotValid();
      break;
    case kBiBitfields:
      if (bits != 16 && bits != 32) return NotValid();
      break;
    default:
      return NotValid();
  }

  // Bit-field masks sit right after the 40-byte header or inside a larger
  // one: at file offset 54 either way.
  std::size_t header_end = kFileHeaderBytes + header_size;
  if (layout.compression == kBiBitfields) {
    header_end = std::max<std::size_t>(header_end, kFileHeaderBytes + kInfoHeaderBytes + 12);
    if (header_end > size) return NotValid();
    for (int i = 0; i < 3; ++i) layout.masks[i] = U32At(d + 54 + 4 * i);
  } else if (bits == 16) {
    layout.masks[0] = 0x7C00;
    layout.masks[1] = 0x03E0;
    layout.masks[2] = 0x001F;
  } else if (bits == 32) {
    layout.masks[0] = 0xFF0000;
    layout.masks[1] = 0x00FF00;
    layout.masks[2] = 0x0000FF;
  }

  if (offset_bits < header_end || offset_bits > size) return NotValid();
  layout.pixel_offset = offset_bits;

  if (bits <= 8) {
    // The palette lies between the headers and the pixels: at most 2^bits
    // entries, no more than biClrUsed asks for and no more than fit before
    // the pixels.
    const std::size_t entry_size = core ? 3 : 4;
    std::size_t count = std::size_t{1} << bits;
    if (colors_used != 0) count = std::min<std::size_t>(count, colors_used);
    count = std::min(count, (offset_bits - header_end) / entry_size);
    for (std::size_t i = 0; i < count; ++i) {
      const u8* e = d + header_end + i * entry_size;
      layout.palette[i] = MakeColor(e[2], e[1], e[0]);
    }
  }

  if (layout.compression == kBiRgb || layout.compression == kBiBitfields) {
    // Every row must be in the file; the last row's padding may be missing.
    const i64 row_bytes = (width * bits + 7) / 8;
    const i64 stride = ((width * bits + 31) / 32) * 4;
    const i64 needed = stride * (height - 1) + row_bytes;
    if (needed > static_cast<i64>(size - offset_bits)) return NotValid();
  }
  return layout;
}

void DecodeRows(const Layout& layout, const u8* data, Bitmap& out) {
  const int width = layout.width;
  const int height = layout.height;
  const std::size_t stride =
      ((static_cast<std::size_t>(width) * layout.bits + 31) / 32) * 4;
  const Channel red(layout.masks[0]);
  const Channel green(layout.masks[1]);
  const Channel blue(layout.masks[2]);
  const bool plain32 = layout.bits == 32 && layout.masks[0] == 0xFF0000 &&
                       layout.masks[1] == 0x00FF00 && layout.masks[2] == 0x0000FF;
  const Color* palette = layout.palette.data();
  for (int r = 0; r < height; ++r) {
    const u8* src = data + static_cast<std::size_t>(r) * stride;
    Color* dst = out.Row(layout.top_down ? r : height - 1 - r);
    switch (layout.bits) {
      case 1:
        for (int x = 0; x < width; ++x) dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int x = 0; x < width; ++x) {
          dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
        }
        break;
      case 8:
        for (int x = 0; x < width; ++x) dst[x] = palette[src[x]];
        break;
      case 16:
        for (int x = 0; x < width; ++x) {
          const u32 v = U16At(src + 2 * x);
          dst[x] = red.Of(v) | (green.Of(v) << 8) | (blue.Of(v) << 16);
        }
        break;
      case 24:
        for (int x = 0; x < width; ++x, src += 3) {
          dst[x] = static_cast<Color>(src[2]) | (static_cast<Color>(src[1]) << 8) |
                   (static_cast<Color>(src[0]) << 16);
        }
        break;
      case 32:
        if (plain32) {
          for (int x = 0; x < width; ++x, src += 4) {
            dst[x] = static_cast<Color>(src[2]) | (static_cast<Color>(src[1]) << 8) |
                     (static_cast<Color>(src[0]) << 16);
          }
        } else {
          for (int x = 0; x < width; ++x) {
            const u32 v = U32At(src + 4 * x);
            dst[x] = red.Of(v) | (green.Of(v) << 8) | (blue.Of(v) << 16);
          }
        }
        break;
      default:
        break;
    }
  }
}

// Run-length data: runs and literals are clipped at the row end, a delta or
// row end beyond the last row ends the image, and pixels the data never
// sets stay black. Every step consumes input, so the work is bounded by the
// file length.
void DecodeRle(const Layout& layout, std::span<const u8> bytes, Bitmap& out) {
  const bool four = layout.compression == kBiRle4;
  const std::size_t size = bytes.size();
  const u8* d = bytes.data();
  const i64 width = layout.width;
  const i64 height = layout.height;
  const Color* palette = layout.palette.data();
  std::size_t pos = layout.pixel_offset;
  i64 x = 0;
  i64 y = 0;
  Color* row = out.Row(layout.top_down ? 0 : layout.height - 1);
  auto seek_row = [&]() {
    if (y < height) row = out.Row(static_cast<int>(layout.top_down ? y : height - 1 - y));
  };
  while (y < height && pos + 2 <= size) {
    const u32 first = d[pos];
    const u32 second = d[pos + 1];
    pos += 2;
    if (first > 0) {
      const i64 end = std::min<i64>(x + first, width);
      if (four) {
        const Color high = palette[second >> 4];
        const Color low = palette[second & 0x0F];
        for (i64 i = x; i < end; ++i) row[i] = ((i - x) & 1) ? low : high;
      } else {
        std::fill(row + std::min(x, width), row + end, palette[second]);
      }
      x += first;
      continue;
    }
    if (second == 0) {  // end of line
      x = 0;
      ++y;
      seek_row();
    } else if (second == 1) {  // end of bitmap
      break;
    } else if (second == 2) {  // delta
      if (pos + 2 > size) break;
      x += d[pos];
      y += d[pos + 1];
      pos += 2;
      seek_row();
    } else {  // literal of `second` pixels, padded to a 16-bit boundary
      const std::size_t count = second;
      const std::size_t data_bytes = four ? (count + 1) / 2 : count;
      const std::size_t present = std::min(data_bytes, size - pos);
      const std::size_t pixels = four ? std::min(count, present * 2) : present;
      for (std::size_t i = 0; i < pixels; ++i) {
        const i64 at = x + static_cast<i64>(i);
        if (at >= width) break;
        const u32 index =
            four ? ((i & 1) ? (d[pos + i / 2] & 0x0F) : (d[pos + i / 2] >> 4)) : d[pos + i];
        row[at] = palette[index];
      }
      if (present < data_bytes) break;  // cut short inside the literal
      x += static_cast<i64>(count);
      pos += data_bytes + (data_bytes & 1);
    }
  }
}

void Put16(std::vector<u8>& out, std::size_t at, u32 v) {
  out[at] = static_cast<u8>(v);
  out[at + 1] = static_cast<u8>(v >> 8);
}
void Put32(std::vector<u8>& out, std::size_t at, u32 v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<u8>(v >> (8 * i));
}

}  // namespace

Result<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes) {
  Result<Layout> read = ReadLayout(bytes);
  if (!read) return Failure{read.Message()};
  const Layout& layout = read.Value();
  const bool rle = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  Bitmap bitmap(layout.width, layout.height, kBlack);
  if (rle) {
    DecodeRle(layout, bytes, bitmap);
  } else {
    DecodeRows(layout, bytes.data() + layout.pixel_offset, bitmap);
  }
  return bitmap;
}

Result<Bitmap> LoadBmpFile(const std::string& path) {
  Result<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kMaxBmpFileBytes);
  if (!bytes) {
    if (bytes.Message() == "File Not Found") return Failure{bytes.Message()};
    if (bytes.Message().starts_with("File is too large")) return NotValid();
    return Failure{bytes.Message()};
  }
  return DecodeBmp(bytes.Value());
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const std::size_t width = static_cast<std::size_t>(bitmap.Width());
  const std::size_t height = static_cast<std::size_t>(bitmap.Height());
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  const std::size_t image_bytes = stride * height;
  const std::size_t header_bytes = kFileHeaderBytes + kInfoHeaderBytes;
  std::vector<u8> out(header_bytes + image_bytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<u32>(out.size()));
  Put32(out, 10, static_cast<u32>(header_bytes));
  Put32(out, 14, kInfoHeaderBytes);
  Put32(out, 18, static_cast<u32>(width));
  Put32(out, 22, static_cast<u32>(height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 30, kBiRgb);
  Put32(out, 34, static_cast<u32>(image_bytes));
  for (std::size_t r = 0; r < height; ++r) {
    const Color* src = bitmap.Row(static_cast<int>(height - 1 - r));
    u8* dst = out.data() + header_bytes + r * stride;
    for (std::size_t x = 0; x < width; ++x, dst += 3) {
      const Color c = src[x];
      dst[0] = static_cast<u8>(c >> 16);
      dst[1] = static_cast<u8>(c >> 8);
      dst[2] = static_cast<u8>(c);
    }
  }
  return out;
}

Status SaveBmpFile(const std::string& path, const Bitmap& bitmap) {
  if (bitmap.Empty()) return Failure{"An empty image cannot be saved"};
  return WriteFileReplacing(path, EncodeBmp(bitmap));
}

}  // namespace vesk
