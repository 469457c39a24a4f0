// The steps of the matchers, private to match/ (app/ and batch/ include
// auto_match.h and face_landmarks.h only). Pictures cross from file to file
// as plain grey levels: each step wraps them for OpenCV or dlib without a
// copy, so the conversion from the Bitmap is made once.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
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

// A library's message on one line: dlib's "ERROR: ..." line when it has
// one (its first line only repeats the file name, the others where it was),
// else the first line that is not blank, trimmed.
std::string LibraryCause(const std::string& what);

// Turns OpenCV's own log off (quiet_libraries.cpp), once.
void QuietLibraries();

// Runs `step`, turning any exception of the libraries (OpenCV's and
// dlib's derive from std::exception; bad_alloc too) into a one-line
// message, with OpenCV quiet.
template <typename Step>
auto AtTheDoor(const Step& step) -> decltype(step()) {
  try {
    QuietLibraries();
    return step();
  } catch (const std::exception& error) {
    return Failure{"Auto Mesh failed: " + LibraryCause(error.what())};
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
// first use and kept; a missing, unreadable or damaged file fails with one
// line naming it and the cause (a missing one also its package).
Result<Landmarks> PlaceLandmarks(const WorkPicture& picture, const FaceBox& face,
                                 const std::string& model_path);

// The landmarks of the face of rank `rank` of the picture, among `faces`
// (DetectFaces), or why not (no face, fewer than the rank, the model).
Result<FaceLandmarks> LandmarksOf(const WorkPicture& picture, const std::vector<FaceBox>& faces,
                                  int rank, const std::string& model_option,
                                  const std::string& name);

// ---- Features, flow, refinement ---------------------------------------------

// Matched features, best first, in full-size pixels; fewer than
// kMinAutoMeshPoints is a failure.
Result<std::vector<PointPair>> FeaturePairs(const WorkPicture& first, const WorkPicture& second,
                                            const MatchOptions& options);

// Flow samples in full-size pixels: the inner grid over the first picture
// row by row, its edges, then the samples along the second picture's edges
// (SampleGridOf, at the options' spacing); fewer than kMinAutoMeshPoints is
// a failure.
Result<std::vector<PointPair>> FlowPairs(const WorkPicture& first, const WorkPicture& second,
                                         const MatchOptions& options);

// What the refinement at full size works on: the face points in
// FacePointPairs' order (the landmarks, then the forehead) with the first
// face's eye-corner distance, and the matched points.
struct Refinement {
  std::vector<PointPair> face;
  double eyes = 0;
  std::vector<PointPair> matched;
  std::vector<bool> confirmed;  // for each matched point: the tracking agreed
};

// When the pictures have the same size, tracks each point's first
// position onto the full second picture from its second position and back.
// A matched point's first position is first rounded to a pixel (the
// second moved alike); it moves where the tracking leads when that comes
// back and stays within what the reduced copies could have missed, and is
// then confirmed. A face point (not rounded) moves when its tracking comes
// back within a tenth of `eyes` (a landmark) or four tenths (a forehead
// point). Pictures of different sizes keep every position.
void RefineAtFullSize(const WorkPicture& first, const WorkPicture& second, Refinement& points);

}  // namespace vesk::match_steps
