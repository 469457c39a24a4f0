// The manual page of vesk-batch names every subcommand and option that the
// tool's own help lists, and --version prints the version line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

std::string Output(const std::string& arguments) {
  std::string text;
  FILE* pipe = popen((std::string(VESK_BATCH_EXE) + " " + arguments).c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}

// The page as a reader sees its words: roff's escaped hyphens made plain.
std::string ManPageText() {
  std::ifstream in(std::string(VESK_SOURCE_DIR) + "/batch/vesk-batch.1");
  std::string text(std::istreambuf_iterator<char>(in), {});
  return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

TEST(ManPage, NamesEverySubcommandAndOptionOfTheHelp) {
  const std::string help = Output("--help");
  std::set<std::string> words;
  const std::regex command(R"(vesk-batch ([a-z]+))");
  const std::regex option(R"(--[a-z]+)");
  for (std::sregex_iterator it(help.begin(), help.end(), command), end; it != end; ++it) {
    words.insert((*it)[1]);
  }
  for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) {
    words.insert(it->str());
  }
  ASSERT_GE(words.size(), 10u) << help;
  const std::string page = ManPageText();
  for (const std::string& word : words) {
    EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^-a-z])" + word + "($|[^-a-z])")))
        << word << " is missing from the manual page";
  }
}

TEST(ManPage, VersionLineNamesTheProgramAndVersion) {
  EXPECT_EQ(Output("--version").rfind("Vesk Trelvanique 1.1", 0), 0u);
}

}  // namespace
