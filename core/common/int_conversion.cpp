#include "core/common/int_conversion.h"

namespace vesk {
namespace {

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ToolkitStrToInt(std::string_view text) {
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
  if (i >= text.size()) return std::nullopt;

  // Decimal magnitudes may reach 2^31 (for the negative end); hexadecimal
  // ones fill 32 bits and are read as a bit pattern.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i], hex);
    if (d < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (magnitude > limit) return std::nullopt;
  }
  auto pattern = static_cast<std::uint32_t>(magnitude);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

IntegerEditChange ApplyIntegerEdit(std::string_view text, int current, int low, int high) {
  std::optional<std::int32_t> v = ToolkitStrToInt(text);
  if (v && *v >= low && *v <= high) return {*v, false};
  return {current, true};
}

}  // namespace vesk
