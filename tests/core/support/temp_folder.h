// A fresh, empty folder for each test that works with files: made under the
// system's temporary folder before the test, named after the test suite, the
// test and the process, and removed afterwards with everything in it (files
// a test made read-only included).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace vesk::testing_support {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vesk_" + std::string(test->test_suite_name()) + "_" + test->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }

  void TearDown() override {
    if (dir_.empty()) return;  // skipped before the folder was made
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ec)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(dir_, ec);
  }

  // `name` inside the folder.
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // Number of entries in the folder.
  int FilesInFolder() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir_),
                                          std::filesystem::directory_iterator()));
  }

  std::filesystem::path dir_;
};

}  // namespace vesk::testing_support
