#include "core/generate/frame_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines Parse(const std::string& text) {
  return ParseFrameList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// A plain reader written from the rules, byte by byte, for the random cases.
Lines ReferenceParse(const std::string& text) {
  Lines lines;
  std::string line;
  bool has_line = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\x1A') break;
    if (c == '\r') {
      lines.push_back(line);
      line.clear();
      has_line = false;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      has_line = true;
    }
  }
  if (has_line) lines.push_back(line);
  return lines;
}

TEST(FrameList, ThreeFramesOf33BytesReadAsThreeNames) {
  std::string text = "imag1.bmp\r\nimag2.bmp\r\nimag3.bmp\r\n";
  ASSERT_EQ(text.size(), 33u);
  EXPECT_EQ(Parse(text), (Lines{"imag1.bmp", "imag2.bmp", "imag3.bmp"}));
}

TEST(FrameList, EmptyFileHoldsNoFrame) { EXPECT_TRUE(Parse("").empty()); }

TEST(FrameList, LfOnlyListIsOneSingleLine) {
  EXPECT_EQ(Parse("imag1.bmp\nimag2.bmp\nimag3.bmp\n"), (Lines{"imag1.bmp\nimag2.bmp\nimag3.bmp\n"}));
}

TEST(FrameList, CrAloneEndsALine) {
  EXPECT_EQ(Parse("a.bmp\rb.bmp\r"), (Lines{"a.bmp", "b.bmp"}));
}

TEST(FrameList, CrEatsOnlyOneLf) {
  EXPECT_EQ(Parse("a.bmp\r\n\nb.bmp\r\n"), (Lines{"a.bmp", "\nb.bmp"}));
}

TEST(FrameList, LastLineWithoutLineEndStillCounts) {
  EXPECT_EQ(Parse("a.bmp\r\nb.bmp"), (Lines{"a.bmp", "b.bmp"}));
}

TEST(FrameList, EmptyLinesAreFrames) {
  EXPECT_EQ(Parse("\r\n\r\na.bmp\r\n"), (Lines{"", "", "a.bmp"}));
}

TEST(FrameList, TextEndMarkerEndsTheList) {
  EXPECT_EQ(Parse("a.bmp\r\nb.bmp\r\n\x1A" "c.bmp\r\n"), (Lines{"a.bmp", "b.bmp"}));
}

TEST(FrameList, TextBeforeTheMarkerFormsALastLine) {
  EXPECT_EQ(Parse("a.bmp\r\nb.b\x1Amp\r\nc.bmp\r\n"), (Lines{"a.bmp", "b.b"}));
}

TEST(FrameList, MarkerFirstMeansAnEmptyList) {
  EXPECT_TRUE(Parse("\x1A" "a.bmp\r\n").empty());
}

TEST(FrameList, MarkerAfterCrDoesNotAddALine) {
  EXPECT_EQ(Parse("a.bmp\r\x1A\n"), (Lines{"a.bmp"}));
}

TEST(FrameList, LinesAreUsedUnchanged) {
  EXPECT_EQ(Parse("  C:\\frames\\imag1.bmp \r\n\t\xE9t\xE9.bmp\r\n"),
            (Lines{"  C:\\frames\\imag1.bmp ", "\t\xE9t\xE9.bmp"}));
}

TEST(FrameList, NulBytesStayInTheName) {
  std::string text("a\0b\r\n", 5);
  Lines lines = Parse(text);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string("a\0b", 3));
}

TEST(FrameList, RandomListsMatchAPlainReader) {
  std::mt19937 rng(2024);
  const char alphabet[] = {'a', '1', '.', '\r', '\n', '\x1A', ' ', '\\'};
  for (int round = 0; round < 2000; ++round) {
    std::string text(rng() % 40, ' ');
    for (char& c : text) c = alphabet[rng() % sizeof(alphabet)];
    ASSERT_EQ(Parse(text), ReferenceParse(text)) << "round " << round;
  }
}

class FrameListFile : public testing_support::TempFolderTest {};

TEST_F(FrameListFile, ReadsTheLinesOfAFile) {
  std::string path = (dir_ / "anim.any").string();
  std::ofstream(path, std::ios::binary) << "imag1.bmp\r\nimag2.bmp\r\n";
  auto lines = ReadFrameListFile(path);
  ASSERT_TRUE(lines.Ok());
  EXPECT_EQ(lines.Value(), (Lines{"imag1.bmp", "imag2.bmp"}));
}

TEST_F(FrameListFile, MissingFileGivesAMessage) {
  auto lines = ReadFrameListFile((dir_ / "none.any").string());
  ASSERT_FALSE(lines.Ok());
  EXPECT_EQ(lines.Message(), "File Not Found");
}

}  // namespace
}  // namespace vesk
