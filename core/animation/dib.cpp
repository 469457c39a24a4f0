#include "core/animation/dib.h"

#include <algorithm>
#include <cstring>

namespace vesk {
namespace {

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A depth that a DIB can have: 1, 2, 4, 8 stay; everything else is 24.
int UsableBitCount(int bits) {
  if (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 24) return bits;
  return 24;
}

int SquaredDistance(Color a, Color b) {
  int dr = RedOf(a) - RedOf(b);
  int dg = GreenOf(a) - GreenOf(b);
  int db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

// Nearest entry of a table; ties go to the lower index.
int NearestIndex(const std::vector<Color>& table, Color c) {
  int best = 0;
  int best_distance = SquaredDistance(table[0], c);
  for (int i = 1; i < static_cast<int>(table.size()) && best_distance > 0; ++i) {
    int d = SquaredDistance(table[i], c);
    if (d < best_distance) {
      best = i;
      best_distance = d;
    }
  }
  return best;
}

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;  // 0, 51, ..., 255
constexpr int kGreyCount = 40;

int GreyValue(int k) { return ((k + 1) * 255 + 20) / 41; }

// Nearest entry of the default 256-entry table, without a search: the
// nearest cube corner is the nearest level per channel, the nearest grey
// the one closest to the channels' mean.
int NearestDefault256(Color c) {
  int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  int ri = (r + kCubeStep / 2) / kCubeStep;
  int gi = (g + kCubeStep / 2) / kCubeStep;
  int bi = (b + kCubeStep / 2) / kCubeStep;
  int cube_index = ri * kCubeLevels * kCubeLevels + gi * kCubeLevels + bi;
  Color cube = MakeColor(ri * kCubeStep, gi * kCubeStep, bi * kCubeStep);
  int best_grey = 0;
  int best_grey_distance = INT32_MAX;
  for (int k = 0; k < kGreyCount; ++k) {
    int v = GreyValue(k);
    int d = SquaredDistance(MakeColor(v, v, v), c);
    if (d < best_grey_distance) {
      best_grey_distance = d;
      best_grey = k;
    }
  }
  if (best_grey_distance < SquaredDistance(cube, c)) {
    return kCubeLevels * kCubeLevels * kCubeLevels + best_grey;
  }
  return cube_index;
}

void WriteRows24(const Bitmap& bitmap, std::uint8_t* pixels, std::size_t stride) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  for (int y = 0; y < height; ++y) {
    const Color* src = bitmap.Row(y);
    std::uint8_t* dst = pixels + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      Color c = src[x];
      dst[0] = static_cast<std::uint8_t>(c >> 16);  // blue
      dst[1] = static_cast<std::uint8_t>(c >> 8);   // green
      dst[2] = static_cast<std::uint8_t>(c);        // red
      dst += 3;
    }
    std::size_t used = static_cast<std::size_t>(width) * 3;
    std::memset(pixels + static_cast<std::size_t>(height - 1 - y) * stride + used, 0,
                stride - used);
  }
}

void WriteRowsIndexed(const Bitmap& bitmap, int bits, const std::vector<Color>& table,
                      bool default_256, std::uint8_t* pixels, std::size_t stride) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  const int per_byte = 8 / bits;
  Color cached_color = kInvalidColor;
  int cached_index = 0;
  for (int y = 0; y < height; ++y) {
    const Color* src = bitmap.Row(y);
    std::uint8_t* dst = pixels + static_cast<std::size_t>(height - 1 - y) * stride;
    std::memset(dst, 0, stride);
    for (int x = 0; x < width; ++x) {
      Color c = src[x] & 0x00FFFFFFu;
      if (c != cached_color) {
        cached_color = c;
        cached_index = default_256 ? NearestDefault256(c) : NearestIndex(table, c);
      }
      int shift = 8 - bits * (x % per_byte + 1);  // leftmost pixel in the high bits
      dst[x / per_byte] |= static_cast<std::uint8_t>(cached_index << shift);
    }
  }
}

}  // namespace

