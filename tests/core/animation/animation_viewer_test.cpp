#include "core/animation/animation_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Button = AnimationViewer::PlayButton;

Color FrameColor(int k) { return MakeColor(40 * k, 255 - 30 * k, 7 * k); }

class Viewer : public testing_support::TempFolderTest {
 protected:
  // imag1.bmp .. imagN.bmp, frame k of 2 x 2 in FrameColor(k), and their list.
  std::string SaveFrames(int n) {
    std::vector<std::string> names;
    for (int k = 1; k <= n; ++k) {
      names.push_back("imag" + std::to_string(k) + ".bmp");
      EXPECT_TRUE(SaveBmpFile(PathOf(names.back()), Bitmap(2, 2, FrameColor(k))).Ok());
    }
    return WriteList(names);
  }
  std::string WriteList(const std::vector<std::string>& lines) {
    std::ofstream out(PathOf("a.any"), std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
    return PathOf("a.any");
  }
};

TEST_F(Viewer, LoadingKeepsEveryFrameInListOrderAndStartsPlaying) {
  fs::create_directories(dir_ / "sub");
  SaveFrames(2);
  ASSERT_TRUE(SaveBmpFile(PathOf("sub/x.bmp"), Bitmap(3, 1, kBlack)).Ok());
  const std::string list = WriteList({"imag2.bmp", "sub/x.bmp", PathOf("imag1.bmp")});
  AnimationViewer viewer;
  ASSERT_EQ(viewer.Load(list, dir_.string()), std::nullopt);
  ASSERT_EQ(viewer.FrameTotal(), 3);
  EXPECT_EQ(viewer.Frame(1).Pixel(0, 0), FrameColor(2));
  EXPECT_EQ(viewer.Frame(2).Width(), 3);
  EXPECT_EQ(viewer.Frame(3).Pixel(0, 0), FrameColor(1));
  EXPECT_EQ(viewer.SliderPosition(), 1);
  EXPECT_EQ(viewer.SliderMaximum(), 3);
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
  EXPECT_TRUE(viewer.TimerEnabled());
  EXPECT_EQ(viewer.TimerPeriodMs(), 100);
  EXPECT_EQ(viewer.DownButton(), Button::kPlay);
  // Against another folder the same list finds nothing.
  EXPECT_EQ(viewer.Load(list, (dir_ / "sub").string())->text, "In filelist imag2.bmp not found.");
  // Loading again starts from scratch.
  viewer.SetBackAndForth(true);
  viewer.Tick();
  ASSERT_EQ(viewer.Load(SaveFrames(2), dir_.string()), std::nullopt);
  EXPECT_EQ(viewer.FrameTotal(), 2);
  EXPECT_EQ(viewer.Step(), 1);
  EXPECT_FALSE(viewer.BackAndForth());
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
}

// A script on a freshly loaded list: 't' a timer tick, 'n' Play next frame,
// 'b' / 'f' back and forth checked / unchecked, a digit moves the slider.
// Ticks and Play next show the frames listed.
TEST_F(Viewer, PlaybackFollowsTheSliderAndTheDirection) {
  struct Row { const char* name; int frames; const char* script; std::vector<int> shown;
               const char* caption; };
  const Row rows[] = {
      {"forward wraps to the first frame", 4, "ttttt", {2, 3, 4, 1, 2}, "2/4"},
      {"back and forth shows the ends twice", 4, "bttttttttttttt",
       {1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4, 4}, "4/4"},
      {"turning mid-list reverses at once", 6, "tttbttft", {2, 3, 4, 3, 2, 3}, "3/6"},
      {"the slider is the current frame", 5, "t4t", {2, 5}, "5/5"},
      {"one frame stays on frame 1", 1, "tttbtt", {1, 1, 1, 1, 1}, "1/1"},
      {"play next steps once", 4, "ttbnn", {2, 3, 2, 1}, "1/4"},
  };
  for (const Row& row : rows) {
    AnimationViewer viewer;
    ASSERT_EQ(viewer.Load(SaveFrames(row.frames), dir_.string()), std::nullopt);
    std::vector<int> shown;
    for (const char* c = row.script; *c != '\0'; ++c) {
      if (*c == 't') shown.push_back(viewer.Tick());
      if (*c == 'n') shown.push_back(viewer.PlayNextClicked());
      if (*c == 'b' || *c == 'f') viewer.SetBackAndForth(*c == 'b');
      if (*c >= '0' && *c <= '9') viewer.SetSliderPosition(*c - '0');
    }
    EXPECT_EQ(shown, row.shown) << row.name;
    EXPECT_EQ(viewer.CounterCaption(), row.caption) << row.name;
    EXPECT_EQ(viewer.CurrentFrame(), shown.back()) << row.name;
    EXPECT_EQ(viewer.TimerEnabled(), std::string(row.script).back() != 'n') << row.name;
  }
}

TEST_F(Viewer, ListThatCannotBeShownGivesOneMessageAndKeepsNothing) {
  using Kind = ViewerMessage::Kind;
  struct Row { const char* name; std::function<std::string()> make; ViewerMessage message; };
  const Row rows[] = {
      {"missing frame", [&] { const std::string l = SaveFrames(4); fs::remove(PathOf("imag3.bmp"));
                              return l; }, {Kind::kNotice, "In filelist imag3.bmp not found."}},
      {"read-only frame", [&] { const std::string l = SaveFrames(3);
         fs::permissions(PathOf("imag2.bmp"), fs::perms::owner_read, fs::perm_options::replace);
         return l; }, {Kind::kNotice, "In filelist imag2.bmp not found."}},
      {"empty name", [&] { SaveFrames(2); return WriteList({"imag1.bmp", "", "imag2.bmp"}); },
       {Kind::kNotice, "In filelist  not found."}},
      {"not a bitmap", [&] { const std::string l = SaveFrames(3);
         std::ofstream(PathOf("imag3.bmp"), std::ios::trunc) << "BM broken";
         return l; }, {Kind::kError, "Bitmap image is not valid"}},
      {"no list", [&] { return PathOf("none.any"); },
       {Kind::kNotice, "Frame list " + PathOf("none.any") + " not found."}},
      {"empty list", [&] { return WriteList({}); },
       {Kind::kNotice, "Frame list " + PathOf("a.any") + " holds no frame."}},
  };
  for (const Row& row : rows) {
    const std::string list = row.make();
    int loads = 0;
    AnimationViewer viewer;
    EXPECT_EQ(viewer.Load(list, dir_.string(), [&](const std::string& path) {
      ++loads;
      return LoadBmpFile(path);
    }), row.message) << row.name;
    EXPECT_EQ(loads, row.message.kind == Kind::kNotice ? 0 : 3) << row.name;  // names first
    EXPECT_TRUE(viewer.LoadFailed()) << row.name;
    EXPECT_TRUE(viewer.Frames().empty()) << row.name;
    EXPECT_FALSE(viewer.TimerEnabled()) << row.name;
    EXPECT_EQ(viewer.Tick(), 0) << row.name;
    EXPECT_EQ(viewer.PlayNextClicked(), 0) << row.name;
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
}

TEST_F(Viewer, ButtonsAndSpeedDriveTheTimer) {
  AnimationViewer viewer;
  ASSERT_EQ(viewer.Load(SaveFrames(3), dir_.string()), std::nullopt);
  viewer.PauseClicked();
  EXPECT_EQ(viewer.DownButton(), Button::kPause);
  EXPECT_FALSE(viewer.TimerEnabled());
  viewer.PauseClicked();  // pause twice resumes
  EXPECT_EQ(viewer.DownButton(), Button::kPlay);
  EXPECT_TRUE(viewer.TimerEnabled());
  viewer.PlayClicked();  // play while down releases it but keeps playing
  EXPECT_EQ(viewer.DownButton(), Button::kNone);
  EXPECT_TRUE(viewer.TimerEnabled());
  for (auto [speed, period] : {std::pair{1, 1400}, {3, 1200}, {12, 300}, {14, 100}, {15, 1}}) {
    EXPECT_EQ(AnimationViewer::TimerPeriodForSpeed(speed), period);
    viewer.SpeedChanged(speed);
    EXPECT_EQ(viewer.TimerPeriodMs(), period);
  }
}

TEST(ViewerWindow, GrowsToFitTheFirstFrameButNeverShrinks) {
  using Size = ViewerWindowSize;
  const std::pair<Size, Size> rows[] = {{{100, 50}, {189, 265}}, {{179, 109}, {189, 265}},
                                        {{180, 110}, {190, 266}}, {{300, 20}, {310, 265}},
                                        {{16, 200}, {189, 356}}};
  for (auto [frame, window] : rows) {
    EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, frame.width, frame.height),
              window) << frame.width << " x " << frame.height;
  }
  EXPECT_EQ(ResolveFrameName("/data/run", "imag1.bmp"), "/data/run/imag1.bmp");
  EXPECT_EQ(ResolveFrameName("/data/run", "/other/imag1.bmp"), "/other/imag1.bmp");
  EXPECT_EQ(ResolveFrameName("/data/run", ""), "");
  EXPECT_EQ(ResolveFrameName("", "imag1.bmp"), "imag1.bmp");
}

}  // namespace
}  // namespace vesk
