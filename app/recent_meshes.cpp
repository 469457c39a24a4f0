#include "app/recent_meshes.h"

#include <QFileInfo>

#include "app/user_settings.h"

namespace vesk {
namespace {

constexpr char kRecentKey[] = "RecentMeshes";

void Store(const QStringList& files) { OpenUserSettings()->setValue(kRecentKey, files); }

}  // namespace

QStringList RecentMeshFiles() {
  QStringList files = OpenUserSettings()->value(kRecentKey).toStringList();
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
