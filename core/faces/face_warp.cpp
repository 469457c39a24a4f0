#include "core/faces/face_warp.h"

#include <algorithm>
#include <cmath>

#include "core/generate/distortion.h"
#include "core/generate/smooth_frame.h"
#include "core/mesh/delaunay.h"

namespace vesk {
namespace {

// Triangulation in 1/256 pixel, within the 32 bits the exact tests take.
std::int32_t Sub(double v) {
  return static_cast<std::int32_t>(std::clamp(std::round(v * 256), -2e9, 2e9));
}

Point Whole(PicturePoint p) {
  const auto whole = [](double v) {
    return static_cast<int>(std::clamp(std::round(v), -1e9, 1e9));
  };
  return {whole(p.x), whole(p.y)};
}

}  // namespace

BorderPoints BorderPointsOf(ImageSize size) {
  const double left = -0.5, top = -0.5, right = size.width - 0.5, bottom = size.height - 0.5;
  const double middle_x = (left + right) / 2, middle_y = (top + bottom) / 2;
  return {PicturePoint{left, top}, {middle_x, top},    {right, top},   {right, middle_y},
          {right, bottom},         {middle_x, bottom}, {left, bottom}, {left, middle_y}};
}

FaceWarp FaceWarpTo(const FacePoints& target, ImageSize output) {
  FaceWarp warp{output, {target.begin(), target.end()}, {}};
  const BorderPoints border = BorderPointsOf(output);
  warp.to.insert(warp.to.end(), border.begin(), border.end());
  std::vector<MeshPoint> points;
  for (PicturePoint p : warp.to) points.push_back({Sub(p.x), Sub(p.y)});
  warp.triangles = DelaunayTriangles(points);
  return warp;
}

Bitmap PaintFaceWarp(const Bitmap& picture, const FacePoints& face, const BorderPoints& border,
                     const FaceWarp& warp, Renderer renderer, RunProtocol& protocol) {
  std::vector<PicturePoint> from(face.begin(), face.end());
  from.insert(from.end(), border.begin(), border.end());
  Bitmap out(warp.output.width, warp.output.height);
  if (renderer == Renderer::kClassic) {
    std::vector<TrianglePositions> triangles;
    for (const auto& [a, b, c] : warp.triangles) {
      triangles.push_back({{Whole(from[a]), Whole(from[b]), Whole(from[c])},
                           {Whole(warp.to[a]), Whole(warp.to[b]), Whole(warp.to[c])}});
    }
    PaintDistortionFrame(picture, triangles, 1, 1, 1, out, protocol);
    return out;
  }
  std::vector<WarpTriangle> triangles;
  for (const auto& [a, b, c] : warp.triangles) {
    triangles.push_back({{from[a], from[b], from[c]}, {warp.to[a], warp.to[b], warp.to[c]}});
  }
  PaintSmoothWarp(picture, triangles, out, protocol);
  return out;
}

}  // namespace vesk
