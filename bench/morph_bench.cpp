// One morph frame of the benchmark scene, as frame_bench.h describes.
#include <benchmark/benchmark.h>

#include "bench/frame_bench.h"
#include "core/generate/morph.h"

namespace {

void MorphFrame(benchmark::State& state) {
  vesk::bench::TimeSceneFrame(state, &vesk::PaintMorphFrame);
}

}  // namespace

BENCHMARK(MorphFrame)->Apply(vesk::bench::SceneFrameArguments);

BENCHMARK_MAIN();
