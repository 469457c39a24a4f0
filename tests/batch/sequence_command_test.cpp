// vesk-batch sequence: portraits lined up by their eyes into a frame list or a video; a
// sequence saved with its meshes and rendered again.
#include <QImage>
#include <numbers>

#include "core/image/similarity_warp.h"
#include "core/mesh/mesh_file.h"
#include "core/mesh/mesh_snapshot.h"
#include "match/face_landmarks.h"
#include "pictures/image_convert.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

using SequenceCommand = BatchTest;

// Each pair ends on the next picture, fitted and with its eyes where the first picture's are;
// the video passes through the same pictures with their hold frames.
TEST_F(SequenceCommand, PassesThroughEachPictureWithItsEyesLinedUpInAListOrAVideo) {
  // The portrait turned by 10 degrees, scaled by 1.1 and shifted, and a copy of half its size;
  // lining them up shrinks the first and enlarges the second. (Scaled by 0.9 instead, which
  // averages her glasses' rims a little, the face model puts her eyes 6 pixels further apart.)
  const Bitmap hopper = FromQImage(QImage(QString::fromStdString(kExamples + "/grace_hopper.jpg")));
  const double turn = 10 * std::numbers::pi / 180;
  Similarity moved{1.1 * std::cos(turn), 1.1 * std::sin(turn), 0, 0};
  const PicturePoint middle = Apply(moved, {255.5, 299.5});
  moved.tx = 255.5 - middle.x + 14, moved.ty = 299.5 - middle.y - 9;
  Save("turned.bmp", WarpPicture(hopper, moved, 512, 600));
  Save("small.bmp", WarpPicture(hopper, FitInside(512, 600, 256, 300), 256, 300));
  const std::string line = "sequence " + kExamples +
                           "/grace_hopper.jpg turned.bmp small.bmp --frames 4 --align faces --out ";
  ASSERT_EQ(Run(line + "list.any"), 0) << err_;
  EXPECT_EQ(Text("list.any"), ListOf(1, 9));
  std::vector<Bitmap> pictures;
  for (int k = 0; k < 3; ++k) pictures.push_back(Load("imag" + std::to_string(1 + 4 * k) + ".bmp"));
  EXPECT_EQ(pictures[0], hopper);
  const Result<FaceLandmarks> first = FindFaceLandmarks(hopper, {});
  for (int k = 1; k < 3; ++k) {
    const Result<FaceLandmarks> aligned = FindFaceLandmarks(pictures[k], {});
    ASSERT_TRUE(first.Ok() && aligned.Ok());
    for (auto eye : {&FaceLandmarks::LeftEyeCentre, &FaceLandmarks::RightEyeCentre}) {
      const PicturePoint p = (first.Value().*eye)(), q = (aligned.Value().*eye)();
      EXPECT_LE(std::hypot(p.x - q.x, p.y - q.y), 2) << k << ": " << q.x << "," << q.y;
    }
  }
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  // Looping, with a hold frame: 3 pairs of 4 + 1 frames, and the first picture twice at the end.
  ASSERT_EQ(Run(line + "loop.mp4 --loop --hold 1"), 0) << err_;
  EXPECT_EQ(Shell("ffprobe -v error -count_frames -show_entries stream=r_frame_rate,nb_read_frames "
                  "-of csv=p=0 '" + PathOf("loop.mp4") + "'"), "25/1,17\n");
  const std::string decoded = Shell("ffmpeg -v error -i '" + PathOf("loop.mp4") +
                                    "' -f rawvideo -pix_fmt rgb24 -");
  constexpr std::size_t kFrameBytes = 512 * 600 * 3;
  ASSERT_EQ(decoded.size(), kFrameBytes * 17);
  for (int index : {0, 1, 5, 6, 10, 11, 15, 16}) {  // each picture and its hold frame
    EXPECT_GE(Psnr(decoded, kFrameBytes * index, 512, pictures[index / 5 % 3]), 38) << index;
  }
}

// Saved with its meshes, a sequence renders the same frames from another folder; a pair's mesh
// file changed by hand changes that pair's in-between frames and no other frame.
TEST_F(SequenceCommand, SavedSequenceRendersTheSameFramesAndTakesAPairMeshChangedByHand) {
  for (const char* folder : {"s", "a", "b", "c"}) std::filesystem::create_directories(dir_ / folder);
  ASSERT_EQ(Run("sequence " + kExamples + "/grace_hopper.jpg " + kExamples + "/astronaut.png " +
                VESK_SOURCE_DIR + "/tests/data/photos/portrait.png --frames 4 --save s/S.vseq "
                "--out a/A.any"), 0) << err_;
  EXPECT_NE(Text("s/S.vseq").find("\npair 2 auto 512x600 Faces: "), std::string::npos);
  ASSERT_EQ(Run("sequence --from s/S.vseq --out b/B.any"), 0) << err_;
  ASSERT_EQ(Text("b/B.any"), ListOf(1, 9));
  EXPECT_EQ(Text("a/A.any"), Text("b/B.any"));
  Result<MeshFileContent> pair = ReadMeshFile(PathOf("s/S.pair-2.mesh"));
  ASSERT_TRUE(pair.Ok());
  MeshSnapshot moved = TakeMeshSnapshot(pair.Value().mesh);
  moved.nodes[0].X2 += 9, moved.nodes[0].Y2 -= 7;
  ASSERT_TRUE(WriteMeshFile(PathOf("s/S.pair-2.mesh"), RestoreMeshSnapshot(moved),
                            pair.Value().first_file_name, pair.Value().second_file_name));
  ASSERT_EQ(Run("sequence --from s/S.vseq --out c/C.any"), 0) << err_;
  for (int n = 1; n <= 9; ++n) {  // pair 2 paints frames 6 to 8 and ends on the last picture
    const std::string frame = "/imag" + std::to_string(n) + ".bmp";
    EXPECT_EQ(Text("a" + frame), Text("b" + frame)) << n;
    EXPECT_EQ(Text("a" + frame) == Text("c" + frame), n < 6 || n > 8) << n;
  }
}

}  // namespace
}  // namespace vesk::testing
