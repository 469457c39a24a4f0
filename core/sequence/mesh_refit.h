// Moving a pair's mesh with its pictures: a sequence meshes its pictures as
// they are morphed, each fitted into the output size (and, with faces
// aligned, turned onto the first picture's eyes), so when a picture comes to
// stand elsewhere in the frame, a mesh drawn on it follows by the same
// similarity. Nodes are moved in double and rounded to the nearest pixel.
#pragma once

#include "core/image/similarity_warp.h"
#include "core/mesh/grid_mesh.h"
#include "core/mesh/mesh_snapshot.h"

namespace vesk {

// Where the points of a picture fitted into `from` (FitInside) go when the
// picture is fitted into `to` instead.
Similarity RefitMove(ImageSize picture, ImageSize from, ImageSize to);

// The mesh with every node's first position moved by `first` and its second
// position by `second`; triangles and selection stay.
MeshSnapshot MoveMeshNodes(const MeshSnapshot& mesh, const Similarity& first,
                           const Similarity& second);

}  // namespace vesk
