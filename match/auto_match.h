// Auto Mesh: the program finds corresponding points on two pictures and
// makes a mesh of them. Methods:
//   faces     a face detector and a 68-point shape predictor (dlib), the
//             points of each picture's chosen face paired by number, with
//             points over the forehead (core/mesh/face_points.h);
//   features  SIFT features of both pictures (OpenCV) matched both ways, a
//             ratio test and a RANSAC homography with a wide threshold that
//             drops wrong matches but keeps smooth bends;
//   flow      dense DIS optical flow both ways (OpenCV), read on an even
//             grid up to the pictures' edges, each point moved to the most
//             textured pixel near it, where the two ways agree;
//   auto      the whole picture: the face points when both pictures show a
//             face, and flow and features for the rest (the core's AutoMesh
//             keeps them off the landmarks and never lets them fold against
//             the face); without a face in both, flow and features alone.
// Faces and matches are found on copies reduced to at most 800 pixels on a
// side; the shape predictor then works on the full picture, and on pictures
// of one size every point is refined at full size by pyramidal Lucas-Kanade
// tracking checked back the other way (a feature that does not come back
// is dropped), so large photos cost little more than small ones.
//
// Nothing here names OpenCV or dlib: pictures go in as Bitmaps, points come
// out as FoundPoints, and every failure, the libraries' own errors included,
// comes back as a one-line message; the libraries print nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/face_points.h"
#include "core/mesh/mesh_model.h"
#include "match/face_landmarks.h"

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
  // Landmarks a caller has already found on these very pictures (by
  // FindFaceLandmarks with this face_rank and model_path, moved with the
  // picture if the caller has turned or scaled it since): the faces and
  // auto methods take them instead of finding the face again, which saves
  // the face detection and the shape predictor. A sequence finds each
  // picture's face once and hands it to both of the picture's pairs, as the
  // first picture of one and the second of the other; MatchResult hands
  // back the landmarks a match used.
  std::optional<FaceLandmarks> first_face;
  std::optional<FaceLandmarks> second_face;
  // Asked between steps (from the thread that runs the match): true stops
  // the match with kMatchCancelled.
  std::function<bool()> cancelled;
  // Told how far the match has got, in percent.
  std::function<void(int percent)> progress;
};

inline constexpr char kMatchCancelled[] = "Auto Mesh cancelled";

struct MatchResult {
  // Full-size positions with their kinds: the face points in the order of
  // FacePointPairs, then the flow samples and the features, each kind most
  // trusted first.
  std::vector<FoundPoint> points;
  // The landmarks of the face used on each picture (faces and auto with a
  // face in both), found or handed in; faces_found counts the detector's.
  std::optional<FaceLandmarks> first_face;
  std::optional<FaceLandmarks> second_face;
};

// The corresponding points of the two pictures by `options.method`.
Result<MatchResult> MatchPictures(const Bitmap& first, const Bitmap& second,
                                  const MatchOptions& options);

struct AutoMeshOutcome {
  Mesh mesh;
  MatchResult match;
  // What was used, e.g. "Faces: 65 + 12 points, flow: 240 points, 8
  // border, 3 removed", and "; faces found: 1 and 2" when a picture had
  // more than one.
  std::string report;
};

// MatchPictures, then the core's AutoMesh with `options.mesh`; a mesh that
// keeps too few points is a failure (CheckAutoMeshPoints).
Result<AutoMeshOutcome> AutoMeshOfPictures(const Bitmap& first, const Bitmap& second,
                                           const MatchOptions& options);

// The face model stays loaded after its first use; this lets it go (the
// next use loads it again).
void ReleaseFaceModel();

}  // namespace vesk
