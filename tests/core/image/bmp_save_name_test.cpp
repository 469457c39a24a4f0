#include "core/image/bmp_save_name.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(BmpSaveName, NameWithoutBmpGetsTheExtension) {
  EXPECT_EQ(BmpSaveName("frame"), "frame.bmp");
  EXPECT_EQ(BmpSaveName("/tmp/pictures/frame.png"), "/tmp/pictures/frame.png.bmp");
  EXPECT_EQ(BmpSaveName("a.bm"), "a.bm.bmp");
  EXPECT_EQ(BmpSaveName("bmp"), "bmp.bmp");
}

TEST(BmpSaveName, BmpAnywhereInAnyCaseKeepsTheName) {
  EXPECT_EQ(BmpSaveName("FRAME.BMP"), "FRAME.BMP");
  EXPECT_EQ(BmpSaveName("frame.bmp"), "frame.bmp");
  EXPECT_EQ(BmpSaveName("a.bmp.old"), "a.bmp.old");
  EXPECT_EQ(BmpSaveName("x.BmP"), "x.BmP");
  EXPECT_EQ(BmpSaveName("/data/.bmpfiles/pic"), "/data/.bmpfiles/pic");
}

}  // namespace
}  // namespace vesk
