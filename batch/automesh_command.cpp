// vesk-batch automesh FIRST SECOND --out MESH [--method auto|faces|features|flow]
// [--spacing PX] [--face N] [--model PATH]: the desktop program's Auto Mesh
// without a window, written as a mesh file naming the two pictures as grid
// does, with the method and the counts on standard output.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/mesh/mesh_file.h"
#include "match/auto_match.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "automesh FIRST SECOND --out MESH [--method auto|faces|features|flow] [--spacing PX] "
    "[--face N] [--model PATH]";

// The options beside --out, or the usage problem.
Result<MatchOptions> OptionsOf(const CommandLine& line) {
  MatchOptions options;
  if (line.Has("--method")) {
    std::optional<AutoMeshMethod> method = MethodOfWord(line.Value("--method"));
    if (!method) {
      return Failure{"--method must be auto, faces, features or flow, not \"" +
                     line.Value("--method") + "\""};
    }
    options.method = *method;
  }
  Result<int> spacing = line.IntValue("--spacing", 0, 1, kMaxSpacing);
  if (!spacing) return Failure{spacing.Message()};
  Result<int> face = line.IntValue("--face", 1, 1, kMaxFaceRank);
  if (!face) return Failure{face.Message()};
  options.mesh.spacing = spacing.Value();
  options.face_rank = face.Value();
  options.model_path = line.Value("--model");
  return options;
}

int RunAutoMeshCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(
      args, 2, {{"--out", 1}, {"--method", 1}, {"--spacing", 1}, {"--face", 1}, {"--model", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  Result<MatchOptions> options = OptionsOf(line.Value());
  if (!options) return ReportUsage(kUsage, options.Message());
  const std::string& out = line.Value().Value("--out");

  const std::vector<std::string>& names = line.Value().Positional();
  Bitmap pictures[2];
  for (int i = 0; i < 2; ++i) {
    Result<Bitmap> picture = LoadImageFile(names[i]);
    if (!picture) return ReportBadInput(picture.Message());
    pictures[i] = std::move(picture).Value();
  }
  options.Value().first_name = names[0];
  options.Value().second_name = names[1];
  BatchRun run("automesh");
  options.Value().cancelled = [&run] { return run.CancelRequested(); };
  options.Value().progress = [&run](int percent) { run.InnerBar(percent); };
  run.Begin();
  Result<AutoMeshOutcome> outcome = AutoMeshOfPictures(pictures[0], pictures[1], options.Value());
  run.End();
  if (Interrupted()) return ReportCancelled("automesh", "; nothing written");
  if (!outcome) return ReportBadInput(outcome.Message());

  const Mesh& mesh = outcome.Value().mesh;
  Status written = WriteMeshFile(out, mesh, StoredName(names[0], out), StoredName(names[1], out));
  if (!written) return ReportBadInput(out + ": " + written.Message());
  std::cout << "automesh: " << outcome.Value().report << "; " << mesh.NodeCount() << " nodes, "
            << mesh.TriangleCount() << " triangles written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"automesh", kUsage, &RunAutoMeshCommand});

}  // namespace vesk::batch
