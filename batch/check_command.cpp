// vesk-batch check MESH: lists the triangles that fold over (their corners
// turn one way round on the first image and the other way on the second),
// numbered as the mesh file stores them from 1, and exits with status 1
// when there is any. Degenerate triangles do not count (fold_over.h).
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/mesh_file.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "check MESH";

std::string Corners(const TMeshTriangle& t, int kind) {
  std::string text;
  for (const TMeshNode* corner : {t.A, t.B, t.C}) {
    const MeshPoint p = PositionOn(*corner, kind);
    text += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  }
  return text;
}

int RunCheckCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {});
  if (!line) return ReportUsage(kUsage, line.Message());
  const std::string& in = line.Value().Positional()[0];
  Result<MeshFileContent> read = ReadMeshFile(in);
  if (!read) return ReportBadInput(in + ": " + read.Message());
  const Mesh& mesh = read.Value().mesh;

  // Reading a file reverses its order: the list's head is its last record.
  std::size_t number = mesh.TriangleCount();
  std::size_t folded = 0;
  std::vector<std::string> lines;
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    if (FoldsOver(t)) {
      ++folded;
      lines.push_back("triangle " + std::to_string(number) + " folds over: first" +
                      Corners(t, kFirstImage) + ", second" + Corners(t, kSecondImage));
    }
    --number;
  }
  for (auto text = lines.rbegin(); text != lines.rend(); ++text) std::cout << *text << "\n";
  if (folded > 0) {
    std::cout.flush();
    return ReportBadInput(in + ": " + std::to_string(folded) + " of " +
                          std::to_string(mesh.TriangleCount()) + " triangles fold over");
  }
  std::cout << "check: no triangle of " << mesh.TriangleCount() << " folds over" << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"check", kUsage, &RunCheckCommand});

}  // namespace vesk::batch
