#include "match/face_points_finder.h"

namespace vesk {

Result<FacePoints> FindFacePoints(const Bitmap& picture, const FaceOptions& options) {
  Result<FaceLandmarks> landmarks = FindFaceLandmarks(picture, options);
  if (!landmarks) return Failure{landmarks.Message()};
  return FacePointsOf(landmarks.Value().points);
}

}  // namespace vesk
