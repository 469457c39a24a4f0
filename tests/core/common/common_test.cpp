// Integer texts as the toolkit reads them and the integer edits built on them.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/common/int_conversion.h"

namespace vesk {
namespace {

TEST(ToolkitStrToInt, ReadsBlanksSignDecimalAndDollarHexOnly) {
  const std::pair<const char*, std::optional<std::int32_t>> rows[] = {
      {"12", 12}, {"007", 7}, {"   42", 42}, {"-5", -5}, {"+5", 5}, {"  -$10", -16},
      {"$a", 10}, {"$64", 100}, {"$7FFFFFFF", INT32_MAX}, {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN}, {"-2147483648", INT32_MIN}, {"2147483648", {}},
      {"-2147483649", {}}, {"99999999999999999999999", {}}, {"$100000000", {}}, {"", {}},
      {" ", {}}, {"1a", {}}, {"12 ", {}}, {"-", {}}, {"$", {}}, {"-$", {}}, {"$G", {}},
      {"0x10", {}}, {"1.5", {}}, {"\t3", {}}, {"--1", {}}, {"+-1", {}}, {"$-1", {}}};
  for (const auto& [text, value] : rows) EXPECT_EQ(ToolkitStrToInt(text), value) << text;
}

TEST(IntegerEdit, KeepsNumbersInRangeAndRestoresTheTextOtherwise) {
  // text, current, low, high -> value, restore
  for (auto [text, current, low, high, value, restore] :
       {std::tuple{"0", 12, 1, 100, 12, true}, {"101", 12, 1, 100, 12, true},
        {"abc", 12, 1, 100, 12, true}, {"", 12, 1, 100, 12, true}, {"$A", 12, 1, 100, 10, false},
        {"100", 12, 1, 100, 100, false}, {"1", 12, 1, 100, 1, false},
        {"1001", 7, 1, 1000, 7, true}, {" 250", 7, 1, 1000, 250, false}}) {
    IntegerEditChange change = ApplyIntegerEdit(text, current, low, high);
    EXPECT_EQ(std::pair(change.value, change.restore_text), std::pair(value, restore)) << text;
  }
}

}  // namespace
}  // namespace vesk
