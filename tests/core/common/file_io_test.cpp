#include "core/common/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vesk {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vesk_file_io_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(FileIo, ProbeCountsMissingReadOnlyAndFoldersAsNotFound) {
  EXPECT_FALSE(FileFound(PathOf("none.bmp")));
  EXPECT_FALSE(FileFound(""));
  EXPECT_FALSE(FileFound(dir_.string()));
  std::ofstream(PathOf("a.bmp")) << "x";
  EXPECT_TRUE(FileFound(PathOf("a.bmp")));
  fs::permissions(PathOf("a.bmp"), fs::perms::owner_read, fs::perm_options::replace);
  EXPECT_FALSE(FileFound(PathOf("a.bmp")));
}

TEST_F(FileIo, ReplacingWriteLeavesOnlyTheNewContent) {
  std::string name = PathOf("f.bin");
  ASSERT_TRUE(WriteFileReplacing(name, {1, 2, 3}).Ok());
  ASSERT_TRUE(WriteFileReplacing(name, {9}).Ok());
  auto back = ReadWholeFile(name);
  ASSERT_TRUE(back.Ok());
  EXPECT_EQ(back.Value(), std::vector<std::uint8_t>{9});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileIo, FailedWriteKeepsThePreviousFile) {
  std::string name = PathOf("keep.bin");
  ASSERT_TRUE(WriteFileReplacing(name, {7, 7}).Ok());
  Status failed = WriteFileReplacing(PathOf("missing_folder/x.bin"), {1});
  EXPECT_FALSE(failed.Ok());
  EXPECT_FALSE(ReadWholeFile(PathOf("nothing")).Ok());
  EXPECT_EQ(ReadWholeFile(PathOf("nothing")).Message(), "File Not Found");
  EXPECT_EQ(ReadWholeFile(name).Value(), (std::vector<std::uint8_t>{7, 7}));
}

}  // namespace
}  // namespace vesk
