// The 68 landmarks of one face of a picture, for whatever needs a face's
// geometry beside Auto Mesh (lining up portraits by their eyes, say). The
// face is chosen as Auto Mesh chooses it: by detection score and rank.
#pragma once

#include <array>
#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/face_points.h"

namespace vesk {

struct FaceOptions {
  // 1: the face with the highest detection score.
  int rank = 1;
  // Empty: $VESK_FACE_MODEL, else kDefaultFaceModel (face_points.h).
  std::string model_path;
  // How messages name the picture.
  std::string picture_name = "the picture";
};

struct FaceLandmarks {
  // Full-size positions in the usual numbering (forehead_points.h).
  std::array<PicturePoint, kFaceLandmarkCount> points{};
  // How many faces the detector found in the picture.
  int faces_found = 0;

  // The centres of the eye on the picture's left (points 36-41) and of the
  // one on its right (42-47).
  PicturePoint LeftEyeCentre() const;
  PicturePoint RightEyeCentre() const;
};

// Fails with the same messages as Auto Mesh: no face (naming the picture),
// fewer faces than the rank, a missing face model (naming the file and the
// package), a picture smaller than 16 pixels on a side.
Result<FaceLandmarks> FindFaceLandmarks(const Bitmap& picture, const FaceOptions& options);

}  // namespace vesk
