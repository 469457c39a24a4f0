// Saving never destroys what the user protected: every writer of the core
// (mesh, settings, sequence, picture, frame, frame list, AVI) goes through the one
// replacing write. Run as root too: the rules follow the permission bits.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/animation/avi_from_list.h"
#include "core/common/file_io.h"
#include "core/generate/frame_output.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_file.h"
#include "core/sequence/sequence_file.h"
#include "core/settings/settings_file.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

struct FileKind {
  const char* name;
  // Saves into `path`; a frame is saved in the folder of `path` under the
  // lowest free frame name, which is the name of `path` in these cases.
  std::function<Status(const std::string& path)> save;
  bool takes_any_name = true;
};

const FileKind kKinds[] = {
    {"mesh", [](const std::string& p) { return WriteMeshFile(p, Mesh(), "a.bmp", "b.bmp"); }},
    {"settings", [](const std::string& p) { return SaveSettings(p, Settings()); }},
    {"sequence", [](const std::string& p) { return WriteSequenceFile(p, Sequence()); }},
    {"picture", [](const std::string& p) { return SaveBmpFile(p, Bitmap(2, 2, kBlack)); }},
    {"frame list",
     [](const std::string& p) {
       FrameOutput out;
       Status opened = out.Open(p);
       return opened ? out.Close() : opened;
     }},
    {"avi",
     [](const std::string& p) {
       const std::string frame =
           (fs::temp_directory_path() / ("vesk_source_" + std::to_string(::getpid()) + ".bmp"))
               .string();
       EXPECT_TRUE(SaveBmpFile(frame, Bitmap(2, 2, kBlack)).Ok());
       Status saved = WriteAviFromList({frame}, p, {});
       fs::remove(frame);
       return saved;
     }},
    {"frame",
     [](const std::string& p) {
       FrameOutput out;
       EXPECT_TRUE(out.Open((fs::path(p).parent_path() / "list.any").string()).Ok());
       return out.WriteFrame(Bitmap(2, 2, kBlack));
     },
     false},
};

class ReplacingWriteTest : public testing_support::TempFolderTest {
 protected:
  static void Put(const std::string& path, fs::perms mode) {
    std::ofstream(path, std::ios::binary) << "old";
    fs::permissions(path, mode);
  }
  static fs::perms Mode(const std::string& path) { return fs::status(path).permissions(); }
  bool NoTemporaryFile() const {
    const auto temporary = [](const auto& e) { return e.path().extension() == ".vesk-tmp"; };
    return std::none_of(fs::recursive_directory_iterator(dir_), {}, temporary);
  }
};

TEST_F(ReplacingWriteTest, ReadOnlyLinksModesFoldersAndFifos) {
  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write |
                           fs::perms::group_read | fs::perms::group_write;
  for (const FileKind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "locked");
    const std::string target = PathOf(kind.takes_any_name ? "target.any" : "imag1.bmp");
    // A read-only target keeps its bytes and mode; the save reports it.
    Put(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(kind.save(target).Message(), "Cannot create file " + target);
    EXPECT_EQ(Text(target), "old");
    EXPECT_EQ(Mode(target), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(NoTemporaryFile());
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    fs::remove(target);
    if (!kind.takes_any_name) continue;
    const std::string lost = PathOf("missing/target.any");  // no folder to make it in
    EXPECT_EQ(kind.save(lost).Message(), "Cannot create file " + lost);

    // A link stays a link; the file it names is replaced and keeps its mode.
    Put(PathOf("real"), shared);
    fs::create_symlink("real", target);
    ASSERT_TRUE(kind.save(target).Ok());
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_NE(Text(PathOf("real")), "old");
    EXPECT_EQ(Mode(PathOf("real")), shared);

    // A folder where nothing new can be made: the same file is rewritten.
    const std::string inside = PathOf("locked/target.any");
    Put(inside, fs::perms::owner_read | fs::perms::owner_write);
    struct stat before {};
    ::stat(inside.c_str(), &before);
    fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(kind.save(inside).Ok());
    struct stat after {};
    ::stat(inside.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_NE(Text(inside), "old");
    fs::permissions(dir_ / "locked", fs::perms::owner_all);

    // Not a regular file: refused for writing and for reading, never waited on.
    fs::remove(target);
    ASSERT_EQ(::mkfifo(target.c_str(), 0666), 0);
    EXPECT_FALSE(kind.save(target).Ok());
    EXPECT_FALSE(ReadWholeFile(target).Ok());
    EXPECT_FALSE(FileReadable(target));
    fs::create_directory(PathOf("folder.any"));
    EXPECT_FALSE(kind.save(PathOf("folder.any")).Ok());
    EXPECT_TRUE(NoTemporaryFile());
  }
}

}  // namespace
}  // namespace vesk
