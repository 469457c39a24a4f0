// Pixels deeper than the program's colours (16 bits a channel, an alpha
// channel) made into them: each channel rounded to the nearest 8-bit value,
// and a pixel that is partly or wholly transparent laid over white, the
// page that a transparent picture is usually seen on, so a cut-out on a
// clear background reads as a cut-out on white. Straight (not
// premultiplied) alpha, as PNG, TIFF, WebP and HEIF store it.
#pragma once

#include <cstdint>

#include "core/image/color.h"

namespace vesk {

// Channels and alpha 0 .. 65535 (alpha 65535 opaque); each channel of the
// answer is round((c a + 65535 (65535 - a)) / (65535 x 257)).
Color ColorOverWhite(std::uint16_t red, std::uint16_t green, std::uint16_t blue,
                     std::uint16_t alpha);

// `count` pixels stored red, green, blue, alpha, 16 bits each.
void RowOverWhite(const std::uint16_t* rgba, int count, Color* out);

}  // namespace vesk
