// 48-megapixel photos (8000 x 6000, a phone's full-resolution mode) through
// vesk-batch as a user runs it, each run a child process whose peak memory
// (the kernel's ru_maxrss for it) is reported beside its time:
//   ReadPair           a JPEG and a PNG read (a grid mesh of them written);
//   PairMorph          the two read and morphed into 3 Smooth frames
//                      written as BMP files (a 5 x 4 grid mesh, so the frame
//                      painting, not the mesh, is what is timed);
//   SequenceList       three pictures (JPEG, PNG, JPEG) made into a sequence
//                      of 2 frames a pair written as a frame list;
//   SequenceMp4        the same as an H.264 MP4.
// The pictures are made once by the benchmark (the examples' portraits
// scaled up, smooth), in a temporary folder that is removed afterwards.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QImageWriter>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Scene {
  fs::path dir;
  Scene() {
    dir = fs::temp_directory_path() / ("vesk_large_" + std::to_string(getpid()));
    fs::create_directories(dir / "out");
    const QImage portrait =
        QImage(VESK_SOURCE_DIR "/examples/grace_hopper.jpg")
            .scaled(8000, 6000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    portrait.save(QString::fromStdString((dir / "a.jpg").string()), "JPEG", 90);
    QImageWriter png(QString::fromStdString((dir / "b.png").string()));
    png.write(portrait.mirrored(true, false));
    portrait.mirrored(false, true)
        .save(QString::fromStdString((dir / "c.jpg").string()), "JPEG", 90);
    Batch("grid a.jpg b.png --cols 5 --rows 4 --out ab.mesh");
    Batch("grid b.png c.jpg --cols 5 --rows 4 --out bc.mesh");
  }
  ~Scene() { fs::remove_all(dir); }

  // Runs vesk-batch on `words` in the folder; answers its peak memory in MB
  // (0 when it failed).
  double Batch(const std::string& words) const {
    std::vector<std::string> argv_words = {VESK_BATCH_EXE};
    for (std::size_t at = 0, next; at < words.size(); at = next + 1) {
      next = words.find(' ', at);
      if (next == std::string::npos) next = words.size();
      argv_words.push_back(words.substr(at, next - at));
    }
    std::vector<char*> argv;
    for (std::string& word : argv_words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(dir.c_str()) != 0) _exit(99);
      execv(argv[0], argv.data());
      _exit(98);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    for (const auto& entry : fs::directory_iterator(dir / "out")) fs::remove(entry.path());
    const bool done = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return done ? static_cast<double>(usage.ru_maxrss) / 1024 : 0;
  }
};

const Scene& TheScene() {
  static const Scene scene;
  return scene;
}

void Measure(benchmark::State& state, const std::string& words) {
  const Scene& scene = TheScene();
  double peak = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    peak = scene.Batch(words);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    if (peak == 0) state.SkipWithError(("vesk-batch " + words + " failed").c_str());
  }
  state.counters["peak_MB"] = peak;
}

void ReadPair(benchmark::State& state) {
  Measure(state, "grid a.jpg b.png --cols 2 --rows 2 --out out/m.mesh");
}
void PairMorph(benchmark::State& state) {
  Measure(state, "morph ab.mesh --frames 2 --render smooth --list out/x.any");
}
void SequenceList(benchmark::State& state) {
  Measure(state,
          "sequence a.jpg b.png c.jpg --mesh ab.mesh --mesh bc.mesh --frames 2 --out out/s.any");
}
void SequenceMp4(benchmark::State& state) {
  Measure(state,
          "sequence a.jpg b.png c.jpg --mesh ab.mesh --mesh bc.mesh --frames 2 --out out/s.mp4");
}

}  // namespace

BENCHMARK(ReadPair)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK(PairMorph)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK(SequenceList)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK(SequenceMp4)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK_MAIN();
