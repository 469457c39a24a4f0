#include "core/faces/mean_shape_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/common/file_io.h"

namespace vesk {
namespace {

constexpr std::uint64_t kMaxMeanShapeBytes = 64 * 1024;
constexpr std::string_view kFormatName = "vesk mean shape ";

std::string_view Trimmed(std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  for (std::size_t at = 0; at < line.size();) {
    const auto start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const auto end = std::min(line.find_first_of(" \t", start), line.size());
    words.push_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

bool Number(std::string_view word, double& value) {
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

}  // namespace

bool IsMeanShapeFileName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ending = name.substr(name.size() - 4);
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ending == ".pts";
}

std::vector<std::uint8_t> MeanShapeText(const FacePoints& shape) {
  std::string text = std::string(kMeanShapeFirstLine) + "\n";
  const auto append = [&text](double v, char after) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
    text.append(buffer, error == std::errc() ? end : buffer);
    text += after;
  };
  for (const PicturePoint& p : shape) {
    append(p.x, ' ');
    append(p.y, '\n');
  }
  return {text.begin(), text.end()};
}

Result<FacePoints> ParseMeanShape(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at <= text.size();) {
    const auto end = std::min(text.find('\n', at), text.size());
    lines.push_back(Trimmed(text.substr(at, end - at)));
    at = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty() || !lines[0].starts_with(kFormatName)) {
    return Failure{std::string("Not a mean shape file (its first line must read \"") +
                   kMeanShapeFirstLine + "\")"};
  }
  if (lines[0] != kMeanShapeFirstLine) {
    return Failure{"Mean shape version " +
                   std::string(lines[0].substr(kFormatName.size()).substr(0, 20)) +
                   " is not known (this program reads version 1)"};
  }
  if (lines.size() - 1 != kFacePointCount) {
    return Failure{"The mean shape has " + std::to_string(lines.size() - 1) + " points; " +
                   std::to_string(kFacePointCount) + " expected"};
  }
  FacePoints shape;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    const std::string line_name = "Line " + std::to_string(i + 2) + " of the mean shape: ";
    const std::vector<std::string_view> words = Words(lines[i + 1]);
    if (words.size() != 2 || !Number(words[0], shape[i].x) || !Number(words[1], shape[i].y)) {
      return Failure{line_name + "two numbers expected"};
    }
    for (double v : {shape[i].x, shape[i].y}) {
      if (!(std::abs(v) <= kMaxMeanShapeCoordinate)) {
        return Failure{line_name + "a coordinate beyond 1000000"};
      }
    }
  }
  return shape;
}

Status WriteMeanShapeFile(const std::string& path, const FacePoints& shape) {
  return WriteFileReplacing(path, MeanShapeText(shape));
}

Result<FacePoints> ReadMeanShapeFile(const std::string& path) {
  Result<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kMaxMeanShapeBytes);
  if (!bytes) return Failure{bytes.Message()};
  return ParseMeanShape(bytes.Value());
}

}  // namespace vesk
