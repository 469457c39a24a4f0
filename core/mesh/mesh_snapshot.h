// A value copy of the whole mesh: every node with both positions, the
// triangle list with its corners as node indices, both lists in their order,
// and the selection. Restoring a snapshot builds a mesh that is the same
// as the one it was taken from in every respect a reader can see (list
// orders, which node each corner and each selection names, even among nodes
// with equal values), so it writes the same mesh file byte for byte. Undo
// keeps one before and one after each step.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/mesh/mesh_model.h"

namespace vesk {

struct MeshSnapshot {
  // Sentinel index of an unset selection.
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  std::vector<TMeshNode> nodes;                         // head first
  std::vector<std::array<std::uint32_t, 3>> triangles;  // head first, corners A, B, C
  std::uint32_t previous = kNone;
  std::uint32_t selected = kNone;

  bool operator==(const MeshSnapshot& other) const;
};

MeshSnapshot TakeMeshSnapshot(const Mesh& mesh);

// The mesh the snapshot describes. Node addresses are new: pointers into the
// mesh the snapshot came from do not carry over.
Mesh RestoreMeshSnapshot(const MeshSnapshot& snapshot);

}  // namespace vesk
