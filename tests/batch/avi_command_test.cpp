// vesk-batch avi, run as a separate program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/image/bmp_codec.h"
#include "tests/batch/batch_test_support.h"
#include "tests/core/animation/riff_walker.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exit_status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

class AviCommand : public testing::BatchFolderTest {
 protected:
  void SetUp() override { UseFolder("vesk_batch_avi_", "run"); }

  // Runs vesk-batch with `args` from a folder other than the list's.
  Outcome Batch(const std::string& args) {
    std::string err_file = PathOf("stderr.txt");
    std::string command = "cd '" + PathOf("run") + "' && '" + std::string(VESK_BATCH_EXE) + "' " +
                          args + " 2>'" + err_file + "'";
    Outcome result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err_file);
    result.err.assign(std::istreambuf_iterator<char>(in), {});
    return result;
  }

  // imag1.bmp .. imagN.bmp of 8 x 6 in the folder and list.any naming them.
  std::string SaveFramesAndList(int n) {
    std::ofstream list(PathOf("list.any"), std::ios::binary);
    for (int k = 1; k <= n; ++k) {
      std::string name = "imag" + std::to_string(k) + ".bmp";
      EXPECT_TRUE(SaveBmpFile(PathOf(name), Bitmap(8, 6, MakeColor(k, 2 * k, 3 * k))).Ok());
      list << name << "\r\n";
    }
    return PathOf("list.any");
  }

};

TEST_F(AviCommand, WritesTheListedFramesFoundInTheListsFolder) {
  std::string list = SaveFramesAndList(5);
  std::string out = PathOf("out.avi");
  Outcome r = Batch("avi '" + list + "' --out '" + out + "'");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "avi: 5 frames written to " + out + "\n");
  std::vector<std::uint8_t> b = testing_riff::ReadBytes(out);
  testing_riff::RiffChunk root;
  std::string error;
  ASSERT_TRUE(testing_riff::WalkRiff(b, root, error)) << error;
  const testing_riff::RiffChunk* movi = root.Child("movi");
  ASSERT_NE(movi, nullptr);
  ASSERT_EQ(movi->children.size(), 5u);
  for (int k = 1; k <= 5; ++k) {
    const auto& sample = movi->children[k - 1];
    EXPECT_EQ(sample.size, 144u);  // 8 x 6 at 24 bits
    EXPECT_EQ(b[sample.data_offset], 3 * k);  // blue of the bottom-left pixel
    EXPECT_EQ(b[sample.data_offset + 2], k);  // red
  }
}

TEST_F(AviCommand, MissingFrameIsNamedAndThePreviousFileStays) {
  std::string list = SaveFramesAndList(3);
  fs::remove(PathOf("imag2.bmp"));
  std::string out = PathOf("out.avi");
  std::ofstream(out) << "previous";
  Outcome r = Batch("avi '" + list + "' --out '" + out + "'");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.err, "vesk-batch: " + PathOf("imag2.bmp") + ": File Not Found\n");
  EXPECT_EQ(testing_riff::ReadBytes(out).size(), 8u);
  EXPECT_FALSE(fs::exists(out + ".vesk-tmp"));
}

TEST_F(AviCommand, EmptyListWritesNothing) {
  std::ofstream(PathOf("list.any"), std::ios::binary).flush();
  std::string out = PathOf("out.avi");
  Outcome r = Batch("avi '" + PathOf("list.any") + "' --out '" + out + "'");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.err, "vesk-batch: The frame list holds no frame: no AVI file was written\n");
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(AviCommand, ListThatCannotBeReadIsReported) {
  std::string list = PathOf("none.any");
  Outcome r = Batch("avi '" + list + "' --out '" + PathOf("out.avi") + "'");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(r.err, "vesk-batch: " + list + ": File Not Found\n");
}

TEST_F(AviCommand, WrongUsageExitsWithTwo) {
  std::string list = SaveFramesAndList(1);
  EXPECT_EQ(Batch("avi '" + list + "'").exit_status, 2);
  EXPECT_EQ(Batch("avi --out x.avi").exit_status, 2);
  EXPECT_EQ(Batch("avi '" + list + "' --out").exit_status, 2);
  EXPECT_EQ(Batch("avi '" + list + "' --out x.avi --fps 3").exit_status, 2);
  EXPECT_FALSE(fs::exists(PathOf("run/x.avi")));
}

}  // namespace
}  // namespace vesk
