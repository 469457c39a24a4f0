#include "core/image/view_transform.h"

#include <algorithm>
#include <iterator>

namespace vesk {
namespace {

constexpr int kSteps[] = {32, 48, 64, 96, 128, 192, 256, 384, 512, 768, 1024, 1536, 2048, 3072, 4096};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

int ClampZoom(int zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

int ZoomIn(int zoom) {
  const int* next = std::upper_bound(std::begin(kSteps), std::end(kSteps), zoom);
  return next == std::end(kSteps) ? kMaxZoom : *next;
}

int ZoomOut(int zoom) {
  const int* at = std::lower_bound(std::begin(kSteps), std::end(kSteps), zoom);
  return at == std::begin(kSteps) ? kMinZoom : *std::prev(at);
}

int FitZoom(int image_w, int image_h, int view_w, int view_h) {
  if (image_w <= 0 || image_h <= 0 || view_w <= 0 || view_h <= 0) return kActualPixels;
  std::int64_t zoom = std::min(std::int64_t{view_w} * kActualPixels / image_w,
                               std::int64_t{view_h} * kActualPixels / image_h);
  return ClampZoom(static_cast<int>(std::min<std::int64_t>(zoom, kMaxZoom)));
}

std::int32_t ImageFromWidget(std::int64_t widget, int zoom) {
  // The centre of widget pixel w is w + 1/2; in image pixels that is
  // (2w + 1) * 256 / (2 * zoom).
  return static_cast<std::int32_t>(FloorDiv((2 * widget + 1) * kActualPixels, 2 * std::int64_t{zoom}));
}

std::int64_t WidgetFromImage(std::int64_t image, int zoom) {
  return FloorDiv(image * zoom, kActualPixels);
}

std::int64_t ScrollKeepingAnchor(std::int64_t scroll, int anchor, int old_zoom, int new_zoom) {
  return FloorDiv((scroll + anchor) * new_zoom, old_zoom) - anchor;
}

}  // namespace vesk
