// The rules of the Options dialog that do not depend on widgets: how an
// edit's text is pulled into its range, what the key filters let through,
// and where the sheet and node previews go.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vesk {

// The integer value of an edit's text, by the toolkit's conversion
// (ToolkitStrToInt): leading blanks, an optional sign, then decimal digits or
// "$" and hexadecimal digits, within 32 bits; anything else (trailing
// blanks, empty) is none.
std::optional<std::int32_t> IntegerFromText(const std::string& text);

// Clamping rule of every numeric edit: a text that is not an integer becomes
// the minimum; a value above the maximum becomes the maximum, one below the
// minimum the minimum. Answers the text the edit must be given, or none when
// the text already holds a value in range.
std::optional<std::string> ClampedEditText(const std::string& text, int min, int max);

// Key-press filter: only the digits 0 to 9 and backspace (8) are typed.
bool KeyPressAllowed(char32_t typed);
// After an allowed key press the current text (without the new character)
// must be an integer; answers "0" when it is not, none otherwise.
std::optional<std::string> TextBeforeKeyPress(const std::string& text);
// Key-down filter: backspace on a one-character text leaves "0" (an edit is
// never emptied by backspacing); answers the new text or none.
std::optional<std::string> TextAfterBackspaceDown(const std::string& text);

// The sheet preview: a w x h rectangle centred on (218, 58) of its group
// box, with the halves truncated toward zero.
struct PreviewRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PreviewRect&) const = default;
};
inline constexpr int kSheetPreviewCentreX = 218;
inline constexpr int kSheetPreviewCentreY = 58;
PreviewRect SheetPreviewRect(int width, int height);
// The node preview: a square of side 2 x node size.
int NodePreviewSide(int node_size);

}  // namespace vesk
