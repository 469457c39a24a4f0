// One morph frame of the benchmark scene, as frame_bench.h describes, by the
// classic piece painter and by the Smooth renderer (which has no precision).
#include <benchmark/benchmark.h>

#include "bench/frame_bench.h"
#include "core/generate/morph.h"
#include "core/generate/smooth_frame.h"

namespace {

void MorphFrame(benchmark::State& state) {
  vesk::bench::TimeSceneFrame(state, &vesk::PaintMorphFrame);
}

void SmoothMorphFrame(benchmark::State& state) {
  vesk::bench::TimeSceneFrame(
      state, [](const vesk::Bitmap& first, const vesk::Bitmap& second,
                std::span<const vesk::TrianglePositions> triangles, int t, int n, int /*precision*/,
                vesk::Bitmap& vesk, vesk::RunProtocol& protocol, int threads) {
        const double position = static_cast<double>(t) / n;
        vesk::PaintSmoothFrame({vesk::PieceKind::kMorph, &first, &second, triangles, position,
                                position, threads},
                               vesk, protocol);
      });
}

}  // namespace

BENCHMARK(MorphFrame)->Apply(vesk::bench::SceneFrameArguments);
BENCHMARK(SmoothMorphFrame)
    ->ArgNames({"precision", "threads"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
