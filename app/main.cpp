// The program entry: the application titled "Trelvanique", the main window
// (whose creation reads the settings, shows the About box and starts an
// empty mesh), then the message loop. `--help`, `--version` and wrong usage
// are answered before any window is made, so they work without a display.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/file_name_bytes.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "vesk_version.h"

int main(int argc, char* argv[]) {
  const vesk::CommandLine line =
      vesk::ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  switch (line.action) {
    case vesk::CommandLine::Action::kHelp:
      std::cout << vesk::UsageText() << std::flush;
      return 0;
    case vesk::CommandLine::Action::kVersion:
      std::cout << vesk::VersionText() << std::endl;
      return 0;
    case vesk::CommandLine::Action::kWrongUsage:
      std::cerr << line.error << std::endl;
      return 2;
    case vesk::CommandLine::Action::kOpen:
      break;
  }
  // Qt sees no argument of the command line: every one is a file here.
  int qt_argc = argc > 0 ? 1 : 0;
  QApplication app(qt_argc, argv);
  QApplication::setApplicationName("Trelvanique");
  vesk::RememberHelpFolder("./Zelph.hlp");

  vesk::QtUserDialogs dialogs;
  vesk::TMDIForm window(dialogs);
  window.show();
  // vesk FILE.mesh, vesk FIRST SECOND: open what the command line names.
  QStringList files;
  for (const std::string& file : line.files) files << vesk::FileNameFromBytes(file);
  window.OpenFiles(files);
  return app.exec();
}
