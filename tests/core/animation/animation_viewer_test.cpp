#include "core/animation/animation_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

Color FrameColor(int k) { return MakeColor(40 * k, 255 - 30 * k, 7 * k); }

class Viewer : public testing_support::TempFolderTest {
 protected:

  // imag1.bmp .. imagN.bmp in the folder, frame k of 2 x 2 in FrameColor(k).
  void SaveFrames(int n) {
    for (int k = 1; k <= n; ++k) {
      ASSERT_TRUE(SaveBmpFile(PathOf("imag" + std::to_string(k) + ".bmp"), Bitmap(2, 2, FrameColor(k))).Ok());
    }
  }
  // A list file with the given lines, each ended by CR LF.
  std::string WriteList(const std::vector<std::string>& lines, const std::string& name = "a.any") {
    std::ofstream out(PathOf(name), std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
    return PathOf(name);
  }
  std::string ListOf(int n) {
    std::vector<std::string> lines;
    for (int k = 1; k <= n; ++k) lines.push_back("imag" + std::to_string(k) + ".bmp");
    return WriteList(lines);
  }
  // Loads an n-frame list and answers the viewer.
  void LoadFrames(AnimationViewer& viewer, int n) {
    SaveFrames(n);
    std::optional<ViewerMessage> message = viewer.Load(ListOf(n), dir_.string());
    ASSERT_FALSE(message.has_value()) << message->text;
  }
};

TEST_F(Viewer, LoadingKeepsEveryFrameInListOrderAndStartsPlaying) {
  AnimationViewer viewer;
  LoadFrames(viewer, 4);
  EXPECT_FALSE(viewer.LoadFailed());
  ASSERT_EQ(viewer.FrameTotal(), 4);
  ASSERT_EQ(viewer.Frames().size(), 4u);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(viewer.Frame(k).Pixel(1, 1), FrameColor(k)) << k;
  EXPECT_EQ(viewer.CurrentFrame(), 0);
  EXPECT_EQ(viewer.Step(), 1);
  EXPECT_EQ(viewer.SliderPosition(), 1);
  EXPECT_EQ(viewer.SliderMaximum(), 4);
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
  EXPECT_TRUE(viewer.TimerEnabled());
  EXPECT_EQ(viewer.TimerPeriodMs(), 100);
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kPlay);
}

TEST_F(Viewer, ForwardPlayWrapsFromTheLastFrameToTheFirst) {
  AnimationViewer viewer;
  LoadFrames(viewer, 4);
  std::vector<int> shown = {1};  // frame 1 is shown at activation
  for (int i = 0; i < 5; ++i) shown.push_back(viewer.Tick());
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 1, 2}));
  EXPECT_EQ(viewer.CounterCaption(), "2/4");
  EXPECT_EQ(viewer.CurrentFrame(), 2);
  EXPECT_EQ(viewer.SliderPosition(), 2);
}

TEST_F(Viewer, BackAndForthShowsTheEndFramesTwiceAtEachTurn) {
  AnimationViewer viewer;
  LoadFrames(viewer, 4);
  viewer.SetBackAndForth(true);
  EXPECT_EQ(viewer.Step(), -1);
  std::vector<int> shown;
  for (int i = 0; i < 12; ++i) shown.push_back(viewer.Tick());
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4}));
  EXPECT_EQ(viewer.Tick(), 4);
  EXPECT_EQ(viewer.Step(), -1);
}

TEST_F(Viewer, CheckingBackAndForthMidListReversesAtOnce) {
  AnimationViewer viewer;
  LoadFrames(viewer, 6);
  viewer.Tick();
  viewer.Tick();
  EXPECT_EQ(viewer.Tick(), 4);
  viewer.SetBackAndForth(true);
  EXPECT_EQ(viewer.Tick(), 3);
  EXPECT_EQ(viewer.Tick(), 2);
  viewer.SetBackAndForth(false);
  EXPECT_EQ(viewer.Step(), 1);
  EXPECT_EQ(viewer.Tick(), 3);
}

TEST_F(Viewer, TheSliderIsTheSourceOfTheCurrentFrame) {
  AnimationViewer viewer;
  LoadFrames(viewer, 5);
  viewer.Tick();
  viewer.SetSliderPosition(4);
  EXPECT_EQ(viewer.Tick(), 5);
  EXPECT_EQ(viewer.CounterCaption(), "5/5");
  viewer.SetSliderPosition(99);  // a slider keeps to its range
  EXPECT_EQ(viewer.SliderPosition(), 5);
  viewer.SetSliderPosition(-3);
  EXPECT_EQ(viewer.SliderPosition(), 1);
}

