// Auto Mesh of two photos (match/auto_match.h), from the pictures to the
// finished mesh, as the menu command and vesk-batch run it, by the default
// method (auto: the faces, then the flow and the features for the rest).
// The photos are the examples' two portraits scaled to fill 1024 x 768 or
// 4000 x 3000 and cropped in the middle (smooth scaling):
//   FirstLoad     1024 x 768, the face model loaded afresh in every run
//                 (the detector built and the predictor's file read);
//   Loaded        1024 x 768, the model already loaded;
//   Large         4000 x 3000, loaded;
// two different people, so outside the faces little matches; and one
// portrait against the same photo cropped 12 pixels further right and down
// (a shifted view, where everything matches) by auto, features and flow,
// at both sizes. Budgets: 2 s, 0.5 s and 3 s for the first three, and the
// same for auto on the shifted view.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QString>

#include "match/auto_match.h"
#include "pictures/image_convert.h"

namespace {

vesk::Bitmap Photo(const char* name, int width, int height, int shift = 0) {
  const QImage image(QString(VESK_SOURCE_DIR "/examples/") + name);
  const QImage filled = image.scaled(width + 24, height + 24, Qt::KeepAspectRatioByExpanding,
                                     Qt::SmoothTransformation);
  return vesk::FromQImage(filled.copy((filled.width() - width) / 2 + shift,
                                      (filled.height() - height) / 2 + shift, width, height));
}

void Run(benchmark::State& state, const vesk::Bitmap& first, const vesk::Bitmap& second,
         vesk::AutoMeshMethod method, bool fresh_model) {
  vesk::MatchOptions options;
  options.method = method;
  for (auto _ : state) {
    if (fresh_model) vesk::ReleaseFaceModel();
    vesk::Result<vesk::AutoMeshOutcome> outcome = vesk::AutoMeshOfPictures(first, second, options);
    if (!outcome) state.SkipWithError(outcome.Message().c_str());
    if (outcome) state.SetLabel(outcome.Value().report);
  }
}

void Portraits(benchmark::State& state, int width, int height, bool fresh_model) {
  Run(state, Photo("grace_hopper.jpg", width, height), Photo("astronaut.png", width, height),
      vesk::AutoMeshMethod::kAuto, fresh_model);
}

void FirstLoad(benchmark::State& state) { Portraits(state, 1024, 768, true); }
void Loaded(benchmark::State& state) { Portraits(state, 1024, 768, false); }
void Large(benchmark::State& state) { Portraits(state, 4000, 3000, false); }

void ShiftedView(benchmark::State& state) {
  const int width = static_cast<int>(state.range(1)), height = width * 3 / 4;
  Run(state, Photo("astronaut.png", width, height), Photo("astronaut.png", width, height, 12),
      static_cast<vesk::AutoMeshMethod>(state.range(0)), false);
}

}  // namespace

// Wall time, and the CPU time of every thread (auto finds its features on
// a second one).
BENCHMARK(FirstLoad)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(Loaded)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(Large)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(ShiftedView)
    ->ArgNames({"method", "width"})
    ->ArgsProduct({{int(vesk::AutoMeshMethod::kAuto), int(vesk::AutoMeshMethod::kFeatures),
                    int(vesk::AutoMeshMethod::kFlow)},
                   {1024, 4000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
