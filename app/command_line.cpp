#include "app/command_line.h"

namespace vesk {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool options_end = false;
  for (const std::string& argument : arguments) {
    if (options_end || argument.size() < 2 || argument[0] != '-') {
      line.files.push_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "--help") {
      return CommandLine{CommandLine::Action::kHelp, {}, {}};
    } else if (argument == "--version") {
      return CommandLine{CommandLine::Action::kVersion, {}, {}};
    } else {
      return CommandLine{CommandLine::Action::kWrongUsage, {},
                         "vesk: unknown option \"" + argument + "\" (vesk --help lists them)"};
    }
  }
  return line;
}

const char* UsageText() {
  return "usage: vesk [MESH.mesh | FIRST SECOND | PICTURE | PIC1 PIC2 PIC3 ... | S.vseq]\n"
         "Starts the desktop program of Vesk Trelvanique. A mesh file (.mesh) opens\n"
         "with the two pictures it names; pictures (BMP, PNG, JPEG, WebP, TIFF, HEIC,\n"
         "HEIF, AVIF) open as the first and the second image; three or more pictures,\n"
         "or a sequence file (.vseq), open the sequence window. Names after -- are\n"
         "files even when they begin with -.\n"
         "  --help     show this help and exit\n"
         "  --version  show the version and exit\n"
         "vesk-batch renders the same commands without a window (vesk-batch --help).\n";
}

}  // namespace vesk
