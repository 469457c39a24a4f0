// The user's choices of our own that the program's settings file does not
// hold (its layout stays as it is): the recent meshes, the renderer, the
// timing and the video export's choices. They are kept with QSettings in the
// desktop's standard place for user settings.
#pragma once

#include <QSettings>
#include <memory>

#include "core/generate/generation_input.h"
#include "core/generate/timing_curve.h"
#include "video/video_writer.h"

namespace vesk {

std::unique_ptr<QSettings> OpenUserSettings();

// The renderer of the morph and the distortion ("Rendering" in the Options
// dialog); Classic until Smooth is chosen.
Renderer StoredRenderer();
void StoreRenderer(Renderer renderer);

// The timing of the morph and the distortion ("Timing" in the Options
// dialog); linear curves and no hold frames until chosen.
struct RunTiming {
  TimingCurves curves;
  int hold = 0;
  bool operator==(const RunTiming&) const = default;
};
RunTiming StoredTiming();
void StoreTiming(const RunTiming& timing);

// The last choices of Export Video; the writer's defaults until then.
VideoOptions StoredVideoOptions();
void StoreVideoOptions(const VideoOptions& options);

}  // namespace vesk
