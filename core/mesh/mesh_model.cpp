#include "core/mesh/mesh_model.h"

#include <cassert>
#include <iterator>
#include <limits>
#include <utility>

namespace vesk {

namespace {

bool Picked(const TMeshTriangle& t, const TMeshNode* d, const TMeshNode* p, const TMeshNode* s) {
  return (t.A == d && t.B == p && t.C == s) || (t.A == s && t.B == d && t.C == p) ||
         (t.A == p && t.B == s && t.C == d);
}

bool Uses(const TMeshTriangle& t, const TMeshNode* node) {
  return t.A == node || t.B == node || t.C == node;
}

bool TriangleHolds(const TMeshTriangle& t, MeshPoint p, int kind) {
  return PointStrictlyInside(p, PositionOn(*t.A, kind), PositionOn(*t.B, kind),
                             PositionOn(*t.C, kind));
}

bool ValidKind(int kind) { return kind == kFirstImage || kind == kSecondImage; }

}  // namespace

MeshPoint PositionOn(const TMeshNode& node, int kind) {
  if (kind == kFirstImage) return {node.X1, node.Y1};
  return {node.X2, node.Y2};
}

std::int64_t EdgeSide(MeshPoint p, MeshPoint u, MeshPoint v) {
  // Each difference needs 33 bits and each product 66, so the exact value
  // is formed in 128 bits and clamped; only its sign is ever used.
  __extension__ typedef __int128 Wide;
  Wide value = Wide{std::int64_t{v.x} - p.x} * (std::int64_t{v.y} - u.y) -
               Wide{std::int64_t{v.x} - u.x} * (std::int64_t{v.y} - p.y);
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<std::int64_t>(value);
}

bool PointStrictlyInside(MeshPoint p, MeshPoint a, MeshPoint b, MeshPoint c) {
  std::int64_t s1 = EdgeSide(p, a, b);
  std::int64_t s2 = EdgeSide(p, b, c);
  std::int64_t s3 = EdgeSide(p, c, a);
  return (s1 > 0 && s2 > 0 && s3 > 0) || (s1 < 0 && s2 < 0 && s3 < 0);
}

void Mesh::InitMesh() { FreeMesh(); }

void Mesh::FreeMesh() {
  triangles_.clear();
  nodes_.clear();
  selected_ = nullptr;
  previous_ = nullptr;
}

const TMeshNode* Mesh::FindNode(std::int32_t x, std::int32_t y, int kind,
                                std::uint8_t node_size) const {
  if (!ValidKind(kind)) return nullptr;
  const std::int64_t size = node_size;
  for (const TMeshNode& node : nodes_) {
    MeshPoint at = PositionOn(node, kind);
    // Differences in 64 bits: a node far away must never wrap into reach.
    std::int64_t dx = std::int64_t{x} - at.x;
    std::int64_t dy = std::int64_t{y} - at.y;
    if (dx < size && dy < size && -dx < size && -dy < size) return &node;
  }
  return nullptr;
}

TMeshNode* Mesh::FindNode(std::int32_t x, std::int32_t y, int kind, std::uint8_t node_size) {
  return const_cast<TMeshNode*>(std::as_const(*this).FindNode(x, y, kind, node_size));
}

TMeshNode* Mesh::AddNode(std::int32_t x, std::int32_t y) {
  previous_ = selected_;
  nodes_.push_front(TMeshNode{x, y, x, y});
  selected_ = &nodes_.front();
  return selected_;
}

void Mesh::AddTriangle(std::int32_t x, std::int32_t y, int kind, std::uint8_t node_size) {
  AddTriangleTo(FindNode(x, y, kind, node_size), x, y);
}

void Mesh::AddTriangleTo(TMeshNode* corner, std::int32_t x, std::int32_t y) {
  if (previous_ == nullptr || selected_ == nullptr) return;
  TMeshTriangle triangle{previous_, selected_, nullptr};
  if (corner == nullptr) corner = AddNode(x, y);
  triangle.C = corner;
  triangles_.push_front(triangle);
}

void Mesh::DeleteNode(const TMeshNode* node) {
  auto it = nodes_.begin();
  while (it != nodes_.end() && &*it != node) ++it;
  if (it == nodes_.end()) return;
  auto after = std::next(it);
  TMeshNode* successor = after == nodes_.end() ? nullptr : &*after;
  if (selected_ == node) {
    selected_ = previous_;
    previous_ = successor;
  }
  if (previous_ == node) previous_ = successor;
  // When the selected node is deleted while its successor is the previous
  // node, both roles end on one node; deleting that one would leave the
  // selection on the released node, so it is cleared instead.
  if (selected_ == node) selected_ = nullptr;
  nodes_.erase(it);
}

void Mesh::DeleteNodeAndTriangles(const TMeshNode* node) {
  if (nodes_.empty()) return;
  triangles_.remove_if([node](const TMeshTriangle& t) { return Uses(t, node); });
  DeleteNode(node);
}

bool Mesh::NodeIsUnused(const TMeshNode* node) const {
  for (const TMeshTriangle& t : triangles_) {
    if (Uses(t, node)) return false;
  }
  return true;
}

void Mesh::DeleteTriangleOrNode(const TMeshNode* node) {
  if (nodes_.empty()) return;
  if (NodeIsUnused(node)) {
    DeleteNode(node);
    return;
  }
  const TMeshNode* p = previous_;
  const TMeshNode* s = selected_;
  if (node == p || node == s) return;
  if (Picked(triangles_.front(), node, p, s)) {
    triangles_.pop_front();
    return;
  }
  triangles_.remove_if([&](const TMeshTriangle& t) { return Picked(t, node, p, s); });
}

bool Mesh::PointInTriangle(std::int32_t x, std::int32_t y, int kind) const {
  if (!ValidKind(kind)) return false;
  for (const TMeshTriangle& t : triangles_) {
    if (TriangleHolds(t, MeshPoint{x, y}, kind)) return true;
  }
  return false;
}

bool Mesh::SplitTriangle(std::int32_t x, std::int32_t y, int kind) {
  if (!ValidKind(kind)) return false;
  auto found = triangles_.begin();
  while (found != triangles_.end() && !TriangleHolds(*found, MeshPoint{x, y}, kind)) ++found;
  if (found == triangles_.end()) return false;

  const TMeshNode* a = found->A;
  const TMeshNode* b = found->B;
  const TMeshNode* c = found->C;
  TMeshNode* n = AddNode(x, y);
  const int other = kind == kFirstImage ? kSecondImage : kFirstImage;
  MeshPoint pa = PositionOn(*a, other);
  MeshPoint pb = PositionOn(*b, other);
  MeshPoint pc = PositionOn(*c, other);
  // C++ division truncates toward zero, as the centroid requires; the sum of
  // three 32-bit values needs 34 bits, the quotient fits 32 again.
  auto centroid_x = static_cast<std::int32_t>((std::int64_t{pa.x} + pb.x + pc.x) / 3);
  auto centroid_y = static_cast<std::int32_t>((std::int64_t{pa.y} + pb.y + pc.y) / 3);
  SetPosition(*n, other, centroid_x, centroid_y);

  found->B = n;
  triangles_.push_front(TMeshTriangle{n, b, c});
  triangles_.push_front(TMeshTriangle{a, b, n});
  return true;
}

void Mesh::SwapMorphMesh() {
  for (TMeshNode& node : nodes_) {
    std::swap(node.X1, node.X2);
    std::swap(node.Y1, node.Y2);
  }
}

void Mesh::SelectNode(TMeshNode* node) {
  if (node == nullptr || !Contains(node)) return;
  if (node == selected_) return;
  if (node == previous_) {
    std::swap(selected_, previous_);
    return;
  }
  previous_ = selected_;
  selected_ = node;
}

void Mesh::SetPosition(TMeshNode& node, int kind, std::int32_t x, std::int32_t y) {
  if (kind == kFirstImage) {
    node.X1 = x;
    node.Y1 = y;
  } else if (kind == kSecondImage) {
    node.X2 = x;
    node.Y2 = y;
  }
}

bool Mesh::Contains(const TMeshNode* node) const {
  if (node == nullptr) return false;
  for (const TMeshNode& n : nodes_) {
    if (&n == node) return true;
  }
  return false;
}

TMeshNode* Mesh::PushNode(const TMeshNode& values) {
  nodes_.push_front(values);
  return &nodes_.front();
}

void Mesh::PushTriangle(const TMeshNode* a, const TMeshNode* b, const TMeshNode* c) {
  assert(a != nullptr && b != nullptr && c != nullptr);
  triangles_.push_front(TMeshTriangle{a, b, c});
}

void Mesh::SetSelection(TMeshNode* previous, TMeshNode* selected) {
  previous_ = Contains(previous) ? previous : nullptr;
  selected_ = Contains(selected) ? selected : nullptr;
}

}  // namespace vesk
