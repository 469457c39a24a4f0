#include "core/image/bitmap.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(Bitmap, ReadOutsideAnswersInvalidColorAndWriteOutsideDoesNothing) {
  Bitmap b(3, 2, kBlack);
  b.SetPixel(2, 1, MakeColor(1, 2, 3));
  EXPECT_EQ(b.Pixel(2, 1), 0x030201u);
  EXPECT_EQ(b.Pixel(-1, 0), kInvalidColor);
  EXPECT_EQ(b.Pixel(3, 0), kInvalidColor);
  EXPECT_EQ(b.Pixel(0, 2), kInvalidColor);
  Bitmap before = b;
  b.SetPixel(3, 1, kWhite);
  b.SetPixel(0, -1, kWhite);
  EXPECT_EQ(b, before);
}

TEST(Bitmap, SizeLimitRefusesHugeAndNegativeSizes) {
  EXPECT_TRUE(CheckBitmapSize(32768, 8192).empty());
  EXPECT_FALSE(CheckBitmapSize(32769, 1).empty());
  EXPECT_FALSE(CheckBitmapSize(1, 32769).empty());
  EXPECT_FALSE(CheckBitmapSize(32768, 8193).empty());
  EXPECT_FALSE(CheckBitmapSize(-1, 5).empty());
  EXPECT_FALSE(Bitmap::Create(40000, 1).Ok());
  auto made = Bitmap::Create(2, 2, kBlack);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.Value().Pixel(1, 1), kBlack);
}

}  // namespace
}  // namespace vesk
