#include "core/animation/avi_writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sys/resource.h>

#include "core/animation/avi_file.h"
#include "tests/core/animation/riff_walker.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using namespace testing_riff;

Bitmap RandomFrame(int width, int height, std::mt19937& rng) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
  }
  return b;
}

std::vector<const Bitmap*> Pointers(const std::vector<Bitmap>& frames) {
  std::vector<const Bitmap*> out;
  for (const Bitmap& f : frames) out.push_back(&f);
  return out;
}

class AviWriter : public testing_support::TempFolderTest {};

// Every sample of `movi` is frame k scaled (nearest) to width x height, as a
// 24-bit bottom-up DIB with rows padded to 4 bytes, blue first.
void ExpectSamples(const Bytes& b, const RiffChunk& movi, const std::vector<Bitmap>& frames,
                   int width, int height) {
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  ASSERT_EQ(movi.children.size(), frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    const RiffChunk& sample = movi.children[k];
    ASSERT_EQ(sample.id, "00db");
    ASSERT_EQ(sample.size, stride * height);
    const Bitmap& f = frames[k];
    for (int y = 0; y < height; ++y) {
      const std::size_t row = sample.data + (height - 1 - y) * stride;
      for (int x = 0; x < width; ++x) {
        const std::size_t at = row + 3 * x;
        ASSERT_EQ(MakeColor(b[at + 2], b[at + 1], b[at]),
                  f.Pixel(x * f.Width() / width, y * f.Height() / height))
            << "frame " << k << " at " << x << "," << y;
      }
      for (std::size_t pad = row + 3 * width; pad < row + stride; ++pad) ASSERT_EQ(b[pad], 0);
    }
  }
}

