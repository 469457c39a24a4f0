// The main window's opening by name: files from the command line and files
// dropped on the window (meshes, sequences, pictures: three or more make a
// sequence), and the "Recent meshes" submenu of the File menu, which also
// lists saved sequences.
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/main_window.h"
#include "app/recent_meshes.h"
#include "app/user_dialogs.h"
#include "core/common/file_io.h"
#include "core/sequence/sequence_file.h"

namespace vesk {

void TMDIForm::OpenFiles(const QStringList& files) {
  // Every name is taken in the current folder before a mesh changes it.
  QStringList absolute_names;
  for (const QString& file : files) absolute_names << QFileInfo(file).absoluteFilePath();
  QStringList pictures;
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString& file = files[i];
    const QString& absolute = absolute_names[i];
    if (!FileReadable(absolute.toStdString())) {
      dialogs_.Message(this, ApplicationTitle(), file + " file already not exist");
    } else if (absolute.endsWith(kSequenceExtension, Qt::CaseInsensitive)) {
      OpenSequenceFile(absolute);
    } else if (absolute.endsWith(".mesh", Qt::CaseInsensitive)) {
      // As after the file dialog: the mesh's folder becomes the current one,
      // where the image names it holds are looked for.
      QDir::setCurrent(QFileInfo(absolute).absolutePath());
      OpenMeshFile(absolute);
    } else {
      pictures << absolute;
    }
  }
  if (pictures.size() >= 3) {
    OpenSequenceWindow(pictures);  // three or more pictures at once make a sequence
  } else if (pictures.size() == 1) {
    if (first_child_) {
      OpenImageFile(second_child_, SecondFileName, kSecondImage, pictures[0]);
    } else {
      OpenImageFile(first_child_, FirstFileName, kFirstImage, pictures[0]);
    }
  } else if (pictures.size() >= 2) {
    OpenImageFile(first_child_, FirstFileName, kFirstImage, pictures[0]);
    OpenImageFile(second_child_, SecondFileName, kSecondImage, pictures[1]);
  }
}

void TMDIForm::RememberMesh(const QString& file_name) {
  RememberRecentMesh(file_name);
  FillRecentMeshes();
}

void TMDIForm::FillRecentMeshes() {
  recent_menu_->clear();
  const QStringList files = RecentMeshFiles();
  int number = 1;
  for (const QString& file : files) {
    QAction* item = recent_menu_->addAction(
        QString("&%1 %2").arg(number++).arg(QDir::toNativeSeparators(file)));
    connect(item, &QAction::triggered, this, [this, file] {
      if (!FileFound(file.toStdString())) {
        dialogs_.Message(this, ApplicationTitle(), file + " file already not exist");
        ForgetRecentMesh(file);
        FillRecentMeshes();
        return;
      }
      OpenFiles({file});
    });
  }
  recent_menu_->setEnabled(!files.isEmpty());
}

}  // namespace vesk
