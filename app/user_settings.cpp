#include "app/user_settings.h"

#include <QCoreApplication>

namespace vesk {
namespace {

constexpr char kRenderingKey[] = "Rendering";

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

}  // namespace vesk
