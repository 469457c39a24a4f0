// What the vesk-batch tests share: a folder of its own for every test, and
// a run protocol that keeps the frames an engine writes (to compare the
// tool's frame files with).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

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

// A fixture whose test works in <temp>/<prefix><test name>, made empty
// (with `subfolder` inside it when given) by UseFolder and removed after the
// test.
class BatchFolderTest : public ::testing::Test {
 protected:
  void UseFolder(const std::string& prefix, const std::string& subfolder = "") {
    dir_ = std::filesystem::temp_directory_path() /
           (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(subfolder.empty() ? dir_ : dir_ / subfolder);
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // The whole content of a file of the folder ("" when it cannot be read).
  std::string FileText(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path dir_;
};

}  // namespace vesk::testing
