// Painting in bands of rows: the painters' frames are the same at 1 to 16
// threads on frames of any height (with 5 or more, bands once started below
// a frame of 128 to 136 rows).
#include "core/generate/band_painting.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generate/piece_frame.h"
#include "core/generate/smooth_frame.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"

namespace vesk {
namespace {

TEST(BandPainting, FramesAreTheSameAtOneToSixteenThreads) {
  RunProtocol quiet;
  for (int height = 1; height <= 136; ++height) {
    std::mt19937 rng(static_cast<unsigned>(height));
    const Bitmap first = testing_support::RandomImage(40, height, rng());
    const Bitmap second = testing_support::RandomImage(40, height, rng());
    const auto mesh = testing::MeshTriangles(rng, 39, height - 1, 3, 4, 3);
    for (bool smooth : {false, true}) {
      Bitmap one;
      for (int threads = 1; threads <= 16; ++threads) {
        Bitmap vesk(40, height, kBlack);
        if (smooth) {
          PaintSmoothFrame({PieceKind::kMorph, &first, &second, mesh, 0.4, 0.6, threads}, vesk,
                           quiet);
        } else {
          PaintPieceFrame({PieceKind::kMorph, &first, &second, mesh, 5, 7, 12, 1, threads}, vesk,
                          quiet);
        }
        if (threads == 1) one = vesk;
        ASSERT_EQ(vesk, one) << height << " rows, " << threads << " threads, smooth " << smooth;
      }
    }
  }
}

}  // namespace
}  // namespace vesk
