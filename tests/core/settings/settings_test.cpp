// Options edit rules, and the 53-byte scrambled settings file: exact bytes, refused files.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/common/file_io.h"
#include "core/settings/options_rules.h"
#include "core/settings/settings_file.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Text = std::optional<std::string>;

TEST(OptionsRules, EditsArePulledIntoTheirRangeAndTextWithoutANumberToTheMinimum) {
  const std::tuple<const char*, int, int, Text> rows[] = {  // text, min, max, new text
      {"0", 0, 100, {}}, {"100", 0, 100, {}}, {"007", 0, 100, {}}, {"  12", 0, 100, {}},
      {"+3", 0, 10, {}}, {"$64", 0, 100, {}}, {"150", 0, 100, "100"}, {"16", 1, 15, "15"},
      {"2147483647", 0, 100, "100"}, {"0", 1, 15, "1"}, {"-4", 0, 10, "0"},
      {"$FFFFFFFF", 0, 100, "0"}, {"-2147483648", 1, 15, "1"}, {"", 1, 15, "1"},
      {"", 0, 100, "0"}, {"x", 1, 12, "1"}, {"12 ", 1, 15, "1"}, {"99999999999", 0, 100, "0"}};
  for (const auto& [text, min, max, clamped] : rows) {
    EXPECT_EQ(ClampedEditText(text, min, max), clamped) << '"' << text << '"';
  }
  for (char32_t c = 0; c < 0x700; ++c) {
    EXPECT_EQ(KeyPressAllowed(c), (c >= U'0' && c <= U'9') || c == 8) << static_cast<int>(c);
  }
  for (auto [text, before_key, after_backspace] : {std::tuple{"12", Text(), Text()},
                                                   {"", Text("0"), Text()}, {"1x", "0", Text()},
                                                   {"7", Text(), "0"}}) {
    EXPECT_EQ(TextBeforeKeyPress(text), before_key) << text;
    EXPECT_EQ(TextAfterBackspaceDown(text), after_backspace) << text;
  }
  EXPECT_EQ(SheetPreviewRect(25, 1), (PreviewRect{206, 58, 25, 1}));  // centred on 218, 58
  EXPECT_EQ(SheetPreviewRect(36, 100), (PreviewRect{200, 8, 36, 100}));
  EXPECT_EQ(NodePreviewSide(12), 24);
}

// Record bytes laid out by hand: the header, then fields at their offsets.
struct Record {
  Bytes bytes = Bytes(53, 0);
  Record() {
    bytes[0] = 15;
    for (int i = 0; i < 15; ++i) bytes[1 + i] = static_cast<std::uint8_t>("Trelvanique 1.1"[i]);
  }
  Record& Put(std::size_t offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return *this;
  }
  // The file: byte p (from 1) xor (p * 157 + 59) mod 256.
  Bytes Scrambled(int multiplier = 157, int offset = 59) const {
    Bytes out = bytes;
    for (std::size_t i = 0; i < 53; ++i) out[i] ^= (i + 1) * multiplier + offset;
    return out;
  }
};

// Every field differs from its default; the reserved bytes 18, 40, 51 hold junk.
Record Sample() {
  return Record().Put(16, 40, 1).Put(17, 22, 1).Put(18, 0xAA, 1).Put(19, 9, 1)
      .Put(20, 0x123456, 4).Put(24, 0xABCDEF, 4).Put(28, 0x010203, 4).Put(32, 0xFF00FF, 4)
      .Put(36, 7, 2).Put(38, 20, 2).Put(40, 0x55, 1).Put(41, 0x0E0D, 2)
      .Put(43, 0xFFFFFFFE, 4).Put(47, 0x01020304, 4).Put(51, 0x77, 1).Put(52, 0, 1);
}

const Settings kSample{40, 22, 9, 0x123456, 0xABCDEF, 0x010203, 0xFF00FF, 7, 20, 0x0E0D, -2,
                       0x01020304, 0};

class SettingsFile : public testing_support::TempFolderTest {
 protected:
  std::string Path() const { return PathOf(kSettingsFileName); }
};

