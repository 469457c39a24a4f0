// Our AVI files read back by an independent reader: ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/animation/avi_writer.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

// Standard output and error of a shell command, and its exit status.
std::string Shell(const std::string& command, int& status) {
  std::string out;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    out.append(buffer, n);
  }
  status = pipe ? ::pclose(pipe) : -1;
  return out;
}

class AviFfprobe : public testing_support::TempFolderTest {};

// 24 frames of an odd width (rows padded), read back as bgr24 at 2 frames
// per second, every decoded pixel the frame's, top row first.
TEST_F(AviFfprobe, OurFileDecodesToTheFramesAtTwoFramesPerSecond) {
  int status = -1;
  Shell("command -v ffprobe && command -v ffmpeg", status);
  if (status != 0) GTEST_SKIP() << "ffprobe or ffmpeg is not installed";
  std::vector<Bitmap> frames;
  for (int k = 0; k < 24; ++k) frames.push_back(testing_support::RandomImage(15, 9, 2024 + k));
  std::vector<const Bitmap*> pointers;
  for (const Bitmap& f : frames) pointers.push_back(&f);
  const std::string out = PathOf("x.avi");
  ASSERT_TRUE(WriteAviFile(pointers, out, nullptr).Ok());
  const std::string probe = Shell(
      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
      "stream=codec_type,width,height,pix_fmt,r_frame_rate,nb_read_frames "
      "-of default=noprint_wrappers=1 '" + out + "'", status);
  ASSERT_EQ(status, 0) << probe;
  EXPECT_EQ(probe, "codec_type=video\nwidth=15\nheight=9\npix_fmt=bgr24\nr_frame_rate=2/1\n"
                   "nb_read_frames=24\n");
  const std::string raw =
      Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -", status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(raw.size(), 24u * 9 * 15 * 3);
  for (std::size_t k = 0, at = 0; k < 24; ++k) {
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 15; ++x, at += 3) {
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(raw[at + i]); };
        ASSERT_EQ(MakeColor(byte(0), byte(1), byte(2)), frames[k].Pixel(x, y))
            << k << " " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace vesk
