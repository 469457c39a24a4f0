// vesk-batch colorize, flag and sheetglass: run the tool on small BMP files
// and compare the files it writes with the engines' own frames.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/effects/colorize.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"
#include "core/generate/run_protocol.h"
#include "core/image/bmp_codec.h"
#include "tests/batch/batch_test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

using testing::KeepFrames;

Bitmap RandomPicture(int width, int height, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bitmap image(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, random() & 0xFFFFFFu);
  }
  return image;
}

class EffectsCommands : public testing::BatchFolderTest {
 protected:
  void SetUp() override { UseFolder("vesk_effects_batch_"); }

  void SaveInput(const std::string& name, const Bitmap& image) {
    ASSERT_TRUE(SaveBmpFile(PathOf(name), image).Ok());
  }

  // Runs the tool in the test folder; answers its exit status and keeps
  // what it printed on standard error.
  int Run(const std::string& words) {
    const std::string command = "cd '" + dir_.string() + "' && '" + VESK_BATCH_EXE + "' " +
                                words + " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    std::ifstream err(PathOf("err.txt"));
    errors_.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Bitmap LoadFrame(const std::string& name) const {
    auto loaded = LoadBmpFile(PathOf(name));
    EXPECT_TRUE(loaded.Ok()) << name << ": " << (loaded.Ok() ? "" : loaded.Message());
    return loaded.Ok() ? loaded.Value() : Bitmap();
  }

  // Frame names of the folder's imag*.bmp files.
  int FrameFilesPresent() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      count += name.rfind("imag", 0) == 0 ? 1 : 0;
    }
    return count;
  }

  static std::string ListOf(int first, int last) {
    std::string text;
    for (int n = first; n <= last; ++n) text += "imag" + std::to_string(n) + ".bmp\r\n";
    return text;
  }

  std::string errors_;
};

TEST_F(EffectsCommands, ColorizeWritesFirstBlendsAndSecondListedInOrder) {
  const Bitmap first = RandomPicture(13, 9, 1);
  const Bitmap second = RandomPicture(13, 9, 2);
  SaveInput("first.bmp", first);
  SaveInput("second.bmp", second);
  ASSERT_EQ(Run("colorize first.bmp second.bmp --frames 4 --list fade.any"), 0) << errors_;
  EXPECT_EQ(FileText("fade.any"), ListOf(1, 5));

  KeepFrames expected;
  std::uint16_t frames = 4;
  Bitmap vesk;
  ASSERT_TRUE(Colorize(first, second, frames, expected, vesk).Ok());
  ASSERT_EQ(expected.frames.size(), 5u);
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(LoadFrame("imag" + std::to_string(n) + ".bmp"),
              expected.frames[static_cast<std::size_t>(n - 1)])
        << "frame " << n;
  }
  EXPECT_EQ(LoadFrame("imag1.bmp"), first);
  EXPECT_EQ(LoadFrame("imag5.bmp"), second);
}

TEST_F(EffectsCommands, ColorizeGoldenRedStepsAndFrameCountOneRaised) {
  SaveInput("black.bmp", Bitmap(4, 3, MakeColor(0, 0, 0)));
  SaveInput("red.bmp", Bitmap(4, 3, MakeColor(255, 0, 0)));
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 4 --list a.any"), 0) << errors_;
  EXPECT_EQ(LoadFrame("imag2.bmp").Pixel(1, 1), MakeColor(63, 0, 0));
  EXPECT_EQ(LoadFrame("imag3.bmp").Pixel(1, 1), MakeColor(127, 0, 0));
  EXPECT_EQ(LoadFrame("imag4.bmp").Pixel(1, 1), MakeColor(191, 0, 0));

  // A second run into the same folder continues after the frames there.
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 1 --list b"), 0) << errors_;
  EXPECT_EQ(FileText("b.any"), ListOf(6, 8));
  EXPECT_EQ(LoadFrame("imag7.bmp").Pixel(0, 0), MakeColor(127, 0, 0));
  EXPECT_EQ(FileText("a.any"), ListOf(1, 5));
}

TEST_F(EffectsCommands, ColorizeWithoutListWritesNothing) {
  SaveInput("first.bmp", RandomPicture(5, 5, 3));
  SaveInput("second.bmp", RandomPicture(6, 4, 4));
  ASSERT_EQ(Run("colorize first.bmp second.bmp"), 0) << errors_;
  EXPECT_EQ(FrameFilesPresent(), 0);
}

TEST_F(EffectsCommands, ColorizeRefusesBadCountsAndMissingImages) {
  SaveInput("first.bmp", RandomPicture(5, 5, 5));
  EXPECT_EQ(Run("colorize first.bmp"), 2);
  EXPECT_EQ(Run("colorize first.bmp first.bmp --frames 0"), 2);
  EXPECT_NE(errors_.find("--frames must be a whole number from 1 to 100"), std::string::npos)
      << errors_;
  EXPECT_EQ(Run("colorize first.bmp first.bmp --frames 101"), 2);
  EXPECT_EQ(Run("colorize first.bmp missing.bmp --list x.any"), 1);
  EXPECT_EQ(errors_.find('\n'), errors_.size() - 1) << "one line: " << errors_;
  EXPECT_FALSE(fs::exists(PathOf("x.any")));
  EXPECT_EQ(FrameFilesPresent(), 0);
}

