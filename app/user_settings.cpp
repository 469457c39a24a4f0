#include "app/user_settings.h"

#include <QCoreApplication>

namespace vesk {
namespace {

constexpr char kRenderingKey[] = "Rendering";
constexpr char kShapeCurveKey[] = "Timing/Shape";
constexpr char kColourCurveKey[] = "Timing/Colour";
constexpr char kHoldKey[] = "Timing/Hold";
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

RunTiming StoredTiming() {
  const auto settings = OpenUserSettings();
  // A word or number out of range (a hand-edited file) falls back to the default.
  const auto curve = [&](const char* key) {
    const std::string word = settings->value(key).toString().toStdString();
    return CurveOfWord(word).value_or(TimingCurve::kLinear);
  };
  RunTiming timing{{curve(kShapeCurveKey), curve(kColourCurveKey)}, 0};
  const int hold = settings->value(kHoldKey, 0).toInt();
  if (hold >= 0 && hold <= kMaxHoldFrames) timing.hold = hold;
  return timing;
}

void StoreTiming(const RunTiming& timing) {
  const auto settings = OpenUserSettings();
  settings->setValue(kShapeCurveKey, QString::fromUtf8(CurveWord(timing.curves.shape)));
  settings->setValue(kColourCurveKey, QString::fromUtf8(CurveWord(timing.curves.colour)));
  settings->setValue(kHoldKey, timing.hold);
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
