// vesk-batch sequence PIC1 PIC2 ... --out OUT.mp4|OUT.webm|OUT.gif|OUT.any
// [options]: morphs each picture into the next, all pairs into one video or
// one frame list, with an Auto Mesh made for each pair (or the pair's
// --mesh). Every picture is loaded, fitted, aligned and meshed before
// anything is written, so a pair that fails is named with both pictures and
// nothing is left behind; then the frames are rendered pair by pair and
// streamed into the output, never all held at once. The last frame of a pair
// is the first of the next: it is written once.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/sequence_pictures.h"
#include "batch/video_options.h"
#include "core/common/file_io.h"
#include "core/generate/morph.h"
#include "core/mesh/mesh_file.h"
#include "match/auto_match.h"
#include "video/video_stream.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "sequence PIC1 PIC2 ... --out OUT.mp4|OUT.webm|OUT.gif|OUT.any [--frames N] [--fps F] "
    "[--method auto|faces|features|flow] [--mesh MESH]... [--render smooth|classic] "
    "[--shape-curve C] [--colour-curve C] [--hold H] [--loop] [--align faces] [--quality Q] "
    "[--lossless]";

// One second a pair at the usual video rate.
constexpr int kSequenceFps = 25;
constexpr int kFramesPerPair = 25;
// Every pixel of a morph changes every frame, so the encoder carries no
// detail over from frame to frame: photos come out 3 to 6 dB below a still
// at the video command's default; 80 (H.264 CRF 11, VP9 CRF 12) makes up
// most of it.
constexpr int kSequenceQuality = 80;
constexpr int kMaxFramesPerPair = 1000;

struct SequenceOptions {
  GenerationSetup setup;
  MatchOptions match;
  std::optional<VideoOptions> video;  // none: a frame list
  bool loop = false;
  bool align_faces = false;
};

bool EndsWith(std::string name, const std::string& ending) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name.ends_with(ending);
}

// The options, or the usage problem.
Result<SequenceOptions> OptionsOf(const CommandLine& line, int pairs) {
  SequenceOptions options;
  const std::string& out = line.Value("--out");
  if (VideoFormatOf(out)) {
    Result<VideoOptions> video = VideoOptionsOf(line, out, kSequenceFps, kSequenceQuality);
    if (!video) return Failure{video.Message()};
    options.video = video.Value();
  } else if (!EndsWith(out, ".any")) {
    return Failure{"--out must end in .mp4, .webm, .gif or .any"};
  }
  // Smooth by default: sharp in-between frames that move smoothly.
  GenerationSetup& setup = options.setup;
  setup.renderer = Renderer::kSmooth;
  setup.equalize = false;
  Result<int> frames = line.IntValue("--frames", kFramesPerPair, 2, kMaxFramesPerPair);
  if (!frames) return Failure{frames.Message()};
  setup.frame_count = frames.Value();
  for (Status read : {ReadRenderOption(line, setup), ReadTimingOptions(line, setup)}) {
    if (!read) return Failure{read.Message()};
  }
  if (line.Has("--method")) {
    std::optional<AutoMeshMethod> method = MethodOfWord(line.Value("--method"));
    if (!method) {
      return Failure{"--method must be auto, faces, features or flow, not \"" +
                     line.Value("--method") + "\""};
    }
    options.match.method = *method;
  }
  if (line.Has("--mesh") && line.ValueCount("--mesh") != static_cast<std::size_t>(pairs)) {
    return Failure{"--mesh must name one mesh for each pair, " + std::to_string(pairs) +
                   " here"};
  }
  options.loop = line.Has("--loop");
  options.align_faces = line.Has("--align");
  if (options.align_faces && line.Value("--align") != "faces") {
    return Failure{"--align must be faces, not \"" + line.Value("--align") + "\""};
  }
  return options;
}

// The triangles of pair k: its --mesh, or an Auto Mesh of its pictures.
// A picture's face is looked for once: `faces` holds what is known of each
// picture's face (found for the alignment, or by the pair before), which
// the match takes instead of looking again, and gets what this match found.
Result<std::vector<TrianglePositions>> PairMesh(const CommandLine& line, int k, int next,
                                                const Bitmap& first, const Bitmap& second,
                                                MatchOptions match,
                                                std::vector<std::optional<FaceLandmarks>>& faces) {
  if (line.Has("--mesh")) {
    const std::string& path = line.Value("--mesh", static_cast<std::size_t>(k));
    Result<MeshFileContent> content = ReadMeshFile(path);
    if (!content) return Failure{path + ": " + content.Message()};
    return TrianglePositionsOf(content.Value().mesh);
  }
  std::optional<FaceLandmarks>& first_face = faces[static_cast<std::size_t>(k)];
  std::optional<FaceLandmarks>& second_face = faces[static_cast<std::size_t>(next)];
  match.first_face = first_face;
  match.second_face = second_face;
  Result<AutoMeshOutcome> outcome = AutoMeshOfPictures(first, second, match);
  if (!outcome) return Failure{outcome.Message()};
  if (!first_face) first_face = outcome.Value().match.first_face;
  if (!second_face) second_face = outcome.Value().match.second_face;
  return TrianglePositionsOf(outcome.Value().mesh);
}

// One pair's run as the sequence sees it: BatchRun's progress and Ctrl+C,
// the frames to `write`, leaving out the first `skip` (the picture that
// the pair before ended on, with its hold frames).
class PairRun : public RunProtocol {
 public:
  PairRun(BatchRun& run, const std::function<Status(const Bitmap&)>& write, int skip)
      : run_(run), write_(write), skip_(skip) {}
  void Begin() override { run_.Begin(); }
  void Counter(int k, int n) override { run_.Counter(k, n); }
  void InnerBar(int percent) override { run_.InnerBar(percent); }
  bool CancelRequested() override { return run_.CancelRequested(); }
  Status WriteFrame(const Bitmap& frame) override {
    if (skip_ > 0) {
      --skip_;
      return Status::Success();
    }
    return write_(frame);
  }
  void End() override { run_.End(); }

