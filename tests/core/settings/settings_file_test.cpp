// The 53-byte scrambled settings file: exact bytes written, fields read from
// their offsets, and every refused file with its message.
#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/common/file_io.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

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
    for (std::size_t i = 0; i < 53; ++i) {
      out[i] ^= static_cast<std::uint8_t>((i + 1) * multiplier + offset);
    }
    return out;
  }
};

// Every field differs from its default; reserved bytes hold junk.
Record Sample() {
  return Record().Put(16, 40, 1).Put(17, 22, 1).Put(18, 0xAA, 1).Put(19, 9, 1)
      .Put(20, 0x123456, 4).Put(24, 0xABCDEF, 4).Put(28, 0x010203, 4).Put(32, 0xFF00FF, 4)
      .Put(36, 7, 2).Put(38, 20, 2).Put(40, 0x55, 1).Put(41, 0x0E0D, 2)
      .Put(43, 0xFFFFFFFE, 4).Put(47, 0x01020304, 4).Put(51, 0x77, 1).Put(52, 0, 1);
}

Settings SampleSettings() {
  return {40, 22, 9, 0x123456, 0xABCDEF, 0x010203, 0xFF00FF, 7, 20, 0x0E0D, -2, 0x01020304, 0};
}

class SettingsFile : public testing_support::TempFolderTest {
 protected:
  std::string Path() const { return PathOf(kSettingsFileName); }
  Bytes FileBytes() const { return ReadWholeFile(Path()).Value(); }
};

TEST_F(SettingsFile, DefaultsAreSavedAsExactly53ScrambledBytes) {
  ASSERT_TRUE(SaveSettings(Path(), Settings{}).Ok());
  Record expected;
  expected.Put(16, 36, 1).Put(17, 36, 1).Put(19, 5, 1).Put(20, 255, 4).Put(24, 0x008000, 4)
      .Put(28, 0xC8C8C8, 4).Put(32, 0xFF0000, 4).Put(36, 1, 2).Put(38, 12, 2).Put(41, 10, 2)
      .Put(43, 3, 4).Put(47, 3, 4).Put(52, 1, 1);
  EXPECT_EQ(FileBytes(), expected.Scrambled());
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(SettingsFile, ReadFilesGiveTheirFieldsAsStored) {
  Settings zero_counts = SampleSettings();  // 0 would divide every run by zero
  zero_counts.Precision = 1;
  zero_counts.FrameCount = 12;
  Settings odd = SampleSettings();
  odd.SheetHorzSize = 0;
  odd.NodeSize = 200;
  odd.Precision = 65535;
  odd.FrameCount = 500;
  odd.FlagRadius = 0;
  odd.Equalize = 9;
  Bytes longer = Sample().Scrambled();
  longer.insert(longer.end(), {0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6});
  const std::tuple<const char*, Bytes, Settings> rows[] = {
      {"sample", Sample().Scrambled(), SampleSettings()},
      {"60 bytes: the first record", longer, SampleSettings()},
      {"zero counts", Sample().Put(36, 0, 2).Put(38, 0, 2).Scrambled(), zero_counts},
      {"outside the editor ranges",
       Sample().Put(16, 0, 1).Put(19, 200, 1).Put(36, 65535, 2).Put(38, 500, 2).Put(41, 0, 2)
           .Put(52, 9, 1).Scrambled(), odd}};
  for (const auto& [name, bytes, expected] : rows) {
    WriteBytes(kSettingsFileName, bytes);
    Settings s;
    EXPECT_EQ(LoadSettings(Path(), s), std::nullopt) << name;
    EXPECT_EQ(s, expected) << name;
  }
}

TEST_F(SettingsFile, RefusedFilesGiveTheirMessageAndKeepTheDefaults) {
  Bytes short_file = Sample().Scrambled();
  short_file.pop_back();
  Record version = Sample();
  version.bytes[15] = '0';
  Record length = Sample();
  length.bytes[0] = 14;
  const std::tuple<const char*, Bytes, const char*> rows[] = {
      {"52 bytes", short_file, "Invalid file format !"},
      {"empty", {}, "Invalid file format !"},
      {"version 1.0", version.Scrambled(), "Invalid ini file format"},
      {"header length 14", length.Scrambled(), "Invalid ini file format"},
      {"other constants", Sample().Scrambled(31, 7), "Invalid ini file format"},
      {"unscrambled", Sample().bytes, "Invalid ini file format"},
      {"read-only", Sample().Scrambled(), "Ini file not found !"},
      {"missing", {}, "Ini file not found !"},
      {"a folder", {}, "Ini file not found !"}};
  for (const auto& [name, bytes, message] : rows) {
    fs::remove_all(Path());
    if (std::string(name) == "a folder") {
      fs::create_directory(Path());
    } else if (std::string(name) != "missing") {
      WriteBytes(kSettingsFileName, bytes);
    }
    if (std::string(name) == "read-only") {
      fs::permissions(Path(), fs::perms::owner_read, fs::perm_options::replace);
    }
    Settings s;
    EXPECT_EQ(LoadSettings(Path(), s), message) << name;
    EXPECT_EQ(s, Settings{}) << name;
  }
}

TEST_F(SettingsFile, SavingWhatWasReadGivesTheSameBytesWithReservedBytesZero) {
  WriteBytes(kSettingsFileName, Sample().Scrambled());
  Settings s;
  ASSERT_EQ(LoadSettings(Path(), s), std::nullopt);
  s.Equalize = 9;  // written as 1
  ASSERT_TRUE(SaveSettings(Path(), s).Ok());
  Record expected = Sample().Put(18, 0, 1).Put(40, 0, 1).Put(51, 0, 1).Put(52, 1, 1);
  EXPECT_EQ(FileBytes(), expected.Scrambled());
}

TEST_F(SettingsFile, FailedSaveReportsAndKeepsThePreviousFile) {
  WriteBytes(kSettingsFileName, Sample().Scrambled());
  EXPECT_FALSE(SaveSettings(PathOf("no_folder/x.ini"), Settings{}).Ok());
  EXPECT_EQ(FileBytes(), Sample().Scrambled());
}

TEST(SettingsRecord, RandomSettingsSurviveEncodeAndDecode) {
  std::mt19937 rng(42);
  for (int round = 0; round < 200; ++round) {
    auto u8 = [&] { return static_cast<std::uint8_t>(rng()); };
    auto u16 = [&] { return static_cast<std::uint16_t>(1 + rng() % 65535); };
    auto color = [&] { return static_cast<Color>(rng() & 0xFFFFFF); };
    Settings s{u8(), u8(), u8(), color(), color(), color(), color(), u16(), u16(), u16(),
               static_cast<std::int32_t>(rng()),
               static_cast<std::int32_t>(rng()), static_cast<std::uint8_t>(rng() & 1)};
    Settings back;
    ASSERT_EQ(DecodeSettingsFile(EncodeSettingsFile(s), back), std::nullopt);
    EXPECT_EQ(back, s);
  }
}

}  // namespace
}  // namespace vesk
