// What the morph and the distortion take from the rest of the program: the
// mesh triangles as plain corner positions in list order, and the frame
// count, precision and equalize switch of the settings.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/generate/subdivision.h"
#include "core/generate/timing_curve.h"
#include "core/mesh/mesh_model.h"
#include "core/settings/settings.h"

namespace vesk {

// One mesh triangle: its corners A, B, C on the first image (X1, Y1) and on
// the second image (X2, Y2).
struct TrianglePositions {
  Corners first;
  Corners second;
  bool operator==(const TrianglePositions&) const = default;
};

// The triangles of the mesh in list order (newest first), as the engines
// read them. Triangles are copied, so the mesh may change afterwards.
std::vector<TrianglePositions> TrianglePositionsOf(const Mesh& mesh);

// How the frames of the morph and the distortion are painted. Classic cuts
// each in-between triangle into flat pieces by repeated halving (the
// program's own frames, pixel for pixel); Smooth maps every pixel through
// its triangle's exact affine maps and samples the pictures bilinearly
// (smooth_frame.h).
enum class Renderer { kClassic, kSmooth };

// "classic", "smooth": the batch tool's words, also the sequence file's.
std::string_view RendererWord(Renderer renderer);
std::optional<Renderer> RendererOfWord(std::string_view word);

struct GenerationSetup {
  int frame_count = 12;  // N, the number of the last frame
  int precision = 1;     // divisor of the subdivision depth
  bool equalize = true;  // run EqualizePicture on every computed frame
  // Threads that paint a frame together (each its own bands of rows); 0
  // picks one per processor core, at most 4. The frames do not depend on it.
  int painting_threads = 0;
  Renderer renderer = Renderer::kClassic;
  TimingCurves curves = {};  // where frame t stands (timing_curve.h)
  int hold = 0;         // extra copies of the first and the last frame
};

// The generation values of the settings.
GenerationSetup GenerationSetupOf(const Settings& settings);

// The engines divide by both: a frame count or precision outside 1..65535,
// or a hold outside 0..kMaxHoldFrames, is refused with a message, before
// anything is painted or written.
Status CheckGenerationSetup(const GenerationSetup& setup);

}  // namespace vesk
