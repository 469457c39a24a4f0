#include "app/recent_meshes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace vesk {
namespace {

constexpr char kRecentKey[] = "RecentMeshes";

QString OrDefault(const QString& name) { return name.isEmpty() ? "Trelvanique" : name; }

void Store(const QStringList& files) {
  QSettings settings(QSettings::UserScope, OrDefault(QCoreApplication::organizationName()),
                     OrDefault(QCoreApplication::applicationName()));
  settings.setValue(kRecentKey, files);
}

}  // namespace

QStringList RecentMeshFiles() {
  QSettings settings(QSettings::UserScope, OrDefault(QCoreApplication::organizationName()),
                     OrDefault(QCoreApplication::applicationName()));
  QStringList files = settings.value(kRecentKey).toStringList();
  return files.mid(0, kRecentMeshCount);
}

void RememberRecentMesh(const QString& file_name) {
  const QString absolute = QFileInfo(file_name).absoluteFilePath();
  QStringList files = RecentMeshFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  Store(files.mid(0, kRecentMeshCount));
}

void ForgetRecentMesh(const QString& file_name) {
  QStringList files = RecentMeshFiles();
  files.removeAll(file_name);
  Store(files);
}

}  // namespace vesk
