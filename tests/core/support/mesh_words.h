// Words the mesh tests share: hand-made files and meshes, what a reader or window sees.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/mesh/mesh_gestures.h"
#include "core/mesh/mesh_model.h"

namespace vesk::testing_support {

using Bytes = std::vector<std::uint8_t>;
using Values = std::tuple<int, int, int, int>;
using Corners = std::tuple<const TMeshNode*, const TMeshNode*, const TMeshNode*>;

// A file by hand: header, node records, two selection records, triangles (3 each), names.
inline Bytes File(int nodes, int triangles, const std::vector<Values>& records,
                  const std::string& names = "**") {
  auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
  Bytes b = {6, 'M', 'E', 'S', 'H', '1', '1', byte(nodes), byte(nodes >> 8), byte(triangles),
             byte(triangles >> 8)};
  for (const auto& [x1, y1, x2, y2] : records) {
    for (auto v : {x1, y1, x2, y2}) {
      for (int i = 0; i < 32; i += 8) b.push_back(static_cast<std::uint8_t>(v >> i));
    }
  }
  b.insert(b.end(), names.begin(), names.end());
  return b;
}

// Two triangles sharing an edge, moved on the second image.
inline Mesh SmallMesh() {
  Mesh mesh;
  Mesh::SetPosition(*mesh.AddNode(0, 0), 2, 1, -2);
  Mesh::SetPosition(*mesh.AddNode(100, 0), 2, 103, 4);
  mesh.AddTriangle(50, 80, 1, 5);
  mesh.AddTriangle(150, 80, 1, 5);
  return mesh;
}

// The list index (1..n from the head) of each triangle corner and of the selection.
inline std::vector<int> Shape(const Mesh& mesh) {
  std::vector<const TMeshNode*> nodes;
  for (const TMeshNode& n : mesh.NodeList()) nodes.push_back(&n);
  auto index = [&nodes](const TMeshNode* p) {
    for (std::size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i] == p) return static_cast<int>(i) + 1;
    return 0;
  };
  std::vector<int> shape;
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    shape.insert(shape.end(), {index(t.A), index(t.B), index(t.C)});
  }
  shape.insert(shape.end(), {-1, index(mesh.PreviousNode()), index(mesh.SelectedNode())});
  return shape;
}

inline std::vector<Corners> Triangles(const Mesh& mesh) {
  std::vector<Corners> out;
  for (const TMeshTriangle& t : mesh.TriangleList()) out.emplace_back(t.A, t.B, t.C);
  return out;
}

inline Values Of(const TMeshNode* n) { return {n->X1, n->Y1, n->X2, n->Y2}; }

inline std::vector<Values> NodesOf(const Mesh& mesh) {  // oldest first
  std::vector<Values> values;
  for (const TMeshNode& n : mesh.NodeList()) values.insert(values.begin(), Of(&n));
  return values;
}

// What a mouse-down asks of its window, as the names of the answers set.
inline std::string Effects(const MeshMouseDownResult& r) {
  std::string out;
  for (auto [set, name] : {std::pair{r.mesh_changed, "changed "}, {r.redraw_this, "this "},
                           {r.redraw_other, "other "}, {r.arrow_cursor, "arrow "},
                           {r.drag_assigned, "drag "}}) {
    if (set) out += name;
  }
  return out;
}

}  // namespace vesk::testing_support
