#include "core/effects/effect_source.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// Sheet Glass follows the active image window, Flag Streaming prefers the
// first image; with only the second open both use it; with none, nothing.
TEST(EffectSource, EachEffectPicksItsImage) {
  using W = ImageWindow;
  struct Row { bool flag, first, second; W active; EffectSource expected; };
  const Row rows[] = {
      {0, 1, 1, W::kFirst, {W::kFirst, 0}},   {0, 1, 1, W::kSecond, {W::kSecond, 0}},
      {0, 1, 1, W::kVesk, {W::kFirst, 1}},    {0, 1, 0, W::kNone, {W::kFirst, 1}},
      {0, 0, 1, W::kSecond, {W::kSecond, 0}}, {0, 0, 1, W::kVesk, {W::kSecond, 1}},
      {0, 0, 0, W::kFirst, {W::kNone, 0}},    {1, 1, 1, W::kFirst, {W::kFirst, 0}},
      {1, 1, 1, W::kSecond, {W::kFirst, 1}},  {1, 1, 0, W::kVesk, {W::kFirst, 1}},
      {1, 0, 1, W::kSecond, {W::kSecond, 0}}, {1, 0, 1, W::kVesk, {W::kSecond, 1}},
      {1, 0, 0, W::kSecond, {W::kNone, 0}}};
  for (const Row& r : rows) {
    EXPECT_EQ(r.flag ? FlagStreamingSource(r.first, r.second, r.active)
                     : SheetGlassSource(r.first, r.second, r.active),
              r.expected) << r.flag << r.first << r.second << int(r.active);
  }
}

}  // namespace
}  // namespace vesk
