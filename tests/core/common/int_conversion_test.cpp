#include "core/common/int_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vesk {
namespace {

TEST(ToolkitStrToInt, PlainDecimal) {
  EXPECT_EQ(ToolkitStrToInt("12"), 12);
  EXPECT_EQ(ToolkitStrToInt("0"), 0);
  EXPECT_EQ(ToolkitStrToInt("007"), 7);
}

TEST(ToolkitStrToInt, LeadingBlanksAndSignAreAccepted) {
  EXPECT_EQ(ToolkitStrToInt("   42"), 42);
  EXPECT_EQ(ToolkitStrToInt("-5"), -5);
  EXPECT_EQ(ToolkitStrToInt("+5"), 5);
  EXPECT_EQ(ToolkitStrToInt("  -$10"), -16);
}

TEST(ToolkitStrToInt, DollarMeansHexadecimalInEitherCase) {
  EXPECT_EQ(ToolkitStrToInt("$A"), 10);
  EXPECT_EQ(ToolkitStrToInt("$a"), 10);
  EXPECT_EQ(ToolkitStrToInt("$64"), 100);
  EXPECT_EQ(ToolkitStrToInt("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(ToolkitStrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(ToolkitStrToInt("$80000000"), INT32_MIN);
}

TEST(ToolkitStrToInt, EverythingElseFails) {
  for (const char* bad : {"", " ", "abc", "1a", "12 ", "1 2", "-", "+", "$", "-$", "$G",
                          "0x10", "1.5", "\t3", "--1", "+-1", "$-1", "A"}) {
    EXPECT_FALSE(ToolkitStrToInt(bad).has_value()) << '"' << bad << '"';
  }
}

TEST(ToolkitStrToInt, DecimalOutsideSignedRangeFails) {
  EXPECT_EQ(ToolkitStrToInt("2147483647"), 2147483647);
  EXPECT_EQ(ToolkitStrToInt("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ToolkitStrToInt("2147483648").has_value());
  EXPECT_FALSE(ToolkitStrToInt("-2147483649").has_value());
  EXPECT_FALSE(ToolkitStrToInt("99999999999999999999999").has_value());
  EXPECT_FALSE(ToolkitStrToInt("$100000000").has_value());
}

TEST(ToolkitStrToInt, AgreesWithDecimalPrintingOverRandomNumbers) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 2000; ++i) {
    std::int32_t v = any(rng);
    EXPECT_EQ(ToolkitStrToInt(std::to_string(v)), v);
    EXPECT_EQ(ToolkitStrToInt(std::string(i % 4, ' ') + std::to_string(v)), v);
  }
}

TEST(IntegerEdit, FrameCountEditKeepsOnlyNumbersInItsRange) {
  // The frame-count edit: 1..100, holding 12.
  EXPECT_EQ(ApplyIntegerEdit("0", 12, 1, 100).value, 12);
  EXPECT_TRUE(ApplyIntegerEdit("0", 12, 1, 100).restore_text);
  EXPECT_TRUE(ApplyIntegerEdit("101", 12, 1, 100).restore_text);
  EXPECT_TRUE(ApplyIntegerEdit("abc", 12, 1, 100).restore_text);
  EXPECT_TRUE(ApplyIntegerEdit("", 12, 1, 100).restore_text);
  EXPECT_EQ(ApplyIntegerEdit("", 12, 1, 100).value, 12);

  IntegerEditChange hex = ApplyIntegerEdit("$A", 12, 1, 100);
  EXPECT_EQ(hex.value, 10);
  EXPECT_FALSE(hex.restore_text);

  EXPECT_EQ(ApplyIntegerEdit("100", 12, 1, 100).value, 100);
  EXPECT_EQ(ApplyIntegerEdit("1", 12, 1, 100).value, 1);
}

TEST(IntegerEdit, PrecisionEditAcceptsTypedValuesUpToAThousand) {
  EXPECT_EQ(ApplyIntegerEdit("1000", 1, 1, 1000).value, 1000);
  EXPECT_FALSE(ApplyIntegerEdit("1000", 1, 1, 1000).restore_text);
  EXPECT_TRUE(ApplyIntegerEdit("1001", 7, 1, 1000).restore_text);
  EXPECT_EQ(ApplyIntegerEdit("1001", 7, 1, 1000).value, 7);
  EXPECT_EQ(ApplyIntegerEdit(" 250", 7, 1, 1000).value, 250);
}

}  // namespace
}  // namespace vesk
