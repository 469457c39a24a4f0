// Painting in bands of rows: every row of a frame of any height painted by
// exactly one band, and the painters' frames the same at 1 to 16 threads.
#include "core/generate/band_painting.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <vector>

#include "core/generate/piece_frame.h"
#include "core/generate/smooth_frame.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"

namespace vesk {
namespace {

// Counts, per row, the bands that paint it.
struct RowCounter {
  std::vector<int>* rows;
  std::mutex* lock;
  int begin, end;
  void Begin() {
    std::lock_guard<std::mutex> hold(*lock);
    for (int y = begin; y < end; ++y) ++rows->at(static_cast<std::size_t>(y));
  }
  void Paint(std::size_t) {}
  void End() {}
};

TEST(BandPainting, EveryRowOfAnyHeightHasOneBand) {
  std::mutex lock;
  for (int height = 1; height <= 136; ++height) {
    for (int threads = 1; threads <= 16; ++threads) {
      std::vector<int> rows(static_cast<std::size_t>(height), 0);
      BandPainting<RowCounter> bands(height, threads, [&](int begin, int end) {
        EXPECT_TRUE(0 <= begin && begin < end && end <= height) << begin << ".." << end;
        return RowCounter{&rows, &lock, begin, end};
      });
      bands.Release(1);
      bands.Finish();
      ASSERT_EQ(rows, std::vector<int>(rows.size(), 1)) << height << " rows, " << threads;
    }
  }
}

TEST(BandPainting, FramesAreTheSameAtOneToSixteenThreads) {
  RunProtocol quiet;
  for (int height : {1, 2, 40, 127, 128, 129, 133, 136}) {
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