TEST_F(Viewer, OneFrameListStaysOnFrameOneInBothModes) {
  AnimationViewer viewer;
  LoadFrames(viewer, 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(viewer.Tick(), 1);
    EXPECT_EQ(viewer.CounterCaption(), "1/1");
  }
  viewer.SetBackAndForth(true);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(viewer.Tick(), 1);
    EXPECT_EQ(viewer.CounterCaption(), "1/1");
  }
}

TEST_F(Viewer, MissingThirdFrameGivesExactlyOneMessageAndNoFrames) {
  SaveFrames(4);
  fs::remove(PathOf("imag3.bmp"));
  int loads = 0;
  FrameLoader counting = [&](const std::string& path) {
    ++loads;
    return LoadBmpFile(path);
  };
  AnimationViewer viewer;
  std::optional<ViewerMessage> message = viewer.Load(ListOf(4), dir_.string(), counting);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, (ViewerMessage{ViewerMessage::Kind::kNotice, "In filelist imag3.bmp not found."}));
  EXPECT_TRUE(viewer.LoadFailed());
  EXPECT_EQ(loads, 0);
  EXPECT_TRUE(viewer.Frames().empty());
  EXPECT_FALSE(viewer.TimerEnabled());
  EXPECT_EQ(viewer.Tick(), 0);
  EXPECT_EQ(viewer.PlayNextClicked(), 0);
}

TEST_F(Viewer, EmptyLineIsAFrameWithAnEmptyName) {
  SaveFrames(2);
  AnimationViewer viewer;
  auto message = viewer.Load(WriteList({"imag1.bmp", "", "imag2.bmp"}), dir_.string());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->text, "In filelist  not found.");
  EXPECT_TRUE(viewer.LoadFailed());
}

TEST_F(Viewer, ReadOnlyFramePlays) {
  SaveFrames(3);
  fs::permissions(PathOf("imag2.bmp"), fs::perms::owner_read, fs::perm_options::replace);
  AnimationViewer viewer;
  auto message = viewer.Load(ListOf(3), dir_.string());
  EXPECT_FALSE(message.has_value());
}

TEST_F(Viewer, NamesResolveAgainstTheGivenFolderUnlessAbsolute) {
  SaveFrames(2);
  fs::create_directories(dir_ / "sub");
  ASSERT_TRUE(SaveBmpFile((dir_ / "sub" / "x.bmp").string(), Bitmap(3, 1, kBlack)).Ok());
  AnimationViewer viewer;
  std::string list = WriteList({"imag2.bmp", "sub/x.bmp", PathOf("imag1.bmp")});
  auto message = viewer.Load(list, dir_.string());
  ASSERT_FALSE(message.has_value()) << message->text;
  EXPECT_EQ(viewer.Frame(1).Pixel(0, 0), FrameColor(2));
  EXPECT_EQ(viewer.Frame(2).Width(), 3);
  EXPECT_EQ(viewer.Frame(3).Pixel(0, 0), FrameColor(1));

  // Against another folder the same list finds nothing.
  AnimationViewer elsewhere;
  message = elsewhere.Load(list, (dir_ / "sub").string());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->text, "In filelist imag2.bmp not found.");
}

TEST_F(Viewer, ListThatCannotBeOpenedOrHoldsNoLineIsReported) {
  AnimationViewer viewer;
  std::string missing = PathOf("none.any");
  auto message = viewer.Load(missing, dir_.string());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, (ViewerMessage{ViewerMessage::Kind::kNotice, "Frame list " + missing + " not found."}));
  EXPECT_TRUE(viewer.LoadFailed());
  EXPECT_EQ(viewer.Tick(), 0);

  std::string empty = WriteList({});
  message = viewer.Load(empty, dir_.string());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->text, "Frame list " + empty + " holds no frame.");
  EXPECT_TRUE(viewer.LoadFailed());
  EXPECT_FALSE(viewer.TimerEnabled());
  EXPECT_EQ(viewer.Tick(), 0);
}

