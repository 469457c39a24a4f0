// The help index: shows the program's HTML help file in a help window, the
// way the platform's help viewer showed the help file named at start-up.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace vesk {

class UserDialogs;

// Shows the help in the help window, one window per parent, raised when it
// is open already. The first of these that exists is shown: `help_file`
// ("./Zelph.hlp") as named, the same name in the folder the program started
// in (see RememberHelpFolder), the help installed with the program, and the
// copy built into the program. An unreadable file gives a clear message.
void ShowHelpIndex(QWidget* parent, UserDialogs& dialogs, const QString& help_file);

// Remembers where the relative `help_file` lies in the folder the program
// started in, so the help is found after a file dialog changed the current
// folder. Writes nothing.
void RememberHelpFolder(const QString& help_file);

// The help file installed beside the program (share/vesk/Zelph.hlp under the
// installation prefix), whether or not it exists.
QString InstalledHelpFile();

// The help file as the program ships it.
QByteArray ShippedHelpText();

// The window that shows the help text; Escape closes it.
class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);
  void ShowText(const QString& html, const QString& folder);
  QTextBrowser* Browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
};

}  // namespace vesk
