// The BMP suite: every good file decodes with exact pixels, questionable
// files decode or are refused cleanly, bad files never get past the reader
// with anything but a refusal or an image of their declared size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <tuple>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/bmp_codec.h"
#include "sha256_for_tests.h"

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

// Names the file in test output instead of dumping the struct's bytes.
void PrintTo(const SuiteFile& file, std::ostream* os) { *os << file.path; }

std::vector<SuiteFile> ReadManifest() {
  std::vector<SuiteFile> files;
  std::ifstream in(kSuite + "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) cols.push_back(col);
    if (cols.size() < 12) continue;
    SuiteFile f;
    f.path = cols[0];
    f.kind = cols[1];
    f.width = std::atoi(cols[4].c_str());
    f.height = std::abs(std::atoi(cols[5].c_str()));
    if (cols[11].rfind("sha256:", 0) == 0) f.oracle = cols[11].substr(7);
    files.push_back(f);
  }
  return files;
}

const std::vector<SuiteFile>& Manifest() {
  static const std::vector<SuiteFile> files = ReadManifest();
  return files;
}

const SuiteFile& Find(const std::string& path) {
  for (const SuiteFile& f : Manifest()) {
    if (f.path == path) return f;
  }
  static const SuiteFile none;
  ADD_FAILURE() << path << " is not in the manifest";
  return none;
}

// Where the recorded oracle is missing or known wrong, the file shows the
// same picture as a base image and must match that one.
std::string ExpectedHash(const SuiteFile& f) {
  static const std::map<std::string, std::string> same_as = {
      {"g/pal4rle.bmp", "g/pal4.bmp"},          {"g/rgb32bf.bmp", "g/rgb24.bmp"},
      {"q/pal8os2-hs.bmp", "g/pal8.bmp"},       {"q/pal8os2-sz.bmp", "g/pal8.bmp"},
      {"q/pal8os2v2.bmp", "g/pal8.bmp"},        {"q/pal8os2v2-16.bmp", "g/pal8.bmp"},
      {"q/pal8os2v2-sz.bmp", "g/pal8.bmp"},     {"q/pal8os2v2-40sz.bmp", "g/pal8.bmp"},
      {"q/pal8oversizepal.bmp", "g/pal8.bmp"},  {"q/rgb32h52.bmp", "g/rgb24.bmp"},
      {"q/rgba32-2.bmp", "q/rgba32-1.bmp"},     {"q/rgba32h56.bmp", "q/rgba32-1.bmp"},
      {"b/badfilesize.bmp", "g/pal1.bmp"},      {"b/badpalettesize.bmp", "g/pal8.bmp"},
      {"b/rletopdown.bmp", "g/pal8.bmp"},
  };
  auto it = same_as.find(f.path);
  if (it != same_as.end()) return Find(it->second).oracle;
  return f.oracle;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::uint8_t> TopDownRgb(const Bitmap& b) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(b.Width()) * b.Height() * 3);
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      Color c = b.Pixel(x, y);
      rgb.push_back(static_cast<std::uint8_t>(RedOf(c)));
      rgb.push_back(static_cast<std::uint8_t>(GreenOf(c)));
      rgb.push_back(static_cast<std::uint8_t>(BlueOf(c)));
    }
  }
  return rgb;
}

Bitmap MustDecode(const std::string& path) {
  Result<Bitmap> r = DecodeBmp(ReadFile(kSuite + path));
  EXPECT_TRUE(r.Ok()) << path;
  return r.Ok() ? r.Value() : Bitmap();
}

