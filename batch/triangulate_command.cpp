// vesk-batch triangulate MESH --out MESH: the desktop program's Triangulate
// Nodes without a window. The nodes, their order, the selection and the
// picture names stay; the triangles become the Delaunay triangulation of
// the nodes' first-image positions.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/mesh/delaunay.h"
#include "core/mesh/mesh_file.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "triangulate MESH --out MESH";

int RunTriangulateCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {{"--out", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  const std::string& out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out is missing");

  const std::string& in = line.Value().Positional()[0];
  Result<MeshFileContent> read = ReadMeshFile(in);
  if (!read) return ReportBadInput(in + ": " + read.Message());
  const Mesh mesh = TriangulateNodes(read.Value().mesh);
  Status written =
      WriteMeshFile(out, mesh, read.Value().first_file_name, read.Value().second_file_name);
  if (!written) return ReportBadInput(out + ": " + written.Message());
  std::cout << "triangulate: " << mesh.NodeCount() << " nodes, " << mesh.TriangleCount()
            << " triangles written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"triangulate", kUsage, &RunTriangulateCommand});

}  // namespace vesk::batch
