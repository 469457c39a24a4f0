// One morph frame of the benchmark scene (bench_scene.h): frame 6 of 12,
// equalization off, at Precision 1 and 4, painted by one thread and by the
// default number of threads. The message processing is the protocol's empty
// default, so the figure is the engine's own cost.
#include <benchmark/benchmark.h>

#include "bench/bench_scene.h"
#include "core/generate/morph.h"

namespace {

void MorphFrame(benchmark::State& state) {
  const int precision = static_cast<int>(state.range(0));
  const int threads = static_cast<int>(state.range(1));
  const vesk::Bitmap first = vesk::bench::ScenePicture(0);
  const vesk::Bitmap second = vesk::bench::ScenePicture(1);
  const auto triangles = vesk::bench::SceneTriangles();
  vesk::Bitmap vesk_bitmap = first;
  vesk::RunProtocol quiet;
  for (auto _ : state) {
    vesk::PaintMorphFrame(first, second, triangles, 6, 12, precision, vesk_bitmap, quiet, threads);
    benchmark::DoNotOptimize(vesk_bitmap.Row(0));
    benchmark::ClobberMemory();
  }
  state.SetLabel(threads == 0 ? "default threads" : std::to_string(threads) + " thread(s)");
}

}  // namespace

BENCHMARK(MorphFrame)
    ->ArgNames({"precision", "threads"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
