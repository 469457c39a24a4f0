// The program entry: the application titled "Trelvanique", the main window
// (whose creation reads the settings, shows the About box and starts an
// empty mesh), then the message loop. `--version` answers before any window
// is made, so it works without a display.
#include <QApplication>
#include <cstring>
#include <iostream>

#include "app/help_window.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "vesk_version.h"

int main(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << vesk::VersionText() << std::endl;
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Trelvanique");
  vesk::RememberHelpFolder("./Zelph.hlp");

  vesk::QtUserDialogs dialogs;
  vesk::TMDIForm window(dialogs);
  window.show();
  // vesk FILE.mesh, vesk FIRST SECOND: open what the command line names.
  window.OpenFiles(QApplication::arguments().mid(1));
  return app.exec();
}
