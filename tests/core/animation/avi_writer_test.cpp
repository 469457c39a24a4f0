#include "core/animation/avi_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/animation/avi_file.h"
#include "tests/core/animation/riff_walker.h"

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#include "tests/core/support/temp_folder.h"
#define VESK_HAVE_RLIMIT 1
#endif

namespace vesk {
namespace {

namespace fs = std::filesystem;
using testing_riff::I16;
using testing_riff::Id;
using testing_riff::ReadBytes;
using testing_riff::RiffChunk;
using testing_riff::U16;
using testing_riff::U32;
using testing_riff::WalkRiff;

Bitmap RandomFrame(int width, int height, std::mt19937& rng) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, static_cast<Color>(rng() & 0xFFFFFF));
  }
  return b;
}

std::vector<const Bitmap*> Pointers(const std::vector<Bitmap>& frames) {
  std::vector<const Bitmap*> out;
  for (const Bitmap& f : frames) out.push_back(&f);
  return out;
}

// Pixel (x, y) of a 24-bit bottom-up sample with rows padded to 4 bytes.
Color SamplePixel(const std::vector<std::uint8_t>& b, std::size_t data, int width, int height,
                  int x, int y) {
  std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::size_t at = data + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x;
  return MakeColor(b.at(at + 2), b.at(at + 1), b.at(at));
}

class AviWriter : public testing_support::TempFolderTest {};

TEST_F(AviWriter, TwentyFourFramesOfSixteenSquareHaveTheStatedHeaders) {
  std::mt19937 rng(24);
  std::vector<Bitmap> frames;
  for (int i = 0; i < 24; ++i) frames.push_back(RandomFrame(16, 16, rng));
  std::string out = PathOf("x.avi");
  ASSERT_TRUE(WriteAviFile(Pointers(frames), out, nullptr).Ok());

  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  EXPECT_EQ(root.list_type, "AVI ");
  EXPECT_EQ(root.size, b.size() - 8);
  EXPECT_EQ(b.size(), AviFileSize(24, 768, 40));

  const RiffChunk* hdrl = root.Child("hdrl");
  ASSERT_NE(hdrl, nullptr);
  const RiffChunk* avih = hdrl->Child("avih");
  ASSERT_NE(avih, nullptr);
  ASSERT_EQ(avih->size, 56u);
  std::size_t a = avih->data_offset;
  EXPECT_EQ(U32(b, a + 0), 500000u);  // microseconds per frame at 2 frames per second
  EXPECT_EQ(U32(b, a + 12) & kAviHasIndex, kAviHasIndex);
  EXPECT_EQ(U32(b, a + 16), 24u);  // total frames
  EXPECT_EQ(U32(b, a + 24), 1u);   // streams
  EXPECT_EQ(U32(b, a + 32), 16u);
  EXPECT_EQ(U32(b, a + 36), 16u);

  const RiffChunk* strl = hdrl->Child("strl");
  ASSERT_NE(strl, nullptr);
  const RiffChunk* strh = strl->Child("strh");
  ASSERT_NE(strh, nullptr);
  ASSERT_EQ(strh->size, 56u);
  std::size_t s = strh->data_offset;
  EXPECT_EQ(Id(b, s), "vids");
  EXPECT_EQ(U32(b, s + 4), 0u);   // no compressor
  EXPECT_EQ(U32(b, s + 20), 1u);  // scale
  EXPECT_EQ(U32(b, s + 24), 2u);  // rate
  EXPECT_EQ(U32(b, s + 28), 0u);  // start
  EXPECT_EQ(U32(b, s + 32), 24u); // length
  EXPECT_EQ(U32(b, s + 36), 768u);
  EXPECT_EQ(U32(b, s + 40), 0u);  // quality
  EXPECT_EQ(U32(b, s + 44), 0u);  // sample size
  EXPECT_EQ(I16(b, s + 48), 0);
  EXPECT_EQ(I16(b, s + 50), 0);
  EXPECT_EQ(I16(b, s + 52), 16);
  EXPECT_EQ(I16(b, s + 54), 16);

  const RiffChunk* strf = strl->Child("strf");
  ASSERT_NE(strf, nullptr);
  ASSERT_EQ(strf->size, 40u);
  std::size_t f = strf->data_offset;
  EXPECT_EQ(U32(b, f), 40u);
  EXPECT_EQ(U32(b, f + 4), 16u);
  EXPECT_EQ(U32(b, f + 8), 16u);
  EXPECT_EQ(U16(b, f + 12), 1);
  EXPECT_EQ(U16(b, f + 14), 24);
  EXPECT_EQ(U32(b, f + 16), 0u);
  EXPECT_EQ(U32(b, f + 20), 768u);

  const RiffChunk* movi = root.Child("movi");
  ASSERT_NE(movi, nullptr);
  ASSERT_EQ(movi->children.size(), 24u);
  for (int k = 0; k < 24; ++k) {
    const RiffChunk& sample = movi->children[k];
    EXPECT_EQ(sample.id, "00db");
    ASSERT_EQ(sample.size, 768u);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(SamplePixel(b, sample.data_offset, 16, 16, x, y), frames[k].Pixel(x, y))
            << "frame " << k << " at " << x << "," << y;
      }
    }
  }

  const RiffChunk* idx1 = root.Child("idx1");
  ASSERT_NE(idx1, nullptr);
  ASSERT_EQ(idx1->size, 24u * 16);
  const std::size_t movi_fourcc = movi->offset + 8;
  for (int k = 0; k < 24; ++k) {
    std::size_t e = idx1->data_offset + 16 * k;
    EXPECT_EQ(Id(b, e), "00db");
    EXPECT_EQ(U32(b, e + 4), kAviKeyFrame) << k;
    EXPECT_EQ(movi_fourcc + U32(b, e + 8), movi->children[k].offset) << k;
    EXPECT_EQ(U32(b, e + 12), 768u);
  }
}

