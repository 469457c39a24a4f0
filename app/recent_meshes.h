// The "Recent meshes" list of the File menu: the last eight mesh files
// opened or saved, newest first, as absolute names. It is kept with
// QSettings in the toolkit's standard place for the user's settings, apart
// from the program's own settings file, whose layout stays as it is.
#pragma once

#include <QString>
#include <QStringList>

namespace vesk {

inline constexpr int kRecentMeshCount = 8;

QStringList RecentMeshFiles();
// Moves (or adds) the file to the top; the ninth and later fall off.
void RememberRecentMesh(const QString& file_name);
void ForgetRecentMesh(const QString& file_name);

}  // namespace vesk