TEST(Sha256ForTests, KnownDigests) {
  auto hex = [](const std::string& s) {
    return testing::Sha256Hex(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
  };
  EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(BmpSuite, ManifestListsEveryFile) {
  int good = 0, questionable = 0, bad = 0;
  for (const SuiteFile& f : Manifest()) {
    good += f.kind == "good";
    questionable += f.kind == "questionable";
    bad += f.kind == "bad";
  }
  EXPECT_EQ(good, 27);
  EXPECT_EQ(questionable, 42);
  EXPECT_EQ(bad, 20);
}

class BmpSuiteFile : public ::testing::TestWithParam<SuiteFile> {};

TEST_P(BmpSuiteFile, DecodesOrIsRefusedAsItsClassRequires) {
  const SuiteFile& f = GetParam();
  std::vector<std::uint8_t> bytes = ReadFile(kSuite + f.path);
  ASSERT_FALSE(bytes.empty()) << "cannot read " << f.path;
  Result<Bitmap> r = DecodeBmp(bytes);
  if (f.kind == "good") {
    ASSERT_TRUE(r.Ok()) << r.Message();
  }
  if (!r.Ok()) {
    EXPECT_EQ(r.Message(), "Bitmap image is not valid");
    return;
  }
  EXPECT_EQ(r.Value().Width(), f.width);
  EXPECT_EQ(r.Value().Height(), f.height);
  std::string expected = ExpectedHash(f);
  if (!expected.empty()) {
    EXPECT_EQ(testing::Sha256Hex(TopDownRgb(r.Value())), expected);
  }
}

std::string TestName(const ::testing::TestParamInfo<SuiteFile>& info) {
  std::string name;
  for (char c : info.param.path) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuiteFile, ::testing::ValuesIn(Manifest()), TestName);

TEST(BmpSuite, GoodFilesWithoutAnOracleStillHaveOne) {
  // Every good file is checked against a checksum, apart from the 16-bit
  // ones, whose rounding the two reference tools disagree on.
  for (const SuiteFile& f : Manifest()) {
    if (f.kind != "good" || f.path.find("rgb16") != std::string::npos) continue;
    EXPECT_FALSE(ExpectedHash(f).empty()) << f.path;
  }
}

// Largest difference of any channel between two pictures of one size.
int WorstChannelDifference(const Bitmap& a, const Bitmap& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      Color c = a.Pixel(x, y);
      Color r = b.Pixel(x, y);
      worst = std::max({worst, std::abs(RedOf(c) - RedOf(r)), std::abs(GreenOf(c) - GreenOf(r)),
                        std::abs(BlueOf(c) - BlueOf(r))});
    }
  }
  return worst;
}

TEST(BmpSuite, SixteenBitFilesAreTheTwentyFourBitPictureQuantized) {
  Bitmap reference = MustDecode("g/rgb24.bmp");
  for (const char* path : {"g/rgb16.bmp", "g/rgb16bfdef.bmp", "g/rgb16-565.bmp",
                           "g/rgb16-565pal.bmp", "q/rgb16faketrns.bmp", "q/rgba16-5551.bmp"}) {
    Bitmap b = MustDecode(path);
    ASSERT_EQ(b.Width(), reference.Width()) << path;
    ASSERT_EQ(b.Height(), reference.Height()) << path;
    bool full = false;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) full = full || RedOf(b.Pixel(x, y)) == 255;
    }
    EXPECT_LE(WorstChannelDifference(b, reference), 7) << path;
    EXPECT_TRUE(full) << path << ": a full channel must give 255";
  }
  EXPECT_EQ(MustDecode("g/rgb16.bmp"), MustDecode("q/rgb16faketrns.bmp"));
  EXPECT_EQ(MustDecode("g/rgb16.bmp"), MustDecode("g/rgb16bfdef.bmp"));
  EXPECT_EQ(MustDecode("g/rgb16-565.bmp"), MustDecode("g/rgb16-565pal.bmp"));
}

TEST(BmpSuite, UnusualChannelWidthsShowTheSamePicture) {
  // Channels of 4 to 18 bits: within the rounding of the narrowest channel,
  // the picture of g/rgb24 (no alpha) or q/rgba32-1 (with alpha).
  const std::tuple<const char*, const char*, int> files[] = {
      {"q/rgb16-3103.bmp", "g/rgb24.bmp", 37},       {"q/rgb32-111110.bmp", "g/rgb24.bmp", 2},
      {"q/rgb32-7187.bmp", "g/rgb24.bmp", 2},        {"q/rgba16-4444.bmp", "q/rgba32-1.bmp", 17},
      {"q/rgba32-1010102.bmp", "q/rgba32-1.bmp", 2}, {"q/rgba32-61754.bmp", "q/rgba32-1.bmp", 8},
      {"q/rgba32-81284.bmp", "q/rgba32-1.bmp", 2}};
  for (auto [path, reference_path, tolerance] : files) {
    Bitmap b = MustDecode(path);
    Bitmap reference = MustDecode(reference_path);
    ASSERT_EQ(b.Width(), reference.Width()) << path;
    ASSERT_EQ(b.Height(), reference.Height()) << path;
    EXPECT_LT(WorstChannelDifference(b, reference), tolerance) << path;
  }
}

