// The program entry: the application titled "Trelvanique" with its help
// file "./Zelph.hlp", the main window (whose creation reads the settings,
// shows the About box and starts an empty mesh), then the message loop.
#include <QApplication>

#include "app/help_window.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Trelvanique");
  vesk::InstallHelpFile("./Zelph.hlp");

  vesk::QtUserDialogs dialogs;
  vesk::TMDIForm window(dialogs);
  window.show();
  // vesk FILE.mesh, vesk FIRST SECOND: open what the command line names.
  window.OpenFiles(QApplication::arguments().mid(1));
  return app.exec();
}
