#include "core/common/file_name_rules.h"

namespace vesk {
namespace {

// ASCII only: the rule compares with the toolkit's plain upper-casing.
std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::string WithExtensionUnlessContained(const std::string& chosen,
                                         const std::string& upper_extension) {
  if (AsciiUpper(chosen).find(upper_extension) != std::string::npos) return chosen;
  return chosen + AsciiLower(upper_extension);
}

}  // namespace vesk