std::array<std::uint8_t, kBitmapInfoHeaderSize> BitmapInfoHeader::Bytes() const {
  std::array<std::uint8_t, kBitmapInfoHeaderSize> out{};
  std::uint8_t* p = out.data();
  Put32(p + 0, biSize);
  Put32(p + 4, static_cast<std::uint32_t>(biWidth));
  Put32(p + 8, static_cast<std::uint32_t>(biHeight));
  Put16(p + 12, biPlanes);
  Put16(p + 14, biBitCount);
  Put32(p + 16, biCompression);
  Put32(p + 20, biSizeImage);
  Put32(p + 24, static_cast<std::uint32_t>(biXPelsPerMeter));
  Put32(p + 28, static_cast<std::uint32_t>(biYPelsPerMeter));
  Put32(p + 32, biClrUsed);
  Put32(p + 36, biClrImportant);
  return out;
}

BitmapInfoHeader BitmapInfoHeader::FromBytes(
    std::span<const std::uint8_t, kBitmapInfoHeaderSize> bytes) {
  const std::uint8_t* p = bytes.data();
  BitmapInfoHeader h;
  h.biSize = Get32(p + 0);
  h.biWidth = static_cast<std::int32_t>(Get32(p + 4));
  h.biHeight = static_cast<std::int32_t>(Get32(p + 8));
  h.biPlanes = Get16(p + 12);
  h.biBitCount = Get16(p + 14);
  h.biCompression = Get32(p + 16);
  h.biSizeImage = Get32(p + 20);
  h.biXPelsPerMeter = static_cast<std::int32_t>(Get32(p + 24));
  h.biYPelsPerMeter = static_cast<std::int32_t>(Get32(p + 28));
  h.biClrUsed = Get32(p + 32);
  h.biClrImportant = Get32(p + 36);
  return h;
}

DibSource DibSourceOf(const Bitmap& bitmap) {
  return DibSource{bitmap.Width(), bitmap.Height(), 1, 32};
}

void InitDibHeader(const DibSource& source, BitmapInfoHeader& header, DibColors selector) {
  header = BitmapInfoHeader{};
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = source.width;
  header.biHeight = source.height;
  int bits = 0;
  switch (selector) {
    case DibColors::kTwo: bits = 1; break;
    case DibColors::kSixteen: bits = 4; break;
    case DibColors::k256: bits = 8; break;
    case DibColors::kTrueColor: bits = 24; break;
    case DibColors::kOwn: bits = source.bits_per_pixel * source.planes; break;
    default: bits = 24; break;  // no other selector exists
  }
  bits = UsableBitCount(bits);
  header.biBitCount = static_cast<std::uint16_t>(bits);
  header.biPlanes = 1;
  header.biClrUsed = bits > 8 ? 0u : static_cast<std::uint32_t>(static_cast<int>(selector));
  header.biClrImportant = 0;
  header.biCompression = kBiRgb;
  std::int64_t stride = (static_cast<std::int64_t>(source.width) * bits + 31) / 32 * 4;
  std::int64_t size = stride * source.height;
  header.biSizeImage = size > 0 && size <= INT32_MAX ? static_cast<std::uint32_t>(size) : 0u;
}

void InitDibHeader(const Bitmap& bitmap, BitmapInfoHeader& header, DibColors selector) {
  InitDibHeader(DibSourceOf(bitmap), header, selector);
}

int DibColorTableEntries(int bit_count) { return bit_count <= 8 ? 1 << bit_count : 0; }

DibSizes GetDibSizes(const DibSource& source, DibColors selector) {
  BitmapInfoHeader header;
  InitDibHeader(source, header, selector);
  DibSizes sizes;
  sizes.header_size = static_cast<int>(kBitmapInfoHeaderSize) +
                      4 * DibColorTableEntries(header.biBitCount);
  sizes.image_size = static_cast<int>(header.biSizeImage);
  return sizes;
}

