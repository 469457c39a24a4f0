#include "core/mesh/node_under_click.h"

#include "core/mesh/zoomed_mesh_overlay.h"

namespace vesk {

MeshPoint ImagePixelOf(const ViewClick& click) {
  return MeshPoint{ImageFromWidget(click.x, click.zoom), ImageFromWidget(click.y, click.zoom)};
}

TMeshNode* NodeUnderClick(Mesh& mesh, const ViewClick& click, int kind, std::uint8_t node_size) {
  if (kind != kFirstImage && kind != kSecondImage) return nullptr;
  const std::int64_t size = node_size;
  for (const TMeshNode& node : mesh.NodeList()) {
    const MeshPoint at = PositionOn(node, kind);
    const std::int64_t dx = click.x - ZoomedCentre(at.x, click.zoom);
    const std::int64_t dy = click.y - ZoomedCentre(at.y, click.zoom);
    // The mesh came in to be changed: its node may be handed out as such.
    if (dx < size && dy < size && -dx < size && -dy < size) return const_cast<TMeshNode*>(&node);
  }
  return nullptr;
}

}  // namespace vesk
