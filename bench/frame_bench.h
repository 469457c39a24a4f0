// What the morph and distortion frame benchmarks share: one frame of the
// benchmark scene (bench_scene.h), frame 6 of 12, equalization off, timed at
// Precision 1 and 4, painted by one thread and by the default number of
// threads. The message processing is the protocol's empty default, so the
// figure is the engine's own cost.
#pragma once

#include <benchmark/benchmark.h>

#include <span>
#include <string>

#include "bench/bench_scene.h"
#include "core/generate/run_protocol.h"

namespace vesk::bench {

inline constexpr int kBenchFrame = 6;
inline constexpr int kBenchFrameCount = 12;

// The engine's frame painter, called as
// paint(first, second, triangles, t, n, precision, vesk, protocol, threads).
template <class Paint>
void TimeSceneFrame(benchmark::State& state, Paint paint) {
  const int precision = static_cast<int>(state.range(0));
  const int threads = static_cast<int>(state.range(1));
  const Bitmap first = ScenePicture(0);
  const Bitmap second = ScenePicture(1);
  const std::vector<TrianglePositions> triangles = SceneTriangles();
  Bitmap vesk = first;
  RunProtocol quiet;
  for (auto _ : state) {
    paint(first, second, std::span<const TrianglePositions>(triangles), kBenchFrame,
          kBenchFrameCount, precision, vesk, quiet, threads);
    benchmark::DoNotOptimize(vesk.Row(0));
    benchmark::ClobberMemory();
  }
  state.SetLabel(threads == 0 ? "default threads" : std::to_string(threads) + " thread(s)");
}

// The precision and thread counts timed: BENCHMARK(...)->Apply(SceneFrameArguments).
inline void SceneFrameArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"precision", "threads"})
      ->Args({1, 0})
      ->Args({1, 1})
      ->Args({4, 0})
      ->Args({4, 1})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace vesk::bench
