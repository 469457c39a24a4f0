// The manual page of vesk-batch names every subcommand and option that the
// tool's own help lists, and --version prints the version line.
#include <regex>

#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

using ManPage = BatchTest;

TEST_F(ManPage, NamesEverySubcommandAndOptionOfTheHelpAndVersionIsShown) {
  Run("--help");
  const std::string help = out_;
  std::set<std::string> words;
  const std::regex command(R"(vesk-batch ([a-z]+))"), option(R"(--[a-z]+)");
  for (std::sregex_iterator it(help.begin(), help.end(), command), end; it != end; ++it) {
    words.insert((*it)[1]);
  }
  for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) {
    words.insert(it->str());
  }
  ASSERT_GE(words.size(), 10u) << help;
  std::ifstream in(std::string(VESK_SOURCE_DIR) + "/batch/vesk-batch.1");
  const std::string page =  // as a reader sees it: roff's escaped hyphens made plain
      std::regex_replace(std::string(std::istreambuf_iterator<char>(in), {}), std::regex(R"(\\-)"),
                         "-");
  for (const std::string& word : words) {
    EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^-a-z])" + word + "($|[^-a-z])")))
        << word << " is missing from the manual page";
  }
  Run("--version");
  EXPECT_EQ(out_.rfind("Vesk Trelvanique 1.1", 0), 0u) << out_;
}

}  // namespace
}  // namespace vesk::testing
