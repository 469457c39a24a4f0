#include "core/mesh/mesh_snapshot.h"

#include <unordered_map>

namespace vesk {

bool MeshSnapshot::operator==(const MeshSnapshot& other) const {
  if (nodes.size() != other.nodes.size()) return false;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TMeshNode& a = nodes[i];
    const TMeshNode& b = other.nodes[i];
    if (a.X1 != b.X1 || a.Y1 != b.Y1 || a.X2 != b.X2 || a.Y2 != b.Y2) return false;
  }
  return triangles == other.triangles && previous == other.previous &&
         selected == other.selected;
}

MeshSnapshot TakeMeshSnapshot(const Mesh& mesh) {
  MeshSnapshot snapshot;
  std::unordered_map<const TMeshNode*, std::uint32_t> index;
  snapshot.nodes.reserve(mesh.NodeCount());
  index.reserve(mesh.NodeCount());
  for (const TMeshNode& node : mesh.NodeList()) {
    index.emplace(&node, static_cast<std::uint32_t>(snapshot.nodes.size()));
    snapshot.nodes.push_back(node);
  }
  auto index_of = [&index](const TMeshNode* node) {
    auto found = index.find(node);
    return found == index.end() ? MeshSnapshot::kNone : found->second;
  };
  snapshot.triangles.reserve(mesh.TriangleCount());
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    snapshot.triangles.push_back({index_of(t.A), index_of(t.B), index_of(t.C)});
  }
  snapshot.previous = index_of(mesh.PreviousNode());
  snapshot.selected = index_of(mesh.SelectedNode());
  return snapshot;
}

Mesh RestoreMeshSnapshot(const MeshSnapshot& snapshot) {
  Mesh mesh;
  // Both lists grow at the head, so they are rebuilt from their tails.
  std::vector<TMeshNode*> nodes(snapshot.nodes.size());
  for (std::size_t i = snapshot.nodes.size(); i-- > 0;) nodes[i] = mesh.PushNode(snapshot.nodes[i]);
  auto node_at = [&nodes](std::uint32_t i) -> TMeshNode* {
    return i < nodes.size() ? nodes[i] : nullptr;
  };
  for (std::size_t i = snapshot.triangles.size(); i-- > 0;) {
    const auto& corners = snapshot.triangles[i];
    TMeshNode* a = node_at(corners[0]);
    TMeshNode* b = node_at(corners[1]);
    TMeshNode* c = node_at(corners[2]);
    // A snapshot taken from a mesh always names its own nodes; a corner out
    // of range only comes from a hand-made snapshot and drops its triangle.
    if (a && b && c) mesh.PushTriangle(a, b, c);
  }
  mesh.SetSelection(node_at(snapshot.previous), node_at(snapshot.selected));
  return mesh;
}

}  // namespace vesk
