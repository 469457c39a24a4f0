// One distortion frame of the benchmark scene, as frame_bench.h describes.
#include <benchmark/benchmark.h>

#include <span>

#include "bench/frame_bench.h"
#include "core/generate/distortion.h"

namespace {

void DistortionFrame(benchmark::State& state) {
  // The distortion never reads the second image.
  vesk::bench::TimeSceneFrame(
      state, [](const vesk::Bitmap& first, const vesk::Bitmap& /*second*/,
                std::span<const vesk::TrianglePositions> triangles, int t, int n, int precision,
                vesk::Bitmap& vesk_bitmap, vesk::RunProtocol& protocol, int threads) {
        return vesk::PaintDistortionFrame(first, triangles, t, n, precision, vesk_bitmap,
                                          protocol, threads);
      });
}

}  // namespace

BENCHMARK(DistortionFrame)->Apply(vesk::bench::SceneFrameArguments);

BENCHMARK_MAIN();