TEST_F(AviWriter, WidthThreeWritesRowsOfTwelveBytes) {
  Bitmap frame(3, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 3; ++x) frame.SetPixel(x, y, MakeColor(10 * x + 1, 20 * y + 2, 3));
  }
  std::string out = PathOf("w3.avi");
  ASSERT_TRUE(WriteAviFile({&frame, &frame}, out, nullptr).Ok());
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  const RiffChunk* strh = root.Child("hdrl")->Child("strl")->Child("strh");
  EXPECT_EQ(U32(b, strh->data_offset + 36), 60u);
  const RiffChunk* movi = root.Child("movi");
  ASSERT_EQ(movi->children.size(), 2u);
  EXPECT_EQ(movi->children[0].size, 60u);
  for (int row = 0; row < 5; ++row) {
    std::size_t at = movi->children[0].data_offset + 12 * row;
    EXPECT_EQ(b[at + 9], 0);
    EXPECT_EQ(b[at + 10], 0);
    EXPECT_EQ(b[at + 11], 0);
    EXPECT_EQ(MakeColor(b[at + 2], b[at + 1], b[at]), frame.Pixel(0, 4 - row));
  }
}

TEST_F(AviWriter, CounterRunsFromOneOfFiveToFiveOfFive) {
  std::vector<Bitmap> frames(5, Bitmap(4, 4, kBlack));
  std::vector<std::pair<int, int>> seen;
  ASSERT_TRUE(WriteAviFile(Pointers(frames), PathOf("c.avi"),
                           [&](int i, int n) { seen.emplace_back(i, n); })
                  .Ok());
  std::vector<std::pair<int, int>> expected = {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};
  EXPECT_EQ(seen, expected);
}

TEST_F(AviWriter, ExistingFileIsReplacedWithoutLeftovers) {
  std::string out = PathOf("old.avi");
  std::ofstream(out, std::ios::binary) << std::string(100000, 'z');
  Bitmap frame(8, 8, kWhite);
  ASSERT_TRUE(WriteAviFile({&frame}, out, nullptr).Ok());
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  EXPECT_EQ(b.size(), AviFileSize(1, 192, 40));
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(AviWriter, EmptyListWritesNothingAndSaysSo) {
  std::string out = PathOf("none.avi");
  Status status = WriteAviFile(std::vector<const Bitmap*>{}, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "The frame list holds no frame: no AVI file was written");
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(AviWriter, FramesOfAnotherSizeAreScaledToTheFirstFrame) {
  std::mt19937 rng(5);
  std::vector<Bitmap> frames = {RandomFrame(6, 4, rng), RandomFrame(3, 2, rng),
                                RandomFrame(13, 9, rng), RandomFrame(1, 1, rng)};
  std::string out = PathOf("mixed.avi");
  ASSERT_TRUE(WriteAviFile(Pointers(frames), out, nullptr).Ok());
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  const RiffChunk* movi = root.Child("movi");
  ASSERT_EQ(movi->children.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    ASSERT_EQ(movi->children[k].size, 80u);  // 6 x 4: rows of 18 bytes padded to 20
    const Bitmap& src = frames[k];
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 6; ++x) {
        Color want = src.Pixel(x * src.Width() / 6, y * src.Height() / 4);
        ASSERT_EQ(SamplePixel(b, movi->children[k].data_offset, 6, 4, x, y), want)
            << k << " " << x << "," << y;
      }
    }
  }
}

