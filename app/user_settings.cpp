#include "app/user_settings.h"

#include <QCoreApplication>

namespace vesk {
namespace {

constexpr char kRenderingKey[] = "Rendering";
constexpr char kVideoFpsKey[] = "Video/FramesPerSecond";
constexpr char kVideoQualityKey[] = "Video/Quality";
constexpr char kVideoLosslessKey[] = "Video/Lossless";

QString OrDefault(const QString& name) { return name.isEmpty() ? "Trelvanique" : name; }

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings() {
  return std::make_unique<QSettings>(QSettings::UserScope,
                                     OrDefault(QCoreApplication::organizationName()),
                                     OrDefault(QCoreApplication::applicationName()));
}

Renderer StoredRenderer() {
  return OpenUserSettings()->value(kRenderingKey).toString() == "Smooth" ? Renderer::kSmooth
                                                                         : Renderer::kClassic;
}

void StoreRenderer(Renderer renderer) {
  OpenUserSettings()->setValue(kRenderingKey,
                               renderer == Renderer::kSmooth ? "Smooth" : "Classic");
}

VideoOptions StoredVideoOptions() {
  const auto settings = OpenUserSettings();
  VideoOptions options;
  // A value out of range (a hand-edited file) falls back to the default.
  const int fps = settings->value(kVideoFpsKey, options.fps).toInt();
  const int quality = settings->value(kVideoQualityKey, options.quality).toInt();
  if (fps >= 1 && fps <= kVideoMaxFps) options.fps = fps;
  if (quality >= 0 && quality <= kVideoMaxQuality) options.quality = quality;
  options.lossless = settings->value(kVideoLosslessKey, false).toBool();
  return options;
}

void StoreVideoOptions(const VideoOptions& options) {
  const auto settings = OpenUserSettings();
  settings->setValue(kVideoFpsKey, options.fps);
  settings->setValue(kVideoQualityKey, options.quality);
  settings->setValue(kVideoLosslessKey, options.lossless);
}

}  // namespace vesk
