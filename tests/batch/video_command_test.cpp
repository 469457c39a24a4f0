// vesk-batch video, its files read back by FFmpeg's own tools; and the
// export's cancel, through the writer itself.
#include <map>

#include "tests/batch/batch_test_support.h"
#include "video/video_writer.h"

namespace vesk::testing {
namespace {

constexpr int kWidth = 65;  // odd on purpose: colour at half resolution pads to 66 x 50
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

// The hard case: 2 x 2 cells of saturated colours, new at random in every
// frame; colour at half resolution cannot hold it.
Bitmap HardFrame(int i) {
  static constexpr Color kSaturated[] = {MakeColor(255, 0, 0),   MakeColor(0, 255, 0),
                                         MakeColor(0, 0, 255),   MakeColor(255, 255, 0),
                                         MakeColor(0, 255, 255), MakeColor(255, 0, 255)};
  std::uint32_t state = 12345u + static_cast<std::uint32_t>(i);
  std::vector<Color> cells((kWidth / 2 + 1) * (kHeight / 2 + 1));
  for (Color& cell : cells) {
    state = state * 1664525u + 1013904223u;
    cell = kSaturated[(state >> 16) % 6];
  }
  Bitmap frame(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) frame.Row(y)[x] = cells[y / 2 * (kWidth / 2 + 1) + x / 2];
  }
  return frame;
}

class VideoCommand : public BatchTest {
 protected:
  void SetUp() override {
    BatchTest::SetUp();
    std::ofstream(PathOf("frames.any"), std::ios::binary) << ListOf(1, kFrames);
    std::ofstream(PathOf("hard.any"), std::ios::binary) << ListOf(kFrames + 1, 2 * kFrames);
    for (int i = 0; i < kFrames; ++i) {
      Save("imag" + std::to_string(i + 1) + ".bmp", TestFrame(i));
      Save("imag" + std::to_string(kFrames + i + 1) + ".bmp", HardFrame(i));
    }
  }
};

TEST_F(VideoCommand, FfmpegReadsBackOurFramesInEachFormatAndQuality) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  struct Row {
    const char* words;
    int fps, width, height;
    double psnr;  // the lowest of any frame; 99 means exact
  };
  const Row rows[] = {
      {"frames.any --out out.mp4", 2, 66, 50, 35},
      {"frames.any --out out.webm --fps 5", 5, 66, 50, 35},
      {"frames.any --out out.gif", 2, kWidth, kHeight, 99},
      {"hard.any --out hard.mp4", 2, 66, 50, 15},
      {"hard.any --out hard.webm", 2, 66, 50, 15},
      // Full colour resolution at the top of the scale, no padding needed.
      {"hard.any --out best.mp4 --quality 100", 2, kWidth, kHeight, 40},
      {"hard.any --out best.webm --quality 100", 2, kWidth, kHeight, 40},
      {"hard.any --out exact.webm --lossless", 2, kWidth, kHeight, 99},
  };
  std::map<std::string, double> mean;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.words);
    ASSERT_EQ(Run(std::string("video ") + row.words), 0) << err_;
    const std::string file = row.words + std::string(row.words).find("--out ") + 6;
    const std::string out = PathOf(file.substr(0, file.find(' ')));
    EXPECT_EQ(Shell("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                    "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" + out + "'"),
              std::to_string(row.width) + "," + std::to_string(row.height) + "," +
                  std::to_string(row.fps) + "/1," + std::to_string(kFrames) + "\n");
    const std::string decoded =
        Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
    const std::size_t frame_bytes = static_cast<std::size_t>(row.width) * row.height * 3;
    ASSERT_EQ(decoded.size(), frame_bytes * kFrames);
    const bool hard = std::string(row.words).starts_with("hard");
    for (int i = 0; i < kFrames; ++i) {
      const double psnr =
          Psnr(decoded, frame_bytes * i, row.width, hard ? HardFrame(i) : TestFrame(i));
      EXPECT_GE(psnr, row.psnr) << i;
      mean[out.substr(out.rfind('/') + 1)] += psnr / kFrames;
    }
  }
  // An odd size costs WebM nothing more than MP4.
  EXPECT_NEAR(mean["hard.webm"], mean["hard.mp4"], 1.0);
}

TEST_F(VideoCommand, CancelledOrFailedExportLeavesNoFileAndKeepsTheOldOne) {
  const Bitmap a = TestFrame(0), b = TestFrame(1);
  std::ofstream(PathOf("old.mp4")) << "old";
  int asked = 0;
  EXPECT_EQ(WriteVideoFile({&a, &b, &a}, PathOf("old.mp4"), {}, {}, [&] { return ++asked == 2; })
                .Message(),
            kVideoCancelledMessage);
  EXPECT_FALSE(WriteVideoFile({&a, nullptr}, PathOf("new.gif"), {}, {}, {}).Ok());
  EXPECT_EQ(Files("").size(), 2 * kFrames + 4u);  // the frames, two lists, out/, the old file
  EXPECT_EQ(Text("old.mp4"), "old");
}

}  // namespace
}  // namespace vesk::testing
