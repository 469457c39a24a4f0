#include "core/effects/effect_source.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

constexpr ImageWindow kAll[] = {ImageWindow::kNone, ImageWindow::kFirst, ImageWindow::kSecond,
                                ImageWindow::kVesk};

TEST(EffectSource, SheetGlassFollowsTheActiveImageWindow) {
  EXPECT_EQ(SheetGlassSource(true, true, ImageWindow::kFirst),
            (EffectSource{ImageWindow::kFirst, false}));
  EXPECT_EQ(SheetGlassSource(true, true, ImageWindow::kSecond),
            (EffectSource{ImageWindow::kSecond, false}));
  EXPECT_EQ(SheetGlassSource(true, true, ImageWindow::kVesk),
            (EffectSource{ImageWindow::kFirst, true}));
  EXPECT_EQ(SheetGlassSource(true, true, ImageWindow::kNone),
            (EffectSource{ImageWindow::kFirst, true}));
  EXPECT_EQ(SheetGlassSource(true, false, ImageWindow::kVesk),
            (EffectSource{ImageWindow::kFirst, true}));
}

TEST(EffectSource, SheetGlassWithOnlyTheSecondImageUsesIt) {
  EXPECT_EQ(SheetGlassSource(false, true, ImageWindow::kSecond),
            (EffectSource{ImageWindow::kSecond, false}));
  EXPECT_EQ(SheetGlassSource(false, true, ImageWindow::kVesk),
            (EffectSource{ImageWindow::kSecond, true}));
  EXPECT_EQ(SheetGlassSource(false, true, ImageWindow::kNone),
            (EffectSource{ImageWindow::kSecond, true}));
}

TEST(EffectSource, FlagStreamingPrefersTheFirstImage) {
  EXPECT_EQ(FlagStreamingSource(true, true, ImageWindow::kFirst),
            (EffectSource{ImageWindow::kFirst, false}));
  EXPECT_EQ(FlagStreamingSource(true, true, ImageWindow::kSecond),
            (EffectSource{ImageWindow::kFirst, true}));
  EXPECT_EQ(FlagStreamingSource(true, false, ImageWindow::kVesk),
            (EffectSource{ImageWindow::kFirst, true}));
  EXPECT_EQ(FlagStreamingSource(false, true, ImageWindow::kSecond),
            (EffectSource{ImageWindow::kSecond, false}));
  EXPECT_EQ(FlagStreamingSource(false, true, ImageWindow::kVesk),
            (EffectSource{ImageWindow::kSecond, true}));
}

TEST(EffectSource, NoImageOpenGivesNoSource) {
  for (ImageWindow active : kAll) {
    EXPECT_EQ(SheetGlassSource(false, false, active).source, ImageWindow::kNone);
    EXPECT_EQ(FlagStreamingSource(false, false, active).source, ImageWindow::kNone);
  }
}

}  // namespace
}  // namespace vesk
