// Auto Mesh: the program finds corresponding points on two pictures and
// makes a mesh of them. Methods:
//   faces     a face detector and a 68-point shape predictor (dlib), the
//             points of each picture's chosen face paired by number, with
//             points over the forehead (core/mesh/face_points.h);
//   features  SIFT features of both pictures (OpenCV), a ratio test and a
//             RANSAC homography with a wide threshold that drops wrong
//             matches but keeps smooth bends;
//   flow      dense DIS optical flow both ways (OpenCV), kept on a grid
//             where the two agree and the first picture has texture;
//   auto      faces when both pictures show a face, else features, else flow.
// Faces and matches are found on copies reduced to at most 800 pixels on a
// side; the shape predictor then works on the full picture, and feature and
// flow points are refined at full size by pyramidal Lucas-Kanade tracking
// (checked back the other way), so large photos cost little more than small
// ones. The points become a mesh through the core's AutoMesh.
//
// Nothing here names OpenCV or dlib: pictures go in as Bitmaps, points come
// out as PointPairs, and every failure, the libraries' own errors included,
// comes back as a message.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/face_points.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

struct MatchOptions {
  AutoMeshMethod method = AutoMeshMethod::kAuto;
  // Which face of each picture by detection score: 1 is the highest.
  int face_rank = 1;
  // The face model file; empty: $VESK_FACE_MODEL, else kDefaultFaceModel.
  std::string model_path;
  // How messages name the pictures.
  std::string first_name = "the first picture";
  std::string second_name = "the second picture";
  // Spacing and count of the points (the flow samples its grid by them).
  AutoMeshOptions mesh;
  // Asked between steps (from the thread that runs the match): true stops
  // the match with kMatchCancelled.
  std::function<bool()> cancelled;
  // Told how far the match has got, in percent.
  std::function<void(int percent)> progress;
};

inline constexpr char kMatchCancelled[] = "Auto Mesh cancelled";

struct MatchResult {
  // The method that found the points (never kAuto).
  AutoMeshMethod method = AutoMeshMethod::kFaces;
  // Full-size positions, most trusted first (faces: FacePointPairs).
  std::vector<PointPair> pairs;
  // Faces the detector found in each picture (faces and auto).
  int faces_first = 0;
  int faces_second = 0;
};

// The corresponding points of the two pictures by `options.method`.
Result<MatchResult> MatchPictures(const Bitmap& first, const Bitmap& second,
                                  const MatchOptions& options);

struct AutoMeshOutcome {
  Mesh mesh;
  MatchResult match;
  // What was found, e.g. "Faces: 68 + 12 points, 8 border, 0 removed".
  std::string report;
};

// MatchPictures, then the core's AutoMesh with `options.mesh`.
Result<AutoMeshOutcome> AutoMeshOfPictures(const Bitmap& first, const Bitmap& second,
                                           const MatchOptions& options);

// The face model stays loaded after its first use; this lets it go (the
// next use loads it again).
void ReleaseFaceModel();

}  // namespace vesk
