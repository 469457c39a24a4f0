#include "match/face_landmarks.h"

#include <cstdlib>

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
    const std::vector<FaceBox> faces = DetectFaces(work);
    Result<FaceBox> face = ChooseFace(faces, options.rank, options.picture_name);
    if (!face) return Failure{face.Message()};
    const std::string model = FaceModelPath(options.model_path, std::getenv(kFaceModelVariable));
    Result<Landmarks> shape = PlaceLandmarks(work, face.Value(), model);
    if (!shape) return Failure{shape.Message()};
    FaceLandmarks landmarks;
    landmarks.points = shape.Value();
    landmarks.faces_found = static_cast<int>(faces.size());
    return landmarks;
  });
}

}  // namespace vesk
