#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <vector>

#include "core/common/file_io.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Plain record bytes laid out by hand, independently of the unit's writer.
class PlainRecord {
 public:
  PlainRecord() : bytes_(53, 0) {
    bytes_[0] = 15;
    const char* header = "Trelvanique 1.1";
    for (int i = 0; i < 15; ++i) bytes_[1 + i] = static_cast<std::uint8_t>(header[i]);
  }
  PlainRecord& Put(std::size_t offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return *this;
  }
  Bytes& bytes() { return bytes_; }
  // The file content: every byte xor (p * 157 + 59) mod 256, p from 1.
  Bytes Scrambled(int multiplier = 157, int offset = 59) const {
    Bytes out = bytes_;
    for (std::size_t i = 0; i < out.size() && i < 53; ++i) {
      out[i] ^= static_cast<std::uint8_t>(((i + 1) * multiplier + offset) & 0xFF);
    }
    return out;
  }

 private:
  Bytes bytes_;
};

PlainRecord SampleRecord() {
  PlainRecord r;
  r.Put(16, 40, 1)          // SheetHorzSize
      .Put(17, 22, 1)       // SheetVertSize
      .Put(18, 0xAA, 1)     // reserved
      .Put(19, 9, 1)        // NodeSize
      .Put(20, 0x00123456, 4)
      .Put(24, 0x00ABCDEF, 4)
      .Put(28, 0x00010203, 4)
      .Put(32, 0x00FF00FF, 4)
      .Put(36, 7, 2)        // Precision
      .Put(38, 20, 2)       // FrameCount
      .Put(40, 0x55, 1)     // reserved
      .Put(41, 0x0E0D, 2)   // FlagRadius
      .Put(43, 0xFFFFFFFE, 4)  // FlagHorzQuotient -2
      .Put(47, 0x01020304, 4)  // FlagVertQuotient
      .Put(51, 0x77, 1)     // reserved
      .Put(52, 0, 1);       // Equalize
  return r;
}

Settings SampleSettings() {
  Settings s;
  s.SheetHorzSize = 40;
  s.SheetVertSize = 22;
  s.NodeSize = 9;
  s.SelectedNodeColor = 0x00123456;
  s.PreviousNodeColor = 0x00ABCDEF;
  s.NodeColor = 0x00010203;
  s.LineColor = 0x00FF00FF;
  s.Precision = 7;
  s.FrameCount = 20;
  s.FlagRadius = 0x0E0D;
  s.FlagHorzQuotient = -2;
  s.FlagVertQuotient = 0x01020304;
  s.Equalize = 0;
  return s;
}

class SettingsFile : public testing_support::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    path_ = PathOf(kSettingsFileName);
  }
  void WriteBytes(const Bytes& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  Bytes FileBytes() const { return ReadWholeFile(path_).Value(); }
  std::string path_;
};

TEST_F(SettingsFile, MissingFileIsNotFoundAndKeepsDefaults) {
  Settings s;
  auto message = LoadSettings(path_, s);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, "Ini file not found !");
  EXPECT_EQ(s, Settings{});
}

TEST_F(SettingsFile, SavedFileIsExactly53ScrambledBytesOfTheDefaults) {
  ASSERT_TRUE(SaveSettings(path_, Settings{}).Ok());
  Bytes bytes = FileBytes();
  ASSERT_EQ(bytes.size(), 53u);
  PlainRecord expected;
  expected.Put(16, 36, 1).Put(17, 36, 1).Put(19, 5, 1)
      .Put(20, 255, 4).Put(24, 0x008000, 4).Put(28, 0xC8C8C8, 4).Put(32, 0xFF0000, 4)
      .Put(36, 1, 2).Put(38, 12, 2).Put(41, 10, 2).Put(43, 3, 4).Put(47, 3, 4).Put(52, 1, 1);
  EXPECT_EQ(bytes, expected.Scrambled());
  // No directory entry is left behind besides the file itself.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SettingsFile, HeaderIsScrambledLikeEveryOtherByte) {
  ASSERT_TRUE(SaveSettings(path_, Settings{}).Ok());
  Bytes bytes = FileBytes();
  EXPECT_EQ(bytes[0], 15 ^ ((157 + 59) & 0xFF));
  EXPECT_EQ(bytes[1], 'T' ^ ((2 * 157 + 59) & 0xFF));
}

TEST_F(SettingsFile, FieldsAreTakenFromTheirOffsets) {
  WriteBytes(SampleRecord().Scrambled());
  Settings s;
  EXPECT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_EQ(s, SampleSettings());
}

