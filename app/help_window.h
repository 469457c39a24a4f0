// The help index: shows the program's HTML help file in a help window, the
// way the platform's help viewer showed the help file named at start-up.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace vesk {

class UserDialogs;

// Shows `help_file` (an HTML file, "./Zelph.hlp") in the help window, one
// window per parent, raised when it is open already. A relative name that
// is not found in the current folder is taken from where InstallHelpFile
// put it at start-up. A missing or unreadable file gives a clear message.
void ShowHelpIndex(QWidget* parent, UserDialogs& dialogs, const QString& help_file);

// Writes the help file the program ships with to `help_file` when no file of
// that name exists yet (an existing one is left alone, so a user's own help
// stays); answers the file's absolute path. The program calls this once at
// start-up with "./Zelph.hlp" and keeps the answer, so the help is found
// after a file dialog changed the current directory.
QString InstallHelpFile(const QString& help_file);

// The help file as the program ships it.
QByteArray ShippedHelpText();

// The window that shows the help text.
class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);
  void ShowText(const QString& html, const QString& folder);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace vesk
