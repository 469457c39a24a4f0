// One frame of each image effect on 1024 x 768 pictures made here: Sheet
// Glass (the whole picture), one Colorize blend and one Flag Streaming
// frame, each through a run protocol that does nothing.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/effects/colorize.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"

namespace vesk {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A smooth picture with some texture, so no branch is always taken.
Bitmap MakePicture(std::uint32_t seed) {
  Bitmap image(kWidth, kHeight, kBlack);
  std::uint32_t noise = seed;
  for (int y = 0; y < kHeight; ++y) {
    Color* row = image.Row(y);
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      row[x] = MakeColor((x + static_cast<int>(noise >> 28)) & 0xFF, (y * 3) & 0xFF,
                         ((x ^ y) + static_cast<int>(seed)) & 0xFF);
    }
  }
  return image;
}

// Counts frames so the work cannot be optimised away.
class QuietRun : public RunProtocol {
 public:
  Status WriteFrame(const Bitmap& frame) override {
    benchmark::DoNotOptimize(frame.Row(0));
    return Status::Success();
  }
};

void BM_SheetGlass(benchmark::State& state) {
  const Bitmap source = MakePicture(1);
  Bitmap vesk;
  QuietRun run;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SheetGlass(source, 36, 36, run, vesk));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_SheetGlass)->Unit(benchmark::kMillisecond);

// Colorize with N = 2 computes exactly one blend, plus two copies of the
// source pictures (first and last frame); the copies are measured apart.
void BM_ColorizeOneBlend(benchmark::State& state) {
  const Bitmap first = MakePicture(2);
  const Bitmap second = MakePicture(3);
  Bitmap vesk;
  QuietRun run;
  for (auto _ : state) {
    std::uint16_t frames = 2;
    benchmark::DoNotOptimize(Colorize(first, second, frames, run, vesk));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ColorizeOneBlend)->Unit(benchmark::kMillisecond);

void BM_ColorizeCopiesOnly(benchmark::State& state) {
  const Bitmap first = MakePicture(2);
  const Bitmap second = MakePicture(3);
  Bitmap vesk;
  for (auto _ : state) {
    vesk = first;
    benchmark::DoNotOptimize(vesk.Row(0));
    vesk = second;
    benchmark::DoNotOptimize(vesk.Row(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ColorizeCopiesOnly)->Unit(benchmark::kMillisecond);

// A run of one frame: the frame bitmap is made once per run, then cleared
// and drawn.
void BM_FlagStreamingOneFrame(benchmark::State& state) {
  const Bitmap source = MakePicture(4);
  Bitmap vesk;
  QuietRun run;
  FlagStreamingValues values;
  values.frame_count = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FlagStreaming(source, values, run, vesk));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FlagStreamingOneFrame)->Unit(benchmark::kMillisecond);

// Twelve frames, the default run, per frame.
void BM_FlagStreamingTwelveFrames(benchmark::State& state) {
  const Bitmap source = MakePicture(5);
  Bitmap vesk;
  QuietRun run;
  const FlagStreamingValues values;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FlagStreaming(source, values, run, vesk));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 12 * kWidth * kHeight);
}
BENCHMARK(BM_FlagStreamingTwelveFrames)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