TEST_F(SettingsFile, RoundTripEqualsTheFileReadExceptReservedBytes) {
  Bytes original = SampleRecord().Scrambled();
  WriteBytes(original);
  Settings s;
  ASSERT_FALSE(LoadSettings(path_, s).has_value());
  ASSERT_TRUE(SaveSettings(path_, s).Ok());
  Bytes written = FileBytes();
  ASSERT_EQ(written.size(), 53u);
  for (std::size_t i = 0; i < 53; ++i) {
    if (i == 18 || i == 40 || i == 51) {
      // Reserved bytes are written as 0.
      EXPECT_EQ(written[i], static_cast<std::uint8_t>(((i + 1) * 157 + 59) & 0xFF)) << i;
      EXPECT_NE(written[i], original[i]) << i;
    } else {
      EXPECT_EQ(written[i], original[i]) << "byte " << i;
    }
  }
}

TEST_F(SettingsFile, FileOf60BytesLoadsItsFirstRecord) {
  Bytes bytes = SampleRecord().Scrambled();
  for (int i = 0; i < 7; ++i) bytes.push_back(static_cast<std::uint8_t>(0xE0 + i));
  WriteBytes(bytes);
  Settings s;
  EXPECT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_EQ(s, SampleSettings());
}

// A settings file that is refused: its bytes and the message it gives. The
// settings keep their defaults every time.
struct RefusedFile {
  const char* name;
  Bytes (*bytes)();
  const char* message;
};

void PrintTo(const RefusedFile& f, std::ostream* os) { *os << f.name; }

const RefusedFile kRefusedFiles[] = {
    {"FileOf52Bytes",
     [] {
       Bytes bytes = SampleRecord().Scrambled();
       bytes.pop_back();
       return bytes;
     },
     "Invalid file format !"},
    {"EmptyFile", [] { return Bytes{}; }, "Invalid file format !"},
    {"AnotherVersionInTheHeader",
     [] {
       PlainRecord r = SampleRecord();
       r.bytes()[15] = '0';  // "Trelvanique 1.0"
       return r.Scrambled();
     },
     "Invalid ini file format"},
    {"HeaderLengthByteNot15",
     [] {
       PlainRecord r = SampleRecord();
       r.bytes()[0] = 14;  // "Trelvanique 1." only
       return r.Scrambled();
     },
     "Invalid ini file format"},
    {"ScrambledWithOtherConstants", [] { return SampleRecord().Scrambled(31, 7); },
     "Invalid ini file format"},
    {"Unscrambled", [] { return SampleRecord().bytes(); }, "Invalid ini file format"},
};

class SettingsFileRefused : public SettingsFile,
                            public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(SettingsFileRefused, GivesItsMessageAndKeepsTheDefaults) {
  WriteBytes(GetParam().bytes());
  Settings s;
  auto message = LoadSettings(path_, s);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, GetParam().message);
  EXPECT_EQ(s, Settings{});
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileRefused, ::testing::ValuesIn(kRefusedFiles),
                         [](const ::testing::TestParamInfo<RefusedFile>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(SettingsFile, ReadOnlyFileIsLoaded) {
  WriteBytes(SampleRecord().Scrambled());
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                  fs::perm_options::replace);
  Settings s;
  EXPECT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_NE(s, Settings{});
}

TEST_F(SettingsFile, FolderInPlaceOfTheFileCountsAsNotFound) {
  fs::create_directory(path_);
  Settings s;
  EXPECT_EQ(LoadSettings(path_, s).value_or(""), "Ini file not found !");
}

TEST_F(SettingsFile, ZeroFrameCountAndPrecisionBecomeDefaults) {
  PlainRecord r = SampleRecord();
  r.Put(36, 0, 2).Put(38, 0, 2);
  WriteBytes(r.Scrambled());
  Settings s;
  ASSERT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_EQ(s.FrameCount, 12);
  EXPECT_EQ(s.Precision, 1);
  EXPECT_EQ(s.SheetHorzSize, 40);  // the rest is still taken from the file
}

TEST_F(SettingsFile, ValuesOutsideTheEditorRangesAreUsedAsRead) {
  PlainRecord r = SampleRecord();
  r.Put(16, 0, 1).Put(19, 200, 1).Put(38, 500, 2).Put(36, 65535, 2).Put(41, 0, 2).Put(52, 9, 1);
  WriteBytes(r.Scrambled());
  Settings s;
  ASSERT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_EQ(s.SheetHorzSize, 0);
  EXPECT_EQ(s.NodeSize, 200);
  EXPECT_EQ(s.FrameCount, 500);
  EXPECT_EQ(s.Precision, 65535);
  EXPECT_EQ(s.FlagRadius, 0);
  EXPECT_EQ(s.Equalize, 9);
}

