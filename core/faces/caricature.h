// Caricatures: a face pushed away from an average face, or drawn toward it.
// The average's shape is first brought onto the face by the similarity that
// takes its eye centres onto the face's (so size, turn and place stay the
// face's); then every point goes to average + amount x (own - average).
// Amount 1 keeps the face, above 1 exaggerates what makes it differ from
// the average, 0 gives it the average's shape, between them a face nearer
// the average, below 0 one that differs the other way.
#pragma once

#include <optional>

#include "core/faces/face_shape.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

inline constexpr double kMinCaricatureAmount = -2;
inline constexpr double kMaxCaricatureAmount = 5;

// Where the face's points go; none when the eyes of either are one point.
// An amount of exactly 1 gives `own` back unchanged.
std::optional<FacePoints> CaricaturePoints(const FacePoints& own, const FacePoints& average,
                                           double amount);

// The picture with its face's points moved from `own` to `target` by the
// whole-picture mesh (face_warp.h); the picture's border stays in place.
Bitmap PaintCaricature(const Bitmap& picture, const FacePoints& own, const FacePoints& target,
                       Renderer renderer, RunProtocol& protocol);

}  // namespace vesk