TEST_F(AviWriter, FileThatWouldPassOneGibibyteIsRefusedBeforeWriting) {
  std::string out = PathOf("big.avi");
  std::ofstream(out, std::ios::binary) << "keep";
  Bitmap frame(1000, 1000, kBlack);  // 3,000,000 bytes a frame
  ASSERT_LE(AviFileSize(357, 3000000, 40), kMaxAviFileBytes);
  std::vector<const Bitmap*> too_many(358, &frame);
  ASSERT_GT(AviFileSize(358, 3000000, 40), kMaxAviFileBytes);
  int counted = 0;
  Status status = WriteAviFile(too_many, out, [&](int, int) { ++counted; });
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "The AVI file would be larger than 1 GiB: no AVI file was written");
  EXPECT_EQ(counted, 0);
  EXPECT_EQ(ReadBytes(out), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(AviWriter, FolderThatDoesNotExistIsReported) {
  Bitmap frame(2, 2);
  std::string out = PathOf("missing/x.avi");
  Status status = WriteAviFile({&frame}, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "Cannot create file " + out);
}

class FailingSource : public AviFrameSource {
 public:
  explicit FailingSource(int fail_at) : fail_at_(fail_at), frame_(4, 4, kBlack) {}
  int FrameCount() const override { return 6; }
  Result<const Bitmap*> Frame(int index) override {
    if (index == fail_at_) return Failure{"Bitmap image is not valid"};
    return &frame_;
  }

 private:
  int fail_at_;
  Bitmap frame_;
};

TEST_F(AviWriter, FrameThatCannotBeHadLeavesThePreviousFile) {
  std::string out = PathOf("keep.avi");
  std::ofstream(out, std::ios::binary) << "previous";
  FailingSource source(3);
  Status status = WriteAviFile(source, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "Bitmap image is not valid");
  EXPECT_EQ(ReadBytes(out).size(), 8u);
  EXPECT_EQ(FilesInFolder(), 1);
}

#ifdef VESK_HAVE_RLIMIT
// A write that fails half-way (here: the process may not make files larger
// than 40,000 bytes) reports "Could not add frame" and keeps the frames
// written before it as a valid file.
[[noreturn]] void WriteUnderFileSizeLimit(const std::string& out) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{40000, 40000};
  setrlimit(RLIMIT_FSIZE, &limit);
  Bitmap frame(64, 64, MakeColor(1, 2, 3));  // 12,288 bytes a frame
  std::vector<const Bitmap*> frames(10, &frame);
  Status status = WriteAviFile(frames, out, nullptr);
  std::exit(!status.Ok() && status.Message() == "Could not add frame" ? 0 : 1);
}

TEST_F(AviWriter, FailedWriteKeepsTheFramesBeforeIt) {
  std::string out = PathOf("cut.avi");
  EXPECT_EXIT(WriteUnderFileSizeLimit(out), ::testing::ExitedWithCode(0), "");
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  const RiffChunk* movi = root.Child("movi");
  ASSERT_NE(movi, nullptr);
  EXPECT_EQ(movi->children.size(), 3u);
  EXPECT_EQ(root.Child("idx1")->size, 3u * 16);
  EXPECT_EQ(U32(b, root.Child("hdrl")->Child("avih")->data_offset + 16), 3u);
  EXPECT_EQ(FilesInFolder(), 1);
}
#endif

TEST(ScaleNearest, MatchesThePlainRuleOnRandomSizes) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    Bitmap source = RandomFrame(1 + rng() % 20, 1 + rng() % 20, rng);
    Bitmap target(1 + rng() % 20, 1 + rng() % 20);
    ScaleNearest(source, target);
    for (int y = 0; y < target.Height(); ++y) {
      for (int x = 0; x < target.Width(); ++x) {
        ASSERT_EQ(target.Pixel(x, y), source.Pixel(x * source.Width() / target.Width(),
                                                   y * source.Height() / target.Height()));
      }
    }
  }
}

class AviFileLayer : public AviWriter {};

AviStreamInfo VideoInfo(int width, int height, std::uint32_t buffer) {
  AviStreamInfo info;
  info.fccType = kStreamTypeVideo;
  info.dwScale = 1;
  info.dwRate = 2;
  info.dwSuggestedBufferSize = buffer;
  info.rcFrame = AviRect{0, 0, width, height};
  return info;
}

std::vector<std::uint8_t> Format(int width, int height) {
  std::vector<std::uint8_t> f(40, 0);
  f[0] = 40;
  f[4] = static_cast<std::uint8_t>(width);
  f[8] = static_cast<std::uint8_t>(height);
  f[12] = 1;
  f[14] = 24;
  return f;
}

