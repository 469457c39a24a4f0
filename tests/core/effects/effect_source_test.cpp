#include "core/effects/effect_source.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// Sheet Glass follows the active image window, Flag Streaming prefers the
// first image; with only the second open both use it; with none, nothing.
TEST(EffectSource, EachEffectPicksItsImage) {
  using W = ImageWindow;
  struct Row { bool flag, first_open, second_open; W active; EffectSource expected; };
  const Row rows[] = {
      {false, true, true, W::kFirst, {W::kFirst, false}},
      {false, true, true, W::kSecond, {W::kSecond, false}},
      {false, true, true, W::kVesk, {W::kFirst, true}},
      {false, true, false, W::kNone, {W::kFirst, true}},
      {false, false, true, W::kSecond, {W::kSecond, false}},
      {false, false, true, W::kVesk, {W::kSecond, true}},
      {false, false, false, W::kFirst, {W::kNone, false}},
      {true, true, true, W::kFirst, {W::kFirst, false}},
      {true, true, true, W::kSecond, {W::kFirst, true}},
      {true, true, false, W::kVesk, {W::kFirst, true}},
      {true, false, true, W::kSecond, {W::kSecond, false}},
      {true, false, true, W::kVesk, {W::kSecond, true}},
      {true, false, false, W::kSecond, {W::kNone, false}},
  };
  for (const Row& r : rows) {
    const EffectSource got = r.flag ? FlagStreamingSource(r.first_open, r.second_open, r.active)
                                    : SheetGlassSource(r.first_open, r.second_open, r.active);
    EXPECT_EQ(got, r.expected) << (r.flag ? "flag " : "glass ") << int(r.active);
  }
}

}  // namespace
}  // namespace vesk
