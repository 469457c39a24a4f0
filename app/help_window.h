// The help index: shows the program's HTML help file in a help window.
#pragma once

#include <QString>

class QWidget;

namespace vesk {

class UserDialogs;

// Shows `help_file` (an HTML file, "./Zelph.hlp") in the help window; a
// missing or unreadable file gives a clear message instead.
void ShowHelpIndex(QWidget* parent, UserDialogs& dialogs, const QString& help_file);

// Writes the help file the program ships with to `help_file` when no file of
// that name exists yet; answers the file's absolute path. The program calls
// this once at start-up with "./Zelph.hlp".
QString InstallHelpFile(const QString& help_file);

}  // namespace vesk