TEST_F(AviFileLayer, OddSamplesArePaddedToEvenSizes) {
  std::string out = PathOf("odd.avi");
  AviFile file;
  ASSERT_TRUE(file.Open(out).Ok());
  ASSERT_TRUE(file.CreateStream(VideoInfo(1, 1, 5)).Ok());
  ASSERT_TRUE(file.SetFormat(0, Format(1, 1)).Ok());
  std::vector<std::uint8_t> sample = {1, 2, 3, 4, 5};
  ASSERT_TRUE(file.Write(0, 1, sample, kAviKeyFrame).Ok());
  ASSERT_TRUE(file.Write(1, 1, sample, 0).Ok());
  ASSERT_TRUE(file.Release().Ok());
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  EXPECT_EQ(b.size(), AviFileSize(2, 5, 40));
  const RiffChunk* movi = root.Child("movi");
  ASSERT_EQ(movi->children.size(), 2u);
  EXPECT_EQ(movi->children[1].offset, movi->children[0].offset + 14);
  EXPECT_EQ(b[movi->children[0].data_offset + 5], 0);  // the pad byte
  const RiffChunk* idx1 = root.Child("idx1");
  EXPECT_EQ(U32(b, idx1->data_offset + 4), kAviKeyFrame);
  EXPECT_EQ(U32(b, idx1->data_offset + 16 + 4), 0u);
  EXPECT_EQ(U32(b, idx1->data_offset + 16 + 12), 5u);
}

TEST_F(AviFileLayer, CallsOutOfOrderAreRefused) {
  std::string out = PathOf("order.avi");
  AviFile file;
  ASSERT_TRUE(file.Open(out).Ok());
  std::vector<std::uint8_t> sample(3, 7);
  EXPECT_FALSE(file.SetFormat(0, Format(1, 1)).Ok());  // no stream yet
  AviStreamInfo audio = VideoInfo(1, 1, 3);
  audio.fccType = FourCC('a', 'u', 'd', 's');
  EXPECT_FALSE(file.CreateStream(audio).Ok());
  AviStreamInfo no_rate = VideoInfo(1, 1, 3);
  no_rate.dwRate = 0;
  EXPECT_FALSE(file.CreateStream(no_rate).Ok());
  EXPECT_FALSE(file.CreateStream(VideoInfo(40000, 1, 3)).Ok());
  ASSERT_TRUE(file.CreateStream(VideoInfo(1, 1, 3)).Ok());
  EXPECT_FALSE(file.CreateStream(VideoInfo(1, 1, 3)).Ok());  // one stream only
  EXPECT_FALSE(file.Write(0, 1, sample, kAviKeyFrame).Ok());  // no format yet
  EXPECT_FALSE(file.SetFormat(0, std::vector<std::uint8_t>(39)).Ok());
  EXPECT_FALSE(file.SetFormat(1, Format(1, 1)).Ok());
  ASSERT_TRUE(file.SetFormat(0, Format(1, 1)).Ok());
  EXPECT_FALSE(file.SetFormat(0, Format(1, 1)).Ok());
  Status skipped = file.Write(1, 1, sample, kAviKeyFrame);
  ASSERT_FALSE(skipped.Ok());
  EXPECT_EQ(skipped.Message(), "Could not add frame");
  EXPECT_FALSE(file.Write(0, 2, sample, kAviKeyFrame).Ok());
  ASSERT_TRUE(file.Write(0, 1, sample, kAviKeyFrame).Ok());
  ASSERT_TRUE(file.Release().Ok());
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(ReadBytes(out), root, error)) << error;
  EXPECT_EQ(root.Child("movi")->children.size(), 1u);
}

TEST_F(AviFileLayer, FileWithoutFormatLeavesThePreviousFile) {
  std::string out = PathOf("prev.avi");
  std::ofstream(out, std::ios::binary) << "old";
  {
    AviFile file;
    ASSERT_TRUE(file.Open(out).Ok());
    ASSERT_TRUE(file.CreateStream(VideoInfo(1, 1, 3)).Ok());
    EXPECT_FALSE(file.Release().Ok());
  }
  {
    AviFile file;  // never released: dropped when it goes
    ASSERT_TRUE(file.Open(out).Ok());
    ASSERT_TRUE(file.CreateStream(VideoInfo(1, 1, 3)).Ok());
    ASSERT_TRUE(file.SetFormat(0, Format(1, 1)).Ok());
  }
  EXPECT_EQ(ReadBytes(out), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(FilesInFolder(), 1);
}

}  // namespace
}  // namespace vesk
