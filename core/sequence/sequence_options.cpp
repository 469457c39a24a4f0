#include "core/sequence/sequence_options.h"

#include <string>

#include "core/image/bitmap.h"

namespace vesk {
namespace {

Status CheckRange(const char* what, int value, int low, int high) {
  if (value >= low && value <= high) return Status::Success();
  return Failure{std::string("The ") + what + " must be from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not " + std::to_string(value)};
}

}  // namespace

Status CheckSequenceOptions(const SequenceOptions& options) {
  for (Status checked :
       {CheckRange("frames a pair", options.frames_per_pair, kMinFramesPerPair, kMaxFramesPerPair),
        CheckRange("hold frames", options.hold, 0, kMaxHoldFrames),
        CheckRange("frames a second", options.fps, 1, kMaxSequenceFps),
        CheckRange("quality", options.quality, 0, kMaxSequenceQuality)}) {
    if (!checked) return checked;
  }
  if (options.output_size) {
    const ImageSize size = *options.output_size;
    if (size.width < 1 || size.height < 1) return Failure{"The output size must not be empty"};
    const std::string too_large = CheckBitmapSize(size.width, size.height);
    if (!too_large.empty()) return Failure{too_large};
  }
  return Status::Success();
}

GenerationSetup SequenceGenerationSetup(const SequenceOptions& options) {
  GenerationSetup setup;
  setup.frame_count = options.frames_per_pair;
  setup.precision = 1;
  setup.equalize = false;
  setup.renderer = options.renderer;
  setup.curves = options.curves;
  setup.hold = options.hold;
  return setup;
}

}  // namespace vesk
