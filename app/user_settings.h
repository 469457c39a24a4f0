// The user's choices of our own that the program's settings file does not
// hold (its layout stays as it is): the recent meshes and the renderer. They
// are kept with QSettings in the desktop's standard place for user settings.
#pragma once

#include <QSettings>
#include <memory>

#include "core/generate/generation_input.h"
#include "video/video_writer.h"

namespace vesk {

std::unique_ptr<QSettings> OpenUserSettings();

// The renderer of the morph and the distortion ("Rendering" in the Options
// dialog); Classic until Smooth is chosen.
Renderer StoredRenderer();
void StoreRenderer(Renderer renderer);

// The last choices of Export Video; the writer's defaults until then.
VideoOptions StoredVideoOptions();
void StoreVideoOptions(const VideoOptions& options);

}  // namespace vesk