 private:
  BatchRun& run_;
  const std::function<Status(const Bitmap&)>& write_;
  int skip_;
};

// Renders every pair into `write`; stops at a failure or Ctrl+C.
Status RenderPairs(SequencePictures& pictures, int pairs,
                   const std::vector<std::vector<TrianglePositions>>& meshes,
                   const GenerationSetup& setup, BatchRun& run,
                   const std::function<Status(const Bitmap&)>& write) {
  Result<Bitmap> from = pictures.Picture(0);
  for (int k = 0; k < pairs && from && !run.Cancelled(); ++k) {
    run.SetTitle("sequence " + std::to_string(k + 1) + "/" + std::to_string(pairs));
    Result<Bitmap> to = pictures.Picture((k + 1) % pictures.Count());
    if (!to) return Failure{to.Message()};
    PairRun pair(run, write, k == 0 ? 0 : 1 + setup.hold);
    Bitmap vesk;
    Status done = RunMorph(from.Value(), to.Value(), meshes[static_cast<std::size_t>(k)], setup,
                           vesk, pair);
    if (!done) return done;
    from = std::move(to);
  }
  if (!from) return Failure{from.Message()};
  return Status::Success();
}

int RunSequence(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 2,
                                 {{"--out", 1}, {"--frames", 1}, kFpsOption, {"--method", 1},
                                  {"--mesh", 1, true}, {"--render", 1}, {"--shape-curve", 1},
                                  {"--colour-curve", 1}, {"--hold", 1}, {"--loop", 0},
                                  {"--align", 1}, kQualityOption, kLosslessOption},
                                 true);
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  const std::vector<std::string>& names = line.Value().Positional();
  const int count = static_cast<int>(names.size());
  const int pairs = line.Value().Has("--loop") ? count : count - 1;
  Result<SequenceOptions> options = OptionsOf(line.Value(), pairs);
  if (!options) return ReportUsage(kUsage, options.Message());
  const std::string& out = line.Value().Value("--out");
  // 0. The output can be written: found out before any work.
  Status writable = CheckWritable(out);
  if (!writable) return ReportBadInput(writable.Message());

  // 1. Every picture and every pair's mesh, before anything is written.
  SequencePictures pictures(names, options.Value().align_faces,
                            std::filesystem::path(out).parent_path().string());
  std::vector<std::vector<TrianglePositions>> meshes;
  {
    BatchRun run("sequence: meshes");
    MatchOptions match = options.Value().match;
    match.cancelled = [&run] { return run.CancelRequested(); };
    match.progress = [&run](int percent) { run.InnerBar(percent); };
    run.Begin();
    Result<Bitmap> from = pictures.Picture(0);
    if (!from) return ReportBadInput(from.Message());
    std::vector<std::optional<FaceLandmarks>> faces(static_cast<std::size_t>(count));
    faces[0] = pictures.Face(0);
    for (int k = 0; k < pairs; ++k) {
      run.Counter(k + 1, pairs);
      const int next = (k + 1) % count;
      Result<Bitmap> to = pictures.Picture(next);
      if (!to) return ReportBadInput(to.Message());
      std::optional<FaceLandmarks>& next_face = faces[static_cast<std::size_t>(next)];
      if (!next_face) next_face = pictures.Face(next);
      match.first_name = names[static_cast<std::size_t>(k)];
      match.second_name = names[static_cast<std::size_t>(next)];
      auto mesh = PairMesh(line.Value(), k, next, from.Value(), to.Value(), match, faces);
      if (Interrupted()) return ReportCancelled("sequence", "; nothing written");
      if (!mesh) {
        return ReportBadInput("pair " + std::to_string(k + 1) + " (" + match.first_name +
                              " and " + match.second_name + "): " + mesh.Message());
      }
      meshes.push_back(std::move(mesh).Value());
      from = std::move(to);
    }
  }

  // 2. The frames, pair by pair, straight into the output.
  BatchRun run("sequence");
  int written = 0;
  Status status;
  if (options.Value().video) {
    VideoStream video;
    status = video.Open(out, pictures.Width(), pictures.Height(), *options.Value().video);
    const std::function<Status(const Bitmap&)> write = [&](const Bitmap& frame) {
      ++written;
      return video.Add(frame);
    };
    if (status) status = RenderPairs(pictures, pairs, meshes, options.Value().setup, run, write);
    run.End();
    if (Interrupted()) return ReportCancelled("sequence", "; nothing written");
    if (status) status = video.Finish();
    if (!status) return ReportBadInput(out + ": " + status.Message());
    std::cout << "sequence: " << written << " frames written to " << out << std::endl;
    return kExitDone;
  }
  status = run.OpenFrameList(out);
  if (!status) return ReportBadInput(status.Message());
  const std::function<Status(const Bitmap&)> write = [&](const Bitmap& frame) {
    return run.WriteFrame(frame);
  };
  status = RenderPairs(pictures, pairs, meshes, options.Value().setup, run, write);
  run.End();
  Status closed = run.CloseFrameList(!status);
  if (!status) return ReportBadInput(status.Message());
  if (!closed) return ReportBadInput(closed.Message());
  if (run.Cancelled()) {
    return ReportCancelled("sequence", "; " + std::to_string(run.FramesWritten()) +
                                           " frames kept in " + out);
  }
  std::cout << "sequence: " << run.FramesWritten() << " frames written, listed in " << out
            << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"sequence", kUsage, &RunSequence});

}  // namespace vesk::batch
