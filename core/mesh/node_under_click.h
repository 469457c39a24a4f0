// Which node a click is on, judged where the user sees the nodes. A node is
// drawn as the same square of view pixels at every zoom
// (core/mesh/zoomed_mesh_overlay.h), so a click is on a node when the view
// pixel under it lies less than NodeSize from the node's centre pixel in
// both directions, whatever the zoom. At actual pixels view and image
// pixels are one, and this is FindNode's rule.
#pragma once

#include <cstdint>

#include "core/image/view_transform.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

// A press on a picture shown at `zoom` (in 1/256ths, kMinZoom..kMaxZoom):
// the view pixel under it, counted from the zoomed picture's top-left corner.
struct ViewClick {
  std::int64_t x = 0;
  std::int64_t y = 0;
  int zoom = kActualPixels;
};

// The image pixel the click addresses.
MeshPoint ImagePixelOf(const ViewClick& click);

// The first node from the head whose square, as drawn on image `kind` at the
// click's zoom, holds the click. None for node_size 0 or a kind other than
// 1 and 2.
TMeshNode* NodeUnderClick(Mesh& mesh, const ViewClick& click, int kind, std::uint8_t node_size);

}  // namespace vesk
