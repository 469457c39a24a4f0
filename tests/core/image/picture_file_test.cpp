#include "core/image/picture_file.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(PictureFile, CaptionIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(CaptionOfFileName("C:\\pics\\face.bmp"), "face.bmp");
  EXPECT_EQ(CaptionOfFileName("/home/u/pics/face.bmp"), "face.bmp");
  EXPECT_EQ(CaptionOfFileName("C:face.bmp"), "face.bmp");
  EXPECT_EQ(CaptionOfFileName("face.bmp"), "face.bmp");
  EXPECT_EQ(CaptionOfFileName("dir/"), "");
}

TEST(PictureFile, BareNameIgnoresDriveColons) {
  EXPECT_EQ(BareFileName("C:\\old\\place\\face.bmp"), "face.bmp");
  EXPECT_EQ(BareFileName("/gone/face.bmp"), "face.bmp");
  EXPECT_EQ(BareFileName("C:face.bmp"), "C:face.bmp");
  EXPECT_EQ(BareFileName("face.bmp"), "face.bmp");
}

TEST(PictureFile, FormatIsChosenByExtensionInAnyCase) {
  EXPECT_EQ(PictureFormatOf("a.bmp"), PictureFormat::kBmp);
  EXPECT_EQ(PictureFormatOf("A.BMP"), PictureFormat::kBmp);
  EXPECT_EQ(PictureFormatOf("x/y.Png"), PictureFormat::kPng);
  EXPECT_EQ(PictureFormatOf("y.jpg"), PictureFormat::kJpeg);
  EXPECT_EQ(PictureFormatOf("y.JPEG"), PictureFormat::kJpeg);
  EXPECT_EQ(PictureFormatOf("y.gif"), PictureFormat::kUnknown);
  EXPECT_EQ(PictureFormatOf("noext"), PictureFormat::kUnknown);
  EXPECT_EQ(PictureFormatOf("dir.bmp/noext"), PictureFormat::kUnknown);
  EXPECT_EQ(PictureFormatOf("a.bmp.old"), PictureFormat::kUnknown);
}

TEST(PictureFile, MessagesReadExactly) {
  EXPECT_EQ(UnknownExtensionMessage("notes.TXT"), "Unknown picture file extension (.TXT)");
  EXPECT_EQ(UnknownExtensionMessage("noext"), "Unknown picture file extension (.)");
  std::string text = ImageFormatErrorText("Bitmap image is not valid");
  EXPECT_EQ(text, std::string("Error in image Format ") + '\n' + '\r' +
                      "Bitmap image is not valid");
}

}  // namespace
}  // namespace vesk
