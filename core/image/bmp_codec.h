// Windows BMP files. The reader takes what BMP files hold in practice (core
// and info headers, 1 to 32 bits per pixel, RLE and bit fields, either row
// order) and refuses everything else with one message; the writer makes
// 24-bit bottom-up files that every reader takes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// The message of every refused BMP file.
inline constexpr char kBmpNotValid[] = "Bitmap image is not valid";

// Decodes a whole BMP file held in memory. Never reads outside `bytes`.
Result<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

// Reads and decodes a file: "File Not Found" when it cannot be opened,
// kBmpNotValid when it is not a BMP file this reader takes.
Result<Bitmap> LoadBmpFile(const std::string& path);

// 24 bits per pixel, bottom-up rows padded to 4 bytes, 14 + 40 header bytes.
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);

// Writes EncodeBmp's bytes through WriteFileReplacing (protected files refused).
// An empty bitmap is refused: no reader would take the file.
Status SaveBmpFile(const std::string& path, const Bitmap& bitmap);

}  // namespace vesk
