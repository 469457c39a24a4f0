// Auto Mesh's mesh step: from corresponding points that a matcher found on
// the two pictures to an ordinary mesh. Points come with their kind: a
// face's landmarks and the points over its forehead are kept first, thinned
// only to a fine spacing, and their mesh with the corners and edge midpoints
// of both pictures is made fold-free first, as on its own; matched points
// (flow, features) then fill the rest of the picture at an even spacing,
// never between the landmarks, and only they go when a triangle folds
// over, so they never move or drop a face point.
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

// What found a point: a face's landmark, a point over the forehead placed
// from the landmarks, a sample of the optical flow, a matched feature. The
// first two are face points, the others matched points.
enum class PointKind { kLandmark, kForehead, kFlow, kFeature };
bool IsFacePoint(PointKind kind);

struct FoundPoint {
  PointPair pair;
  PointKind kind = PointKind::kFlow;
};

// `pairs`, each of `kind`, appended to `points`.
void AppendPoints(std::vector<FoundPoint>& points, std::span<const PointPair> pairs,
                  PointKind kind);

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

inline constexpr std::size_t kDefaultMaxPoints = 1000;
inline constexpr int kMaxSpacing = 1000;
// A mesh of fewer points than this (besides the border), once thinned and
// rid of its folds, is a failure (CheckAutoMeshPoints).
inline constexpr std::size_t kMinAutoMeshPoints = 12;

struct AutoMeshOptions {
  // The spacing of the matched points (flow, features) on the first
  // picture, in pixels; 0 takes DefaultSpacing. The flow is read once in
  // every square of this side and its samples keep half of it from other
  // nodes; features, which fall anywhere, keep all of it, so they fill
  // what the flow left open. Face points keep FacePointSpacing.
  int spacing = 0;
  // Most nodes from the points, face points first (the border comes on top).
  std::size_t max_count = kDefaultMaxPoints;
};

// A 30th of the picture's diagonal, rounded, and at least 2 pixels: a flow
// grid of about 24 x 18 on a picture of 4 : 3, at any size.
int DefaultSpacing(ImageSize picture);
// The face points' least distance: a 200th of the diagonal, rounded, at
// least 2 pixels, or `spacing` when it is set and smaller.
int FacePointSpacing(ImageSize picture, int spacing);

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
  // The indices of the points that are nodes of the mesh, in node order
  // after the border: the face points, then the matched points.
  std::vector<std::size_t> kept;
  std::size_t border = 0;
  // Nodes taken out because their triangles folded over.
  std::size_t removed = 0;
};

// The mesh of `points`. Each point's first position is rounded to a pixel
// and its second position moved by the same amount before rounding; a point
// outside either picture is left out, and no more than `max_count` are kept.
//  1. The face points in their order, each unless nearer than the face
//     spacing to a border node or a kept face point on the first picture,
//     with BorderPairs and the Delaunay triangles of the first positions;
//     while a triangle folds over, the face point in most folded triangles
//     goes, the later of equals first.
//  2. The face region: the triangles of step 1 whose corners are all
//     landmarks, on either picture. The matched points in their order,
//     each unless inside the face region or nearer to a node than half the
//     spacing (flow) or the spacing (features).
//  3. While a triangle of all the nodes folds over, the matched point in
//     most folded triangles goes, the later of equals first (without the
//     matched points the nodes are those of step 1, which do not fold).
AutoMeshResult AutoMesh(std::span<const FoundPoint> points, ImageSize first, ImageSize second,
                        const AutoMeshOptions& options);

// What the mesh holds, for the status bar and vesk-batch, by the kinds of
// `points`: "Faces: 65 + 12 points, flow: 240 points, features: 31 points,
// 8 border, 3 removed" (landmarks + forehead; a kind the points do not have
// is not named, one they have counts its nodes, even 0).
std::string AutoMeshReport(std::span<const FoundPoint> points, const AutoMeshResult& result);

// Fails, naming both pictures and the method, when the mesh kept fewer
// than kMinAutoMeshPoints points: "Auto Mesh by features of a.jpg and
// b.jpg keeps 2 points once thinned and rid of folds; 12 are needed".
Status CheckAutoMeshPoints(const AutoMeshResult& result, AutoMeshMethod method,
                           const std::string& first_name, const std::string& second_name);

}  // namespace vesk
