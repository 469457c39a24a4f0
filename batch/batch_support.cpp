#include "batch/batch_support.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/animation/animation_viewer.h"
#include "core/common/file_io.h"
#include "core/generate/frame_list.h"
#include "core/generate/frame_output.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_file.h"
#include "pictures/picture_reader.h"

namespace vesk::batch {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

// ---- Command line -------------------------------------------------------

Result<CommandLine> CommandLine::Parse(const std::vector<std::string>& args,
                                       std::size_t positional_count,
                                       std::initializer_list<OptionRule> options,
                                       bool more_positional) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      const OptionRule* rule = nullptr;
      for (const OptionRule& option : options) {
        if (option.name == word) rule = &option;
      }
      if (rule == nullptr) return Failure{"unknown option " + word};
      for (std::size_t v = 1; v <= static_cast<std::size_t>(rule->value_count) && i + v < args.size();
           ++v) {
        if (args[i + v].empty()) return Failure{"option " + word + " needs a non-empty value"};
      }
      auto given = std::find_if(line.options_.begin(), line.options_.end(),
                                [&](const Given& g) { return g.name == word; });
      if (given != line.options_.end() && !rule->repeatable) {
        return Failure{"option " + word + " given twice"};
      }
      if (args.size() - i - 1 < static_cast<std::size_t>(rule->value_count)) {
        return Failure{"option " + word + " needs " + std::to_string(rule->value_count) +
                       (rule->value_count == 1 ? " value" : " values")};
      }
      if (given == line.options_.end()) {
        given = line.options_.insert(given, Given{word, {}});
      }
      for (int v = 0; v < rule->value_count; ++v) given->values.push_back(args[++i]);
    } else {
      line.positional_.push_back(word);
    }
  }
  if (line.positional_.size() < positional_count) {
    return Failure{positional_count - line.positional_.size() == 1 ? "a file name is missing"
                                                                   : "file names are missing"};
  }
  if (line.positional_.size() > positional_count && !more_positional) {
    return Failure{"unexpected word " + line.positional_[positional_count]};
  }
  return line;
}

const CommandLine::Given* CommandLine::Find(std::string_view name) const {
  for (const Given& given : options_) {
    if (given.name == name) return &given;
  }
  return nullptr;
}

bool CommandLine::Has(std::string_view name) const { return Find(name) != nullptr; }

std::size_t CommandLine::ValueCount(std::string_view name) const {
  const Given* given = Find(name);
  return given == nullptr ? 0 : given->values.size();
}

const std::string& CommandLine::Value(std::string_view name, std::size_t index) const {
  static const std::string kNone;
  const Given* given = Find(name);
  if (given == nullptr || index >= given->values.size()) return kNone;
  return given->values[index];
}

Result<int> CommandLine::IntValue(std::string_view name, int fallback, int min, int max,
                                  std::size_t index) const {
  if (!Has(name)) return fallback;
  return ParseWholeNumber(name, Value(name, index), min, max);
}

Result<bool> CommandLine::OnOffValue(std::string_view name, bool fallback) const {
  if (!Has(name)) return fallback;
  std::string text = Lower(Value(name));
  if (text == "on" || text == "1" || text == "yes" || text == "true") return true;
  if (text == "off" || text == "0" || text == "no" || text == "false") return false;
  return Failure{std::string(name) + " must be on or off, not \"" + Value(name) + "\""};
}

Result<int> ParseWholeNumber(std::string_view what, std::string_view text, int min, int max) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  long long value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  bool whole = !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
  if (!whole || value < min || value > max) {
    return Failure{std::string(what) + " must be a whole number from " + std::to_string(min) +
                   " to " + std::to_string(max) + ", not \"" + std::string(text) + "\""};
  }
  return static_cast<int>(value);
}

int ReportUsage(std::string_view usage, std::string_view problem) {
  std::cerr << "vesk-batch: " << problem << " (usage: vesk-batch " << usage << ")" << std::endl;
  return kExitUsage;
}

