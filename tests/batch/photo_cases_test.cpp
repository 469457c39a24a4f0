// Photos as phones and cameras write them, read by vesk-batch: upright, in
// sRGB, 16 bits and transparency made into the program's colours.
#include "tests/batch/batch_test_support.h"
#include "tests/batch/photo_cases.h"

namespace vesk::testing {
namespace {

using PhotoCases = BatchTest;

TEST_F(PhotoCases, OpenUprightInTheirTrueColours) {
  for (const PhotoCase& photo : kPhotoCases) {
    // A Colorize frame of a picture with itself is the picture as read.
    const std::string file = kPhotos + photo.file;
    ASSERT_EQ(Run("colorize " + file + " " + file + " --frames 2 --list out/x.any"), 0) << err_;
    const Bitmap read = Load("out/imag1.bmp");
    EXPECT_EQ(PhotoProblem(photo, read), "") << photo.file;
    for (const std::string& name : Files("out")) std::filesystem::remove(dir_ / "out" / name);
  }
}

// A phone's sideways portrait: the face is found on the picture as seen.
TEST_F(PhotoCases, AutoMeshFindsTheFaceOfASidewaysPortrait) {
  EXPECT_EQ(Run("automesh " + kPhotos + "orientation_6.jpg " + kPhotos +
                "portrait.png --method faces --out x.mesh"),
            0)
      << err_;
}

}  // namespace
}  // namespace vesk::testing
