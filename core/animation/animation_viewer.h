// The animation viewer's logic without its window: loading a frame list
// into memory, the tick that advances the playback (forward, or back and
// forth), the frame slider as the source of the current frame, the frame
// counter, the timer and the Play / Pause / Play-next-frame button group.
// The window mirrors this state in its widgets and shows its messages.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// A message the viewer wants shown: a plain notice (OK button, the
// program's title as caption) or an error report (stop icon).
struct ViewerMessage {
  enum class Kind { kNotice, kError };
  Kind kind = Kind::kNotice;
  std::string text;
  bool operator==(const ViewerMessage&) const = default;
};

// Loads one frame file; LoadBmpFile unless a test gives another.
using FrameLoader = std::function<Result<Bitmap>(const std::string&)>;

// A frame name of a list as a path: absolute names and names without a
// folder to resolve against are used as they are; others are taken in
// `folder`. The empty name stays empty (a name that is never found).
std::string ResolveFrameName(const std::string& folder, const std::string& name);

// "In filelist " + name + " not found."
std::string FrameNotFoundMessage(const std::string& name);

struct ViewerWindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const ViewerWindowSize&) const = default;
};

class AnimationViewer {
 public:
  // Speed slider and timer as designed.
  static constexpr int kSpeedMinimum = 1;
  static constexpr int kSpeedMaximum = 15;
  static constexpr int kInitialSpeed = 12;
  static constexpr int kInitialTimerPeriodMs = 100;

  enum class PlayButton { kNone, kPlay, kPause, kNext };

  // Loads the list at `list_path` (frame names resolved against `folder`),
  // in two passes: first every name is probed with FileReadable, then every
  // frame is loaded. Answers the message to show when the viewer must not
  // be shown; LoadFailed() is then true and nothing is kept:
  //  - a list that cannot be opened: "Frame list <path> not found.";
  //  - a list without a line: "Frame list <path> holds no frame.";
  //  - a name not found: "In filelist <name> not found." (the name as read);
  //  - a list or frame that cannot be read: the reader's message, as error.
  std::optional<ViewerMessage> Load(const std::string& list_path, const std::string& folder,
                                    const FrameLoader& loader = {});

  bool LoadFailed() const { return load_failed_; }
  bool Loaded() const { return !load_failed_ && !frames_.empty(); }
  int FrameTotal() const { return frame_total_; }
  const std::vector<Bitmap>& Frames() const { return frames_; }
  // Frame k, 1-based (1..FrameTotal); only while Loaded().
  const Bitmap& Frame(int k) const { return frames_[static_cast<std::size_t>(k - 1)]; }
  // The frame the last tick showed; 0 after loading.
  int CurrentFrame() const { return current_frame_; }
  // +1 forward, -1 backward.
  int Step() const { return step_; }

  // The frame slider (range 1..FrameTotal; positions outside are clamped).
  int SliderPosition() const { return slider_position_; }
  void SetSliderPosition(int position);
  int SliderMaximum() const { return frame_total_ > 0 ? frame_total_ : 1; }

  // The frame counter: "1/1" until the first tick, then "k/n".
  const std::string& CounterCaption() const { return counter_caption_; }

  // The Back & Forth box: checking it turns the playback backward at once,
  // clearing it forward.
  bool BackAndForth() const { return back_and_forth_; }
  void SetBackAndForth(bool checked);

  // One step of the playback: answers the frame to show now (1-based), or
  // 0 when nothing happens (nothing loaded).
  int Tick();

  // The timer.
  bool TimerEnabled() const { return timer_enabled_; }
  int TimerPeriodMs() const { return timer_period_ms_; }
  // The speed slider moved: period (15 - position) x 100 ms, 1 ms at 15.
  void SpeedChanged(int position);
  static int TimerPeriodForSpeed(int position);

  // The button group; all three may be up at once.
  PlayButton DownButton() const { return down_button_; }
  // Play: toggles the Play button and keeps the timer running.
  void PlayClicked();
  // Pause: pressed, stops the timer; released, presses Play and restarts it.
  void PauseClicked();
  // Play next frame: no button stays down, the timer stops, one tick runs
  // (its answer is the tick's).
  int PlayNextClicked();

  // Window size after activation with a frame of the given size: the
  // window only grows, to the frame's width + 10 and height + 156.
  static ViewerWindowSize ActivationWindowSize(ViewerWindowSize window, int frame_width,
                                               int frame_height);

 private:
  void Fail();

  bool load_failed_ = false;
  int frame_total_ = 0;
  std::vector<Bitmap> frames_;
  int current_frame_ = 0;
  int step_ = 1;
  int slider_position_ = 1;
  std::string counter_caption_ = "1/1";
  bool back_and_forth_ = false;
  bool timer_enabled_ = false;
  int timer_period_ms_ = kInitialTimerPeriodMs;
  PlayButton down_button_ = PlayButton::kPlay;
};

}  // namespace vesk
