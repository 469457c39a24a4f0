// The mesh overlay of a zoomed image window. The picture is zoomed but the
// overlay is not: a node is the same square of view pixels at every zoom,
// centred on its image pixel's zoomed block, and lines are one view pixel
// wide between those centres. At actual pixels this is exactly the overlay
// of DrawMeshOver.
#pragma once

#include <cstdint>

#include "core/image/bitmap.h"
#include "core/mesh/mesh_model.h"
#include "core/settings/settings.h"

namespace vesk {

// The view pixel (one coordinate) on which image pixel `image` is centred.
std::int64_t ZoomedCentre(std::int32_t image, int zoom);

// Draws the overlay of image `kind` onto `view`, which holds the zoomed
// picture from view point (left, top) on. Triangles wholly outside `view`
// are left out.
void DrawZoomedMeshOver(Bitmap& view, std::int64_t left, std::int64_t top, int zoom,
                        const Mesh& mesh, int kind, const Settings& settings);

}  // namespace vesk
