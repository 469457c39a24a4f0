// The mesh overlay of the first and second image windows: the clean image
// with every node drawn as a small square and every triangle as three lines.
// The clean bitmap itself never holds overlay pixels; the window shows the
// copy made here.
#pragma once

#include "core/image/bitmap.h"
#include "core/mesh/mesh_model.h"
#include "core/settings/settings.h"

namespace vesk {

// Draws the overlay for image `kind` (1: X1/Y1, 2: X2/Y2) onto `picture`:
// first each node from the head of the list, as the square
// x - NodeSize .. x + NodeSize - 1 (same in y) with a black outline, filled
// with PreviousNodeColor for the previous node, else SelectedNodeColor for
// the selected node, else NodeColor; then each triangle from the head as the
// lines A-B, B-C, C-A in LineColor, over the squares. On the second image
// the triangles that fold over (fold_over.h) are drawn after the others, in
// kFoldOverColor. Other kinds draw nothing. NodeSize 0 draws no squares.
void DrawMeshOver(Bitmap& picture, const Mesh& mesh, int kind, const Settings& settings);

// The displayed picture: a fresh copy of `clean` with the overlay drawn.
Bitmap DrawMesh(const Bitmap& clean, const Mesh& mesh, int kind, const Settings& settings);

}  // namespace vesk
