// libFuzzer target: the mesh file reader on arbitrary bytes. A read mesh
// must be whole (selection and corners on live nodes), write back, read
// back to the same values, and survive the hit tests and the overlay.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/mesh/mesh_file.h"
#include "core/mesh/mesh_overlay.h"

namespace {

std::vector<std::int32_t> ValuesOf(const vesk::Mesh& mesh) {
  std::vector<std::int32_t> out;
  for (const vesk::TMeshNode& n : mesh.NodeList()) out.insert(out.end(), {n.X1, n.Y1, n.X2, n.Y2});
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto read = vesk::ReadMesh(data, size);
  if (!read.Ok()) {
    if (read.Message() != vesk::kReadBeyondEndMessage && read.Message() != vesk::kMeshFormatMessage) {
      std::abort();
    }
    return 0;
  }
  vesk::MeshFileContent& content = read.Value();
  vesk::Mesh& mesh = content.mesh;
  if (size < 45 || mesh.NodeCount() != static_cast<std::size_t>(data[7] | (data[8] << 8))) std::abort();
  if (mesh.TriangleCount() > static_cast<std::size_t>(data[9] | (data[10] << 8))) std::abort();
  if (mesh.SelectedNode() != nullptr && !mesh.Contains(mesh.SelectedNode())) std::abort();
  if (mesh.PreviousNode() != nullptr && !mesh.Contains(mesh.PreviousNode())) std::abort();
  for (const vesk::TMeshTriangle& t : mesh.TriangleList()) {
    if (!mesh.Contains(t.A) || !mesh.Contains(t.B) || !mesh.Contains(t.C)) std::abort();
  }

  auto written = vesk::WriteMesh(mesh, content.first_file_name, content.second_file_name);
  if (!written.Ok() || written.Value().size() > size) std::abort();
  auto again = vesk::ReadMesh(written.Value());
  if (!again.Ok()) std::abort();
  std::vector<std::int32_t> before = ValuesOf(mesh);
  std::vector<std::int32_t> after = ValuesOf(again.Value().mesh);
  if (before.size() != after.size()) std::abort();
  for (std::size_t i = 0; i < before.size(); i += 4) {
    for (std::size_t k = 0; k < 4; ++k) {
      if (before[i + k] != after[after.size() - 4 - i + k]) std::abort();
    }
  }
  if (again.Value().mesh.TriangleCount() != mesh.TriangleCount()) std::abort();
  if (again.Value().first_file_name != content.first_file_name) std::abort();

  if (mesh.NodeCount() <= 64 && mesh.TriangleCount() <= 64) {
    vesk::Bitmap clean(16, 16);
    vesk::Settings settings;
    for (int kind = 1; kind <= 2; ++kind) {
      vesk::Bitmap shown = vesk::DrawMesh(clean, mesh, kind, settings);
      if (shown.Width() != 16 || shown.Height() != 16) std::abort();
      mesh.PointInTriangle(3, 4, kind);
      mesh.FindNode(0, 0, kind, 12);
      mesh.SplitTriangle(5, 6, kind);
    }
    mesh.SwapMorphMesh();
    if (mesh.SelectedNode() != nullptr) mesh.DeleteTriangleOrNode(mesh.SelectedNode());
    if (!mesh.NodeList().empty()) mesh.DeleteNodeAndTriangles(&mesh.NodeList().back());
    if (mesh.SelectedNode() != nullptr && !mesh.Contains(mesh.SelectedNode())) std::abort();
    if (mesh.PreviousNode() != nullptr && !mesh.Contains(mesh.PreviousNode())) std::abort();
  }
  return 0;
}