TEST_F(EffectsCommands, FlagWritesFramesLargerByTwiceTheRadius) {
  const Bitmap image = RandomPicture(20, 11, 6);
  SaveInput("flag.bmp", image);
  ASSERT_EQ(Run("flag flag.bmp --frames 3 --radius 5 --hq 2 --vq 7 --list wave.any"), 0)
      << errors_;
  EXPECT_EQ(FileText("wave.any"), ListOf(1, 3));

  KeepFrames expected;
  FlagStreamingValues values;
  values.flag_radius = 5;
  values.horz_quotient = 2;
  values.vert_quotient = 7;
  values.frame_count = 3;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(image, values, expected, vesk).Ok());
  for (int n = 1; n <= 3; ++n) {
    const Bitmap frame = LoadFrame("imag" + std::to_string(n) + ".bmp");
    EXPECT_EQ(frame.Width(), 30);
    EXPECT_EQ(frame.Height(), 21);
    EXPECT_EQ(frame, expected.frames[static_cast<std::size_t>(n - 1)]) << "frame " << n;
  }
}

TEST_F(EffectsCommands, FlagDefaultsGiveTwelveFramesOfRadiusTen) {
  SaveInput("flag.bmp", RandomPicture(8, 6, 7));
  ASSERT_EQ(Run("flag flag.bmp --list wave.any"), 0) << errors_;
  EXPECT_EQ(FileText("wave.any"), ListOf(1, 12));
  const Bitmap last = LoadFrame("imag12.bmp");
  EXPECT_EQ(last.Width(), 28);
  EXPECT_EQ(last.Height(), 26);
}

TEST_F(EffectsCommands, FlagRefusesOutOfRangeValuesAndOversizedFrames) {
  SaveInput("flag.bmp", RandomPicture(8, 6, 8));
  EXPECT_EQ(Run("flag flag.bmp --radius 0"), 2);
  EXPECT_EQ(Run("flag flag.bmp --hq 11"), 2);
  EXPECT_EQ(Run("flag flag.bmp --vq -1"), 2);
  EXPECT_EQ(Run("flag flag.bmp --frames 3 extra.bmp"), 2);

  SaveInput("wide.bmp", Bitmap(32760, 1, kBlack));
  EXPECT_EQ(Run("flag wide.bmp --radius 5 --list wide.any"), 1);
  EXPECT_NE(errors_.find("Bitmap is too large"), std::string::npos) << errors_;
  EXPECT_FALSE(fs::exists(PathOf("wide.any")));
  EXPECT_EQ(FrameFilesPresent(), 0);
}

TEST_F(EffectsCommands, SheetGlassSavesThePictureOfTheSourceSize) {
  const Bitmap image = RandomPicture(50, 40, 9);
  SaveInput("glass.bmp", image);
  ASSERT_EQ(Run("sheetglass glass.bmp --out result.bmp --sheet 7 5"), 0) << errors_;
  KeepFrames run;
  Bitmap expected;
  ASSERT_TRUE(SheetGlass(image, 7, 5, run, expected).Ok());
  const Bitmap written = LoadFrame("result.bmp");
  EXPECT_EQ(written.Width(), 50);
  EXPECT_EQ(written.Height(), 40);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(FrameFilesPresent(), 0);
}

TEST_F(EffectsCommands, SheetGlassDefaultSheetIs36) {
  Bitmap image(200, 100, kBlack);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) image.SetPixel(x, y, MakeColor(x, y, 0));
  }
  SaveInput("wide.bmp", image);
  ASSERT_EQ(Run("sheetglass wide.bmp --out result.bmp"), 0) << errors_;
  const Bitmap written = LoadFrame("result.bmp");
  EXPECT_EQ(RedOf(written.Pixel(10, 50)), 16);
  EXPECT_EQ(RedOf(written.Pixel(40, 50)), 36);
}

TEST_F(EffectsCommands, SheetGlassNeedsOutAndKeepsTheOldFileOnBadInput) {
  SaveInput("glass.bmp", RandomPicture(6, 6, 10));
  EXPECT_EQ(Run("sheetglass glass.bmp"), 2);
  EXPECT_NE(errors_.find("--out"), std::string::npos) << errors_;
  EXPECT_EQ(Run("sheetglass glass.bmp --out r.bmp --sheet 5"), 2);
  EXPECT_EQ(Run("sheetglass glass.bmp --out r.bmp --sheet 5 101"), 2);
  EXPECT_FALSE(fs::exists(PathOf("r.bmp")));

  std::ofstream(PathOf("broken.bmp"), std::ios::binary) << "BM not really";
  std::ofstream(PathOf("keep.bmp"), std::ios::binary) << "old";
  EXPECT_EQ(Run("sheetglass broken.bmp --out keep.bmp"), 1);
  EXPECT_NE(errors_.find("Bitmap image is not valid"), std::string::npos) << errors_;
  EXPECT_EQ(FileText("keep.bmp"), "old");
}

}  // namespace
}  // namespace vesk
