// Sheet Glass, Colorize and Flag Streaming report the columns they paint, so
// a desktop can show the picture as it grows. A copy kept only from those
// reports, taken at each message processing as the desktop takes it, must
// equal every frame that the effect then shows as complete.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "core/effects/colorize.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"
#include "tests/core/support/random_image.h"

namespace vesk {
namespace {

class MirrorRun : public RunProtocol {
 public:
  int frames_compared = 0;

  void ColumnsPainted(const Bitmap& picture, int x_begin, int x_end) override {
    picture_ = &picture;
    begin_ = std::min(begin_, x_begin);
    end_ = std::max(end_, x_end);
  }
  void ProcessMessages() override { Flush(); }
  void ShowFrame(const Bitmap& frame) override {
    Flush();
    if (reported_) {
      EXPECT_TRUE(mirror_ == frame) << "frame " << frames_compared;
      ++frames_compared;
    }
    mirror_ = frame;  // the desktop shows a complete frame whole
    reported_ = false;
  }

 private:
  void Flush() {
    if (picture_ == nullptr || begin_ >= end_) return;
    if (mirror_.Width() != picture_->Width() || mirror_.Height() != picture_->Height()) {
      mirror_ = Bitmap(picture_->Width(), picture_->Height(), kInvalidColor);
    }
    for (int y = 0; y < picture_->Height(); ++y) {
      std::copy(picture_->Row(y) + begin_, picture_->Row(y) + end_, mirror_.Row(y) + begin_);
    }
    reported_ = true;
    begin_ = std::numeric_limits<int>::max();
    end_ = 0;
  }

  Bitmap mirror_;
  const Bitmap* picture_ = nullptr;
  int begin_ = std::numeric_limits<int>::max();
  int end_ = 0;
  bool reported_ = false;
};

TEST(ColumnsPainted, ReportsRebuildEveryFrameOfTheEffects) {
  const Bitmap first = testing_support::RandomImage(70, 20, 1);
  const Bitmap second = testing_support::RandomImage(50, 25, 2);
  const struct {
    const char* effect;
    int frames;
    std::function<Status(RunProtocol&, Bitmap&)> run;
  } rows[] = {
      {"Sheet Glass", 1, [&](RunProtocol& run, Bitmap& vesk) {
         return SheetGlass(first, 9, 7, run, vesk);
       }},
      {"Colorize", 3, [&](RunProtocol& run, Bitmap& vesk) {
         std::uint16_t frame_count = 4;
         return Colorize(first, second, frame_count, run, vesk);
       }},
      {"Flag Streaming", 3, [&](RunProtocol& run, Bitmap& vesk) {
         return FlagStreaming(first, FlagStreamingValues{3, 3, 5, 3}, run, vesk);
       }},
  };
  for (const auto& row : rows) {
    MirrorRun run;
    Bitmap vesk;
    ASSERT_TRUE(row.run(run, vesk).Ok()) << row.effect;
    EXPECT_EQ(run.frames_compared, row.frames) << row.effect;
  }
}

}  // namespace
}  // namespace vesk
