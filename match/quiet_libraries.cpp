// The libraries speak through our messages only: OpenCV's log is turned
// off (it would print warnings of its own on standard error), and the
// exceptions of OpenCV and dlib, whose texts run over several lines (dlib's
// serialization errors list every type it was reading), are cut to one.
#include <opencv2/core/utils/logger.hpp>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

std::string Trimmed(std::string line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
}

}  // namespace

std::string LibraryCause(const std::string& what) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= what.size()) {
    const std::size_t end = std::min(what.find('\n', start), what.size());
    if (std::string line = Trimmed(what.substr(start, end - start)); !line.empty()) {
      lines.push_back(std::move(line));
    }
    start = end + 1;
  }
  constexpr std::string_view kDlibError = "ERROR: ";
  for (const std::string& line : lines) {
    if (line.starts_with(kDlibError)) return line.substr(kDlibError.size());
  }
  return lines.empty() ? "unknown error" : lines.front();
}

void QuietLibraries() {
  static const bool quiet = [] {
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    return true;
  }();
  (void)quiet;
}

}  // namespace vesk::match_steps
