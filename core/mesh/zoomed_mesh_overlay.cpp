#include "core/mesh/zoomed_mesh_overlay.h"

#include <algorithm>
#include <limits>

#include "core/image/view_transform.h"
#include "core/mesh/mesh_overlay.h"
#include "core/mesh/mesh_snapshot.h"

namespace vesk {
namespace {

std::int32_t ToView(std::int32_t image, int zoom, std::int64_t origin) {
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min() / 2;
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max() / 2;
  return static_cast<std::int32_t>(std::clamp(ZoomedCentre(image, zoom) - origin, kLow, kHigh));
}

}  // namespace

std::int64_t ZoomedCentre(std::int32_t image, int zoom) {
  const std::int64_t first = WidgetFromImage(image, zoom);
  return first + (WidgetFromImage(std::int64_t{image} + 1, zoom) - first) / 2;
}

void DrawZoomedMeshOver(Bitmap& view, std::int64_t left, std::int64_t top, int zoom,
                        const Mesh& mesh, int kind, const Settings& settings) {
  if (kind != kFirstImage && kind != kSecondImage) return;
  // The mesh in view pixels, drawn by the ordinary overlay.
  MeshSnapshot snapshot = TakeMeshSnapshot(mesh);
  for (TMeshNode& node : snapshot.nodes) {
    MeshPoint at = PositionOn(node, kind);
    Mesh::SetPosition(node, kind, ToView(at.x, zoom, left), ToView(at.y, zoom, top));
  }
  std::erase_if(snapshot.triangles, [&](const auto& corners) {
    std::int32_t x_lo = std::numeric_limits<std::int32_t>::max();
    std::int32_t y_lo = x_lo;
    std::int32_t x_hi = std::numeric_limits<std::int32_t>::min();
    std::int32_t y_hi = x_hi;
    for (std::uint32_t i : corners) {
      MeshPoint p = PositionOn(snapshot.nodes[i], kind);
      x_lo = std::min(x_lo, p.x);
      x_hi = std::max(x_hi, p.x);
      y_lo = std::min(y_lo, p.y);
      y_hi = std::max(y_hi, p.y);
    }
    return x_hi < 0 || y_hi < 0 || x_lo >= view.Width() || y_lo >= view.Height();
  });
  DrawMeshOver(view, RestoreMeshSnapshot(snapshot), kind, settings);
}

}  // namespace vesk
