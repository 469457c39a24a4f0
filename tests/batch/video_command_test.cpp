// vesk-batch video, its files read back by FFmpeg's own tools; and the
// export's cancel, through the writer itself.
#include <cmath>
#include <cstdio>

#include "tests/batch/batch_test_support.h"
#include "video/video_writer.h"

namespace vesk::testing {
namespace {

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

std::string Shell(const std::string& command) {
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
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

class VideoCommand : public BatchTest {
 protected:
  void SetUp() override {
    BatchTest::SetUp();
    std::ofstream(PathOf("frames.any"), std::ios::binary) << ListOf(1, kFrames);
    for (int i = 0; i < kFrames; ++i) Save("imag" + std::to_string(i + 1) + ".bmp", TestFrame(i));
  }
};

TEST_F(VideoCommand, FfmpegReadsBackOurFramesInEachFormat) {
  if (std::system("ffprobe -version >/dev/null 2>&1 && ffmpeg -version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ffprobe/ffmpeg missing";
  }
  struct Row { const char* file; const char* fps_option; int fps, width, height; double psnr; };
  const Row rows[] = {{"out.mp4", "", 2, 66, 50, 35},  // psnr 99 means exact
                      {"out.webm", "--fps 5", 5, kWidth, kHeight, 35},
                      {"out.gif", "", 2, kWidth, kHeight, 99}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    ASSERT_EQ(Run(std::string("video frames.any --out ") + row.file + " " + row.fps_option), 0)
        << err_;
    const std::string out = PathOf(row.file);
    EXPECT_EQ(Shell("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                    "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" + out + "'"),
              std::to_string(row.width) + "," + std::to_string(row.height) + "," +
                  std::to_string(row.fps) + "/1," + std::to_string(kFrames) + "\n");
    const std::string decoded =
        Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
    const std::size_t frame_bytes = static_cast<std::size_t>(row.width) * row.height * 3;
    ASSERT_EQ(decoded.size(), frame_bytes * kFrames);
    for (int i = 0; i < kFrames; ++i) {
      EXPECT_GE(Psnr(decoded, frame_bytes * i, row.width, TestFrame(i)), row.psnr) << i;
    }
  }
}

TEST_F(VideoCommand, CancelledOrFailedExportLeavesNoFileAndKeepsTheOldOne) {
  const Bitmap a = TestFrame(0), b = TestFrame(1);
  std::ofstream(PathOf("old.mp4")) << "old";
  int asked = 0;
  EXPECT_EQ(WriteVideoFile({&a, &b, &a}, PathOf("old.mp4"), 2, {}, [&] { return ++asked == 2; })
                .Message(),
            kVideoCancelledMessage);
  EXPECT_FALSE(WriteVideoFile({&a, nullptr}, PathOf("new.gif"), 2, {}, {}).Ok());
  EXPECT_EQ(Files("").size(), kFrames + 3u);  // the frames, the list, out/ and the old file
  EXPECT_EQ(Text("old.mp4"), "old");
}

}  // namespace
}  // namespace vesk::testing
