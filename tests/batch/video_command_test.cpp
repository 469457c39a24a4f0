// vesk-batch video, run as a separate program, its files read back by
// FFmpeg's own tools; and the export's cancel, through the writer itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/image/bmp_codec.h"
#include "video/video_writer.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 65;  // odd on purpose: H.264 pads to 66 x 50
constexpr int kHeight = 49;
constexpr int kFrames = 5;

// Frame i: 16 x 16 steps of red and green, blue set by the frame: 256
// colours, smooth enough for the lossy formats.
Bitmap TestFrame(int i) {
  Bitmap frame(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      frame.Row(y)[x] = MakeColor(x * 16 / kWidth * 16, y * 16 / kHeight * 16, 40 + 40 * i);
    }
  }
  return frame;
}

std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int code = ::pclose(pipe);
  if (status != nullptr) *status = WEXITSTATUS(code);
  return out;
}

// PSNR of decoded RGB24 frame (stored `width` wide) against `ours`.
double Psnr(const std::string& decoded, std::size_t offset, int width, const Bitmap& ours) {
  double sum = 0;
  for (int y = 0; y < ours.Height(); ++y) {
    for (int x = 0; x < ours.Width() * 3; ++x) {
      const auto at = offset + static_cast<std::size_t>(y) * width * 3 + x;
      const double d = static_cast<unsigned char>(decoded[at]) -
                       static_cast<double>((ours.Row(y)[x / 3] >> (8 * (x % 3))) & 0xFF);
      sum += d * d;
    }
  }
  return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * 3 * ours.Width() * ours.Height() / sum);
}

class VideoCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vesk_video_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream list(dir_ / "frames.any", std::ios::binary);
    for (int i = 0; i < kFrames; ++i) {
      const std::string name = "imag" + std::to_string(i + 1) + ".bmp";
      ASSERT_TRUE(SaveBmpFile((dir_ / name).string(), TestFrame(i)).Ok());
      list << name << "\r\n";
    }
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

struct FormatCase {
  const char* file;
  int fps;
  const char* fps_option;
  int width, height;  // as stored
  double min_psnr;    // 99 means exact
};

class VideoFormats : public VideoCommand, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(VideoFormats, FfmpegReadsBackOurFrames) {
  int status = -1;
  Shell("ffprobe -version >/dev/null 2>&1 && ffmpeg -version >/dev/null 2>&1", &status);
  if (status != 0) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  const FormatCase& c = GetParam();
  const std::string out = PathOf(c.file);
  Shell("'" VESK_BATCH_EXE "' video '" + PathOf("frames.any") + "' --out '" + out + "' " +
          c.fps_option + " 2>&1",
      &status);
  ASSERT_EQ(status, 0);
  const std::string probe = Shell(
      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
      "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" + out + "'");
  EXPECT_EQ(probe, std::to_string(c.width) + "," + std::to_string(c.height) + "," +
                       std::to_string(c.fps) + "/1," + std::to_string(kFrames) + "\n");

  const std::string decoded =
      Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
  const std::size_t frame_bytes = static_cast<std::size_t>(c.width) * c.height * 3;
  ASSERT_EQ(decoded.size(), frame_bytes * kFrames);
  for (int i = 0; i < kFrames; ++i) {
    EXPECT_GE(Psnr(decoded, frame_bytes * i, c.width, TestFrame(i)), c.min_psnr) << "frame " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, VideoFormats,
    ::testing::Values(FormatCase{"out.mp4", 2, "", 66, 50, 35},
                      FormatCase{"out.webm", 5, "--fps 5", kWidth, kHeight, 35},
                      FormatCase{"out.gif", 2, "", kWidth, kHeight, 99}),
    [](const auto& info) { return std::string(fs::path(info.param.file).extension()).substr(1); });

TEST_F(VideoCommand, CancelledOrFailedExportLeavesNoFileAndKeepsTheOldOne) {
  const Bitmap a = TestFrame(0), b = TestFrame(1);
  const std::vector<const Bitmap*> frames = {&a, &b, &a};
  std::ofstream(PathOf("old.mp4")) << "old";
  int asked = 0;
  const Status cancelled = WriteVideoFile(frames, PathOf("old.mp4"), 2, {},
                                          [&asked] { return ++asked == 2; });
  EXPECT_EQ(cancelled.Message(), kVideoCancelledMessage);
  const std::vector<const Bitmap*> broken = {&a, nullptr};
  EXPECT_FALSE(WriteVideoFile(broken, PathOf("new.gif"), 2, {}, {}).Ok());
  // Only the frames, the list and the untouched old file remain.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), kFrames + 2);
  std::ifstream old(PathOf("old.mp4"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old");
}

TEST_F(VideoCommand, UsageAndBadInputExitStatus) {
  const std::pair<const char*, int> rows[] = {{"frames.any --out x.avi", 2},
                                              {"frames.any --out x.gif --fps 0", 2},
                                              {"frames.any", 2},
                                              {"missing.any --out x.gif", 1}};
  for (const auto& [args, expected] : rows) {
    int status = -1;
    Shell("cd '" + dir_.string() + "' && '" VESK_BATCH_EXE "' video " + args + " 2>/dev/null",
          &status);
    EXPECT_EQ(status, expected) << args;
  }
  EXPECT_FALSE(fs::exists(PathOf("x.gif")));
}

}  // namespace
}  // namespace vesk