int ReportBadInput(std::string_view message) {
  std::cerr << "vesk-batch: " << message << std::endl;
  return kExitBadInput;
}

// ---- Ctrl+C ---------------------------------------------------------------

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes go on; the steps poll the flag
  ::sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return g_interrupted != 0; }

int ReportCancelled(std::string_view title, std::string_view detail) {
  return ReportBadInput(std::string(title) + " cancelled" + std::string(detail));
}

// ---- Images and files ---------------------------------------------------

Result<std::vector<std::string>> FrameFilesOfList(const std::string& list_path) {
  auto names = ReadFrameListFile(list_path);
  if (!names) return Failure{list_path + ": " + names.Message()};
  const std::string folder = std::filesystem::path(list_path).parent_path().string();
  std::vector<std::string> files;
  files.reserve(names.Value().size());
  for (const std::string& name : names.Value()) files.push_back(ResolveFrameName(folder, name));
  return files;
}

Result<Bitmap> LoadImageFile(const std::string& path) {
  Result<Bitmap> picture = ReadPicture(path);
  if (!picture) return Failure{path + ": " + picture.Message()};
  return picture;
}

Status SaveImageFile(const Bitmap& image, const std::string& path, std::string_view title) {
  if (image.Empty()) return SaveBmpFile(path, image);  // refused with the codec's message
  return SaveFileBytes(EncodeBmp(image), path, title);
}

Status SaveFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path,
                     std::string_view title) {
  ReplacingWrite file;
  Status saved = file.Open(path);
  if (saved) saved = file.Write(bytes.data(), bytes.size());
  if (saved && Interrupted()) {
    file.Abandon();
    return Failure{std::string(title) + " cancelled; nothing written"};
  }
  if (saved) saved = file.Commit();
  if (!saved) return Failure{path + ": " + saved.Message()};
  return saved;
}

std::string BareName(const std::string& stored_name) {
  std::size_t cut = stored_name.find_last_of("\\/");
  return cut == std::string::npos ? stored_name : stored_name.substr(cut + 1);
}

std::string StoredName(const std::string& picture, const std::string& mesh) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path absolute = fs::absolute(picture, error);
  if (error) return picture;
  const fs::path folder = fs::absolute(mesh, error).parent_path();
  const fs::path relative = absolute.lexically_relative(folder);
  if (error || relative.empty() || *relative.begin() == "..") return absolute.string();
  return relative.string();
}

std::string LocateMeshImage(const std::string& stored_name, const std::string& mesh_path) {
  namespace fs = std::filesystem;
  if (stored_name.empty()) return {};
  const fs::path folder = fs::path(mesh_path).parent_path();
  const std::string bare = BareName(stored_name);
  std::vector<fs::path> candidates;
  if (fs::path(stored_name).is_relative()) candidates.push_back(folder / stored_name);
  candidates.push_back(stored_name);
  if (!bare.empty()) candidates.push_back(folder / bare);
  for (const fs::path& candidate : candidates) {
    if (FileReadable(candidate.string())) return candidate.string();
  }
  return {};
}

Result<MeshScene> LoadMeshScene(const std::string& mesh_path) {
  Result<MeshFileContent> content = ReadMeshFile(mesh_path);
  if (!content) return Failure{mesh_path + ": " + content.Message()};
  MeshScene scene;
  scene.mesh = std::move(content.Value().mesh);
  const std::string* stored[2] = {&content.Value().first_file_name,
                                  &content.Value().second_file_name};
  const char* which[2] = {"first", "second"};
  std::string* paths[2] = {&scene.first_path, &scene.second_path};
  Bitmap* images[2] = {&scene.first, &scene.second};
  for (int i = 0; i < 2; ++i) {
    if (stored[i]->empty()) {
      return Failure{mesh_path + ": the mesh names no " + which[i] + " image"};
    }
    *paths[i] = LocateMeshImage(*stored[i], mesh_path);
    if (paths[i]->empty()) {
      return Failure{mesh_path + ": " + which[i] + " image \"" + *stored[i] +
                     "\" not found (looked for it as stored and in the mesh file's folder)"};
    }
    Result<Bitmap> image = LoadImageFile(*paths[i]);
    if (!image) return Failure{image.Message()};
    *images[i] = std::move(image.Value());
  }
  return scene;
}

