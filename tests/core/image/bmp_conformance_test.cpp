// The BMP suite kept with the tests: good files decode to the recorded
// pixels, questionable files decode unless we chose to refuse them, and bad
// files give the one refusal message or a picture of their declared size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

const std::string kSuite = std::string(VESK_CONFORMANCE_DIR) + "/bmpsuite/";

struct SuiteFile {
  std::string path;  // g/pal8.bmp
  std::string kind;  // good, questionable, bad
  int width = 0;
  int height = 0;
  std::string oracle;  // SHA-256 of the top-down RGB bytes, or empty
};

void PrintTo(const SuiteFile& file, std::ostream* os) { *os << file.path; }

std::vector<SuiteFile> Manifest() {
  std::vector<SuiteFile> files;
  std::ifstream in(kSuite + "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> c;
    std::stringstream columns(line);
    for (std::string col; std::getline(columns, col, '\t');) c.push_back(col);
    if (c.size() < 12) continue;
    std::string oracle = c[11].rfind("sha256:", 0) == 0 ? c[11].substr(7) : "";
    files.push_back({c[0], c[1], std::stoi(c[4]), std::abs(std::stoi(c[5])), oracle});
  }
  return files;
}

std::vector<std::uint8_t> ReadSuiteFile(const std::string& path) {
  std::ifstream in(kSuite + path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

Bitmap MustDecode(const std::string& path) {
  Result<Bitmap> r = DecodeBmp(ReadSuiteFile(path));
  EXPECT_TRUE(r.Ok()) << path;
  return r.Ok() ? r.Value() : Bitmap();
}

// Where the recorded checksum is missing or known wrong, the file shows the
// picture of a base file.
std::string ExpectedHash(const SuiteFile& f) {
  static const std::map<std::string, std::string> same_as = {
      {"g/pal4rle.bmp", "g/pal4.bmp"},         {"g/rgb32bf.bmp", "g/rgb24.bmp"},
      {"q/pal8os2-hs.bmp", "g/pal8.bmp"},      {"q/pal8os2-sz.bmp", "g/pal8.bmp"},
      {"q/pal8oversizepal.bmp", "g/pal8.bmp"}, {"q/rgb32h52.bmp", "g/rgb24.bmp"},
      {"q/rgba32-2.bmp", "q/rgba32-1.bmp"},    {"q/rgba32h56.bmp", "q/rgba32-1.bmp"},
      {"b/badfilesize.bmp", "g/pal1.bmp"},     {"b/badpalettesize.bmp", "g/pal8.bmp"},
      {"b/rletopdown.bmp", "g/pal8.bmp"}};
  auto it = same_as.find(f.path);
  if (it == same_as.end()) return f.oracle;
  for (const SuiteFile& base : Manifest()) {
    if (base.path == it->second) return base.oracle;
  }
  return "";
}

// SHA-256 of the top-down RGB bytes, by the system's sha256sum.
std::string PixelHash(const Bitmap& b) {
  const std::string name = ::testing::TempDir() + "vesk_pixels_" + std::to_string(::getpid());
  {
    std::ofstream out(name, std::ios::binary);
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        const Color c = b.Pixel(x, y);
        out << static_cast<char>(RedOf(c)) << static_cast<char>(GreenOf(c))
            << static_cast<char>(BlueOf(c));
      }
    }
  }
  char hex[65] = {};
  std::FILE* sum = ::popen(("sha256sum '" + name + "'").c_str(), "r");
  if (sum == nullptr || std::fread(hex, 1, 64, sum) != 64) hex[0] = 0;
  if (sum != nullptr) ::pclose(sum);
  std::remove(name.c_str());
  return hex;
}

class BmpSuite : public ::testing::TestWithParam<SuiteFile> {};

TEST_P(BmpSuite, DecodesOrIsRefusedAsItsClassRequires) {
  // Our decisions: 2 and 64 bits per pixel, OS/2 version 2 headers and
  // embedded or exotic compression are refused.
  static const std::vector<std::string> refused = {
      "q/pal1huffmsb.bmp", "q/pal2.bmp",      "q/pal2color.bmp", "q/pal8os2v2-16.bmp",
      "q/pal8os2v2-sz.bmp", "q/pal8os2v2.bmp", "q/rgb24jpeg.bmp", "q/rgb24png.bmp",
      "q/rgb24rle24.bmp",  "q/rgba32abf.bmp", "q/rgba64.bmp"};
  const SuiteFile& f = GetParam();
  std::vector<std::uint8_t> bytes = ReadSuiteFile(f.path);
  ASSERT_FALSE(bytes.empty()) << "cannot read " << f.path;
  Result<Bitmap> r = DecodeBmp(bytes);
  if (f.kind != "bad") {
    ASSERT_EQ(r.Ok(), std::find(refused.begin(), refused.end(), f.path) == refused.end());
  }
  if (!r.Ok()) {
    EXPECT_EQ(r.Message(), "Bitmap image is not valid");
    return;
  }
  EXPECT_EQ(r.Value().Width(), f.width);
  EXPECT_EQ(r.Value().Height(), f.height);
  // The 16-bit files have no checksum: the reference tools round them differently.
  std::string expected = ExpectedHash(f);
  EXPECT_TRUE(!expected.empty() || f.kind != "good" || f.path.find("rgb16") != std::string::npos);
  EXPECT_EQ(expected.empty() ? expected : PixelHash(r.Value()), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuite, ::testing::ValuesIn(Manifest()),
                         [](const ::testing::TestParamInfo<SuiteFile>& info) {
                           std::string name = info.param.path;
                           for (char& c : name) {
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

TEST(BmpSuiteFiles, OtherChannelWidthsShowThePictureWithinTheirRounding) {
  const std::tuple<const char*, const char*, int> rows[] = {
      {"g/rgb16.bmp", "g/rgb24.bmp", 8},           {"g/rgb16bfdef.bmp", "g/rgb24.bmp", 8},
      {"g/rgb16-565.bmp", "g/rgb24.bmp", 8},       {"g/rgb16-565pal.bmp", "g/rgb24.bmp", 8},
      {"q/rgb16faketrns.bmp", "g/rgb24.bmp", 8},   {"q/rgba16-5551.bmp", "g/rgb24.bmp", 8},
      {"q/rgb16-3103.bmp", "g/rgb24.bmp", 37},     {"q/rgb32-111110.bmp", "g/rgb24.bmp", 2},
      {"q/rgb32-7187.bmp", "g/rgb24.bmp", 2},      {"q/rgba16-4444.bmp", "q/rgba32-1.bmp", 17},
      {"q/rgba32-1010102.bmp", "q/rgba32-1.bmp", 2}, {"q/rgba32-61754.bmp", "q/rgba32-1.bmp", 8},
      {"q/rgba32-81284.bmp", "q/rgba32-1.bmp", 2}};
  for (auto [path, reference_path, tolerance] : rows) {
    Bitmap b = MustDecode(path);
    Bitmap reference = MustDecode(reference_path);
    ASSERT_EQ(b.Width(), reference.Width()) << path;
    ASSERT_EQ(b.Height(), reference.Height()) << path;
    int worst = 0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        Color c = b.Pixel(x, y);
        Color r = reference.Pixel(x, y);
        worst = std::max({worst, std::abs(RedOf(c) - RedOf(r)), std::abs(GreenOf(c) - GreenOf(r)),
                          std::abs(BlueOf(c) - BlueOf(r))});
      }
    }
    EXPECT_LT(worst, tolerance) << path;
  }
}

}  // namespace
}  // namespace vesk
