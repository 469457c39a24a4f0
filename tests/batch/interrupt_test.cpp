// vesk-batch never reports an interrupted or empty job as done: Ctrl+C at
// any moment of any subcommand ends with exit 1, one "cancelled" line, no
// temporary file and only complete files; empty values are usage errors;
// a mesh's pictures are looked for in the mesh file's folder first.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <set>
#include <thread>

#include "core/generate/frame_list.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

class BatchInterrupt : public testing::BatchTest {
 protected:
  // Runs the tool in the test folder. With `interrupt_ms` >= 0 a SIGINT
  // follows that long after the tool has taken over Ctrl+C; `missed` tells
  // that the tool had already ended by then. Answers the exit status.
  int Run(std::vector<std::string> words, int interrupt_ms = -1, bool* missed = nullptr) {
    words.insert(words.begin(), VESK_BATCH_EXE);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(99);
      dup2(open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      execv(argv[0], argv.data());
      _exit(98);
    }
    int status = 0;
    if (interrupt_ms >= 0) {
      while (!CatchesInterrupt(child)) std::this_thread::sleep_for(std::chrono::microseconds(200));
      std::this_thread::sleep_for(std::chrono::milliseconds(interrupt_ms));
      *missed = waitpid(child, &status, WNOHANG) == child;
      if (!*missed) kill(child, SIGINT);
    }
    if (interrupt_ms < 0 || !*missed) waitpid(child, &status, 0);
    out_ = Text("stdout.txt");
    err_ = Text("stderr.txt");
    fs::remove(Path("stdout.txt"));
    fs::remove(Path("stderr.txt"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The handler is in place once SIGINT shows among the caught signals.
  static bool CatchesInterrupt(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("SigCgt:", 0) == 0) {
        return (std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1)) & 1;
      }
    }
    return false;
  }

  // The names in the folder that start with `prefix` and end with `ending`.
  std::set<std::string> Files(const std::string& prefix, const std::string& ending) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(prefix) && name.ends_with(ending)) names.insert(name);
    }
    return names;
  }

  std::string out_, err_;
};

TEST_F(BatchInterrupt, CtrlCAtAnyMomentEndsCancelledWithOnlyCompleteFiles) {
  // Large enough that each run lasts well past the moments below.
  Bitmap picture(1600, 1200);
  for (int y = 0; y < 1200; ++y) {
    for (int x = 0; x < 1600; ++x) picture.SetPixel(x, y, MakeColor(x, y, x ^ y));
  }
  ASSERT_TRUE(SaveBmpFile(Path("a.bmp"), picture));
  ASSERT_TRUE(SaveBmpFile(Path("b.bmp"), Bitmap(1600, 1200, kWhite)));
  ASSERT_TRUE(WriteMeshFile(Path("big.mesh"), Mesh(), "a.bmp", "b.bmp"));
  std::ofstream many(Path("many.any"), std::ios::binary);
  for (int i = 0; i < 40; ++i) many << "a.bmp\r\n";
  many.close();

  const std::vector<std::vector<std::string>> commands = {
      {"morph", "big.mesh", "--frames", "100", "--list", "f.any"},
      {"distort", "big.mesh", "--frames", "100", "--list", "f.any"},
      {"colorize", "a.bmp", "b.bmp", "--frames", "100", "--list", "f.any"},
      {"flag", "a.bmp", "--frames", "100", "--list", "f.any"},
      {"sheetglass", "a.bmp", "--out", "o.bmp"},
      {"equalize", "a.bmp", "--out", "o.bmp"},
      {"avi", "many.any", "--out", "o.avi"},
  };
  for (const auto& words : commands) {
    int hits = 0;
    for (int moment : {0, 300, 900}) {
      SCOPED_TRACE(words[0] + " interrupted after " + std::to_string(moment) + " ms");
      bool missed = false;
      const int status = Run(words, moment, &missed);
      if (!missed) {
        ++hits;
        EXPECT_EQ(status, 1);
        EXPECT_EQ(err_.rfind("vesk-batch: " + words[0] + " cancelled", 0), 0u) << err_;
        EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
      }
      EXPECT_TRUE(Files("", ".vesk-tmp").empty());
      // Whatever is on disk is whole, and the list names exactly the frames.
      std::set<std::string> listed;
      if (fs::exists(Path("f.any"))) {
        auto names = ReadFrameListFile(Path("f.any"));
        ASSERT_TRUE(names.Ok());
        listed.insert(names.Value().begin(), names.Value().end());
      }
      EXPECT_EQ(listed, Files("imag", ".bmp"));
      for (const std::string& name : Files("", ".bmp")) EXPECT_TRUE(LoadBmpFile(Path(name)).Ok()) << name;
      if (fs::exists(Path("o.avi"))) {  // whole: the RIFF size is the file's
        const std::string avi = Text("o.avi");
        ASSERT_GE(avi.size(), 8u);
        std::uint32_t riff_size = 0;
        std::memcpy(&riff_size, avi.data() + 4, 4);
        EXPECT_EQ(riff_size + 8, avi.size());
      }
      for (const std::string& name : Files("imag", ".bmp")) fs::remove(Path(name));
      for (const char* name : {"f.any", "o.bmp", "o.avi"}) fs::remove(Path(name));
    }
    EXPECT_GE(hits, 1) << words[0];
  }
}

TEST_F(BatchInterrupt, EmptyValuesAreUsageErrors) {
  ASSERT_TRUE(SaveBmpFile(Path("a.bmp"), Bitmap(4, 4, kBlack)));
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"colorize", "a.bmp", "a.bmp", "--list", ""},
           {"flag", "a.bmp", "--list", ""},
           {"equalize", "a.bmp", "--out", ""},
           {"sheetglass", "a.bmp", "--out", ""},
           {"avi", "x.any", "--out", ""}}) {
    EXPECT_EQ(Run(words), 2) << words[0] << ": " << err_;
  }
}

TEST_F(BatchInterrupt, MeshPicturesComeFromTheMeshFolderFirst) {
  fs::create_directory(dir_ / "sub");
  for (const char* name : {"first.bmp", "second.bmp"}) {
    ASSERT_TRUE(SaveBmpFile(Path(std::string("sub/") + name), Bitmap(8, 8, kBlack)));
    ASSERT_TRUE(SaveBmpFile(Path(name), Bitmap(8, 8, kWhite)));
  }
  ASSERT_TRUE(WriteMeshFile(Path("sub/m.mesh"), Mesh(), "first.bmp", "second.bmp"));
  ASSERT_EQ(Run({"morph", "sub/m.mesh", "--frames", "1", "--list", "out"}), 0) << err_;
  EXPECT_NE(out_.find("listed in out.any"), std::string::npos) << out_;
  auto frame = LoadBmpFile(Path("imag1.bmp"));
  ASSERT_TRUE(frame.Ok());
  EXPECT_EQ(frame.Value().Pixel(4, 4), kBlack);
}

}  // namespace
}  // namespace vesk