TEST_F(AviWriter, TwentyFourFramesOfSixteenSquareHaveTheStatedLayout) {
  std::mt19937 rng(24);
  std::vector<Bitmap> frames;
  for (int i = 0; i < 24; ++i) frames.push_back(RandomFrame(16, 16, rng));
  std::vector<std::pair<int, int>> counted;
  ASSERT_TRUE(WriteAviFile(Pointers(frames), PathOf("x.avi"),
                           [&](int i, int n) { counted.emplace_back(i, n); }).Ok());
  EXPECT_EQ(counted.front(), std::make_pair(1, 24));
  EXPECT_EQ(counted.back(), std::make_pair(24, 24));
  const Bytes b = ReadBytes(PathOf("x.avi"));
  std::string error;
  const RiffChunk root = WalkRiff(b, error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(root.type, "AVI ");
  EXPECT_EQ(b.size(), AviFileSize(24, 768, 40));
  const RiffChunk& avih = root["hdrl"]["avih"];
  const RiffChunk& strh = root["hdrl"]["strl"]["strh"];
  const RiffChunk& strf = root["hdrl"]["strl"]["strf"];
  EXPECT_EQ(avih.size, 56u);
  EXPECT_EQ(strh.size, 56u);
  EXPECT_EQ(strf.size, 40u);
  struct Field { const char* name; std::size_t at; std::uint32_t value; };
  for (const Field& f : {Field{"microseconds a frame", avih.data, 500000},
                         Field{"has index", avih.data + 12, kAviHasIndex},
                         Field{"total frames", avih.data + 16, 24}, Field{"streams", avih.data + 24, 1},
                         Field{"width", avih.data + 32, 16}, Field{"height", avih.data + 36, 16},
                         Field{"vids", strh.data, FourCC('v', 'i', 'd', 's')},
                         Field{"no compressor", strh.data + 4, 0}, Field{"scale", strh.data + 20, 1},
                         Field{"rate", strh.data + 24, 2}, Field{"start", strh.data + 28, 0},
                         Field{"length", strh.data + 32, 24}, Field{"buffer", strh.data + 36, 768},
                         Field{"quality", strh.data + 40, 0}, Field{"sample size", strh.data + 44, 0},
                         Field{"frame left, top", strh.data + 48, 0},
                         Field{"frame right, bottom", strh.data + 52, 16 | 16 << 16},
                         Field{"header size", strf.data, 40}, Field{"DIB width", strf.data + 4, 16},
                         Field{"DIB height", strf.data + 8, 16},
                         Field{"planes, bits", strf.data + 12, 1 | 24 << 16},
                         Field{"compression", strf.data + 16, 0},
                         Field{"image size", strf.data + 20, 768}}) {
    EXPECT_EQ(U32(b, f.at), f.value) << f.name;
  }
  ExpectSamples(b, root["movi"], frames, 16, 16);
  const RiffChunk& idx1 = root["idx1"];
  ASSERT_EQ(idx1.size, 24u * 16);
  for (std::size_t k = 0; k < 24; ++k) {
    const std::size_t e = idx1.data + 16 * k;
    EXPECT_EQ(Id(b, e), "00db");
    EXPECT_EQ(U32(b, e + 4), kAviKeyFrame);
    EXPECT_EQ(root["movi"].offset + 8 + U32(b, e + 8), root["movi"].children[k].offset) << k;
    EXPECT_EQ(U32(b, e + 12), 768u);
  }
}

TEST_F(AviWriter, FramesOfOtherSizesAreScaledToTheFirstFrame) {
  std::mt19937 rng(5);
  const std::vector<Bitmap> frames = {RandomFrame(7, 5, rng), RandomFrame(3, 2, rng),
                                      RandomFrame(13, 9, rng), RandomFrame(1, 1, rng)};
  ASSERT_TRUE(WriteAviFile(Pointers(frames), PathOf("mixed.avi"), nullptr).Ok());
  const Bytes b = ReadBytes(PathOf("mixed.avi"));
  std::string error;
  const RiffChunk root = WalkRiff(b, error);
  ASSERT_EQ(error, "");
  ExpectSamples(b, root["movi"], frames, 7, 5);
}

TEST_F(AviWriter, RefusalsLeaveThePreviousFile) {
  class FailingSource : public AviFrameSource {
   public:
    int FrameCount() const override { return 6; }
    Result<const Bitmap*> Frame(int index) override {
      if (index == 3) return Failure{"Bitmap image is not valid"};
      return &frame_;
    }
    Bitmap frame_{4, 4, kBlack};
  } failing;
  const Bitmap big(1000, 1000, kBlack);  // 3,000,000 bytes a frame: 358 pass 1 GiB
  ASSERT_LE(AviFileSize(357, 3000000, 40), kMaxAviFileBytes);
  struct Row { const char* name; std::string message; std::function<Status(std::string)> write; };
  const Row rows[] = {
      {"empty list", kAviEmptyListMessage,
       [](std::string out) { return WriteAviFile(std::vector<const Bitmap*>{}, out, nullptr); }},
      {"over 1 GiB", kAviTooLargeMessage,
       [&](std::string out) {
         return WriteAviFile(std::vector<const Bitmap*>(358, &big), out,
                             [](int, int) { ADD_FAILURE() << "counted"; });
       }},
      {"frame not had", "Bitmap image is not valid",
       [&](std::string out) { return WriteAviFile(failing, out, nullptr); }},
  };
  for (const Row& row : rows) {
    std::ofstream(PathOf("keep.avi"), std::ios::binary) << "keep";
    const Status status = row.write(PathOf("keep.avi"));
    EXPECT_EQ(status.Message(), row.message) << row.name;
    EXPECT_EQ(ReadBytes(PathOf("keep.avi")), (Bytes{'k', 'e', 'e', 'p'})) << row.name;
    EXPECT_EQ(FilesInFolder(), 1) << row.name;
  }
  const Bitmap frame(2, 2);
  EXPECT_EQ(WriteAviFile({&frame}, PathOf("missing/x.avi"), nullptr).Message(),
            "Cannot create file " + PathOf("missing/x.avi"));
}

// A write that fails half-way (the process may not make files larger than
// 40,000 bytes) says "Could not add frame" and keeps the frames before it
// as a valid file.
[[noreturn]] void WriteUnderFileSizeLimit(const std::string& out) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{40000, 40000};
  setrlimit(RLIMIT_FSIZE, &limit);
  const Bitmap frame(64, 64, MakeColor(1, 2, 3));  // 12,288 bytes a frame
  const Status status = WriteAviFile(std::vector<const Bitmap*>(10, &frame), out, nullptr);
  std::exit(status.Message() == kAviAddFrameMessage ? 0 : 1);
}

TEST_F(AviWriter, FailedWriteKeepsTheFramesBeforeIt) {
  const std::string out = PathOf("cut.avi");
  EXPECT_EXIT(WriteUnderFileSizeLimit(out), ::testing::ExitedWithCode(0), "");
  const Bytes b = ReadBytes(out);
  std::string error;
  const RiffChunk root = WalkRiff(b, error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(root["movi"].children.size(), 3u);
  EXPECT_EQ(root["idx1"].size, 3u * 16);
  EXPECT_EQ(U32(b, root["hdrl"]["avih"].data + 16), 3u);
  EXPECT_EQ(FilesInFolder(), 1);
}

}  // namespace
}  // namespace vesk
