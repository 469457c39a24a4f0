// vesk-batch grid FIRST SECOND --cols C --rows R --out MESH: the desktop
// program's New Grid Mesh without a window, written as a mesh file naming
// the two pictures.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/mesh/grid_mesh.h"
#include "core/mesh/mesh_file.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "grid FIRST SECOND --cols C --rows R --out MESH";

int RunGridCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 2, {{"--cols", 1}, {"--rows", 1}, {"--out", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  for (const char* option : {"--cols", "--rows", "--out"}) {
    if (!line.Value().Has(option)) {
      return ReportUsage(kUsage, std::string("option ") + option + " is missing");
    }
  }
  auto columns = line.Value().IntValue("--cols", 0, kMinGridCount, kMaxGridCount);
  if (!columns) return ReportUsage(kUsage, columns.Message());
  auto rows = line.Value().IntValue("--rows", 0, kMinGridCount, kMaxGridCount);
  if (!rows) return ReportUsage(kUsage, rows.Message());
  const std::string& out = line.Value().Value("--out");

  const std::vector<std::string>& pictures = line.Value().Positional();
  ImageSize sizes[2];
  for (int i = 0; i < 2; ++i) {
    auto picture = LoadImageFile(pictures[i]);
    if (!picture) return ReportBadInput(picture.Message());
    sizes[i] = ImageSize{picture.Value().Width(), picture.Value().Height()};
  }
  Result<Mesh> grid = GridMesh(columns.Value(), rows.Value(), sizes[0], sizes[1]);
  if (!grid) return ReportBadInput(grid.Message());
  Status written = WriteMeshFile(out, grid.Value(), StoredName(pictures[0], out),
                                 StoredName(pictures[1], out));
  if (!written) return ReportBadInput(out + ": " + written.Message());
  std::cout << "grid: " << grid.Value().NodeCount() << " nodes, " << grid.Value().TriangleCount()
            << " triangles written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"grid", kUsage, &RunGridCommand});

}  // namespace vesk::batch
