#include "app/help_window.h"

#include <QFileInfo>

#include "app/user_dialogs.h"

namespace vesk {

void ShowHelpIndex(QWidget* parent, UserDialogs& dialogs, const QString& help_file) {
  if (!QFileInfo::exists(help_file)) {
    dialogs.Message(parent, "Trelvanique", "Cannot open the help file " + help_file + " .");
  }
}

QString InstallHelpFile(const QString& help_file) { return QFileInfo(help_file).absoluteFilePath(); }

}  // namespace vesk
