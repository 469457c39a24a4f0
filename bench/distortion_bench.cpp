// One distortion frame of the benchmark scene (bench_scene.h): frame 6 of
// 12, equalization off, at Precision 1 and 4, one thread and the default.
#include <benchmark/benchmark.h>

#include "bench/bench_scene.h"
#include "core/generate/distortion.h"

namespace {

void DistortionFrame(benchmark::State& state) {
  const int precision = static_cast<int>(state.range(0));
  const int threads = static_cast<int>(state.range(1));
  const vesk::Bitmap first = vesk::bench::ScenePicture(0);
  const auto triangles = vesk::bench::SceneTriangles();
  vesk::Bitmap vesk_bitmap = first;
  vesk::RunProtocol quiet;
  for (auto _ : state) {
    vesk::PaintDistortionFrame(first, triangles, 6, 12, precision, vesk_bitmap, quiet, threads);
    benchmark::DoNotOptimize(vesk_bitmap.Row(0));
    benchmark::ClobberMemory();
  }
  state.SetLabel(threads == 0 ? "default threads" : std::to_string(threads) + " thread(s)");
}

}  // namespace

BENCHMARK(DistortionFrame)
    ->ArgNames({"precision", "threads"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
