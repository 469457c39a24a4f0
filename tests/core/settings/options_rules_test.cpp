#include "core/settings/options_rules.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vesk {
namespace {

TEST(OptionsClamp, TextsAreReadByTheToolkitConversion) {
  // Blanks before the number, a sign and "$" hexadecimal are numbers.
  EXPECT_EQ(ClampedEditText("  12", 0, 100), std::nullopt);
  EXPECT_EQ(ClampedEditText("+3", 0, 10), std::nullopt);
  EXPECT_EQ(ClampedEditText("$64", 0, 100), std::nullopt);
  EXPECT_EQ(ClampedEditText("-3", 0, 10), "0");
  EXPECT_EQ(ClampedEditText("$FFFFFFFF", 0, 100), "0");  // -1
  EXPECT_EQ(ClampedEditText("2147483647", 0, 100), "100");
  EXPECT_EQ(ClampedEditText("-2147483648", 1, 15), "1");
  EXPECT_EQ(IntegerFromText("$64"), 100);
  EXPECT_EQ(IntegerFromText("-2147483648"), INT32_MIN);
}

TEST(OptionsClamp, TextsThatAreNoNumberBecomeTheMinimum) {
  for (const char* bad : {"", " ", "a", "1a", "12 ", "1:", "-", "$", "2147483648",
                          "99999999999999999999", "1.0", "$G"}) {
    EXPECT_FALSE(IntegerFromText(bad).has_value()) << '"' << bad << '"';
    EXPECT_EQ(ClampedEditText(bad, 1, 15), "1") << '"' << bad << '"';
  }
}

TEST(OptionsClamp, ValueInRangeKeepsItsText) {
  EXPECT_EQ(ClampedEditText("0", 0, 100), std::nullopt);
  EXPECT_EQ(ClampedEditText("100", 0, 100), std::nullopt);
  EXPECT_EQ(ClampedEditText("36", 0, 100), std::nullopt);
  EXPECT_EQ(ClampedEditText("007", 0, 100), std::nullopt);
}

TEST(OptionsClamp, AboveMaximumBecomesMaximum) {
  EXPECT_EQ(ClampedEditText("150", 0, 100), "100");
  EXPECT_EQ(ClampedEditText("16", 1, 15), "15");
  EXPECT_EQ(ClampedEditText("13", 1, 12), "12");
}

TEST(OptionsClamp, BelowMinimumBecomesMinimum) {
  EXPECT_EQ(ClampedEditText("0", 1, 15), "1");
  EXPECT_EQ(ClampedEditText("-4", 0, 10), "0");
}

TEST(OptionsClamp, NonIntegerBecomesMinimum) {
  EXPECT_EQ(ClampedEditText("", 1, 15), "1");
  EXPECT_EQ(ClampedEditText("", 0, 100), "0");
  EXPECT_EQ(ClampedEditText("x", 1, 12), "1");
  // Too many digits no longer fit an integer: the minimum, not the maximum.
  EXPECT_EQ(ClampedEditText("99999999999", 0, 100), "0");
}

TEST(OptionsClamp, SecondRoundFindsTheValueInRange) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> digits(0, 6);
  std::uniform_int_distribution<int> digit(0, 9);
  const int ranges[][2] = {{0, 100}, {1, 15}, {0, 10}, {1, 12}};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    int n = digits(random);
    for (int i = 0; i < n; ++i) text += static_cast<char>('0' + digit(random));
    const int* range = ranges[round % 4];
    std::optional<std::string> clamped = ClampedEditText(text, range[0], range[1]);
    std::string final_text = clamped ? *clamped : text;
    EXPECT_EQ(ClampedEditText(final_text, range[0], range[1]), std::nullopt) << text;
    long long value = std::stoll(final_text);
    EXPECT_GE(value, range[0]);
    EXPECT_LE(value, range[1]);
    // A plain number of up to six digits is pulled to the nearer end.
    if (!text.empty()) {
      long long typed = std::stoll(text);
      long long expected = typed < range[0] ? range[0] : typed > range[1] ? range[1] : typed;
      EXPECT_EQ(value, expected) << text;
    }
  }
}

TEST(OptionsKeyFilter, OnlyDigitsAndBackspaceAreTyped) {
  for (char32_t c = U'0'; c <= U'9'; ++c) EXPECT_TRUE(KeyPressAllowed(c));
  EXPECT_TRUE(KeyPressAllowed(8));
  for (char32_t c : {U'a', U'Z', U':', U'-', U'+', U'$', U' ', U'.', char32_t{127},
                     char32_t{22}, char32_t{13}, U'\u00e9', U'\u0663'}) {
    EXPECT_FALSE(KeyPressAllowed(c)) << static_cast<unsigned>(c);
  }
}

TEST(OptionsKeyFilter, NonIntegerTextFallsBackToZeroOnKeyPress) {
  EXPECT_EQ(TextBeforeKeyPress("12"), std::nullopt);
  EXPECT_EQ(TextBeforeKeyPress(""), "0");
  EXPECT_EQ(TextBeforeKeyPress("1x"), "0");
}

TEST(OptionsKeyFilter, BackspaceOnOneCharacterLeavesZero) {
  EXPECT_EQ(TextAfterBackspaceDown("7"), "0");
  EXPECT_EQ(TextAfterBackspaceDown("0"), "0");
  EXPECT_EQ(TextAfterBackspaceDown("12"), std::nullopt);
  EXPECT_EQ(TextAfterBackspaceDown(""), std::nullopt);
}

TEST(SheetPreview, CentredOnTheGroupPoint) {
  EXPECT_EQ(SheetPreviewRect(36, 36), (PreviewRect{200, 40, 36, 36}));
  EXPECT_EQ(SheetPreviewRect(25, 25), (PreviewRect{206, 46, 25, 25}));
  EXPECT_EQ(SheetPreviewRect(0, 0), (PreviewRect{218, 58, 0, 0}));
  EXPECT_EQ(SheetPreviewRect(100, 1), (PreviewRect{168, 58, 100, 1}));
  EXPECT_EQ(SheetPreviewRect(7, 100), (PreviewRect{215, 8, 7, 100}));
}

TEST(NodePreview, SideIsTwiceTheNodeSize) {
  EXPECT_EQ(NodePreviewSide(1), 2);
  EXPECT_EQ(NodePreviewSide(5), 10);
  EXPECT_EQ(NodePreviewSide(12), 24);
}

}  // namespace
}  // namespace vesk
