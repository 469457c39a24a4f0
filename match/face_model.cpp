// Faces through dlib: the frontal face detector (HOG features, a sliding
// window over an image pyramid) finds faces on the reduced picture, and the
// 68-point shape predictor (a cascade of regression trees) places the
// landmarks on the full picture inside the detector's box scaled back.
//
// The detector's boxes come in the pyramid's scale steps, and the predictor
// follows its box: the same face a little larger or turned got landmarks
// up to 3 % of the eye distance apart. So the predictor runs a second time
// in a box placed from its first landmarks (their centre, and 2.75 times
// their spread, the detector's typical box), which frames both faces of a
// pair alike and halved that difference on our test portraits. Nor is the
// predictor symmetric (a face and its mirror image got landmarks 3 % of the
// eye distance apart), so it also runs on the mirror image of the picture,
// and each landmark is the mean of its place there (mirrored back) and
// here: the same for a face and its mirror image, and less noisy.
//
// Both are made on first use and kept for the program's life: the detector
// takes about 0.3 s to build and the predictor about 0.6 s to read
// (measured on this machine), a detection some 30 to 60 ms.
#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_processing/shape_predictor.h>
#include <dlib/opencv/cv_image.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

struct FaceModel {
  std::mutex mutex;
  std::unique_ptr<dlib::frontal_face_detector> detector;
  std::unique_ptr<dlib::shape_predictor> predictor;
  std::string predictor_path;
};

FaceModel& Model() {
  static FaceModel model;
  return model;
}

// The landmark-placed box: a square of 2.75 times the landmarks' spread
// (root mean square distance from their centre), 0.02 spreads below it.
constexpr double kBoxOfSpread = 2.75;
constexpr double kBoxDrop = 0.02;

dlib::rectangle BoxOf(const dlib::full_object_detection& shape) {
  double cx = 0, cy = 0, spread = 0;
  const auto n = static_cast<double>(shape.num_parts());
  for (unsigned long i = 0; i < shape.num_parts(); ++i) {
    cx += double(shape.part(i).x()) / n;
    cy += double(shape.part(i).y()) / n;
  }
  for (unsigned long i = 0; i < shape.num_parts(); ++i) {
    const double dx = double(shape.part(i).x()) - cx, dy = double(shape.part(i).y()) - cy;
    spread += (dx * dx + dy * dy) / n;
  }
  spread = std::sqrt(spread);
  const double half = kBoxOfSpread * spread / 2;
  cy += kBoxDrop * spread;
  return dlib::rectangle(std::lround(cx - half), std::lround(cy - half), std::lround(cx + half),
                         std::lround(cy + half));
}

dlib::cv_image<unsigned char> DlibView(const GreyPicture& picture) {
  return dlib::cv_image<unsigned char>(cv::Mat(picture.height, picture.width, CV_8UC1,
                                               const_cast<std::uint8_t*>(picture.pixels.data())));
}

// Loads the predictor from `path` unless it is the one loaded.
Status LoadPredictor(FaceModel& model, const std::string& path) {
  if (model.predictor && model.predictor_path == path) return Status::Success();
  const std::string named = "The face model " + path;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return Failure{named + " is a folder"};
  if (!std::filesystem::exists(path, error)) {
    return Failure{named + " is missing (it comes with the Debian package libdlib-data)"};
  }
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
  } else {
    return Failure{named + " cannot be read: " + std::strerror(errno)};
  }
  auto predictor = std::make_unique<dlib::shape_predictor>();
  try {
    dlib::deserialize(path) >> *predictor;
  } catch (const std::exception& failure) {
    return Failure{named + " is damaged or not a shape predictor (" +
                   LibraryCause(failure.what()) + ")"};
  }
  if (predictor->num_parts() != kFaceLandmarkCount) {
    return Failure{"The face model " + path + " does not place 68 points"};
  }
  model.predictor = std::move(predictor);
  model.predictor_path = path;
  return Status::Success();
}

}  // namespace

std::vector<FaceBox> DetectFaces(const WorkPicture& picture) {
  FaceModel& model = Model();
  std::vector<dlib::rect_detection> found;
  {
    std::lock_guard lock(model.mutex);
    if (!model.detector) {
      model.detector =
          std::make_unique<dlib::frontal_face_detector>(dlib::get_frontal_face_detector());
    }
    (*model.detector)(DlibView(picture.reduced), found, 0.0);
  }
  std::vector<FaceBox> faces;
  for (const dlib::rect_detection& face : found) {
    const dlib::rectangle& r = face.rect;
    faces.push_back({r.left() / picture.scale_x, r.top() / picture.scale_y,
                     r.right() / picture.scale_x, r.bottom() / picture.scale_y,
                     face.detection_confidence});
  }
  return faces;
}

Result<FaceBox> ChooseFace(const std::vector<FaceBox>& faces, int rank, const std::string& name) {
  std::vector<double> scores;
  for (const FaceBox& face : faces) scores.push_back(face.score);
  Result<std::size_t> chosen = FaceOfRank(scores, rank, name);
  if (!chosen) return Failure{chosen.Message()};
  return faces[chosen.Value()];
}

Result<Landmarks> PlaceLandmarks(const WorkPicture& picture, const FaceBox& face,
                            const std::string& model_path) {
  FaceModel& model = Model();
  std::lock_guard lock(model.mutex);
  if (Status loaded = LoadPredictor(model, model_path); !loaded) return Failure{loaded.Message()};
  const long last = picture.full.width - 1;
  const long left = std::lround(face.left), top = std::lround(face.top);
  const long right = std::lround(face.right), bottom = std::lround(face.bottom);
  const dlib::shape_predictor& predict = *model.predictor;
  auto two_passes = [&predict](const auto& view, const dlib::rectangle& box) {
    return predict(view, BoxOf(predict(view, box)));
  };
  const auto here = two_passes(DlibView(picture.full), dlib::rectangle(left, top, right, bottom));
  cv::Mat flipped;
  cv::flip(cv::Mat(picture.full.height, picture.full.width, CV_8UC1,
                   const_cast<std::uint8_t*>(picture.full.pixels.data())),
           flipped, 1);
  const auto there = two_passes(dlib::cv_image<unsigned char>(flipped),
                                dlib::rectangle(last - right, top, last - left, bottom));
  Landmarks points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const dlib::point a = here.part(i), b = there.part(MirroredLandmark(int(i)));
    points[i] = {(double(a.x()) + double(last - b.x())) / 2, (double(a.y()) + double(b.y())) / 2};
  }
  return points;
}

Result<FaceLandmarks> LandmarksOf(const WorkPicture& picture, const std::vector<FaceBox>& faces,
                                  int rank, const std::string& model_option,
                                  const std::string& name) {
  Result<FaceBox> face = ChooseFace(faces, rank, name);
  if (!face) return Failure{face.Message()};
  const std::string model = FaceModelPath(model_option, std::getenv(kFaceModelVariable));
  Result<Landmarks> shape = PlaceLandmarks(picture, face.Value(), model);
  if (!shape) return Failure{shape.Message()};
  FaceLandmarks landmarks;
  landmarks.points = shape.Value();
  landmarks.faces_found = static_cast<int>(faces.size());
  return landmarks;
}

}  // namespace vesk::match_steps

namespace vesk {

void ReleaseFaceModel() {
  match_steps::FaceModel& model = match_steps::Model();
  std::lock_guard lock(model.mutex);
  model.detector.reset();
  model.predictor.reset();
  model.predictor_path.clear();
}

}  // namespace vesk
