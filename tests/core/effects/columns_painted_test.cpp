// The reported painted columns rebuild every frame the effects show.
#include <gtest/gtest.h>

#include <functional>

#include "core/effects/colorize.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"
#include "tests/core/support/mirror_run.h"
#include "tests/core/support/random_image.h"

namespace vesk {
namespace {

TEST(ColumnsPainted, ReportsRebuildEveryFrameOfTheEffects) {
  const Bitmap first = testing_support::RandomImage(70, 20, 1);
  const Bitmap second = testing_support::RandomImage(50, 25, 2);
  std::uint16_t frame_count = 4;
  const struct {
    const char* effect;
    int frames;
    std::function<Status(RunProtocol&, Bitmap&)> run;
  } rows[] = {
      {"Sheet Glass", 1, [&](RunProtocol& r, Bitmap& v) { return SheetGlass(first, 9, 7, r, v); }},
      {"Colorize", 3,
       [&](RunProtocol& r, Bitmap& v) { return Colorize(first, second, frame_count, r, v); }},
      {"Flag Streaming", 3,
       [&](RunProtocol& r, Bitmap& v) { return FlagStreaming(first, {3, 3, 5, 3}, r, v); }},
  };
  for (const auto& row : rows) {
    testing_support::MirrorRun run;
    Bitmap vesk;
    ASSERT_TRUE(row.run(run, vesk).Ok()) << row.effect;
    EXPECT_EQ(run.frames_compared, row.frames) << row.effect;
  }
}

}  // namespace
}  // namespace vesk
