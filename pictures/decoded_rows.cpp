#include "pictures/decoded_rows.h"

#include <algorithm>
#include <cstdint>

#include "core/image/deep_pixels.h"

namespace vesk::pictures {
namespace {

constexpr int kStripRows = 64;

bool NeedsConversion(const QColorSpace& from) {
  return from.isValid() && from != QColorSpace(QColorSpace::SRgb);
}

}  // namespace

void CopyDecodedRows(const QImage& decoded, const QColorSpace& from, Bitmap& out) {
  const int width = out.Width();
  const bool convert = NeedsConversion(from);
  if (decoded.format() == QImage::Format_RGB32 && !convert) {
    // 0xffRRGGBB to red in the low byte, the top byte clear; in place if shared.
    for (int y = 0; y < out.Height(); ++y) {
      const auto* in = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
      Color* row = out.Row(y);
      for (int x = 0; x < width; ++x) {
        const QRgb v = in[x];
        row[x] = MakeColor(qRed(v), qGreen(v), qBlue(v));
      }
    }
    return;
  }
  // Each strip is copied out before its rows are written, so the rows of a
  // decoder that wrote into `out` are read before they are overwritten.
  for (int top = 0; top < out.Height(); top += kStripRows) {
    const int rows = std::min(kStripRows, out.Height() - top);
    QImage strip = decoded.copy(0, top, width, rows).convertToFormat(QImage::Format_RGBA64);
    if (convert) {
      strip.setColorSpace(from);
      strip.convertToColorSpace(QColorSpace::SRgb);
    }
    for (int y = 0; y < rows; ++y) {
      RowOverWhite(reinterpret_cast<const std::uint16_t*>(strip.constScanLine(y)), width,
                   out.Row(top + y));
    }
  }
}

}  // namespace vesk::pictures
