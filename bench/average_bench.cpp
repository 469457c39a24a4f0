// `vesk-batch average` as a user runs it, from JPEG files to the finished
// picture, in a process of its own (so every run loads the face model) whose
// wall time and peak memory are reported:
//   Count/N       N portraits of 1024 x 768 (N = 10, 25, 50, 100);
//   Size/W        25 portraits of W x 3W/4 (W = 1024, 2048, 4000).
// The portraits are the examples' two faces, each turned by up to 10
// degrees, scaled and shifted differently, written as JPEG (quality 90) by
// the benchmark. Budget: 100 portraits of 1024 x 768 in at most 20 s, model
// load included. The peak memory should not grow with the count.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QString>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/image/similarity_warp.h"
#include "pictures/image_convert.h"

namespace {

namespace fs = std::filesystem;

// Writes `count` portraits of width x height into a folder of their own.
std::vector<std::string> Portraits(int count, int width, int height) {
  const fs::path folder =
      fs::temp_directory_path() /
      ("vesk_average_bench_" + std::to_string(count) + "_" + std::to_string(width));
  fs::create_directories(folder);
  const vesk::Bitmap faces[] = {
      vesk::FromQImage(QImage(VESK_SOURCE_DIR "/examples/grace_hopper.jpg")),
      vesk::FromQImage(QImage(VESK_SOURCE_DIR "/examples/astronaut.png"))};
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    const std::string name = (folder / ("portrait" + std::to_string(i) + ".jpg")).string();
    names.push_back(name);
    if (fs::exists(name)) continue;
    const vesk::Bitmap& face = faces[i % 2];
    // The face fills about 70 % of the height, a little off the middle.
    const double turn = unit(rng) * 10 * 3.14159265 / 180,
                 scale = height * (0.7 + 0.1 * unit(rng)) / face.Height();
    vesk::Similarity s{scale * std::cos(turn), scale * std::sin(turn), 0, 0};
    const vesk::PicturePoint middle = Apply(s, {face.Width() / 2.0, face.Height() / 2.0});
    s.tx = width / 2.0 - middle.x + width * 0.1 * unit(rng);
    s.ty = height / 2.0 - middle.y + height * 0.05 * unit(rng);
    vesk::ToQImage(vesk::WarpPicture(face, s, width, height))
        .save(QString::fromStdString(name), "JPG", 90);
  }
  return names;
}

void Average(benchmark::State& state, int count, int width) {
  const int height = width * 3 / 4;
  std::vector<std::string> words = {VESK_BATCH_EXE, "average"};
  for (const std::string& name : Portraits(count, width, height)) words.push_back(name);
  words.push_back("--out");
  words.push_back((fs::temp_directory_path() / "vesk_average_bench.png").string());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  long peak_kib = 0;
  double cpu_s = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      if (!std::freopen("/dev/null", "w", stdout)) _exit(97);
      execv(argv[0], argv.data());
      _exit(98);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("vesk-batch failed");
    peak_kib = std::max(peak_kib, usage.ru_maxrss);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    cpu_s += seconds(usage.ru_utime) + seconds(usage.ru_stime);
  }
  state.counters["peak_MiB"] = double(peak_kib) / 1024;
  // The processor time the tool used (both cores together): on a loaded
  // machine the wall time says more about the other programs.
  state.counters["cpu_s"] = cpu_s / double(state.iterations());
  state.counters["s_per_portrait"] = benchmark::Counter(
      double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Count(benchmark::State& state) { Average(state, int(state.range(0)), 1024); }
void Size(benchmark::State& state) { Average(state, 25, int(state.range(0))); }

}  // namespace

BENCHMARK(Count)->Arg(10)->Arg(25)->Arg(50)->Arg(100)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kSecond);
BENCHMARK(Size)->Arg(1024)->Arg(2048)->Arg(4000)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kSecond);

BENCHMARK_MAIN();
