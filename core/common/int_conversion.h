// The toolkit's whole-integer conversion, as the frame-count and precision
// edits of the main window use it, and the edit rule built on it: a text
// that converts to a number inside the edit's range is taken, anything else
// puts the previous number back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vesk {

// Leading blanks are skipped, then an optional "+" or "-", then either
// decimal digits or "$" followed by hexadecimal digits (either letter case).
// Anything else, trailing blanks included, an empty text, a sign or "$" with
// no digits after it, or a value outside the signed 32-bit range, fails.
// Hexadecimal digits may fill all 32 bits ("$FFFFFFFF" is -1), as the
// toolkit reads them as an unsigned pattern.
std::optional<std::int32_t> ToolkitStrToInt(std::string_view text);

// Result of an edit's change handler.
struct IntegerEditChange {
  int value = 0;              // the number the setting holds afterwards
  bool restore_text = false;  // true: the edit's text goes back to `value` in decimal
};

// The change handler of an integer edit with the range low..high: a text
// that converts to v with low <= v <= high sets the value to v and leaves the
// text as typed ("$A" stays "$A" and gives 10); otherwise the value stays
// `current` and the text is set back to it.
IntegerEditChange ApplyIntegerEdit(std::string_view text, int current, int low, int high);

}  // namespace vesk
