// What the vesk-batch tests share: the tool run as a program in a folder of
// the test's own, and what it printed and wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/generate/run_protocol.h"
#include "core/image/bmp_codec.h"

namespace vesk::testing {

// Keeps every frame an engine writes.
class KeepFrames : public RunProtocol {
 public:
  Status WriteFrame(const Bitmap& frame) override {
    frames.push_back(frame);
    return Status::Success();
  }
  std::vector<Bitmap> frames;
};

inline const std::string kExamples = std::string(VESK_SOURCE_DIR) + "/examples";

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vesk_batch_" + std::string(test->test_suite_name()) + "_" + test->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "out");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Runs the tool in the test folder; answers its exit status and keeps
  // what it printed.
  int Run(const std::string& words) {
    const std::string command = "cd '" + dir_.string() + "' && '" + VESK_BATCH_EXE + "' " + words +
                                " > stdout.txt 2> stderr.txt < /dev/null";
    const int status = std::system(command.c_str());
    out_ = Text("stdout.txt");
    err_ = Text("stderr.txt");
    std::filesystem::remove(dir_ / "stdout.txt");
    std::filesystem::remove(dir_ / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Text(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  Bitmap Load(const std::string& name) const {
    auto loaded = LoadBmpFile(name.front() == '/' ? name : Path(name));
    EXPECT_TRUE(loaded.Ok()) << name;
    return loaded.Ok() ? loaded.Value() : Bitmap();
  }
  void Save(const std::string& name, const Bitmap& picture) const {
    ASSERT_TRUE(SaveBmpFile(Path(name), picture).Ok());
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "out")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string ListOf(int first, int last) {
    std::string text;
    for (int n = first; n <= last; ++n) text += "imag" + std::to_string(n) + ".bmp\r\n";
    return text;
  }
  // One line on standard error, "vesk-batch: " first, holding `part`.
  void ExpectOneErrorLine(const std::string& part) const {
    EXPECT_EQ(err_.rfind("vesk-batch: ", 0), 0u) << err_;
    EXPECT_EQ(err_.find('\n'), err_.size() - 1) << err_;
    EXPECT_NE(err_.find(part), std::string::npos) << err_;
  }

  std::filesystem::path dir_;
  std::string out_, err_;
};

}  // namespace vesk::testing
