// The options dialog's rules: edits pulled into their ranges, the keys the
// edits take, and where the previews sit.
#include "core/settings/options_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vesk {
namespace {

using Text = std::optional<std::string>;

TEST(OptionsClamp, OutOfRangeBecomesTheNearerEndAndNoNumberTheMinimum) {
  struct Row {
    const char* text;
    int min, max;
    Text clamped;  // none: the text stays
  };
  const Row rows[] = {
      {"0", 0, 100, {}},       {"100", 0, 100, {}},     {"007", 0, 100, {}},
      {"  12", 0, 100, {}},    {"+3", 0, 10, {}},       {"$64", 0, 100, {}},
      {"150", 0, 100, "100"},  {"16", 1, 15, "15"},     {"2147483647", 0, 100, "100"},
      {"0", 1, 15, "1"},       {"-4", 0, 10, "0"},      {"$FFFFFFFF", 0, 100, "0"},
      {"-2147483648", 1, 15, "1"}, {"", 1, 15, "1"},    {"", 0, 100, "0"},
      {"x", 1, 12, "1"},       {"1:", 1, 15, "1"},      {"12 ", 1, 15, "1"},
      {"99999999999", 0, 100, "0"}, {"1.0", 1, 15, "1"}};
  for (const Row& r : rows) {
    EXPECT_EQ(ClampedEditText(r.text, r.min, r.max), r.clamped) << '"' << r.text << '"';
  }
}

TEST(OptionsKeys, OnlyDigitsAndBackspaceAreTyped) {
  for (char32_t c = 0; c < 0x700; ++c) {
    EXPECT_EQ(KeyPressAllowed(c), (c >= U'0' && c <= U'9') || c == 8) << static_cast<int>(c);
  }
}

TEST(OptionsKeys, TextWithoutANumberOrOneCharacterLeftBecomesZero) {
  EXPECT_EQ(TextBeforeKeyPress("12"), std::nullopt);
  EXPECT_EQ(TextBeforeKeyPress(""), "0");
  EXPECT_EQ(TextBeforeKeyPress("1x"), "0");
  EXPECT_EQ(TextAfterBackspaceDown("7"), "0");
  EXPECT_EQ(TextAfterBackspaceDown("12"), std::nullopt);
  EXPECT_EQ(TextAfterBackspaceDown(""), std::nullopt);
}

TEST(OptionsPreview, SheetIsCentredOnTheGroupPointAndNodeIsTwiceItsSize) {
  EXPECT_EQ(SheetPreviewRect(36, 36), (PreviewRect{200, 40, 36, 36}));
  EXPECT_EQ(SheetPreviewRect(25, 1), (PreviewRect{206, 58, 25, 1}));
  EXPECT_EQ(SheetPreviewRect(7, 100), (PreviewRect{215, 8, 7, 100}));
  EXPECT_EQ(NodePreviewSide(12), 24);
}

}  // namespace
}  // namespace vesk
