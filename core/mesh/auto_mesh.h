// Auto Mesh's mesh step: from corresponding points that a matcher found on
// the two pictures to an ordinary mesh. The points are thinned to a least
// spacing and a largest count (earlier points win, so a matcher lists its
// most trusted points first), the corners and edge midpoints of both
// pictures join them, the Delaunay triangulation of the first-picture
// positions makes the triangles, and nodes that make triangles fold over are
// removed one by one until no triangle does.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/image/raster.h"
#include "core/mesh/grid_mesh.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

// One corresponding point: where it is on the first and on the second picture.
struct PointPair {
  PicturePoint first;
  PicturePoint second;
};

// How Auto Mesh finds its points (the matching library does the finding):
// a face's landmarks, matched features, the optical flow, or the first of
// them that works on the pictures (auto).
enum class AutoMeshMethod { kAuto, kFaces, kFeatures, kFlow };
inline constexpr AutoMeshMethod kAutoMeshMethods[] = {AutoMeshMethod::kAuto, AutoMeshMethod::kFaces,
                                                      AutoMeshMethod::kFeatures,
                                                      AutoMeshMethod::kFlow};

// "auto", "faces", "features", "flow": the command line's words.
std::string_view MethodWord(AutoMeshMethod method);
std::optional<AutoMeshMethod> MethodOfWord(std::string_view word);
// "Auto", "Faces", "Features", "Flow": the dialog's and the report's.
std::string_view MethodCaption(AutoMeshMethod method);

// Pictures smaller than this on a side are refused: "Auto Mesh needs
// pictures of at least 16 x 16 pixels; NAME is W x H".
inline constexpr int kMinAutoMeshSide = 16;
Status CheckAutoMeshPicture(ImageSize picture, const std::string& name);

inline constexpr std::size_t kDefaultMaxPoints = 300;
inline constexpr int kMaxSpacing = 1000;

struct AutoMeshOptions {
  // Least distance between two nodes on the first picture, in pixels;
  // 0 takes DefaultSpacing.
  int spacing = 0;
  // Most nodes from the points (the border nodes come on top).
  std::size_t max_count = kDefaultMaxPoints;
};

// A 200th of the picture's diagonal, rounded, and at least 2 pixels.
int DefaultSpacing(ImageSize picture);

// The corners and edge midpoints of the first picture, each with the same
// place on the second (so pictures of different sizes map corner to corner),
// clockwise from the top-left corner; a position the first picture already
// has (a picture 1 or 2 pixels across) is given once.
std::vector<PointPair> BorderPairs(ImageSize first, ImageSize second);

// The grid step for sampling a dense match on a picture: at least
// `spacing`, and wide enough that the grid has at most `max_count` points.
int SampleStep(ImageSize picture, int spacing, std::size_t max_count);

struct AutoMeshResult {
  Mesh mesh;
  // The indices of the points that are nodes of the mesh, in their order.
  std::vector<std::size_t> kept;
  std::size_t border = 0;
  // Nodes taken out because their triangles folded over.
  std::size_t removed = 0;
};

// The mesh of `points`: each point's first position is rounded to a pixel
// and its second position moved by the same amount before rounding; a point
// outside either picture, or nearer than the spacing to a border node or an
// earlier kept point on the first picture, is left out, and no more than
// `max_count` are kept. Then BorderPairs and the Delaunay triangles of the
// first positions. While a triangle folds over, the point (never a border
// node) in most folded triangles goes, the later of equals first.
AutoMeshResult AutoMesh(std::span<const PointPair> points, ImageSize first, ImageSize second,
                        const AutoMeshOptions& options);

// What was found, for the status bar and vesk-batch: "Features: 143 points,
// 8 border, 2 removed"; when the points from `extra_from` on are extra ones
// (a face's forehead), they are counted apart: "Faces: 66 + 12 points, ...".
std::string AutoMeshReport(AutoMeshMethod method, const AutoMeshResult& result,
                           std::optional<std::size_t> extra_from = std::nullopt);

}  // namespace vesk
