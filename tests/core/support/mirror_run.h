// A desktop's copy of the picture kept only from the reported painted
// columns, copied at each message processing; each frame shown as complete
// must equal the copy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "core/generate/run_protocol.h"

namespace vesk::testing_support {

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

}  // namespace vesk::testing_support
