// The steps of the matchers, private to match/ (app/ and batch/ include
// auto_match.h and face_landmarks.h only). Pictures cross from file to file
// as plain grey levels: each step wraps them for OpenCV or dlib without a
// copy, so the conversion from the Bitmap is made once.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/face_points.h"
#include "match/auto_match.h"

namespace vesk::match_steps {

// Faces and features are found on copies at most this many pixels on a side.
inline constexpr int kWorkSide = 800;

struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top first, no padding

  ImageSize Size() const { return {width, height}; }
};

// A picture at full size and reduced; reduced x = full x * scale_x.
struct WorkPicture {
  GreyPicture full;
  GreyPicture reduced;
  double scale_x = 1;
  double scale_y = 1;
};

// The grey levels of `picture` and the reduced copy (the same when the
// picture is small enough).
WorkPicture MakeWorkPicture(const Bitmap& picture);
// `picture` resampled to width x height.
GreyPicture Resized(const GreyPicture& picture, int width, int height);

// Tells the caller `percent` and answers false when it asked to stop.
bool Continue(const MatchOptions& options, int percent);

// Runs `step`, turning any exception of the libraries (OpenCV's and
// dlib's derive from std::exception; bad_alloc too) into a message.
template <typename Step>
auto AtTheDoor(const Step& step) -> decltype(step()) {
  try {
    return step();
  } catch (const std::exception& error) {
    return Failure{std::string("Auto Mesh failed: ") + error.what()};
  } catch (...) {
    return Failure{"Auto Mesh failed"};
  }
}

// ---- Faces (face_model.cpp) -------------------------------------------------

// A face the detector found, in full-size pixels.
struct FaceBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double score = 0;
};

// Every face of the reduced picture.
std::vector<FaceBox> DetectFaces(const WorkPicture& picture);

// The face of rank `rank` by score (FaceOfRank), or its message.
Result<FaceBox> ChooseFace(const std::vector<FaceBox>& faces, int rank, const std::string& name);

using Landmarks = std::array<PicturePoint, kFaceLandmarkCount>;

// The 68 landmarks of `face` on the full picture. The model is loaded on
// first use and kept; a missing file fails with a message naming it and
// its package.
Result<Landmarks> PlaceLandmarks(const WorkPicture& picture, const FaceBox& face,
                            const std::string& model_path);

// ---- Features, flow, refinement ---------------------------------------------

// Matched features, best first, in full-size pixels.
Result<std::vector<PointPair>> FeaturePairs(const WorkPicture& first, const WorkPicture& second,
                                            const MatchOptions& options);

// Flow samples, row by row, in full-size pixels.
Result<std::vector<PointPair>> FlowPairs(const WorkPicture& first, const WorkPicture& second,
                                         const MatchOptions& options);

// Rounds each first position to a pixel and, when the pictures have the
// same size, tracks it onto the full second picture from its second
// position; a point the tracking loses, or that does not come back to its
// start, keeps its second position (moved by the rounding).
void RefineAtFullSize(const WorkPicture& first, const WorkPicture& second,
                      std::vector<PointPair>& pairs);

}  // namespace vesk::match_steps
