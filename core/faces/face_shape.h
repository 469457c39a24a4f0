// The points of one face that averages and caricatures move: the 68
// landmarks in their usual numbering (face_points.h), then the 12 forehead
// points over them, so the forehead and the hair line follow the face too.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "core/image/raster.h"
#include "core/image/similarity_warp.h"
#include "core/mesh/face_points.h"

namespace vesk {

inline constexpr std::size_t kFacePointCount = kFaceLandmarkCount + kForeheadPointCount;
using FacePoints = std::array<PicturePoint, kFacePointCount>;

// The landmarks followed by their ForeheadPoints.
FacePoints FacePointsOf(FaceShape landmarks);

// The centres of the eye on the picture's left (points 36-41) and of the
// one on its right (42-47).
PicturePoint LeftEyeCentre(const FacePoints& face);
PicturePoint RightEyeCentre(const FacePoints& face);

// Every point moved by `s`.
FacePoints Moved(const FacePoints& face, const Similarity& s);

}  // namespace vesk