TEST_F(SettingsFile, EqualizeIsWrittenAsZeroOrOne) {
  Settings s;
  s.Equalize = 9;
  ASSERT_TRUE(SaveSettings(path_, s).Ok());
  Bytes bytes = FileBytes();
  EXPECT_EQ(bytes[52] ^ ((53 * 157 + 59) & 0xFF), 1);
  s.Equalize = 0;
  ASSERT_TRUE(SaveSettings(path_, s).Ok());
  EXPECT_EQ(FileBytes()[52] ^ ((53 * 157 + 59) & 0xFF), 0);
}

TEST_F(SettingsFile, SaveReplacesAnExistingFile) {
  WriteBytes(Bytes(200, 0x41));
  ASSERT_TRUE(SaveSettings(path_, SampleSettings()).Ok());
  EXPECT_EQ(FileBytes().size(), 53u);
  Settings s;
  ASSERT_FALSE(LoadSettings(path_, s).has_value());
  EXPECT_EQ(s, SampleSettings());
}

TEST_F(SettingsFile, FailedSaveReportsAndKeepsThePreviousFile) {
  WriteBytes(SampleRecord().Scrambled());
  Status bad = SaveSettings((dir_ / "no_such_folder" / kSettingsFileName).string(), Settings{});
  EXPECT_FALSE(bad.Ok());
  EXPECT_FALSE(bad.Message().empty());
  EXPECT_EQ(FileBytes(), SampleRecord().Scrambled());
}

TEST(SettingsRecord, ScrambleTwiceRestoresEveryByte) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 50; ++round) {
    SettingsRecordBytes bytes{};
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    SettingsRecordBytes copy = bytes;
    ScrambleSettingsBytes(bytes);
    EXPECT_NE(bytes, copy);
    ScrambleSettingsBytes(bytes);
    EXPECT_EQ(bytes, copy);
  }
}

TEST(SettingsRecord, RandomSettingsSurviveEncodeAndDecode) {
  std::mt19937 rng(42);
  for (int round = 0; round < 200; ++round) {
    Settings s;
    s.SheetHorzSize = static_cast<std::uint8_t>(rng());
    s.SheetVertSize = static_cast<std::uint8_t>(rng());
    s.NodeSize = static_cast<std::uint8_t>(rng());
    s.SelectedNodeColor = rng() & 0xFFFFFF;
    s.PreviousNodeColor = rng() & 0xFFFFFF;
    s.NodeColor = rng() & 0xFFFFFF;
    s.LineColor = rng() & 0xFFFFFF;
    s.Precision = static_cast<std::uint16_t>(1 + rng() % 65535);
    s.FrameCount = static_cast<std::uint16_t>(1 + rng() % 65535);
    s.FlagRadius = static_cast<std::uint16_t>(rng());
    s.FlagHorzQuotient = static_cast<std::int32_t>(rng());
    s.FlagVertQuotient = static_cast<std::int32_t>(rng());
    s.Equalize = static_cast<std::uint8_t>(rng() & 1);
    SettingsRecordBytes file = EncodeSettingsFile(s);
    Settings back;
    ASSERT_FALSE(DecodeSettingsFile(file, back).has_value());
    EXPECT_EQ(back, s);
  }
}

TEST(SettingsRecord, SerializeAndParseAreInverse) {
  std::mt19937 rng(7);
  for (int round = 0; round < 100; ++round) {
    SettingsRecordBytes bytes{};
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    EXPECT_EQ(SerializeSettingsRecord(ParseSettingsRecord(bytes)), bytes);
  }
}

TEST(SettingsRecord, MultiByteFieldsAreLittleEndianAtOddOffsets) {
  Settings s;
  s.FlagRadius = 0x1234;
  s.FlagHorzQuotient = -1;
  s.FlagVertQuotient = 0x0A0B0C0D;
  SettingsRecordBytes plain = SerializeSettingsRecord(MakeSettingsRecord(s));
  EXPECT_EQ(plain[41], 0x34);
  EXPECT_EQ(plain[42], 0x12);
  EXPECT_EQ(plain[43], 0xFF);
  EXPECT_EQ(plain[46], 0xFF);
  EXPECT_EQ(plain[47], 0x0D);
  EXPECT_EQ(plain[50], 0x0A);
  EXPECT_EQ(plain[18], 0);
  EXPECT_EQ(plain[40], 0);
  EXPECT_EQ(plain[51], 0);
}

}  // namespace
}  // namespace vesk
