// vesk-batch never reports an interrupted job as done: Ctrl+C at any moment
// of any subcommand ends with exit 1, one "cancelled" line, no temporary
// file and only complete files; the frame list names exactly the frames.
#include <cstring>

#include "core/generate/frame_list.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"
#include "tests/core/support/random_image.h"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;
using BatchInterrupt = BatchTest;

TEST_F(BatchInterrupt, CtrlCAtAnyMomentEndsCancelledWithOnlyCompleteFiles) {
  // Large enough that each run lasts well past the moments below.
  constexpr int kWidth = 1600, kHeight = 1200;
  Save("a.bmp", testing_support::RandomImage(kWidth, kHeight, 1));
  Save("b.bmp", Bitmap(kWidth, kHeight, kWhite));
  ASSERT_TRUE(WriteMeshFile(PathOf("big.mesh"), Mesh(), "a.bmp", "b.bmp"));
  std::ofstream many(PathOf("many.any"), std::ios::binary);
  for (int i = 0; i < 40; ++i) many << "a.bmp\r\n";
  many.close();
  for (const std::string words : {"morph big.mesh --frames 100 --list f.any",
                                  "distort big.mesh --frames 100 --list f.any",
                                  "colorize a.bmp b.bmp --frames 100 --list f.any",
                                  "flag a.bmp --frames 100 --list f.any",
                                  "sheetglass a.bmp --out o.bmp", "equalize a.bmp --out o.bmp",
                                  "avi many.any --out o.avi",
                                  "sequence a.bmp b.bmp --mesh big.mesh --out o.mp4"}) {
    const std::string command = words.substr(0, words.find(' '));
    int hits = 0;
    for (int moment : {0, 250}) {
      SCOPED_TRACE(words + ", interrupted after " + std::to_string(moment) + " ms");
      bool missed = false;
      const int status = Run(words, moment, &missed);
      // A run may still end in the moment between the last look and the signal.
      missed = missed || (status == 0 && err_.empty());
      if (!missed) {
        ++hits;
        EXPECT_EQ(status, 1);
        EXPECT_EQ(err_.rfind("vesk-batch: " + command + " cancelled", 0), 0u) << err_;
        EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
      }
      EXPECT_TRUE(Files("", "", ".vesk-tmp").empty());
      std::set<std::string> listed;
      if (fs::exists(PathOf("f.any"))) {
        auto names = ReadFrameListFile(PathOf("f.any"));
        ASSERT_TRUE(names.Ok());
        listed.insert(names.Value().begin(), names.Value().end());
      }
      EXPECT_EQ(listed, Files("", "imag", ".bmp"));
      for (const std::string& name : Files("", "", ".bmp")) {
        EXPECT_TRUE(LoadBmpFile(PathOf(name)).Ok()) << name;
      }
      const std::string avi = Text("o.avi");  // none, or whole: the RIFF size is the file's
      std::uint32_t riff_size = 0;
      if (avi.size() >= 8) std::memcpy(&riff_size, avi.data() + 4, 4);
      EXPECT_TRUE(avi.empty() || riff_size + 8 == avi.size()) << avi.size();
      EXPECT_EQ(fs::exists(PathOf("o.mp4")), missed && words.ends_with(".mp4"));
      for (const std::string& name : Files("", "imag", ".bmp")) fs::remove(PathOf(name));
      for (const char* name : {"f.any", "o.bmp", "o.avi", "o.mp4"}) fs::remove(PathOf(name));
    }
    EXPECT_GE(hits, 1) << words;
  }
}

}  // namespace
}  // namespace vesk::testing
