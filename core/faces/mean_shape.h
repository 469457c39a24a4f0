// The mean shape of a group of faces: each face brought into the eye frame
// (eye_frame.h), then every point the mean of its places. Its eye centres
// are therefore the frame's eye places.
#pragma once

#include <span>

#include "core/faces/face_shape.h"

namespace vesk {

// The point-by-point mean of faces already in one frame; at least one face.
FacePoints MeanShape(std::span<const FacePoints> faces_in_frame);

}  // namespace vesk
