// libFuzzer target for the mesh reader: a read mesh has its selection and
// corners on live nodes, writes back no longer than it was and reads back
// the same, and survives the hit tests, the overlay and deletions.
#include <cstdint>
#include <cstdlib>

#include "core/mesh/mesh_file.h"
#include "core/mesh/mesh_overlay.h"

namespace {

void CheckWhole(const vesk::Mesh& mesh) {
  for (const vesk::TMeshNode* n : {mesh.SelectedNode(), mesh.PreviousNode()}) {
    if (n != nullptr && !mesh.Contains(n)) std::abort();
  }
  for (const vesk::TMeshTriangle& t : mesh.TriangleList()) {
    if (!mesh.Contains(t.A) || !mesh.Contains(t.B) || !mesh.Contains(t.C)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto read = vesk::ReadMesh(data, size);
  if (!read.Ok()) {
    const std::string& m = read.Message();
    if (m != vesk::kReadBeyondEndMessage && m != vesk::kMeshFormatMessage) std::abort();
    return 0;
  }
  vesk::Mesh& mesh = read.Value().mesh;
  CheckWhole(mesh);
  auto written = vesk::WriteMesh(mesh, read.Value().first_file_name, read.Value().second_file_name);
  if (!written.Ok() || written.Value().size() > size) std::abort();
  auto again = vesk::ReadMesh(written.Value());
  if (!again.Ok() || again.Value().mesh.NodeCount() != mesh.NodeCount()) std::abort();
  if (again.Value().mesh.TriangleCount() != mesh.TriangleCount()) std::abort();
  if (mesh.NodeCount() > 64 || mesh.TriangleCount() > 64) return 0;
  for (int kind = 1; kind <= 2; ++kind) {
    vesk::Bitmap shown = vesk::DrawMesh(vesk::Bitmap(16, 16), mesh, kind, vesk::Settings());
    if (shown.Width() != 16 || shown.Height() != 16) std::abort();
    mesh.FindNode(0, 0, kind, 12);
    mesh.SplitTriangle(5, 6, kind);
  }
  mesh.SwapMorphMesh();
  if (mesh.SelectedNode() != nullptr) mesh.DeleteTriangleOrNode(mesh.SelectedNode());
  if (!mesh.NodeList().empty()) mesh.DeleteNodeAndTriangles(&mesh.NodeList().back());
  CheckWhole(mesh);
  return 0;
}
