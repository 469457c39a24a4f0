#include "core/animation/animation_viewer.h"

#include <algorithm>
#include <filesystem>

#include "core/common/file_io.h"
#include "core/generate/frame_list.h"
#include "core/image/bmp_codec.h"

namespace vesk {

std::string ResolveFrameName(const std::string& folder, const std::string& name) {
  if (name.empty() || folder.empty()) return name;
  std::filesystem::path path(name);
  if (path.is_absolute()) return name;
  return (std::filesystem::path(folder) / path).string();
}

std::string FrameNotFoundMessage(const std::string& name) {
  return "In filelist " + name + " not found.";
}

void AnimationViewer::Fail() {
  load_failed_ = true;
  frames_.clear();
  frames_.shrink_to_fit();
  timer_enabled_ = false;
}

std::optional<ViewerMessage> AnimationViewer::Load(const std::string& list_path,
                                                   const std::string& folder,
                                                   const FrameLoader& loader) {
  *this = AnimationViewer();
  if (!FileReadable(list_path)) {
    Fail();
    return ViewerMessage{ViewerMessage::Kind::kNotice, "Frame list " + list_path + " not found."};
  }
  // The list is read once; both passes walk the same lines, so a list that
  // changes on disk in between cannot disagree with the frames array.
  Result<std::vector<std::string>> lines = ReadFrameListFile(list_path);
  if (!lines.Ok()) {
    Fail();
    return ViewerMessage{ViewerMessage::Kind::kError, lines.Message()};
  }
  if (lines.Value().empty()) {
    Fail();
    return ViewerMessage{ViewerMessage::Kind::kNotice,
                         "Frame list " + list_path + " holds no frame."};
  }

  // First pass: count and probe every name.
  frame_total_ = 0;
  for (const std::string& name : lines.Value()) {
    ++frame_total_;
    if (!FileReadable(ResolveFrameName(folder, name))) {
      Fail();
      return ViewerMessage{ViewerMessage::Kind::kNotice, FrameNotFoundMessage(name)};
    }
  }

  // Second pass: load every frame.
  frames_.reserve(static_cast<std::size_t>(frame_total_));
  for (const std::string& name : lines.Value()) {
    const std::string path = ResolveFrameName(folder, name);
    Result<Bitmap> frame = loader ? loader(path) : LoadBmpFile(path);
    if (!frame.Ok()) {
      std::string message = frame.Message();
      Fail();
      return ViewerMessage{ViewerMessage::Kind::kError, message};
    }
    frames_.push_back(std::move(frame).Value());
  }

  current_frame_ = 0;
  slider_position_ = 1;
  timer_enabled_ = true;
  step_ = 1;
  return std::nullopt;
}

void AnimationViewer::SetSliderPosition(int position) {
  slider_position_ = std::clamp(position, 1, SliderMaximum());
}

void AnimationViewer::SetBackAndForth(bool checked) {
  back_and_forth_ = checked;
  step_ = checked ? -1 : 1;
}

int AnimationViewer::Tick() {
  if (!Loaded()) return 0;
  int current = slider_position_ + step_;
  if (back_and_forth_) {
    if (current > frame_total_) {
      step_ = -step_;
      current = frame_total_;
    }
    if (current < 1) {
      step_ = -step_;
      current = 1;
    }
  } else {
    if (current > frame_total_) current = 1;
    if (current < 1) current = 1;  // not reached: forward play has Step +1
  }
  current_frame_ = current;
  slider_position_ = current;
  counter_caption_ = std::to_string(current) + "/" + std::to_string(frame_total_);
  return current;
}

int AnimationViewer::TimerPeriodForSpeed(int position) {
  position = std::clamp(position, kSpeedMinimum, kSpeedMaximum);
  int period = (kSpeedMaximum - position) * 100;
  return period == 0 ? 1 : period;
}

void AnimationViewer::SpeedChanged(int position) { timer_period_ms_ = TimerPeriodForSpeed(position); }

void AnimationViewer::PlayClicked() {
  down_button_ = down_button_ == PlayButton::kPlay ? PlayButton::kNone : PlayButton::kPlay;
  timer_enabled_ = Loaded();
}

void AnimationViewer::PauseClicked() {
  if (down_button_ == PlayButton::kPause) {
    down_button_ = PlayButton::kPlay;
    timer_enabled_ = Loaded();
  } else {
    down_button_ = PlayButton::kPause;
    timer_enabled_ = false;
  }
}

int AnimationViewer::PlayNextClicked() {
  down_button_ = PlayButton::kNone;
  timer_enabled_ = false;
  return Tick();
}

ViewerWindowSize AnimationViewer::ActivationWindowSize(ViewerWindowSize window, int frame_width,
                                                       int frame_height) {
  if (frame_width + 10 > window.width) window.width = frame_width + 10;
  if (frame_height + 156 > window.height) window.height = frame_height + 156;
  return window;
}

}  // namespace vesk
