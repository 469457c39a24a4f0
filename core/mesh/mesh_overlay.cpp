#include "core/mesh/mesh_overlay.h"

#include "core/image/raster.h"

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
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    Point a = PointOn(*t.A, kind);
    Point b = PointOn(*t.B, kind);
    Point c = PointOn(*t.C, kind);
    DrawLine(picture, a, b, settings.LineColor);
    DrawLine(picture, b, c, settings.LineColor);
    DrawLine(picture, c, a, settings.LineColor);
  }
}

Bitmap DrawMesh(const Bitmap& clean, const Mesh& mesh, int kind, const Settings& settings) {
  Bitmap picture = clean;
  DrawMeshOver(picture, mesh, kind, settings);
  return picture;
}

}  // namespace vesk
