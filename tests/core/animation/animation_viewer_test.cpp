#include "core/animation/animation_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Button = AnimationViewer::PlayButton;
using Kind = ViewerMessage::Kind;

Color FrameColor(int k) { return MakeColor(40 * k, 255 - 30 * k, 7 * k); }

class Viewer : public testing_support::TempFolderTest {
 protected:
  // The list a.any of `names`; a name imagK.bmp not yet there is saved as a
  // 2 x 2 frame in FrameColor(K), unless `saved` is false.
  std::string List(const std::vector<std::string>& names, bool saved = true) {
    std::ofstream out(PathOf("a.any"), std::ios::binary);
    for (const std::string& name : names) {
      out << name << "\r\n";
      if (saved && name.rfind("imag", 0) == 0 && !fs::exists(PathOf(name))) {
        EXPECT_TRUE(SaveBmpFile(PathOf(name), Bitmap(2, 2, FrameColor(name[4] - '0'))).Ok());
      }
    }
    return PathOf("a.any");
  }
  std::string Frames(int n) {
    std::vector<std::string> names;
    for (int k = 1; k <= n; ++k) names.push_back("imag" + std::to_string(k) + ".bmp");
    return List(names);
  }
};

TEST_F(Viewer, LoadingKeepsEveryFrameInListOrderAndStartsPlaying) {
  fs::create_directories(dir_ / "sub");
  ASSERT_TRUE(SaveBmpFile(PathOf("sub/x.bmp"), Bitmap(3, 1, kBlack)).Ok());
  Frames(2);
  // Frames are only read: one the user made read-only plays.
  fs::permissions(PathOf("imag1.bmp"), fs::perms::owner_read, fs::perm_options::replace);
  AnimationViewer viewer;
  ASSERT_EQ(viewer.Load(List({"imag2.bmp", "sub/x.bmp", PathOf("imag1.bmp")}), dir_.string()),
            std::nullopt);
  ASSERT_EQ(viewer.FrameTotal(), 3);
  EXPECT_EQ(viewer.Frame(1).Pixel(0, 0), FrameColor(2));
  EXPECT_EQ(viewer.Frame(2).Width(), 3);
  EXPECT_EQ(viewer.SliderMaximum(), 3);
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
  EXPECT_EQ(std::pair(viewer.DownButton(), viewer.TimerEnabled()), std::pair(Button::kPlay, true));
  viewer.SetBackAndForth(true);
  viewer.Tick();
  ASSERT_EQ(viewer.Load(Frames(2), dir_.string()), std::nullopt);  // starts from scratch
  EXPECT_EQ(std::tuple(viewer.FrameTotal(), viewer.Step(), viewer.BackAndForth()),
            std::tuple(2, 1, false));
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
  // The buttons and the speed drive the timer: pause twice resumes, play while down releases
  // it but keeps playing.
  for (auto [pause, down, timer] : {std::tuple{true, Button::kPause, false},
                                    {true, Button::kPlay, true}, {false, Button::kNone, true}}) {
    pause ? viewer.PauseClicked() : viewer.PlayClicked();
    EXPECT_EQ(std::pair(viewer.DownButton(), viewer.TimerEnabled()), std::pair(down, timer));
  }
  EXPECT_EQ(viewer.TimerPeriodMs(), 100);
  for (auto [speed, period] : {std::pair{1, 1400}, {3, 1200}, {12, 300}, {14, 100}, {15, 1}}) {
    viewer.SpeedChanged(speed);
    EXPECT_EQ(viewer.TimerPeriodMs(), period);
  }
  using Size = ViewerWindowSize;  // the window grows to fit the first frame, never shrinks
  const std::pair<Size, Size> sizes[] = {{{179, 109}, {189, 265}}, {{180, 110}, {190, 266}},
                                         {{300, 20}, {310, 265}}, {{16, 200}, {189, 356}}};
  for (auto [frame, window] : sizes) {
    EXPECT_EQ(AnimationViewer::ActivationWindowSize({189, 265}, frame.width, frame.height),
              window);
  }
}

