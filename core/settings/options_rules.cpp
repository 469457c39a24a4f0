#include "core/settings/options_rules.h"

namespace vesk {

std::optional<std::int32_t> IntegerFromText(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  // Decimal magnitudes reach 2^31 only for the negative end; hexadecimal
  // ones fill 32 bits and are read as a bit pattern.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    }
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  auto pattern = static_cast<std::uint32_t>(magnitude);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

std::optional<std::string> ClampedEditText(const std::string& text, int min, int max) {
  std::optional<std::int32_t> value = IntegerFromText(text);
  if (!value) return std::to_string(min);
  if (*value > max) return std::to_string(max);
  if (*value < min) return std::to_string(min);
  return std::nullopt;
}

bool KeyPressAllowed(char32_t typed) {
  return (typed >= U'0' && typed <= U'9') || typed == 8;
}

std::optional<std::string> TextBeforeKeyPress(const std::string& text) {
  if (IntegerFromText(text)) return std::nullopt;
  return std::string("0");
}

std::optional<std::string> TextAfterBackspaceDown(const std::string& text) {
  if (text.size() == 1) return std::string("0");
  return std::nullopt;
}

PreviewRect SheetPreviewRect(int width, int height) {
  return {kSheetPreviewCentreX - width / 2, kSheetPreviewCentreY - height / 2, width, height};
}

int NodePreviewSide(int node_size) { return 2 * node_size; }

}  // namespace vesk
