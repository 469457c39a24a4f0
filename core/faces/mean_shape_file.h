// The mean shape as a small text file, so an average made once can serve
// many caricatures (`vesk-batch average --points`, `caricature --average`).
//
//   vesk mean shape 1
//   209.5 359.55
//   ... 80 lines in all
//
// The first line names the format and its version. Then one line a point,
// x and y in output pixels of the average's frame (eye_frame.h), as
// decimal numbers separated by blanks, in the order of face_shape.h: the
// 68 landmarks, then the 12 forehead points. Lines may end in CR LF and
// blank lines may follow the last point; anything else is refused with one
// line saying what is wrong, and a file over 64 KiB is not read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/faces/face_shape.h"

namespace vesk {

inline constexpr char kMeanShapeFirstLine[] = "vesk mean shape 1";
// No point lies farther than this from the origin on either axis.
inline constexpr double kMaxMeanShapeCoordinate = 1e6;

// Mean shape files are named *.pts (any letter case): where a list of
// pictures may hold one instead, the name tells which it is.
bool IsMeanShapeFileName(const std::string& name);

// The file's bytes for `shape` (three decimals, LF line ends).
std::vector<std::uint8_t> MeanShapeText(const FacePoints& shape);
// The shape in `bytes`, or what is wrong:
//   "Not a mean shape file (its first line must read \"vesk mean shape 1\")"
//   "Mean shape version V is not known (this program reads version 1)"
//   "Line N of the mean shape: two numbers expected"
//   "Line N of the mean shape: a coordinate beyond 1000000"
//   "The mean shape has K points; 80 expected"
Result<FacePoints> ParseMeanShape(std::span<const std::uint8_t> bytes);

// Through the replacing write; failures as ReplacingWrite's.
Status WriteMeanShapeFile(const std::string& path, const FacePoints& shape);
// The file's shape; the file's own failures ("File Not Found", too large)
// and ParseMeanShape's.
Result<FacePoints> ReadMeanShapeFile(const std::string& path);

}  // namespace vesk
