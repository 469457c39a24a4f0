// The zoomed view of an image window: which image pixel a point of the
// zoomed picture shows and back, the zoom steps, fitting and the scroll
// position that keeps a point under the mouse while zooming. Zoom factors
// are integers in 1/256ths (256 shows actual pixels), so every mapping is
// exact integer arithmetic: at 8 times, each widget point of an image
// pixel's 8 x 8 block maps back to that pixel.
#pragma once

#include <cstdint>

namespace vesk {

inline constexpr int kActualPixels = 256;  // zoom 1
inline constexpr int kMinZoom = 32;        // 1/8
inline constexpr int kMaxZoom = 4096;      // 16

int ClampZoom(int zoom);

// The next step of 1/8, 3/16, 1/4, 3/8, 1/2, 3/4, 1, 3/2, 2, 3, 4, 6, 8, 12,
// 16 above (ZoomIn) or below (ZoomOut) `zoom`; the ends stay where they are.
int ZoomIn(int zoom);
int ZoomOut(int zoom);

// The largest zoom at which an image of image_w x image_h pixels fits in a
// view of view_w x view_h, clamped to the range; actual pixels for an empty
// image or view.
int FitZoom(int image_w, int image_h, int view_w, int view_h);

// The image pixel (one coordinate) whose zoomed block holds the centre of
// widget pixel `widget`; floors below zero, so a point left of the picture
// gives a negative pixel.
std::int32_t ImageFromWidget(std::int64_t widget, int zoom);

// The first widget pixel of image pixel `image`'s zoomed block; also the
// zoomed length of `image` pixels.
std::int64_t WidgetFromImage(std::int64_t image, int zoom);

// The scroll position after zooming from `old_zoom` to `new_zoom` that keeps
// the picture point at `anchor` (pixels from the view's edge) where it is;
// `scroll` is the position before. Not clamped to the scroll range.
std::int64_t ScrollKeepingAnchor(std::int64_t scroll, int anchor, int old_zoom, int new_zoom);

}  // namespace vesk
