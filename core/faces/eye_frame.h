// The frame in which faces are averaged: every face is turned, scaled and
// shifted as a whole so that its eye centres land on two fixed places of
// the output picture, and there its points and colours are averaged.
//
// In a W x H output the eyes lie on the row 0.45 (H - 1), symmetric about
// the middle column (W - 1) / 2, D = min(W, 3H / 4) / 4 apart (pixel
// centres are whole numbers). In the default 600 x 800 portrait the eyes
// are 150 pixels apart at (224.5, 359.55) and (374.5, 359.55): the face
// with its hair and some neck and shoulders around it; a wide output keeps
// the face's size from its height.
#pragma once

#include <optional>

#include "core/faces/face_shape.h"
#include "core/image/similarity_warp.h"
#include "core/mesh/grid_mesh.h"

namespace vesk {

inline constexpr ImageSize kDefaultAverageSize{600, 800};
// Outputs from 16 x 16 (Auto Mesh's smallest picture) to 8192 on a side.
inline constexpr int kMinAverageSide = 16;
inline constexpr int kMaxAverageSide = 8192;

struct EyePlaces {
  PicturePoint left;  // of the eye on the picture's left (points 36-41)
  PicturePoint right;
};
EyePlaces EyePlacesOf(ImageSize output);

// A face's way into the frame and back.
struct EyeFrame {
  Similarity to_frame;    // picture to output
  Similarity to_picture;  // output to picture
};
// None when the face's eye centres are one point.
std::optional<EyeFrame> EyeFrameOf(const FacePoints& face, ImageSize output);

}  // namespace vesk
