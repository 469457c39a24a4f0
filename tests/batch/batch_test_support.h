// What the vesk-batch tests share: the tool run as a program in a folder of
// the test's own (Ctrl+C sent on request), and what it printed and wrote.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/image/bmp_codec.h"
#include "tests/core/support/other_programs.h"
#include "tests/core/support/temp_folder.h"

namespace vesk::testing {

inline const std::string kExamples = std::string(VESK_SOURCE_DIR) + "/examples";

using testing_support::HaveFfmpeg;
using testing_support::Psnr;
using testing_support::Shell;

class BatchTest : public testing_support::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    std::filesystem::create_directories(dir_ / "out");
  }

  // Runs the tool in the test folder on blank-separated words (MESH stands
  // for the example mesh, '' for an empty word); answers the exit status.
  // With `interrupt_ms` >= 0 a SIGINT follows that long after the tool has
  // taken over Ctrl+C, unless it has ended by then (`missed`).
  int Run(const std::string& line, int interrupt_ms = -1, bool* missed = nullptr) {
    std::vector<std::string> words = {VESK_BATCH_EXE};
    std::istringstream in(line);
    for (std::string word; in >> word;) {
      words.push_back(word == "MESH" ? kExamples + "/sample.mesh" : word == "''" ? "" : word);
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(99);
      dup2(open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      dup2(open("/dev/null", O_RDONLY), 0);
      if (as_nobody_ && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(97);
      execv(argv[0], argv.data());
      _exit(98);
    }
    int status = 0;
    bool ended = false;
    if (interrupt_ms >= 0) {
      while (!CatchesInterrupt(child)) std::this_thread::sleep_for(std::chrono::microseconds(200));
      std::this_thread::sleep_for(std::chrono::milliseconds(interrupt_ms));
      ended = *missed = waitpid(child, &status, WNOHANG) == child;
      if (!ended) kill(child, SIGINT);
    }
    if (!ended) waitpid(child, &status, 0);
    out_ = Text("stdout.txt");
    err_ = Text("stderr.txt");
    for (const char* name : {"stdout.txt", "stderr.txt"}) std::filesystem::remove(PathOf(name));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The handler is in place once SIGINT (bit 2) shows among the caught signals.
  static bool CatchesInterrupt(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.starts_with("SigCgt:")) return std::stoull(line.substr(7), nullptr, 16) & 2;
    }
    return false;
  }

  Bitmap Load(const std::string& name) const {
    auto loaded = LoadBmpFile(PathOf(name));  // an absolute name stays itself
    EXPECT_TRUE(loaded.Ok()) << name;
    return loaded.Ok() ? loaded.Value() : Bitmap();
  }
  void Save(const std::string& name, const Bitmap& picture) const {
    ASSERT_TRUE(SaveBmpFile(PathOf(name), picture).Ok());
  }
  // The names in `folder` that start with `prefix` and end with `ending`.
  std::set<std::string> Files(const std::string& folder, const std::string& prefix = "",
                              const std::string& ending = "") const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(prefix) && name.ends_with(ending)) names.insert(name);
    }
    return names;
  }
  static std::string ListOf(int first, int last) {
    std::string text;
    for (int n = first; n <= last; ++n) text += "imag" + std::to_string(n) + ".bmp\r\n";
    return text;
  }
  std::string out_, err_;
  bool as_nobody_ = false;  // the tool runs as user "nobody" (a test run as root sets it)
};

}  // namespace vesk::testing
