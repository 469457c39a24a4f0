// Integer texts as the toolkit reads them, the integer edits built on them,
// and the file probes (the replacing write has its own test, over every writer).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/common/file_io.h"
#include "core/common/int_conversion.h"
#include "tests/core/support/temp_folder.h"

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

class FileIo : public testing_support::TempFolderTest {};

// Read-only files are only read; the write probe counts them as missing.
TEST_F(FileIo, ProbesAndReads) {
  WriteBytes("a.bmp", {1});
  EXPECT_TRUE(FileFound(PathOf("a.bmp")));
  std::filesystem::permissions(PathOf("a.bmp"), std::filesystem::perms::owner_read);
  EXPECT_TRUE(FileReadable(PathOf("a.bmp")));
  for (const std::string& name : {PathOf("a.bmp"), PathOf("none"), dir_.string(), std::string()}) {
    EXPECT_FALSE(FileFound(name)) << name;
  }
  EXPECT_EQ(ReadWholeFile(dir_.string()).Message(), "File Not Found");
}

}  // namespace
}  // namespace vesk
