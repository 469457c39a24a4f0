// The points of two faces, paired. Face landmarks come numbered, so the
// landmark of one face pairs with the same number of the other; they stop
// at the eyebrows, so points are added above them, on two arcs over the
// forehead and into the hair, placed from the face's own size and
// direction, and the forehead and the hair follow the face too.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/mesh/auto_mesh.h"

namespace vesk {

// The 68 landmarks in the usual numbering: jaw 0-16 (from the picture's
// left), eyebrows 17-26, nose 27-35, eyes 36-47, mouth 48-67.
inline constexpr std::size_t kFaceLandmarkCount = 68;
inline constexpr std::size_t kForeheadPointCount = 12;

using FaceShape = std::span<const PicturePoint, kFaceLandmarkCount>;

// "Up" runs from the chin (8) to the centre of the eyebrows (17-26); H is
// that distance and W half the jaw's width (0 to 16) across it. Five points
// lie on an arc 0.8 W wide and 0.35 H high over the eyebrows' centre, from
// 30 to 150 degrees, and seven on an arc 1.05 W wide and 0.7 H high, from 0
// to 180 degrees, each arc from the picture's left side of the face.
std::array<PicturePoint, kForeheadPointCount> ForeheadPoints(FaceShape face);

// The landmarks paired by number, by how much a morph needs them (eyes,
// eyebrows, nose, the mouth's outline, the jaw, and last the inner lips,
// which meet when the mouth is shut and are the first to be thinned away),
// then the forehead points paired by place.
std::vector<PointPair> FacePointPairs(FaceShape first, FaceShape second);

// The landmark that takes the place of landmark `i` in the mirror image of
// a face: the same corner of the other eye, the other end of the jaw; the
// nose's ridge and the middle of the chin and the lips keep their own.
int MirroredLandmark(int i);

// Which face of a picture to use: the `rank`-th highest of the detection
// `scores` (1: the highest; of equal scores the earlier first), as an index
// into `scores`; or the message naming the picture when it has no face or
// fewer faces than the rank.
inline constexpr int kMaxFaceRank = 99;
Result<std::size_t> FaceOfRank(std::span<const double> scores, int rank,
                               const std::string& picture_name);

// The landmark model's place on Debian (package libdlib-data) and the
// environment variable that names another.
inline constexpr char kDefaultFaceModel[] =
    "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";
inline constexpr char kFaceModelVariable[] = "VESK_FACE_MODEL";
// `option`, else the variable's value (null or empty: not set), else the default.
std::string FaceModelPath(const std::string& option, const char* variable);

}  // namespace vesk