Result<GenerationSetup> GenerationSetupFromOptions(const CommandLine& line) {
  GenerationSetup setup;
  Result<int> frames = line.IntValue("--frames", 12, 1, 100);
  if (!frames) return Failure{frames.Message()};
  Result<int> precision = line.IntValue("--precision", 1, 1, 1000);
  if (!precision) return Failure{precision.Message()};
  Result<bool> equalize = line.OnOffValue("--equalize", true);
  if (!equalize) return Failure{equalize.Message()};
  Status render = ReadRenderOption(line, setup);
  if (!render) return Failure{render.Message()};
  Status timing = ReadTimingOptions(line, setup);
  if (!timing) return Failure{timing.Message()};
  setup.frame_count = frames.Value();
  setup.precision = precision.Value();
  setup.equalize = equalize.Value();
  return setup;
}

Status ReadRenderOption(const CommandLine& line, GenerationSetup& setup) {
  if (!line.Has("--render")) return Status::Success();
  const std::string render = Lower(line.Value("--render"));
  if (render != "classic" && render != "smooth") {
    return Failure{"--render must be classic or smooth, not \"" + line.Value("--render") + "\""};
  }
  setup.renderer = render == "smooth" ? Renderer::kSmooth : Renderer::kClassic;
  return Status::Success();
}

Status ReadTimingOptions(const CommandLine& line, GenerationSetup& setup) {
  for (auto [option, curve] : {std::pair{"--shape-curve", &setup.curves.shape},
                               std::pair{"--colour-curve", &setup.curves.colour}}) {
    if (!line.Has(option)) continue;
    const std::optional<TimingCurve> chosen = CurveOfWord(Lower(line.Value(option)));
    if (!chosen) {
      return Failure{std::string(option) +
                     " must be linear, ease-in, ease-out or ease-in-out, not \"" +
                     line.Value(option) + "\""};
    }
    *curve = *chosen;
  }
  Result<int> hold = line.IntValue("--hold", setup.hold, 0, kMaxHoldFrames);
  if (!hold) return Failure{hold.Message()};
  setup.hold = hold.Value();
  return Status::Success();
}

// ---- Running a computation ------------------------------------------------

struct BatchRun::FrameList {
  FrameOutput output;
};

BatchRun::BatchRun(std::string title) : title_(std::move(title)) {
  terminal_ = ::isatty(STDERR_FILENO) == 1;
}

BatchRun::~BatchRun() {
  if (running_) End();
}

Status BatchRun::OpenFrameList(const std::string& list_path) {
  CloseFrameList();
  auto list = std::make_unique<FrameList>();
  Status opened = list->output.Open(list_path);
  if (!opened) return Failure{list_path + ": " + opened.Message()};
  list_ = std::move(list);
  return Status::Success();
}

Status BatchRun::CloseFrameList(bool run_failed) {
  if (!list_) return Status::Success();
  const std::string path = list_->output.ListPath();
  Status closed = list_->output.Close(run_failed);
  list_.reset();
  if (!closed) return Failure{path + ": " + closed.Message()};
  return Status::Success();
}

bool BatchRun::Cancelled() const { return g_interrupted != 0; }

void BatchRun::Begin() {
  running_ = true;
  counter_k_ = -1;
  outer_percent_ = 0;
  inner_percent_ = 0;
  Draw(true);
}

void BatchRun::Counter(int k, int n) {
  counter_k_ = k;
  counter_n_ = n;
  outer_percent_ = n > 0 ? static_cast<int>(static_cast<long long>(k) * 100 / n) : 0;
  inner_percent_ = 0;
  Draw(true);
}