TEST_F(SettingsFile, SavedRecordIsScrambledWithEqualizeOneAndFieldsReadBackAsStored) {
  ASSERT_TRUE(SaveSettings(Path(), Settings{}).Ok());
  Record defaults = Record().Put(16, 36, 1).Put(17, 36, 1).Put(19, 5, 1).Put(20, 255, 4)
      .Put(24, 0x008000, 4).Put(28, 0xC8C8C8, 4).Put(32, 0xFF0000, 4).Put(36, 1, 2)
      .Put(38, 12, 2).Put(41, 10, 2).Put(43, 3, 4).Put(47, 3, 4).Put(52, 1, 1);
  EXPECT_EQ(ReadWholeFile(Path()).Value(), defaults.Scrambled());
  Settings sample = kSample;
  sample.Equalize = 9;
  ASSERT_TRUE(SaveSettings(Path(), sample).Ok());
  Record expected = Sample().Put(18, 0, 1).Put(40, 0, 1).Put(51, 0, 1).Put(52, 1, 1);
  EXPECT_EQ(ReadWholeFile(Path()).Value(), expected.Scrambled());
  EXPECT_EQ(FilesInFolder(), 1);
  // Reading takes the fields as stored, but zero counts become the defaults.
  Settings zero_counts = kSample;
  zero_counts.Precision = 1;
  zero_counts.FrameCount = 12;
  Settings odd{0, 22, 200, 0x123456, 0xABCDEF, 0x010203, 0xFF00FF, 65535, 500, 0, -2,
               0x01020304, 9};
  Bytes longer = Sample().Scrambled();
  longer.insert(longer.end(), 7, 0xE0);
  const std::tuple<const char*, Bytes, Settings> rows[] = {
      {"sample", Sample().Scrambled(), kSample},
      {"60 bytes: the first record", longer, kSample},
      {"zero counts", Sample().Put(36, 0, 2).Put(38, 0, 2).Scrambled(), zero_counts},
      {"outside the editor ranges", Sample().Put(16, 0, 1).Put(19, 200, 1).Put(36, 65535, 2)
           .Put(38, 500, 2).Put(41, 0, 2).Put(52, 9, 1).Scrambled(), odd}};
  for (const auto& [name, bytes, expected] : rows) {
    WriteBytes(kSettingsFileName, bytes);
    Settings s;
    EXPECT_EQ(LoadSettings(Path(), s), std::nullopt) << name;
    EXPECT_EQ(s, expected) << name;
  }
  // Settings are only read at start-up: a file the user made read-only loads.
  fs::permissions(Path(), fs::perms::owner_read, fs::perm_options::replace);
  Settings s;
  EXPECT_FALSE(LoadSettings(Path(), s).has_value());
  EXPECT_EQ(s, odd);
}

TEST_F(SettingsFile, RefusedFilesGiveTheirMessageAndKeepTheDefaults) {
  const std::tuple<const char*, Bytes, const char*> rows[] = {
      {"52 bytes", Bytes(53 - 1, 0), "Invalid file format !"},
      {"empty", {}, "Invalid file format !"},
      {"version 1.0", Sample().Put(15, '0', 1).Scrambled(), "Invalid ini file format"},
      {"header length 14", Sample().Put(0, 14, 1).Scrambled(), "Invalid ini file format"},
      {"other constants", Sample().Scrambled(31, 7), "Invalid ini file format"},
      {"unscrambled", Sample().bytes, "Invalid ini file format"}};
  fs::create_directory(PathOf("a folder"));
  std::vector<std::pair<std::string, std::string>> cases = {
      {"a folder", "Ini file not found !"}, {"missing", "Ini file not found !"}};
  for (const auto& [name, bytes, message] : rows) {
    WriteBytes(name, bytes);
    cases.emplace_back(name, message);
  }
  for (const auto& [name, message] : cases) {
    Settings s;
    EXPECT_EQ(LoadSettings(PathOf(name), s), message) << name;
    EXPECT_EQ(s, Settings{}) << name;
  }
}

}  // namespace
}  // namespace vesk
