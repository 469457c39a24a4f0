// A face's points as averages and caricatures move them (core/faces/
// face_shape.h): the landmarks that FindFaceLandmarks places and the
// forehead points over them.
#pragma once

#include "core/common/result.h"
#include "core/faces/face_shape.h"
#include "core/image/bitmap.h"
#include "match/face_landmarks.h"

namespace vesk {

// Fails with FindFaceLandmarks's messages (no face, naming the picture; a
// missing face model; a picture too small).
Result<FacePoints> FindFacePoints(const Bitmap& picture, const FaceOptions& options);

}  // namespace vesk
