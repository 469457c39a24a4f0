// One update of the live preview for the benchmark scene (bench_scene.h):
// the request (the mesh copied, the pictures compared with the copies last
// sent and shared), the frame computed
// (core/generate/preview_frame.h) and converted into the QImage that the
// window shows; the painter keeps its working pictures between updates, as
// the preview's worker does. Precision 1, equalization off, N = 12, frames t = 1, 6, 11,
// with one painting thread and with the default number.
#include <benchmark/benchmark.h>

#include "app/preview_worker.h"
#include "bench/bench_scene.h"

namespace {

void PreviewUpdate(benchmark::State& state) {
  const vesk::Bitmap first = vesk::bench::ScenePicture(0);
  const vesk::Bitmap second = vesk::bench::ScenePicture(1);
  const auto first_copy = std::make_shared<const vesk::Bitmap>(first);
  const auto second_copy = std::make_shared<const vesk::Bitmap>(second);
  const std::vector<vesk::TrianglePositions> triangles = vesk::bench::SceneTriangles();
  const vesk::GenerationSetup setup{12, 1, false, static_cast<int>(state.range(1))};
  vesk::PreviewPainter painter;
  for (auto _ : state) {
    // The request as the window makes it for a moved node: the mesh copied,
    // the unchanged pictures shared after a comparison.
    const bool same = first == second;
    vesk::PreviewJob job{vesk::PreviewKind::kMorph, first_copy, second_copy, triangles, setup,
                         static_cast<int>(state.range(0)), 1};
    benchmark::DoNotOptimize(same);
    QImage shown = vesk::ComputePreviewImage(job, painter);
    benchmark::DoNotOptimize(shown.constBits());
  }
}

}  // namespace

BENCHMARK(PreviewUpdate)->ArgNames({"t", "threads"})->Args({1, 1})->Args({6, 1})->Args({11, 1})->Args({6, 0})->Args({11, 0})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
