#include "core/settings/options_rules.h"

#include "core/common/int_conversion.h"

namespace vesk {

std::optional<std::int32_t> IntegerFromText(const std::string& text) {
  return ToolkitStrToInt(text);
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
