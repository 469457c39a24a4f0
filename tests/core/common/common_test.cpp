// Integer texts as the toolkit reads them, the integer edits built on them,
// and the replacing write every file writer uses.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "core/common/file_io.h"
#include "core/common/int_conversion.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

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

TEST(ToolkitStrToInt, AgreesWithDecimalPrintingOverRandomNumbers) {
  std::mt19937 rng(1234);
  for (int i = 0; i < 2000; ++i) {
    auto v = static_cast<std::int32_t>(rng());
    EXPECT_EQ(ToolkitStrToInt(std::string(i % 4, ' ') + std::to_string(v)), v);
  }
}

TEST(IntegerEdit, KeepsNumbersInRangeAndRestoresTheTextOtherwise) {
  struct Row {
    const char* text;
    int current, low, high, value;
    bool restore;
  };
  const Row rows[] = {{"0", 12, 1, 100, 12, true},   {"101", 12, 1, 100, 12, true},
                      {"abc", 12, 1, 100, 12, true}, {"", 12, 1, 100, 12, true},
                      {"$A", 12, 1, 100, 10, false}, {"100", 12, 1, 100, 100, false},
                      {"1", 12, 1, 100, 1, false},   {"1000", 1, 1, 1000, 1000, false},
                      {"1001", 7, 1, 1000, 7, true}, {" 250", 7, 1, 1000, 250, false}};
  for (const Row& r : rows) {
    IntegerEditChange change = ApplyIntegerEdit(r.text, r.current, r.low, r.high);
    EXPECT_EQ(change.value, r.value) << r.text;
    EXPECT_EQ(change.restore_text, r.restore) << r.text;
  }
}

class FileIo : public testing_support::TempFolderTest {};

TEST_F(FileIo, MissingReadOnlyAndFoldersAreNotFound) {
  WriteBytes("a.bmp", {1});
  EXPECT_TRUE(FileFound(PathOf("a.bmp")));
  fs::permissions(PathOf("a.bmp"), fs::perms::owner_read, fs::perm_options::replace);
  for (const std::string& name : {PathOf("a.bmp"), PathOf("none"), dir_.string(), std::string()}) {
    EXPECT_FALSE(FileFound(name)) << name;
  }
  EXPECT_EQ(ReadWholeFile(PathOf("none")).Message(), "File Not Found");
  EXPECT_EQ(ReadWholeFile(dir_.string()).Message(), "File Not Found");
}

TEST_F(FileIo, ReplacingWriteLeavesOnlyTheNewContent) {
  ASSERT_TRUE(WriteFileReplacing(PathOf("f.bin"), {1, 2, 3}).Ok());
  ASSERT_TRUE(WriteFileReplacing(PathOf("f.bin"), {9}).Ok());
  EXPECT_EQ(ReadWholeFile(PathOf("f.bin")).Value(), std::vector<std::uint8_t>{9});
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FileIo, FailedWriteReportsAndLeavesNoTemporary) {
  Status created = WriteFileReplacing(PathOf("no/x.bin"), {1});
  ASSERT_FALSE(created.Ok());
  EXPECT_EQ(created.Message(), "Cannot create file " + PathOf("no/x.bin"));
  fs::create_directories(PathOf("taken/inside"));
  Status moved = WriteFileReplacing(PathOf("taken"), {1});
  ASSERT_FALSE(moved.Ok());
  EXPECT_EQ(moved.Message().rfind("Cannot write file " + PathOf("taken"), 0), 0u);
  EXPECT_EQ(FilesInFolder(), 1);
}

}  // namespace
}  // namespace vesk
