// vesk-batch: renders the generation commands without a window. The first
// word names the subcommand; every subcommand registers itself in its own
// file (batch/*_command.cpp).
#include <algorithm>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/command_registry.h"
#include "core/image/bitmap.h"
#include "vesk_version.h"

namespace {

using vesk::batch::BatchCommand;

// The order in which the help lists the subcommands; others follow by name.
int ListPosition(const std::string& name) {
  static const char* const kOrder[] = {"morph", "distort", "colorize",    "flag",
                                       "sheetglass", "equalize", "avi", "grid",
                                       "triangulate", "check"};
  for (int i = 0; i < static_cast<int>(std::size(kOrder)); ++i) {
    if (name == kOrder[i]) return i;
  }
  return static_cast<int>(std::size(kOrder));
}

std::vector<BatchCommand> SortedCommands() {
  std::vector<BatchCommand> commands = vesk::batch::BatchCommands();
  std::sort(commands.begin(), commands.end(), [](const BatchCommand& a, const BatchCommand& b) {
    int pa = ListPosition(a.name);
    int pb = ListPosition(b.name);
    return pa != pb ? pa < pb : std::string(a.name) < std::string(b.name);
  });
  return commands;
}

void PrintHelp(std::ostream& out) {
  out << "usage:\n";
  for (const BatchCommand& command : SortedCommands()) {
    out << "  vesk-batch " << command.usage << "\n";
  }
  out << "  vesk-batch --version\n";
  out << "Defaults: 12 frames, precision 1, equalize on. Without --list frames are\n"
         "computed but not written. check exits with 1 when a triangle folds over.\n"
         "sequence: 25 frames a pair at 25 frames a second, smooth, quality 80.\n"
         "Exit status: 0 done, 1 bad input or cancelled, 2 wrong usage (an empty\n"
         "value included).\n";
}

std::string CommandNames() {
  std::string names;
  for (const BatchCommand& command : SortedCommands()) {
    if (!names.empty()) names += ", ";
    names += command.name;
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  vesk::batch::InstallInterruptHandler();
  std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
  if (words.empty()) {
    std::cerr << "vesk-batch: no command given (commands: " << CommandNames()
              << "; vesk-batch --help shows their options)" << std::endl;
    return vesk::batch::kExitUsage;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(std::cout);
    return vesk::batch::kExitDone;
  }
  if (words[0] == "--version") {
    std::cout << vesk::VersionText() << std::endl;
    return vesk::batch::kExitDone;
  }
  for (const BatchCommand& command : vesk::batch::BatchCommands()) {
    if (words[0] != command.name) continue;
    std::vector<std::string> args(words.begin() + 1, words.end());
    int status = vesk::batch::kExitBadInput;
    try {
      status = command.run(args);
    } catch (const std::bad_alloc&) {
      // Pictures inside the size limit may still not fit in memory.
      return vesk::batch::ReportBadInput(vesk::kBitmapTooLargeMessage);
    } catch (const std::exception& error) {
      return vesk::batch::ReportBadInput(error.what());
    }
    // A Ctrl+C after the last step looked: the job is not reported as done.
    if (status == vesk::batch::kExitDone && vesk::batch::Interrupted()) {
      return vesk::batch::ReportCancelled(command.name);
    }
    return status;
  }
  std::cerr << "vesk-batch: unknown command \"" << words[0] << "\" (commands: " << CommandNames()
            << ")" << std::endl;
  return vesk::batch::kExitUsage;
}
