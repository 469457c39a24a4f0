// vesk-batch colorize, flag and avi: the options reach the engines and the
// files written are the engines' pictures.
#include "core/effects/colorize.h"
#include "core/effects/flag_streaming.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

class EffectsCommands : public BatchTest {
 protected:
  static Bitmap Gradient(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) picture.SetPixel(x, y, MakeColor(x * 5, y * 3, x ^ y));
    }
    return picture;
  }
};

TEST_F(EffectsCommands, ColorizeBlendsAndRaisesOneFrameToTwo) {
  Save("black.bmp", Bitmap(4, 3, kBlack));
  Save("red.bmp", Bitmap(4, 3, MakeColor(255, 0, 0)));
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 4 --list out/a.any"), 0) << err_;
  EXPECT_EQ(Text("out/a.any"), ListOf(1, 5));
  const int reds[] = {0, 63, 127, 191, 255};
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(Load("out/imag" + std::to_string(n) + ".bmp").Pixel(1, 1),
              MakeColor(reds[n - 1], 0, 0));
  }
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 1 --list out/b"), 0) << err_;
  EXPECT_EQ(Text("out/b.any"), ListOf(6, 8));
}

TEST_F(EffectsCommands, FlagFramesGrowByTwiceTheRadius) {
  const Bitmap image = Gradient(20, 11);
  Save("flag.bmp", image);
  ASSERT_EQ(Run("flag flag.bmp --frames 3 --radius 5 --hq 2 --vq 7 --list out/w.any"), 0) << err_;
  EXPECT_EQ(Text("out/w.any"), ListOf(1, 3));
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(image, {5, 2, 7, 3}, engine, vesk).Ok());
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(Load("out/imag" + std::to_string(n) + ".bmp"), engine.frames.at(n - 1));
  }
}

TEST_F(EffectsCommands, AviWritesTheListedFrames) {
  std::ofstream list(Path("out/list.any"), std::ios::binary);
  for (int k = 1; k <= 5; ++k) {
    Save("out/imag" + std::to_string(k) + ".bmp", Bitmap(8, 6, MakeColor(k, 2 * k, 3 * k)));
    list << "imag" << k << ".bmp\r\n";
  }
  list.close();
  ASSERT_EQ(Run("avi out/list.any --out out/m.avi"), 0) << err_;  // frames beside the list
  EXPECT_EQ(out_, "avi: 5 frames written to out/m.avi\n");
  EXPECT_EQ(Text("out/m.avi").substr(0, 4), "RIFF");
}

}  // namespace
}  // namespace vesk::testing