DibSizes GetDibSizes(const Bitmap& bitmap, DibColors selector) {
  return GetDibSizes(DibSourceOf(bitmap), selector);
}

std::vector<Color> DefaultDibColorTable(int bit_count) {
  std::vector<Color> table;
  switch (bit_count) {
    case 1:
      table = {kBlack, kWhite};
      break;
    case 2:
      table = {kBlack, MakeColor(128, 128, 128), MakeColor(192, 192, 192), kWhite};
      break;
    case 4:
      table = {MakeColor(0, 0, 0),       MakeColor(128, 0, 0),     MakeColor(0, 128, 0),
               MakeColor(128, 128, 0),   MakeColor(0, 0, 128),     MakeColor(128, 0, 128),
               MakeColor(0, 128, 128),   MakeColor(192, 192, 192), MakeColor(128, 128, 128),
               MakeColor(255, 0, 0),     MakeColor(0, 255, 0),     MakeColor(255, 255, 0),
               MakeColor(0, 0, 255),     MakeColor(255, 0, 255),   MakeColor(0, 255, 255),
               MakeColor(255, 255, 255)};
      break;
    case 8:
      for (int r = 0; r < kCubeLevels; ++r) {
        for (int g = 0; g < kCubeLevels; ++g) {
          for (int b = 0; b < kCubeLevels; ++b) {
            table.push_back(MakeColor(r * kCubeStep, g * kCubeStep, b * kCubeStep));
          }
        }
      }
      for (int k = 0; k < kGreyCount; ++k) {
        table.push_back(MakeColor(GreyValue(k), GreyValue(k), GreyValue(k)));
      }
      break;
    default:
      break;
  }
  return table;
}

bool GetDib(const Bitmap& bitmap, const std::vector<Color>* palette,
            std::span<std::uint8_t> header_block, std::span<std::uint8_t> pixel_block,
            DibColors selector) {
  BitmapInfoHeader header;
  InitDibHeader(bitmap, header, selector);
  DibSizes sizes = GetDibSizes(bitmap, selector);
  if (bitmap.Empty() || sizes.image_size <= 0) return false;
  if (header_block.size() < static_cast<std::size_t>(sizes.header_size) ||
      pixel_block.size() < static_cast<std::size_t>(sizes.image_size)) {
    return false;
  }
  auto bytes = header.Bytes();
  std::copy(bytes.begin(), bytes.end(), header_block.begin());

  const int bits = header.biBitCount;
  const std::size_t stride = static_cast<std::size_t>(header.biSizeImage) / bitmap.Height();
  if (bits == 24) {
    WriteRows24(bitmap, pixel_block.data(), stride);
    return true;
  }

  const int entries = DibColorTableEntries(bits);
  std::vector<Color> table;
  if (palette != nullptr && !palette->empty()) {
    table.assign(static_cast<std::size_t>(entries), kBlack);
    std::copy_n(palette->begin(), std::min<std::size_t>(palette->size(), table.size()),
                table.begin());
    for (Color& c : table) c &= 0x00FFFFFFu;
  } else {
    table = DefaultDibColorTable(bits);
  }
  std::uint8_t* quad = header_block.data() + kBitmapInfoHeaderSize;
  for (Color c : table) {
    quad[0] = static_cast<std::uint8_t>(BlueOf(c));
    quad[1] = static_cast<std::uint8_t>(GreenOf(c));
    quad[2] = static_cast<std::uint8_t>(RedOf(c));
    quad[3] = 0;
    quad += 4;
  }
  bool default_256 = bits == 8 && (palette == nullptr || palette->empty());
  WriteRowsIndexed(bitmap, bits, table, default_256, pixel_block.data(), stride);
  return true;
}

}  // namespace vesk
