// Every way a picture or an output can fail, each said in one line on
// standard error that names the file and the cause, with exit status 1 and
// nothing left behind: no output, no temporary file, no empty frame list.
#include <sys/mount.h>

#include <QImage>

#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

using BadInput = BatchTest;

TEST_F(BadInput, SaysWhatIsWrongInOneLineAndLeavesNothing) {
  const std::string photo = std::string(VESK_SOURCE_DIR) + "/tests/data/photos/portrait.png";
  std::filesystem::create_directories(dir_ / "dir.jpg");
  std::ofstream(PathOf("picture.gif"), std::ios::binary) << "GIF89a";
  const QImage portrait(QString::fromStdString(photo));
  ASSERT_TRUE(portrait.save(QString::fromStdString(PathOf("whole.jpg")), "JPEG", 90));
  ASSERT_TRUE(portrait.save(QString::fromStdString(PathOf("whole.png"))));
  for (const char* name : {"whole.jpg", "whole.png"}) {
    const std::string bytes = Text(name);
    std::ofstream(PathOf(std::string("cut") + (name + 5)), std::ios::binary)
        << bytes.substr(0, bytes.size() / 2);
  }
  // A JPEG whose frame header says 40000 x 8 pixels.
  std::string huge = Text("whole.jpg");
  huge.replace(huge.find("\xFF\xC0") + 5, 4, std::string("\0\x08\x9C\x40", 4));
  std::ofstream(PathOf("huge.jpg"), std::ios::binary) << huge;
  std::ofstream(PathOf("locked.png"), std::ios::binary) << Text("whole.png");
  std::filesystem::permissions(PathOf("locked.png"), std::filesystem::perms::none);
  std::filesystem::create_directories(dir_ / "ro");
  std::filesystem::permissions(dir_ / "ro", std::filesystem::perms::owner_read |
                                                std::filesystem::perms::owner_exec);
  // A tiny file system that the first write fills up.
  std::filesystem::create_directories(dir_ / "full");
  const bool mounted = mount("tmpfs", PathOf("full").c_str(), "tmpfs", 0, "size=16k") == 0;
  const std::string full_reason = "No space left on device";
  ASSERT_EQ(Run("equalize " + photo + " --out big.bmp"), 0) << err_;
  std::ofstream(PathOf("frames.any"), std::ios::binary) << "big.bmp\r\nbig.bmp\r\n";

  const std::string read_from = "; pictures are read from .bmp, .png, .jpg, .jpeg, .webp, .tif, "
                                ".tiff, .heic, .heif, .avif";
  struct Row {
    std::string words, line;  // the command and its one line (after "vesk-batch: ")
    bool needs_full_disk = false;
  };
  const Row rows[] = {
      {"equalize dir.jpg --out out/r.bmp", "dir.jpg: is a folder, not a file"},
      {"equalize none.png --out out/r.bmp", "none.png: File Not Found"},
      {"equalize locked.png --out out/r.bmp", "locked.png: cannot be read (Permission denied)"},
      {"equalize cut.jpg --out out/r.bmp", "cut.jpg: the file is cut short (truncated)"},
      {"equalize cut.png --out out/r.bmp", "cut.png: the file is cut short (truncated)"},
      {"equalize picture.gif --out out/r.bmp",
       "picture.gif: Unknown picture file extension (.gif)" + read_from},
      {"equalize huge.jpg --out out/r.bmp",
       "huge.jpg: the picture is 40000 x 8 pixels: Bitmap is too large (at most 32768 pixels on "
       "a side and 268435456 pixels in all)"},
      {"sequence whole.png whole.jpg --out ro/x.mp4", "Cannot create file ro/x.mp4"},
      {"video frames.any --out ro/x.gif", "Cannot create file ro/x.gif"},
      {"equalize whole.png --out full/r.bmp",
       "full/r.bmp: Cannot write file full/r.bmp: " + full_reason, true},
      {"colorize whole.png whole.jpg --frames 2 --list full/x.any",
       "Cannot write file full/imag1.bmp: " + full_reason, true},
      {"video frames.any --out full/x.webm --lossless",
       "Cannot write file full/x.webm: " + full_reason, true},
  };
  for (const Row& row : rows) {
    if (row.needs_full_disk && !mounted) continue;
    // Root reads and writes anywhere: the locked picture and the read-only
    // folder are tried as another user.
    as_nobody_ = geteuid() == 0 && (row.words.find("locked") != std::string::npos ||
                                    row.words.find("ro/") != std::string::npos);
    EXPECT_EQ(Run(row.words), 1) << row.words;
    EXPECT_EQ(err_, "vesk-batch: " + row.line + "\n") << row.words;
    std::set<std::string> left = Files("out");
    left.merge(Files("ro"));
    left.merge(Files("full"));
    EXPECT_EQ(left, std::set<std::string>()) << row.words;
  }
  as_nobody_ = false;
  if (mounted) umount(PathOf("full").c_str());
  if (!mounted) GTEST_SKIP() << "no tmpfs could be mounted here: the full-disk rows were left out";
}

}  // namespace
}  // namespace vesk::testing