TEST(BmpSuite, OneAndTwoBitChannelsTakeOnlyTheirScaledValues) {
  // These files are dithered, so single pixels differ from the picture;
  // every value must still be one that the channel's width can give, and
  // where the picture is bright the channel must be bright on average.
  struct Case {
    const char* path;
    const char* reference;
    std::vector<int> red, green, blue;
  };
  const std::vector<int> two_bits = {0, 85, 170, 255};
  const std::vector<int> three_bits = {0, 36, 73, 109, 146, 182, 219, 255};
  const std::vector<int> one_bit = {0, 255};
  std::vector<int> nine_bits;  // every value
  for (int v = 0; v < 256; ++v) nine_bits.push_back(v);
  const Case cases[] = {{"q/rgb16-231.bmp", "g/rgb24.bmp", two_bits, three_bits, one_bit},
                        {"q/rgba16-1924.bmp", "q/rgba32-1.bmp", one_bit, nine_bits, two_bits}};
  for (const Case& c : cases) {
    Bitmap b = MustDecode(c.path);
    Bitmap reference = MustDecode(c.reference);
    ASSERT_EQ(b.Width(), reference.Width()) << c.path;
    double dark_sum[3] = {0, 0, 0}, bright_sum[3] = {0, 0, 0};
    int dark[3] = {0, 0, 0}, bright[3] = {0, 0, 0};
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        Color p = b.Pixel(x, y);
        Color r = reference.Pixel(x, y);
        ASSERT_TRUE(std::count(c.red.begin(), c.red.end(), RedOf(p))) << c.path;
        ASSERT_TRUE(std::count(c.green.begin(), c.green.end(), GreenOf(p))) << c.path;
        ASSERT_TRUE(std::count(c.blue.begin(), c.blue.end(), BlueOf(p))) << c.path;
        const int got[3] = {RedOf(p), GreenOf(p), BlueOf(p)};
        const int want[3] = {RedOf(r), GreenOf(r), BlueOf(r)};
        for (int i = 0; i < 3; ++i) {
          if (want[i] < 64) {
            dark_sum[i] += got[i];
            ++dark[i];
          } else if (want[i] >= 192) {
            bright_sum[i] += got[i];
            ++bright[i];
          }
        }
      }
    }
    for (int i = 0; i < 3; ++i) {
      ASSERT_GT(dark[i], 0);
      ASSERT_GT(bright[i], 0);
      EXPECT_GT(bright_sum[i] / bright[i] - dark_sum[i] / dark[i], 150.0)
          << c.path << " channel " << i;
    }
  }
}

TEST(BmpSuite, RefusedQuestionableFilesAreTheUnsupportedFormats) {
  // Our decisions: 2 and 64 bits per pixel, OS/2 version 2 headers and
  // embedded or exotic compression are refused; everything else decodes.
  const std::vector<std::string> refused = {
      "q/pal1huffmsb.bmp", "q/pal2.bmp",        "q/pal2color.bmp",   "q/pal8os2v2-16.bmp",
      "q/pal8os2v2-sz.bmp", "q/pal8os2v2.bmp",  "q/rgb24jpeg.bmp",   "q/rgb24png.bmp",
      "q/rgb24rle24.bmp",  "q/rgba32abf.bmp",   "q/rgba64.bmp"};
  for (const SuiteFile& f : Manifest()) {
    if (f.kind != "questionable") continue;
    bool expect_refused = std::find(refused.begin(), refused.end(), f.path) != refused.end();
    EXPECT_EQ(!DecodeBmp(ReadFile(kSuite + f.path)).Ok(), expect_refused) << f.path;
  }
}

TEST(BmpSuite, CutRunLengthFilesLeaveTheUnsetPixelsBlack) {
  for (const char* path : {"q/pal8rlecut.bmp", "q/pal4rlecut.bmp", "q/pal8rletrns.bmp",
                           "q/pal4rletrns.bmp"}) {
    Bitmap b = MustDecode(path);
    Bitmap whole = MustDecode(std::string(path).find("pal8") != std::string::npos ? "g/pal8.bmp"
                                                                                 : "g/pal4.bmp");
    int black = 0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        if (b.Pixel(x, y) == kBlack) {
          ++black;
        } else {
          EXPECT_EQ(b.Pixel(x, y), whole.Pixel(x, y)) << path << " at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(black, 0) << path;
  }
}

}  // namespace
}  // namespace vesk
