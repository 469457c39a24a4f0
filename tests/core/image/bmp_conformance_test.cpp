// The BMP suite: good files decode to the recorded pixels, questionable ones unless we
// refuse them, bad ones give the one refusal message or a picture of their declared size.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "core/image/bmp_codec.h"
#include "tests/core/support/other_programs.h"

namespace vesk {
namespace {

const std::string kSuite = std::string(VESK_CONFORMANCE_DIR) + "/bmpsuite/";

struct SuiteFile {
  std::string path;  // g/pal8.bmp
  std::string kind;  // good, questionable, bad
  int width = 0, height = 0;
  std::string oracle;  // SHA-256 of the top-down RGB bytes, or empty
};

void PrintTo(const SuiteFile& file, std::ostream* os) { *os << file.path; }

std::vector<SuiteFile> Manifest() {
  std::vector<SuiteFile> files;
  std::ifstream in(kSuite + "MANIFEST.tsv");
  std::string line;
  for (std::getline(in, line); std::getline(in, line);) {  // the first line names the columns
    std::vector<std::string> c;
    std::stringstream columns(line);
    for (std::string col; std::getline(columns, col, '\t');) c.push_back(col);
    if (c.size() < 12) continue;
    files.push_back({c[0], c[1], std::stoi(c[4]), std::abs(std::stoi(c[5])),
                     c[11].rfind("sha256:", 0) == 0 ? c[11].substr(7) : ""});
  }
  return files;
}

// SHA-256 of the top-down RGB bytes, by the system's sha256sum.
std::string PixelHash(const Bitmap& b) {
  const std::string name = ::testing::TempDir() + "vesk_pixels_" + std::to_string(::getpid());
  std::ofstream out(name, std::ios::binary);
  for (int i = 0; i < b.Width() * b.Height(); ++i) {
    for (int channel : {RedOf(b.Row(0)[i]), GreenOf(b.Row(0)[i]), BlueOf(b.Row(0)[i])}) {
      out << static_cast<char>(channel);
    }
  }
  out.close();
  const std::string hex = testing_support::Shell("sha256sum '" + name + "'").substr(0, 64);
  std::remove(name.c_str());
  return hex;
}

// Files with no or a wrong checksum show a base file's picture: exactly (0) or within
// the rounding of their narrowest channel.
const std::map<std::string, std::pair<std::string, int>> kLikeBase = {
    {"g/pal4rle.bmp", {"g/pal4.bmp", 0}},       {"g/rgb32bf.bmp", {"g/rgb24.bmp", 0}},
    {"q/pal8os2-hs.bmp", {"g/pal8.bmp", 0}},    {"q/pal8os2-sz.bmp", {"g/pal8.bmp", 0}},
    {"q/pal8oversizepal.bmp", {"g/pal8.bmp", 0}}, {"q/rgb32h52.bmp", {"g/rgb24.bmp", 0}},
    {"q/rgba32-2.bmp", {"q/rgba32-1.bmp", 0}},  {"q/rgba32h56.bmp", {"q/rgba32-1.bmp", 0}},
    {"b/badfilesize.bmp", {"g/pal1.bmp", 0}},   {"b/badpalettesize.bmp", {"g/pal8.bmp", 0}},
    {"b/rletopdown.bmp", {"g/pal8.bmp", 0}},    {"g/rgb16.bmp", {"g/rgb24.bmp", 8}},
    {"g/rgb16bfdef.bmp", {"g/rgb24.bmp", 8}},   {"g/rgb16-565.bmp", {"g/rgb24.bmp", 8}},
    {"g/rgb16-565pal.bmp", {"g/rgb24.bmp", 8}}, {"q/rgb16faketrns.bmp", {"g/rgb24.bmp", 8}},
    {"q/rgba16-5551.bmp", {"g/rgb24.bmp", 8}},  {"q/rgb16-3103.bmp", {"g/rgb24.bmp", 37}},
    {"q/rgb32-111110.bmp", {"g/rgb24.bmp", 2}}, {"q/rgb32-7187.bmp", {"g/rgb24.bmp", 2}},
    {"q/rgba16-4444.bmp", {"q/rgba32-1.bmp", 17}}, {"q/rgba32-1010102.bmp", {"q/rgba32-1.bmp", 2}},
    {"q/rgba32-61754.bmp", {"q/rgba32-1.bmp", 8}}, {"q/rgba32-81284.bmp", {"q/rgba32-1.bmp", 2}}};

// We refuse 2 and 64 bits, OS/2 version 2 headers and embedded or exotic compression.
const std::vector<std::string> kRefused = {
    "q/pal1huffmsb.bmp", "q/pal2.bmp",      "q/pal2color.bmp", "q/pal8os2v2-16.bmp",
    "q/pal8os2v2-sz.bmp", "q/pal8os2v2.bmp", "q/rgb24jpeg.bmp", "q/rgb24png.bmp",
    "q/rgb24rle24.bmp",  "q/rgba32abf.bmp", "q/rgba64.bmp"};

class BmpSuite : public ::testing::TestWithParam<SuiteFile> {};

TEST_P(BmpSuite, DecodesToItsPictureOrIsRefusedAsItsClassRequires) {
  const SuiteFile& f = GetParam();
  Result<Bitmap> r = LoadBmpFile(kSuite + f.path);
  if (f.kind != "bad") {
    ASSERT_EQ(r.Ok(), std::find(kRefused.begin(), kRefused.end(), f.path) == kRefused.end());
  }
  if (!r.Ok()) {
    EXPECT_EQ(r.Message(), "Bitmap image is not valid");
    return;
  }
  EXPECT_EQ(std::pair(r.Value().Width(), r.Value().Height()), std::pair(f.width, f.height));
  auto like = kLikeBase.find(f.path);
  if (like == kLikeBase.end()) {
    EXPECT_TRUE(f.kind != "good" || !f.oracle.empty());  // every good file is checked
    EXPECT_EQ(f.oracle.empty() ? "" : PixelHash(r.Value()), f.oracle);
    return;
  }
  const auto [base_path, tolerance] = like->second;
  const Bitmap base = LoadBmpFile(kSuite + base_path).Value();
  if (tolerance == 0) {
    for (const SuiteFile& other : Manifest()) {
      EXPECT_EQ(other.path == base_path ? PixelHash(r.Value()) : other.oracle, other.oracle);
    }
  }
  ASSERT_EQ(std::pair(base.Width(), base.Height()), std::pair(f.width, f.height));
  int worst = 0;
  for (int i = 0; i < base.Width() * base.Height(); ++i) {
    const Color c = r.Value().Row(0)[i], b = base.Row(0)[i];
    worst = std::max({worst, std::abs(RedOf(c) - RedOf(b)), std::abs(GreenOf(c) - GreenOf(b)),
                      std::abs(BlueOf(c) - BlueOf(b))});
  }
  EXPECT_LE(worst, std::max(tolerance - 1, 0));
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuite, ::testing::ValuesIn(Manifest()),
                         [](const ::testing::TestParamInfo<SuiteFile>& info) {
                           std::string name = info.param.path;
                           for (char& c : name) c = std::isalnum(c) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace vesk
