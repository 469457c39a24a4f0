// The command line of the desktop program. `vesk [FILE...]` starts the
// program with the files open (a mesh with the two pictures it names, or
// one or two pictures); `vesk --help` and `vesk --version` answer on
// standard output and start no window; any other argument that begins with
// "-" is wrong usage. After "--" every argument is a file name. Qt's own
// options are not taken from the command line (its environment variables
// still are), so no argument can mean two things.
#pragma once

#include <string>
#include <vector>

namespace vesk {

struct CommandLine {
  enum class Action { kOpen, kHelp, kVersion, kWrongUsage };
  Action action = Action::kOpen;
  std::vector<std::string> files;  // kOpen: the files to open, in order
  std::string error;               // kWrongUsage: the one line to show
};

// `arguments` without the program name. The first of --help, --version and
// an unknown option decides.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What `vesk --help` prints.
const char* UsageText();

}  // namespace vesk
