// vesk-batch sequence: three portraits into one video or frame list, read back by FFmpeg's
// tools, and portraits lined up by their eyes.
#include <QImage>
#include <numbers>

#include "core/image/similarity_warp.h"
#include "match/face_landmarks.h"
#include "qtimage/image_convert.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

class SequenceCommand : public BatchTest {
 protected:
  void SetUp() override {
    BatchTest::SetUp();
    // A known warp of the portrait (turned by 10 degrees, scaled by 0.9 about the middle,
    // shifted) and a copy of half its size, fitted back into the sequence at full size.
    const double turn = 10 * std::numbers::pi / 180;
    Similarity moved{0.9 * std::cos(turn), 0.9 * std::sin(turn), 0, 0};
    const PicturePoint middle = Apply(moved, {255.5, 299.5});
    moved.tx = 255.5 - middle.x + 14, moved.ty = 299.5 - middle.y - 9;
    Save("turned.bmp", WarpPicture(hopper_, moved, 512, 600));
    Save("small.bmp", WarpPicture(hopper_, FitInside(512, 600, 256, 300), 256, 300));
  }
  const std::string kPictures = kExamples + "/grace_hopper.jpg turned.bmp small.bmp";
  const Bitmap hopper_ = FromQImage(QImage(QString::fromStdString(kExamples + "/grace_hopper.jpg")));
};

TEST_F(SequenceCommand, WritesEveryPairIntoOneVideoThatPassesThroughEachPicture) {
  if (std::system("ffprobe -version >/dev/null 2>&1 && ffmpeg -version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ffprobe/ffmpeg missing";
  }
  ASSERT_EQ(Run("sequence " + kPictures + " --frames 4 --out list.any"), 0) << err_;
  EXPECT_EQ(Text("list.any"), ListOf(1, 9));
  const Bitmap pictures[] = {hopper_, Load("turned.bmp"),
                             WarpPicture(Load("small.bmp"), FitInside(256, 300, 512, 600), 512, 600)};
  for (int k = 0; k < 3; ++k) EXPECT_EQ(Load("imag" + std::to_string(1 + 4 * k) + ".bmp"), pictures[k]);
  struct Row { const char* out; const char* options; int frames, hold; };
  for (const Row& row : {Row{"s.mp4", "", 9, 0}, Row{"loop.mp4", " --loop --hold 1", 17, 1}}) {
    SCOPED_TRACE(row.out);
    ASSERT_EQ(Run("sequence " + kPictures + " --frames 4 --out " + row.out + row.options), 0) << err_;
    const std::string out = PathOf(row.out);
    EXPECT_EQ(Shell("ffprobe -v error -count_frames -show_entries stream=r_frame_rate,nb_read_frames "
                    "-of csv=p=0 '" + out + "'"),
              "25/1," + std::to_string(row.frames) + "\n");
    const std::string decoded = Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
    constexpr std::size_t kFrameBytes = 512 * 600 * 3;
    ASSERT_EQ(decoded.size(), kFrameBytes * row.frames);
    // Each picture (back to the first when looping) with its hold frames.
    for (int index = 0; index < row.frames; ++index) {
      const int step = 4 + row.hold, k = index / step;
      if (index % step > row.hold) continue;
      EXPECT_GE(Psnr(decoded, kFrameBytes * index, 512, pictures[k % 3]), 38) << index;
    }
  }
}

TEST_F(SequenceCommand, AlignedFacesPutTheEyesWhereTheFirstPicturesAre) {
  ASSERT_EQ(Run("sequence " + kExamples + "/grace_hopper.jpg turned.bmp --align faces "
                "--frames 2 --out a.any"), 0) << err_;
  const Result<FaceLandmarks> first = FindFaceLandmarks(hopper_, {});
  const Result<FaceLandmarks> aligned = FindFaceLandmarks(Load("imag3.bmp"), {});
  ASSERT_TRUE(first.Ok() && aligned.Ok());
  for (auto eye : {&FaceLandmarks::LeftEyeCentre, &FaceLandmarks::RightEyeCentre}) {
    const PicturePoint p = (first.Value().*eye)(), q = (aligned.Value().*eye)();
    EXPECT_LE(std::hypot(p.x - q.x, p.y - q.y), 2) << p.x << "," << p.y << " " << q.x << "," << q.y;
  }
}

}  // namespace
}  // namespace vesk::testing
