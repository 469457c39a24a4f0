// A run protocol for the engine tests: logs every call in order, keeps the
// frames shown and written, and requests the cancel or fails a write at an exact point.
// Like a desktop, it also keeps a copy of the picture only from the reported
// painted columns, copied at each message processing: each complete frame
// shown after a report must equal the copy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/generate/run_protocol.h"

namespace vesk::testing_support {

class RecordingRun : public RunProtocol {
 public:
  std::vector<std::string> events;
  std::vector<Bitmap> shown, written;
  int messages = 0;  // ProcessMessages calls so far
  int frames_mirrored = 0;  // frames shown that the reported columns rebuilt
  // The user presses Kancel during ProcessMessages call `cancel_at_message`
  // (0-based, over the whole run), or during the one that follows InnerBar
  // call `cancel_inner` (1-based) after Counter(`cancel_frame`, n).
  int cancel_at_message = -1;
  int cancel_frame = -1000;
  int cancel_inner = -1;
  int fail_write = -1;  // this WriteFrame call (0-based) fails

  void Begin() override {
    cancelled_ = false;
    events.push_back("Begin");
  }
  void Counter(int k, int n) override {
    frame_ = k;
    inner_ = 0;
    events.push_back("Counter " + std::to_string(k) + "/" + std::to_string(n));
  }
  void InnerBar(int percent) override {
    ++inner_;
    events.push_back("Inner " + std::to_string(percent));
  }
  void ColumnsPainted(const Bitmap& picture, int x_begin, int x_end) override {
    picture_ = &picture;
    begin_ = std::min(begin_, x_begin);
    end_ = std::max(end_, x_end);
  }
  void ProcessMessages() override {
    Mirror();
    if (messages++ == cancel_at_message || (frame_ == cancel_frame && inner_ == cancel_inner)) {
      cancelled_ = true;
    }
    events.push_back("Msg");
  }
  bool CancelRequested() override { return cancelled_; }
  void EqualizationBegin() override { events.push_back("EqualizationBegin"); }
  void EqualizationEnd() override { events.push_back("EqualizationEnd"); }
  void ShowFrame(const Bitmap& frame) override {
    Mirror();
    const bool whole = reported_ && !cancelled_;  // a cancelled frame is shown as it stands
    frames_mirrored += whole;
    EXPECT_TRUE(!whole || mirror_ == frame) << "shown frame " << shown.size();
    mirror_ = frame;  // the desktop shows a frame whole
    reported_ = false;
    shown.push_back(frame);
    events.push_back("Show");
  }
  Status WriteFrame(const Bitmap& frame) override {
    events.push_back("Write");
    if (writes_++ == fail_write) return Failure{"Cannot write imag" + std::to_string(writes_)};
    written.push_back(frame);
    return Status::Success();
  }
  void End() override { events.push_back("End"); }

  // The events starting with `prefix`, leaving out the equalization passes'
  // own progress.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& e : events) {
      if (e == "EqualizationEnd") inside = false;
      if (!inside && e.rfind(prefix, 0) == 0) out.push_back(e);
      if (e == "EqualizationBegin") inside = true;
    }
    return out;
  }

 private:
  void Mirror() {
    if (picture_ == nullptr || begin_ >= end_) return;
    if (mirror_.Width() != picture_->Width() || mirror_.Height() != picture_->Height()) {
      mirror_ = Bitmap(picture_->Width(), picture_->Height(), kInvalidColor);
    }
    for (int y = 0; y < picture_->Height(); ++y) {
      std::copy(picture_->Row(y) + begin_, picture_->Row(y) + end_, mirror_.Row(y) + begin_);
    }
    reported_ = true;
    begin_ = INT_MAX;
    end_ = 0;
  }

  Bitmap mirror_;
  const Bitmap* picture_ = nullptr;
  int begin_ = INT_MAX, end_ = 0;
  bool reported_ = false;
  int frame_ = -1, inner_ = 0, writes_ = 0;
  bool cancelled_ = false;
};

}  // namespace vesk::testing_support
