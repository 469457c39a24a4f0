// vesk-batch sequence PIC1 PIC2 ... [--out OUT] [--save S.vseq] [options]
// vesk-batch sequence --from S.vseq [--out OUT] [--save S.vseq] [options]
// Morphs each picture into the next, all pairs into one video or one frame
// list, with an Auto Mesh made for each pair that has no mesh (or the
// pair's --mesh); --from takes the pictures, options and meshes of a saved
// sequence (options given here replace the file's), --save writes the
// sequence with every pair's mesh. Every picture is read, fitted, aligned
// and meshed before anything is written, so a pair that fails is named with
// both pictures and nothing is left behind; then the frames are rendered
// pair by pair and streamed into the output, never all held at once
// (sequencing/, which the sequence window shares).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/video_options.h"  // the --fps, --quality and --lossless rules
#include "core/common/file_io.h"
#include "core/mesh/mesh_file.h"
#include "core/sequence/sequence_file.h"
#include "sequencing/pair_auto_mesh.h"
#include "sequencing/sequence_export.h"
#include "sequencing/sequence_output.h"
#include "sequencing/sequence_render.h"

namespace vesk::batch {
namespace {

static_assert(kMaxSequenceFps == kVideoMaxFps && kMaxSequenceQuality == kVideoMaxQuality,
              "the sequence's ranges are the video writer's");

constexpr const char* kUsage =
    "sequence PIC1 PIC2 ...|--from S.vseq [--out OUT.mp4|OUT.webm|OUT.gif|OUT.any] "
    "[--save S.vseq] [--frames N] [--fps F] [--method auto|faces|features|flow] [--mesh MESH]... "
    "[--render smooth|classic] [--shape-curve C] [--colour-curve C] [--hold H] [--loop] "
    "[--align faces] [--quality Q] [--lossless]";

// The options given on the command line in place of `base`'s (the
// defaults, or a saved sequence's), or the usage problem.
Result<SequenceOptions> OptionsOf(const CommandLine& line, SequenceOptions options) {
  Result<int> frames =
      line.IntValue("--frames", options.frames_per_pair, kMinFramesPerPair, kMaxFramesPerPair);
  if (!frames) return Failure{frames.Message()};
  options.frames_per_pair = frames.Value();
  GenerationSetup setup = SequenceGenerationSetup(options);
  for (Status read : {ReadRenderOption(line, setup), ReadTimingOptions(line, setup)}) {
    if (!read) return Failure{read.Message()};
  }
  options.renderer = setup.renderer;
  options.curves = setup.curves;
  options.hold = setup.hold;
  if (line.Has("--method")) {
    std::optional<AutoMeshMethod> method = MethodOfWord(line.Value("--method"));
    if (!method) {
      return Failure{"--method must be auto, faces, features or flow, not \"" +
                     line.Value("--method") + "\""};
    }
    options.method = *method;
  }
  if (line.Has("--align") && line.Value("--align") != "faces") {
    return Failure{"--align must be faces, not \"" + line.Value("--align") + "\""};
  }
  options.loop = options.loop || line.Has("--loop");
  options.align_faces = options.align_faces || line.Has("--align");
  Result<int> fps = line.IntValue("--fps", options.fps, 1, kMaxSequenceFps);
  if (!fps) return Failure{fps.Message()};
  Result<int> quality = line.IntValue("--quality", options.quality, 0, kMaxSequenceQuality);
  if (!quality) return Failure{quality.Message()};
  options.fps = fps.Value();
  options.quality = quality.Value();
  options.lossless = options.lossless || line.Has("--lossless");
  const std::string& out = line.Value("--out");
  if (!out.empty() && !IsFrameListName(out) && !VideoFormatOf(out)) {
    return Failure{"--out must end in .mp4, .webm, .gif or .any"};
  }
  if (!out.empty()) {
    Status possible = CheckSequenceOutput(out, options);
    if (!possible) return Failure{possible.Message()};
  }
  return options;
}

// The sequence of the command line: the pictures named, or the saved one.
Result<Sequence> SequenceOf(const CommandLine& line) {
  if (!line.Has("--from")) {
    Sequence sequence;
    for (const std::string& name : line.Positional()) sequence.Add(sequence.PictureCount(), name);
    return sequence;
  }
  Result<Sequence> read = ReadSequenceFile(line.Value("--from"));
  if (!read) return read;
  const std::string missing = MissingPicturesMessage(read.Value());
  if (!missing.empty()) return Failure{line.Value("--from") + ": " + missing};
  return read;
}

// Every picture read and placed, and every pair meshed: the pair's --mesh,
// its mesh from the saved sequence, or an Auto Mesh. The failure is the
// line to report ("" after Ctrl+C).
Status MeshPairs(const CommandLine& line, Sequence& sequence, SequencePictures& pictures) {
  BatchRun run("sequence: meshes");
  MatchOptions match;
  match.method = sequence.Options().method;
  match.cancelled = [&run] { return run.CancelRequested(); };
  match.progress = [&run](int percent) { run.InnerBar(percent); };
  run.Begin();
  for (int i = 0; i < sequence.PictureCount(); ++i) {
    Result<Bitmap> picture = pictures.Picture(i);
    if (Interrupted()) return Failure{""};
    if (!picture) return Failure{picture.Message()};
    sequence.SetPictureSize(i, pictures.ReadSize(i));
  }
  const auto name = [&sequence](int i) { return sequence.Picture(i).path; };
  for (int k = 0; k < static_cast<int>(line.ValueCount("--mesh")); ++k) {
    const std::string& path = line.Value("--mesh", static_cast<std::size_t>(k));
    Result<MeshFileContent> content = ReadMeshFile(path);
    if (!content) {
      return Failure{PairName(sequence, k, name) + ": " + path + ": " + content.Message()};
    }
    sequence.SetEditedMesh(sequence.PairAt(k), TakeMeshSnapshot(content.Value().mesh));
  }
  const std::vector<PairKey> to_mesh = sequence.PairsToMesh();
  for (std::size_t n = 0; n < to_mesh.size(); ++n) {
    const PairKey key = to_mesh[n];
    const int k = sequence.PairIndex(key);
    run.Counter(static_cast<int>(n) + 1, static_cast<int>(to_mesh.size()));
    match.first_name = name(sequence.IndexOf(key.first));
    match.second_name = name(sequence.IndexOf(key.second));
    Result<AutoMeshOutcome> outcome = AutoMeshPair(pictures, sequence.IndexOf(key.first),
                                                   sequence.IndexOf(key.second), match);
    if (Interrupted()) return Failure{""};
    if (!outcome) return Failure{PairName(sequence, k, name) + ": " + outcome.Message()};
    sequence.SetAutomaticMesh(key, TakeMeshSnapshot(outcome.Value().mesh), outcome.Value().report,
                              *sequence.Frame());
  }
  return Status::Success();
}

// The frames into `out`; answers the exit status.
int Render(const Sequence& sequence, SequencePictures& pictures,
           const SequenceTriangles& triangles, const std::string& out) {
  BatchRun run("sequence");
  const SequenceExport done =
      ExportSequence(sequence, pictures, triangles, out, run, [&run](int k, int pairs) {
        run.SetTitle("sequence " + std::to_string(k + 1) + "/" + std::to_string(pairs));
      });
  run.End();
  if (!done.status) {
    return ReportBadInput(done.video ? out + ": " + done.status.Message() : done.status.Message());
  }
  if (done.cancelled || Interrupted()) {
    return ReportCancelled("sequence", done.video ? "; nothing written"
                                                  : "; " + std::to_string(done.frames) +
                                                        " frames kept in " + done.list_path);
  }
  if (done.video) {
    std::cout << "sequence: " << done.frames << " frames written to " << out << std::endl;
  } else {
    std::cout << "sequence: " << done.frames << " frames written, listed in " << done.list_path
              << std::endl;
  }
  return kExitDone;
}

int RunSequence(const std::vector<std::string>& args) {
  auto parsed = CommandLine::Parse(
      args, 0,
      {{"--out", 1}, {"--save", 1}, {"--from", 1}, {"--frames", 1}, kFpsOption, {"--method", 1},
       {"--mesh", 1, true}, {"--render", 1}, {"--shape-curve", 1}, {"--colour-curve", 1},
       {"--hold", 1}, {"--loop", 0}, {"--align", 1}, kQualityOption, kLosslessOption},
      true);
  if (!parsed) return ReportUsage(kUsage, parsed.Message());
  const CommandLine& line = parsed.Value();
  const std::size_t named = line.Positional().size();
  if (line.Has("--from") && named > 0) {
    return ReportUsage(kUsage, "unexpected word " + line.Positional()[0] + " (--from names them)");
  }
  if (line.Has("--from") && line.Has("--mesh")) {
    return ReportUsage(kUsage, "--mesh is for pictures named here, not with --from");
  }
  if (!line.Has("--from") && named < 2) {
    return ReportUsage(kUsage, named == 1 ? "a file name is missing" : "file names are missing");
  }
  if (!line.Has("--out") && !line.Has("--save")) {
    return ReportUsage(kUsage, "option --out is missing");
  }
  const std::string& out = line.Value("--out");
  const std::string& save = line.Value("--save");
  if (line.Has("--save") && !save.ends_with(kSequenceExtension)) {
    return ReportUsage(kUsage, std::string("--save must end in ") + kSequenceExtension);
  }
  const int pictures_named = static_cast<int>(named);
  const int pairs = line.Has("--loop") ? pictures_named : pictures_named - 1;
  if (line.Has("--mesh") && line.ValueCount("--mesh") != static_cast<std::size_t>(pairs)) {
    return ReportUsage(kUsage, "--mesh must name one mesh for each pair, " +
                                   std::to_string(pairs) + " here");
  }
  // Usage problems of the options come before the saved sequence is read.
  Result<SequenceOptions> given = OptionsOf(line, SequenceOptions{});
  if (!given) return ReportUsage(kUsage, given.Message());

  // 0. The outputs can be written: found out before any work.
  for (const std::string* target : {&out, &save}) {
    if (target->empty()) continue;
    Status writable = CheckWritable(*target);
    if (!writable) return ReportBadInput(writable.Message());
  }
  Result<Sequence> sequence = SequenceOf(line);
  if (!sequence) return ReportBadInput(sequence.Message());
  Result<SequenceOptions> options = OptionsOf(line, sequence.Value().Options());
  if (!options) return ReportUsage(kUsage, options.Message());
  sequence.Value().SetOptions(options.Value());

  // 1. Every picture and every pair's mesh, before anything is written.
  const std::string scratch =
      std::filesystem::path(out.empty() ? save : out).parent_path().string();
  std::unique_ptr<SequencePictures> placed = PlaceSequencePictures(sequence.Value(), scratch);
  SequencePictures& pictures = *placed;
  Status meshed = MeshPairs(line, sequence.Value(), pictures);
  if (Interrupted()) return ReportCancelled("sequence", "; nothing written");
  if (!meshed) return ReportBadInput(meshed.Message());
  const auto name = [&sequence](int i) { return sequence.Value().Picture(i).path; };
  Result<SequenceTriangles> triangles = TrianglesOfPairs(sequence.Value(), name);
  if (!triangles) return ReportBadInput(triangles.Message());

  // 2. The frames, pair by pair, straight into the output.
  if (!out.empty()) {
    const int rendered = Render(sequence.Value(), pictures, triangles.Value(), out);
    if (rendered != kExitDone) return rendered;
  }
  // 3. The sequence with its meshes, once everything else is done.
  if (!save.empty()) {
    Status saved = WriteSequenceFile(save, sequence.Value());
    if (!saved) return ReportBadInput(save + ": " + saved.Message());
    std::cout << "sequence: saved in " << save << " with " << sequence.Value().PairCount()
              << " pair meshes" << std::endl;
  }
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"sequence", kUsage, &RunSequence});

}  // namespace vesk::batch