void BatchRun::InnerBar(int percent) {
  inner_percent_ = percent;
  Draw(false);
}

bool BatchRun::CancelRequested() { return g_interrupted != 0; }

void BatchRun::EqualizationBegin() {
  equalizing_ = true;
  Draw(true);
}

void BatchRun::EqualizationEnd() {
  equalizing_ = false;
  Draw(true);
}

Status BatchRun::WriteFrame(const Bitmap& frame) {
  if (!list_) return Status::Success();
  Status written = list_->output.WriteFrame(frame);
  if (!written) return written;
  ++frames_written_;
  return Status::Success();
}

void BatchRun::End() {
  if (!running_) return;
  running_ = false;
  if (terminal_) std::fputs("\r\x1b[K", stderr);
}

void BatchRun::Draw(bool force) {
  if (!terminal_ || !running_) return;
  long long now = NowMs();
  if (!force && last_draw_ms_ >= 0 && now - last_draw_ms_ < 80) return;
  last_draw_ms_ = now;
  constexpr int kWidth = 30;
  int filled = std::clamp(inner_percent_, 0, 100) * kWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kWidth - filled), '-');
  std::string counter = counter_k_ >= 0
                            ? std::to_string(counter_k_) + "/" + std::to_string(counter_n_)
                            : std::string();
  std::fprintf(stderr, "\r%s %s %s [%s] %3d%%  (run %3d%%)\x1b[K", title_.c_str(),
               equalizing_ ? "Equalization" : "Process", counter.c_str(), bar.c_str(),
               inner_percent_, outer_percent_);
  std::fflush(stderr);
}

int RunFrameCommand(std::string title, const std::string& list_path,
                    const std::function<Status(RunProtocol&)>& compute) {
  // A Ctrl+C while the pictures were read: nothing is started.
  if (Interrupted()) return ReportCancelled(title, "; nothing written");
  BatchRun run(title);
  if (!list_path.empty()) {
    Status opened = run.OpenFrameList(list_path);
    if (!opened) return ReportBadInput(opened.Message());
  }
  Status result = compute(run);
  run.End();
  Status closed = run.CloseFrameList(!result);
  if (!result) return ReportBadInput(result.Message());
  if (!closed) return ReportBadInput(closed.Message());
  // The list as written: the name given, with ".any" added when it was.
  const std::string written_list = list_path.empty() ? "" : FrameListPathFor(list_path);
  if (run.Cancelled()) {
    return ReportCancelled(title, "; " + std::to_string(run.FramesWritten()) + " frames kept" +
                                      (list_path.empty() ? "" : " in " + written_list));
  }
  if (list_path.empty()) {
    std::cout << title << ": done (no --list given, no frame written)" << std::endl;
  } else {
    std::cout << title << ": " << run.FramesWritten() << " frames written, listed in "
              << written_list << std::endl;
  }
  return kExitDone;
}

int RunMeshFrameCommand(const std::string& title, std::string_view usage,
                        const std::vector<std::string>& args, const MeshEngine& engine) {
  auto line = CommandLine::Parse(
      args, 1,
      {{"--frames", 1},
       {"--precision", 1},
       {"--equalize", 1},
       {"--render", 1},
       {"--shape-curve", 1},
       {"--colour-curve", 1},
       {"--hold", 1},
       {"--list", 1}});
  if (!line) return ReportUsage(usage, line.Message());
  auto setup = GenerationSetupFromOptions(line.Value());
  if (!setup) return ReportUsage(usage, setup.Message());

  auto scene = LoadMeshScene(line.Value().Positional()[0]);
  if (!scene) return ReportBadInput(scene.Message());
  const std::vector<TrianglePositions> triangles = TrianglePositionsOf(scene.Value().mesh);
  Bitmap vesk;
  return RunFrameCommand(title, line.Value().Value("--list"), [&](RunProtocol& run) {
    return engine(scene.Value(), triangles, setup.Value(), vesk, run);
  });
}

}  // namespace vesk::batch
