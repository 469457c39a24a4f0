// The options of a sequence: how each pair is morphed (frames, holds,
// curves, renderer), which pairs there are (loop), how the pictures are
// lined up (output size, faces aligned), how new pairs are meshed, and how
// the video is encoded. The defaults are those of `vesk-batch sequence`:
// one second a pair at the usual video rate, Smooth frames, quality 80.
#pragma once

#include <optional>

#include "core/common/result.h"
#include "core/generate/generation_input.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/grid_mesh.h"

namespace vesk {

inline constexpr int kMinFramesPerPair = 2;
inline constexpr int kMaxFramesPerPair = 1000;
// The video writer's range (video/video_writer.h), which the core cannot see.
inline constexpr int kMaxSequenceFps = 100;
inline constexpr int kMaxSequenceQuality = 100;

struct SequenceOptions {
  int frames_per_pair = 25;  // N: a pair runs from its frame 0 to its frame N
  int hold = 0;              // extra frames on every picture
  TimingCurves curves = {};
  bool loop = false;         // the last picture morphs back into the first
  bool align_faces = false;  // every picture turned so its eyes lie on the first's
  Renderer renderer = Renderer::kSmooth;
  AutoMeshMethod method = AutoMeshMethod::kAuto;  // for pairs meshed from now on
  int fps = 25;
  // The size of the frames; none: the first picture's.
  std::optional<ImageSize> output_size;
  // 0 (smallest file) .. 100, and the lossless switch (WebM only), as the
  // video writer takes them.
  int quality = 80;
  bool lossless = false;

  bool operator==(const SequenceOptions&) const = default;
};

// Refuses a value out of its range, with a message naming the option:
// "The frames a pair must be from 2 to 1000, not 1".
Status CheckSequenceOptions(const SequenceOptions& options);

// How each pair is rendered: the morph at Precision 1 without equalization,
// with the sequence's frames, holds, curves and renderer.
GenerationSetup SequenceGenerationSetup(const SequenceOptions& options);

}  // namespace vesk
