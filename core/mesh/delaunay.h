// Triangulate Nodes: the Delaunay triangulation of the nodes' first-image
// positions. Positions are integers, so every decision (which way three
// points turn, whether a point lies inside a circle) is made exactly in
// wide integer arithmetic; no rounding can make the result wrong or make
// the algorithm loop.
//
// The algorithm sorts the points by x then y and adds them in that order:
// each new point lies outside the triangulation so far, is joined to every
// hull edge it sees, and the edges opposite it are flipped while a
// neighbour's far corner lies strictly inside a new triangle's circle
// (Lawson's flips). Points on one circle are left as the order makes them;
// any such choice is a Delaunay triangulation.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/mesh/mesh_model.h"

namespace vesk {

// The triangles as indices into `points`, each with its corners turning the
// way that makes EdgeSide(c; a, b) positive. Of points at one position only
// the first is a corner; the others belong to no triangle. Fewer than three
// distinct positions, or all of them on one line, give no triangles.
std::vector<std::array<std::size_t, 3>> DelaunayTriangles(std::span<const MeshPoint> points);

// Exact in-circle test: > 0 when d lies strictly inside the circle through
// a, b, c, 0 on it, < 0 outside, for a, b, c in the order DelaunayTriangles
// gives (the sign flips with the order). Exact for every 32-bit position.
int InCircleSign(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d);

// A copy of `mesh` with the same nodes in the same order and the same
// selection, and the Delaunay triangles of the nodes' first-image positions
// in place of its triangles. Of nodes at one first-image position the one
// nearest the head of the list is the corner.
Mesh TriangulateNodes(const Mesh& mesh);

}  // namespace vesk
