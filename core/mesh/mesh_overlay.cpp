#include "core/mesh/mesh_overlay.h"

#include "core/image/raster.h"
#include "core/mesh/fold_over.h"

namespace vesk {

namespace {

Point PointOn(const TMeshNode& node, int kind) {
  MeshPoint p = PositionOn(node, kind);
  return Point{p.x, p.y};
}

}  // namespace

void DrawMeshOver(Bitmap& picture, const Mesh& mesh, int kind, const Settings& settings) {
  if (kind != kFirstImage && kind != kSecondImage) return;
  const int size = settings.NodeSize;
  for (const TMeshNode& node : mesh.NodeList()) {
    Color inside = settings.NodeColor;
    if (&node == mesh.PreviousNode()) {
      inside = settings.PreviousNodeColor;
    } else if (&node == mesh.SelectedNode()) {
      inside = settings.SelectedNodeColor;
    }
    Point at = PointOn(node, kind);
    DrawNodeRectangle(picture, at.x, at.y, size, inside);
  }
  // On the second image folded triangles are drawn last, in the warning
  // colour, so no neighbour's line hides them.
  const bool warn = kind == kSecondImage;
  for (bool folded_pass : {false, true}) {
    for (const TMeshTriangle& t : mesh.TriangleList()) {
      if ((warn && FoldsOver(t)) != folded_pass) continue;
      const Color color = folded_pass ? kFoldOverColor : settings.LineColor;
      Point a = PointOn(*t.A, kind);
      Point b = PointOn(*t.B, kind);
      Point c = PointOn(*t.C, kind);
      DrawLine(picture, a, b, color);
      DrawLine(picture, b, c, color);
      DrawLine(picture, c, a, color);
    }
    if (!warn) break;
  }
}

Bitmap DrawMesh(const Bitmap& clean, const Mesh& mesh, int kind, const Settings& settings) {
  Bitmap picture = clean;
  DrawMeshOver(picture, mesh, kind, settings);
  return picture;
}

}  // namespace vesk