TEST_F(Viewer, FrameThatIsNotABitmapGivesTheLoadersMessageAndKeepsNothing) {
  SaveFrames(3);
  std::ofstream(PathOf("imag3.bmp"), std::ios::binary | std::ios::trunc) << "BM broken";
  AnimationViewer viewer;
  auto message = viewer.Load(ListOf(3), dir_.string());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, (ViewerMessage{ViewerMessage::Kind::kError, "Bitmap image is not valid"}));
  EXPECT_TRUE(viewer.LoadFailed());
  EXPECT_TRUE(viewer.Frames().empty());
  EXPECT_FALSE(viewer.Loaded());
  EXPECT_EQ(viewer.Tick(), 0);
}

TEST_F(Viewer, LoadingAgainStartsFromScratch) {
  AnimationViewer viewer;
  LoadFrames(viewer, 3);
  viewer.SetBackAndForth(true);
  viewer.Tick();
  viewer.Tick();
  auto message = viewer.Load(ListOf(2), dir_.string());
  ASSERT_FALSE(message.has_value());
  EXPECT_EQ(viewer.FrameTotal(), 2);
  EXPECT_EQ(viewer.Step(), 1);
  EXPECT_FALSE(viewer.BackAndForth());
  EXPECT_EQ(viewer.CounterCaption(), "1/1");
}

TEST(ViewerTimer, PeriodFollowsTheSpeedSlider) {
  EXPECT_EQ(AnimationViewer::TimerPeriodForSpeed(1), 1400);
  EXPECT_EQ(AnimationViewer::TimerPeriodForSpeed(12), 300);
  EXPECT_EQ(AnimationViewer::TimerPeriodForSpeed(14), 100);
  EXPECT_EQ(AnimationViewer::TimerPeriodForSpeed(15), 1);
  AnimationViewer viewer;
  EXPECT_EQ(viewer.TimerPeriodMs(), 100);  // as designed until the slider moves
  viewer.SpeedChanged(15);
  EXPECT_EQ(viewer.TimerPeriodMs(), 1);
  viewer.SpeedChanged(3);
  EXPECT_EQ(viewer.TimerPeriodMs(), 1200);
}

TEST_F(Viewer, PauseTwiceResumesWithPlayDown) {
  AnimationViewer viewer;
  LoadFrames(viewer, 3);
  viewer.PauseClicked();
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kPause);
  EXPECT_FALSE(viewer.TimerEnabled());
  viewer.PauseClicked();
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kPlay);
  EXPECT_TRUE(viewer.TimerEnabled());
}

TEST_F(Viewer, PlayWhileDownReleasesItButKeepsPlaying) {
  AnimationViewer viewer;
  LoadFrames(viewer, 3);
  viewer.PlayClicked();
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kNone);
  EXPECT_TRUE(viewer.TimerEnabled());
  viewer.PauseClicked();
  viewer.PlayClicked();
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kPlay);
  EXPECT_TRUE(viewer.TimerEnabled());
}

TEST_F(Viewer, PlayNextFrameStepsOnceAndStops) {
  AnimationViewer viewer;
  LoadFrames(viewer, 4);
  viewer.Tick();
  viewer.Tick();  // frame 3
  viewer.SetBackAndForth(true);
  EXPECT_EQ(viewer.PlayNextClicked(), 2);
  EXPECT_EQ(viewer.DownButton(), AnimationViewer::PlayButton::kNone);
  EXPECT_FALSE(viewer.TimerEnabled());
  EXPECT_EQ(viewer.PlayNextClicked(), 1);
  EXPECT_EQ(viewer.CounterCaption(), "1/4");
}

TEST(ViewerWindow, GrowsToFitTheFirstFrameButNeverShrinks) {
  using Size = ViewerWindowSize;
  EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, 100, 50), (Size{189, 265}));
  EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, 179, 109), (Size{189, 265}));
  EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, 180, 110), (Size{190, 266}));
  EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, 300, 20), (Size{310, 265}));
  EXPECT_EQ(AnimationViewer::ActivationWindowSize(Size{189, 265}, 16, 200), (Size{189, 356}));
}

TEST(ResolveFrameName, KeepsAbsoluteAndEmptyNames) {
  EXPECT_EQ(ResolveFrameName("/data/run", "imag1.bmp"), "/data/run/imag1.bmp");
  EXPECT_EQ(ResolveFrameName("/data/run", "/other/imag1.bmp"), "/other/imag1.bmp");
  EXPECT_EQ(ResolveFrameName("/data/run", ""), "");
  EXPECT_EQ(ResolveFrameName("", "imag1.bmp"), "imag1.bmp");
  EXPECT_EQ(FrameNotFoundMessage(""), "In filelist  not found.");
}

}  // namespace
}  // namespace vesk