// A script on a freshly loaded list: 't' a timer tick, 'n' Play next frame,
// 'b' / 'f' back and forth checked / unchecked, a digit moves the slider.
TEST_F(Viewer, PlaybackFollowsTheSliderAndTheDirection) {
  struct Row { int frames; const char* script; std::vector<int> shown; const char* caption; };
  const Row rows[] = {
      {4, "ttttt", {2, 3, 4, 1, 2}, "2/4"},
      {4, "bttttttttttttt", {1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4, 4}, "4/4"},
      {6, "tttbttft", {2, 3, 4, 3, 2, 3}, "3/6"},
      {5, "t4t", {2, 5}, "5/5"},
      {1, "tttbtt", {1, 1, 1, 1, 1}, "1/1"},
      {4, "ttbnn", {2, 3, 2, 1}, "1/4"},
  };
  for (const Row& row : rows) {
    AnimationViewer viewer;
    ASSERT_EQ(viewer.Load(Frames(row.frames), dir_.string()), std::nullopt);
    std::vector<int> shown;
    for (const char* c = row.script; *c != '\0'; ++c) {
      if (*c == 't') shown.push_back(viewer.Tick());
      if (*c == 'n') shown.push_back(viewer.PlayNextClicked());
      if (*c == 'b' || *c == 'f') viewer.SetBackAndForth(*c == 'b');
      if (*c >= '0' && *c <= '9') viewer.SetSliderPosition(*c - '0');
    }
    EXPECT_EQ(shown, row.shown) << row.script;
    EXPECT_EQ(viewer.CounterCaption(), row.caption) << row.script;
    EXPECT_EQ(viewer.CurrentFrame(), shown.back()) << row.script;
    EXPECT_EQ(viewer.TimerEnabled(), std::string(row.script).back() != 'n') << row.script;
  }
}

// Names are all probed before any frame is loaded; on a failure nothing is
// kept and the viewer does not play.
TEST_F(Viewer, ListThatCannotBeShownGivesOneMessageAndKeepsNothing) {
  enum Break { kNothing, kRemove, kSpoil, kFolder };
  struct Row { std::vector<std::string> names; Break what; Kind kind; std::string text; };
  const Row rows[] = {
      {{"imag1.bmp", "imag2.bmp", "imag3.bmp"}, kRemove, Kind::kNotice,
       "In filelist imag3.bmp not found."},
      {{"imag1.bmp", "imag2.bmp", "imag3.bmp"}, kFolder, Kind::kNotice,
       "In filelist imag3.bmp not found."},
      {{"imag1.bmp", "", "imag2.bmp"}, kNothing, Kind::kNotice, "In filelist  not found."},
      {{"imag1.bmp", "imag2.bmp", "imag3.bmp"}, kSpoil, Kind::kError, "Bitmap image is not valid"},
      {{}, kNothing, Kind::kNotice, "Frame list " + PathOf("a.any") + " holds no frame."},
  };
  for (const Row& row : rows) {
    const std::string list = List(row.names);
    if (row.what == kRemove) fs::remove(PathOf("imag3.bmp"));
    if (row.what == kSpoil) std::ofstream(PathOf("imag3.bmp")) << "BM broken";
    if (row.what == kFolder) {  // a name that is no regular file; a locked file root reads
      fs::remove(PathOf("imag3.bmp"));
      fs::create_directory(PathOf("imag3.bmp"));
    }
    int loads = 0;
    AnimationViewer viewer;
    const auto count = [&](const std::string& path) { return ++loads, LoadBmpFile(path); };
    EXPECT_EQ(viewer.Load(list, dir_.string(), count), (ViewerMessage{row.kind, row.text}));
    EXPECT_EQ(loads, row.kind == Kind::kError ? 3 : 0) << row.text;
    EXPECT_TRUE(viewer.LoadFailed() && viewer.Frames().empty() && !viewer.TimerEnabled());
    EXPECT_EQ(viewer.Tick() + viewer.PlayNextClicked(), 0) << row.text;
    fs::remove(PathOf("imag3.bmp"));
  }
  AnimationViewer viewer;
  EXPECT_EQ(viewer.Load(PathOf("none.any"), dir_.string())->text,
            "Frame list " + PathOf("none.any") + " not found.");
  EXPECT_EQ(viewer.Load(List({"imag1.bmp"}), PathOf("none"))->text,
            "In filelist imag1.bmp not found.");  // names resolve against the folder
}

}  // namespace
}  // namespace vesk
