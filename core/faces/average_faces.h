// The average face of a group of portraits, in two passes that each read
// the pictures one at a time, so memory holds one picture, the colour sum
// and the faces' points whatever the number of portraits:
//  1. every picture is read and its face points found; each face is brought
//     into the eye frame (eye_frame.h) and the mean shape made of them;
//  2. every picture is read again, bent onto the mean shape by the
//     whole-output mesh (face_warp.h) and added to the colour sum
//     (colour_sum.h), whose rounded mean is the average.
// Reading and face finding are the caller's (files, the face library); the
// rules are here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/faces/eye_frame.h"
#include "core/faces/face_shape.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// The portraits as the average reads them.
struct FacePictures {
  std::vector<std::string> names;  // how messages name each picture
  // Picture i, or why it cannot be read (naming it).
  std::function<Result<Bitmap>(std::size_t)> read;
  // The face points of picture i, just read, or why there are none (naming it).
  std::function<Result<FacePoints>(const Bitmap&, std::size_t)> find_face;
};

struct AverageOptions {
  ImageSize size = kDefaultAverageSize;
  Renderer renderer = Renderer::kSmooth;
  // A picture that cannot be read or shows no face is left out and listed,
  // instead of ending the average.
  bool skip_failed = false;
};

struct SkippedPicture {
  std::size_t index = 0;
  std::string reason;  // the reader's or the face finder's message
};

struct FaceShapes {
  std::vector<std::size_t> used;  // the pictures averaged, in order
  std::vector<FacePoints> faces;  // their points, in their own pictures
  std::vector<SkippedPicture> skipped;
  FacePoints mean{};  // in the output frame
};

inline constexpr char kAverageCancelled[] = "Average cancelled";

// Pass 1 alone, for what needs only the mean shape (a caricature). The
// protocol sees Counter(k, n) before picture k of n and a cancel poll
// before every picture. Fails with the first picture's message that cannot
// be used (without skip_failed), "There are no pictures to average",
// "None of the N pictures has a face to average" (all skipped),
// "The eyes found in NAME are one point", or kAverageCancelled.
Result<FaceShapes> FindFaceShapes(const FacePictures& pictures, const AverageOptions& options,
                                  RunProtocol& protocol);

struct FaceAverage {
  Bitmap picture;
  FaceShapes shapes;
};

// Both passes; the counter runs over 2n steps, and the painter's poll
// before every triangle may cancel too. A picture that cannot be read the
// second time ends the average with its message.
Result<FaceAverage> AverageFaces(const FacePictures& pictures, const AverageOptions& options,
                                 RunProtocol& protocol);

}  // namespace vesk
