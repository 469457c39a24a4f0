#include "core/faces/average_faces.h"

#include "core/faces/colour_sum.h"
#include "core/faces/face_warp.h"
#include "core/faces/mean_shape.h"

namespace vesk {
namespace {

// The painter's protocol inside an average: its polls reach the run, its
// bars do not (the run's counter counts pictures).
class PicturePainting : public RunProtocol {
 public:
  explicit PicturePainting(RunProtocol& run) : run_(run) {}
  void ProcessMessages() override { run_.ProcessMessages(); }
  bool CancelRequested() override { return run_.CancelRequested(); }

 private:
  RunProtocol& run_;
};

Result<FaceShapes> FindShapes(const FacePictures& pictures, const AverageOptions& options,
                              RunProtocol& protocol, int steps) {
  const std::size_t count = pictures.names.size();
  if (count == 0) return Failure{"There are no pictures to average"};
  FaceShapes shapes;
  std::vector<FacePoints> in_frame;
  for (std::size_t i = 0; i < count; ++i) {
    protocol.Counter(static_cast<int>(i + 1), steps);
    protocol.ProcessMessages();
    if (protocol.CancelRequested()) return Failure{kAverageCancelled};
    Result<FacePoints> face = Failure{""};
    if (Result<Bitmap> picture = pictures.read(i); picture) {
      face = pictures.find_face(picture.Value(), i);
    } else {
      face = Failure{picture.Message()};
    }
    if (!face) {
      if (!options.skip_failed) return Failure{face.Message()};
      shapes.skipped.push_back({i, face.Message()});
      continue;
    }
    const std::optional<EyeFrame> frame = EyeFrameOf(face.Value(), options.size);
    if (!frame) return Failure{"The eyes found in " + pictures.names[i] + " are one point"};
    in_frame.push_back(Moved(face.Value(), frame->to_frame));
    shapes.used.push_back(i);
    shapes.faces.push_back(face.Value());
  }
  if (shapes.used.empty()) {
    return Failure{"None of the " + std::to_string(count) + " pictures has a face to average"};
  }
  shapes.mean = MeanShape(in_frame);
  return shapes;
}

}  // namespace

Result<FaceShapes> FindFaceShapes(const FacePictures& pictures, const AverageOptions& options,
                                  RunProtocol& protocol) {
  return FindShapes(pictures, options, protocol, static_cast<int>(pictures.names.size()));
}

Result<FaceAverage> AverageFaces(const FacePictures& pictures, const AverageOptions& options,
                                 RunProtocol& protocol) {
  const int count = static_cast<int>(pictures.names.size());
  Result<FaceShapes> shapes = FindShapes(pictures, options, protocol, 2 * count);
  if (!shapes) return Failure{shapes.Message()};
  const FaceWarp warp = FaceWarpTo(shapes.Value().mean, options.size);
  ColourSum sum(options.size.width, options.size.height);
  PicturePainting painting(protocol);
  for (std::size_t k = 0; k < shapes.Value().used.size(); ++k) {
    const std::size_t i = shapes.Value().used[k];
    protocol.Counter(count + static_cast<int>(i + 1), 2 * count);
    protocol.ProcessMessages();
    if (protocol.CancelRequested()) return Failure{kAverageCancelled};
    Result<Bitmap> picture = pictures.read(i);
    if (!picture) return Failure{picture.Message()};
    const FacePoints& face = shapes.Value().faces[k];
    const Similarity back = EyeFrameOf(face, options.size)->to_picture;
    BorderPoints border = BorderPointsOf(options.size);
    for (PicturePoint& p : border) p = Apply(back, p);
    sum.Add(PaintFaceWarp(picture.Value(), face, border, warp, options.renderer, painting));
    if (protocol.CancelRequested()) return Failure{kAverageCancelled};
  }
  return FaceAverage{sum.Mean(), std::move(shapes).Value()};
}

}  // namespace vesk
