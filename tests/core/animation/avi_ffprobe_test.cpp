// Our AVI files read back by an independent reader, ffprobe and ffmpeg,
// when they are installed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "core/animation/avi_writer.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// Standard output (and error, unless told not) of a shell command, and its
// exit status.
std::string Shell(const std::string& command, int* status = nullptr, bool with_errors = true) {
  std::string out;
  std::FILE* pipe = ::popen((command + (with_errors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (pipe == nullptr) return "popen failed";
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  int rc = ::pclose(pipe);
  if (status != nullptr) *status = rc;
  return out;
}

bool HaveFfmpeg() {
  int a = -1, b = -1;
  Shell("ffprobe -version", &a);
  Shell("ffmpeg -version", &b);
  return a == 0 && b == 0;
}

class AviFfprobe : public testing_support::TempFolderTest {
 protected:
  void SetUp() override {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg not installed";
    TempFolderTest::SetUp();
  }
};

TEST_F(AviFfprobe, TwentyFourFramesReadBackAsSixteenSquareBgr24AtTwoFps) {
  std::mt19937 rng(2024);
  std::vector<Bitmap> frames;
  for (int k = 0; k < 24; ++k) {
    Bitmap b(16, 16);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) b.SetPixel(x, y, static_cast<Color>(rng() & 0xFFFFFF));
    }
    frames.push_back(std::move(b));
  }
  std::vector<const Bitmap*> pointers;
  for (const Bitmap& f : frames) pointers.push_back(&f);
  std::string out = (dir_ / "x.avi").string();
  ASSERT_TRUE(WriteAviFile(pointers, out, nullptr).Ok());

  int status = -1;
  std::string probe = Shell(
      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
      "stream=codec_type,width,height,pix_fmt,r_frame_rate,nb_read_frames "
      "-of default=noprint_wrappers=1 '" + out + "'",
      &status);
  ASSERT_EQ(status, 0) << probe;
  EXPECT_NE(probe.find("codec_type=video\n"), std::string::npos) << probe;
  EXPECT_NE(probe.find("width=16\n"), std::string::npos) << probe;
  EXPECT_NE(probe.find("height=16\n"), std::string::npos) << probe;
  EXPECT_NE(probe.find("pix_fmt=bgr24\n"), std::string::npos) << probe;
  EXPECT_NE(probe.find("r_frame_rate=2/1\n"), std::string::npos) << probe;
  EXPECT_NE(probe.find("nb_read_frames=24\n"), std::string::npos) << probe;

  EXPECT_EQ(Shell("ffmpeg -v error -i '" + out + "' -f null -"), "");

  // Decoded pixels are the frames' pixels, top row first.
  std::string raw =
      Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -", nullptr, false);
  ASSERT_EQ(raw.size(), 24u * 16 * 16 * 3);
  for (int k = 0; k < 24; ++k) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        std::size_t at = ((static_cast<std::size_t>(k) * 16 + y) * 16 + x) * 3;
        Color got = MakeColor(static_cast<std::uint8_t>(raw[at]), static_cast<std::uint8_t>(raw[at + 1]),
                              static_cast<std::uint8_t>(raw[at + 2]));
        ASSERT_EQ(got, frames[k].Pixel(x, y)) << k << " " << x << "," << y;
      }
    }
  }
}

TEST_F(AviFfprobe, OddWidthAndMixedSizesDecodeWithoutComplaint) {
  Bitmap a(7, 5, MakeColor(200, 10, 10));
  Bitmap b(3, 9, MakeColor(10, 200, 10));
  std::string out = (dir_ / "odd.avi").string();
  ASSERT_TRUE(WriteAviFile({&a, &b, &a}, out, nullptr).Ok());
  EXPECT_EQ(Shell("ffmpeg -v error -i '" + out + "' -f null -"), "");
  std::string probe = Shell("ffprobe -v error -count_frames -show_entries stream=width,height,nb_read_frames "
                          "-of default=noprint_wrappers=1 '" + out + "'");
  EXPECT_EQ(probe, "width=7\nheight=5\nnb_read_frames=3\n");
}

}  // namespace
}  // namespace vesk
