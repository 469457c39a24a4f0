// The zoomed view's pixel rules, one table each.
#include "core/image/view_transform.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ViewTransform, WidgetPointsAddressTheImagePixelTheyShow) {
  struct Row { const char* name; int zoom; std::int64_t widget; std::int32_t image; };
  const Row rows[] = {
      {"actual pixels left of the picture", 256, -1, -1},
      {"8x, middle of pixel 5", 2048, 5 * 8 + 4, 5},
      {"8x, one left of the picture", 2048, -1, -1},
      {"1/8, centre of view pixel 2 is image 20", 32, 2, 20},
      {"3/2, view 2 is image 1 (centre 2.5 / 1.5)", 384, 2, 1},
      {"3/2, view 1 is image 1", 384, 1, 1},
      {"huge picture at 16x", 4096, 16LL * 32767 + 15, 32767},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ImageFromWidget(r.widget, r.zoom), r.image) << r.name;
  }
  // Each image pixel's block maps back to the pixel, at every step.
  for (int zoom = kActualPixels; zoom <= kMaxZoom; zoom = ZoomIn(zoom)) {
    for (std::int32_t x : {0, 1, 7, 1000}) {
      EXPECT_EQ(ImageFromWidget(WidgetFromImage(x, zoom), zoom), x) << zoom;
      EXPECT_EQ(ImageFromWidget(WidgetFromImage(x + 1, zoom) - 1, zoom), x) << zoom;
    }
    if (zoom == kMaxZoom) break;
  }
}

TEST(ViewTransform, StepsFitAndAnchor) {
  struct Row { const char* name; int got, expected; };
  const Row rows[] = {
      {"in from 1", ZoomIn(256), 384},
      {"in from between steps", ZoomIn(300), 384},
      {"in at the top stays", ZoomIn(kMaxZoom), kMaxZoom},
      {"out from 1", ZoomOut(256), 192},
      {"out from between steps", ZoomOut(300), 256},
      {"out at the bottom stays", ZoomOut(kMinZoom), kMinZoom},
      {"clamp below", ClampZoom(1), kMinZoom},
      {"clamp above", ClampZoom(100000), kMaxZoom},
      {"fit a picture twice the view", FitZoom(400, 300, 200, 200), 128},
      {"fit the narrower side", FitZoom(100, 400, 200, 200), 128},
      {"fit a tiny picture is 16x", FitZoom(2, 2, 500, 500), kMaxZoom},
      {"fit a huge picture is 1/8", FitZoom(30000, 30000, 100, 100), kMinZoom},
      {"fit an empty picture", FitZoom(0, 10, 100, 100), kActualPixels},
      {"anchor at the origin", static_cast<int>(ScrollKeepingAnchor(0, 0, 256, 512)), 0},
      // Picture point 60 + 40 = 100 under view point 40 is 200 at 2x: scroll to 160.
      {"anchor keeps the point", static_cast<int>(ScrollKeepingAnchor(60, 40, 256, 512)), 160},
      {"anchor zooming out", static_cast<int>(ScrollKeepingAnchor(160, 40, 512, 256)), 60},
  };
  for (const Row& r : rows) EXPECT_EQ(r.got, r.expected) << r.name;
}

}  // namespace
}  // namespace vesk
