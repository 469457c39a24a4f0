#include "match/face_landmarks.h"

#include "match/match_steps.h"

namespace vesk {
namespace {

PicturePoint Centre(const std::array<PicturePoint, kFaceLandmarkCount>& points, int from) {
  PicturePoint centre;
  for (int i = from; i < from + 6; ++i) {
    centre.x += points[i].x / 6;
    centre.y += points[i].y / 6;
  }
  return centre;
}

}  // namespace

PicturePoint FaceLandmarks::LeftEyeCentre() const { return Centre(points, 36); }
PicturePoint FaceLandmarks::RightEyeCentre() const { return Centre(points, 42); }

Result<FaceLandmarks> FindFaceLandmarks(const Bitmap& picture, const FaceOptions& options) {
  using namespace match_steps;
  return AtTheDoor([&]() -> Result<FaceLandmarks> {
    const ImageSize size{picture.Width(), picture.Height()};
    if (Status fits = CheckAutoMeshPicture(size, options.picture_name); !fits) {
      return Failure{fits.Message()};
    }
    const WorkPicture work = MakeWorkPicture(picture);
    return LandmarksOf(work, DetectFaces(work), options.rank, options.model_path,
                       options.picture_name);
  });
}

}  // namespace vesk
