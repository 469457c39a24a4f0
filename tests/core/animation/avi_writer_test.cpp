// The AVI writer: the layout read back by our own RIFF walker, the refusals, a cut write,
// the file decoded by an independent reader (ffprobe and ffmpeg), and the
// indexed DIB selectors.
#include "core/animation/avi_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

#include "core/animation/avi_file.h"
#include "core/animation/dib.h"
#include "core/common/file_io.h"
#include "tests/core/animation/riff_walker.h"
#include "tests/core/support/other_programs.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using namespace testing_riff;
using Bytes = std::vector<std::uint8_t>;
using namespace testing_support;  // random pictures, FFmpeg's tools

// The chunk at `path` below `root` (an empty one when missing).
const RiffChunk& At(const RiffChunk& root, const std::vector<const char*>& path) {
  static const RiffChunk none;
  const RiffChunk* c = &root;
  for (const char* name : path) c = c->Child(name) ? c->Child(name) : &none;
  return *c;
}

// The file as one RIFF chunk of type "AVI ".
RiffChunk Walk(const Bytes& b) {
  std::vector<RiffChunk> top;
  std::string error;
  EXPECT_TRUE(WalkChunks(b, 0, b.size(), top, error)) << error;
  EXPECT_EQ(top.size() == 1 ? top[0].id + top[0].list_type : "not one chunk", "RIFFAVI ");
  return top.empty() ? RiffChunk{} : top[0];
}

// The file's samples are the frames scaled (nearest) to width x height,
// 24-bit bottom-up DIBs with rows padded to 4 bytes, blue first.
void ExpectSamples(const std::string& path, const std::vector<Bitmap>& frames, int width,
                   int height) {
  const Bytes b = ReadWholeFile(path).Value();
  const RiffChunk root = Walk(b);
  const RiffChunk& movi = At(root, {"movi"});
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  ASSERT_EQ(movi.children.size(), frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    ASSERT_EQ(movi.children[k].id, "00db");
    ASSERT_EQ(movi.children[k].size, stride * height);
    const Bitmap& f = frames[k];
    for (int y = 0; y < height; ++y) {
      const std::size_t row = movi.children[k].data_offset + (height - 1 - y) * stride;
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(MakeColor(b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]),
                  f.Pixel(x * f.Width() / width, y * f.Height() / height))
            << "frame " << k << " at " << x << "," << y;
      }
      for (std::size_t pad = row + 3 * width; pad < row + stride; ++pad) ASSERT_EQ(b[pad], 0);
    }
  }
}

std::vector<const Bitmap*> Pointers(const std::vector<Bitmap>& frames) {
  std::vector<const Bitmap*> out;
  for (const Bitmap& f : frames) out.push_back(&f);
  return out;
}

class AviWriter : public testing_support::TempFolderTest {};

TEST_F(AviWriter, TwentyFourFramesOfSixteenSquareHaveTheStatedLayout) {
  std::vector<Bitmap> frames;
  for (int i = 0; i < 24; ++i) frames.push_back(RandomImage(16, 16, 24 + i));
  std::vector<std::pair<int, int>> counted;
  const auto count = [&](int i, int n) { counted.emplace_back(i, n); };
  ASSERT_TRUE(WriteAviFile(Pointers(frames), PathOf("x.avi"), count).Ok());
  EXPECT_EQ(counted.front(), std::make_pair(1, 24));
  EXPECT_EQ(counted.back(), std::make_pair(24, 24));
  ExpectSamples(PathOf("x.avi"), frames, 16, 16);
  const Bytes b = ReadWholeFile(PathOf("x.avi")).Value();
  EXPECT_EQ(b.size(), AviFileSize(24, 768, 40));
  const RiffChunk root = Walk(b);
  const RiffChunk& movi = At(root, {"movi"});
  const RiffChunk& idx1 = At(root, {"idx1"});
  // Each chunk from its size field on, 32 bits a field in the file's order: avih from
  // dwMicroSecPerFrame, strh from fccType to rcFrame, strf up to biSizeImage.
  const std::pair<std::vector<const char*>, std::vector<std::uint32_t>> headers[] = {
      {{"hdrl", "avih"}, {56, 500000, 1536, 0, kAviHasIndex, 24, 0, 1, 768, 16, 16}},
      {{"hdrl", "strl", "strh"},
       {56, kStreamTypeVideo, 0, 0, 0, 0, 1, 2, 0, 24, 768, 0, 0, 0, 16 | 16 << 16}},
      {{"hdrl", "strl", "strf"}, {40, 40, 16, 16, 1 | 24 << 16, 0, 768}},
      {{"idx1"}, {24 * 16}}};
  for (const auto& [path, words] : headers) {
    const std::size_t at = At(root, path).data_offset - 4;
    for (std::size_t i = 0; i < words.size(); ++i) {
      EXPECT_EQ(U32(b, at + 4 * i), words[i]) << path.back() << " field " << i;
    }
  }
  for (std::size_t k = 0; k < 24; ++k) {
    const std::size_t e = idx1.data_offset + 16 * k;
    EXPECT_EQ(Id(b, e), "00db");
    EXPECT_EQ(U32(b, e + 4), kAviKeyFrame);
    EXPECT_EQ(movi.offset + 8 + U32(b, e + 8), movi.children.at(k).offset) << k;
    EXPECT_EQ(U32(b, e + 12), 768u);
  }
  // Frames of other sizes are scaled to the first frame's.
  const std::vector<Bitmap> mixed = {RandomImage(7, 5, 1), RandomImage(3, 2, 2),
                                     RandomImage(13, 9, 3), RandomImage(1, 1, 4)};
  ASSERT_TRUE(WriteAviFile(Pointers(mixed), PathOf("mixed.avi"), nullptr).Ok());
  ExpectSamples(PathOf("mixed.avi"), mixed, 7, 5);
  // rcFrame holds 16-bit coordinates: 32767 pixels on a side still fit.
  for (const Bitmap& edge : {Bitmap(32767, 1, kBlack), Bitmap(1, 32767, kBlack)}) {
    EXPECT_TRUE(WriteAviFile({&edge}, PathOf("edge.avi"), nullptr).Ok()) << edge.Width();
  }
}

TEST_F(AviWriter, RefusalsLeaveThePreviousFile) {
  struct FailingSource : AviFrameSource {
    int FrameCount() const override { return 6; }
    Result<const Bitmap*> Frame(int index) override {
      if (index == 3) return Failure{"Bitmap image is not valid"};
      return &frame;
    }
    Bitmap frame{4, 4, kBlack};
  } failing;
  const Bitmap big(1000, 1000, kBlack);  // 3,000,000 bytes a frame: 358 pass 1 GiB
  const Bitmap wide(32768, 1, kBlack), high(1, 32768, kBlack);  // past 16-bit rcFrame
  ASSERT_LE(AviFileSize(357, 3000000, 40), kMaxAviFileBytes);
  const std::string out = PathOf("keep.avi");
  const auto never = [](int, int) { ADD_FAILURE() << "counted"; };
  const char* too_wide = "The frame is too large for an AVI file";
  const char* messages[] = {kAviEmptyListMessage, kAviTooLargeMessage, "Bitmap image is not valid",
                            too_wide, too_wide};
  for (int row = 0; row < 5; ++row) {
    std::ofstream(out, std::ios::binary) << "keep";
    const Status status =
        row == 0 ? WriteAviFile(std::vector<const Bitmap*>{}, out, nullptr)
        : row == 1 ? WriteAviFile(std::vector<const Bitmap*>(358, &big), out, never)
        : row == 2 ? WriteAviFile(failing, out, nullptr)
                   : WriteAviFile({row == 3 ? &wide : &high}, out, nullptr);
    EXPECT_EQ(status.Message(), messages[row]);
    EXPECT_EQ(Text("keep.avi"), "keep") << row;
    EXPECT_EQ(FilesInFolder(), 1) << row;
  }
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
  EXPECT_EXIT(WriteUnderFileSizeLimit(PathOf("cut.avi")), ::testing::ExitedWithCode(0), "");
  const Bytes b = ReadWholeFile(PathOf("cut.avi")).Value();
  const RiffChunk root = Walk(b);
  EXPECT_EQ(At(root, {"movi"}).children.size(), 3u);
  EXPECT_EQ(At(root, {"idx1"}).size, 3u * 16);
  EXPECT_EQ(U32(b, At(root, {"hdrl", "avih"}).data_offset + 16), 3u);
  EXPECT_EQ(FilesInFolder(), 1);
}

// 24 frames of an odd width (rows padded), read back as bgr24 at 2 frames
// per second, every decoded pixel the frame's, top row first.
TEST_F(AviWriter, FfprobeAndFfmpegDecodeOurFileToTheFramesAtTwoFramesPerSecond) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe/ffmpeg missing";
  std::vector<Bitmap> frames;
  for (int k = 0; k < 24; ++k) frames.push_back(RandomImage(15, 9, 2024 + k));
  const std::string out = PathOf("x.avi");
  ASSERT_TRUE(WriteAviFile(Pointers(frames), out, nullptr).Ok());
  EXPECT_EQ(Shell("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                  "stream=codec_type,width,height,pix_fmt,r_frame_rate,nb_read_frames "
                  "-of default=noprint_wrappers=1 '" + out + "'"),
            "codec_type=video\nwidth=15\nheight=9\npix_fmt=bgr24\nr_frame_rate=2/1\n"
            "nb_read_frames=24\n");
  const std::string raw = Shell("ffmpeg -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
  ASSERT_EQ(raw.size(), 24u * 9 * 15 * 3);
  for (int k = 0; k < 24; ++k) EXPECT_EQ(Psnr(raw, 9 * 15 * 3 * k, 15, frames[k]), 99) << k;
}

// The DIB selectors besides the writer's true colour: black, white and a
// light grey in each indexed format give the depth, the table size and the
// first two pixel bytes (nearest entries, high bits first).
TEST(DibFormats, IndexedSelectorsTakeTheNearestEntryOfTheirTable) {
  Bitmap pixels(3, 1, kBlack);
  pixels.SetPixel(1, 0, kWhite);
  pixels.SetPixel(2, 0, MakeColor(200, 200, 200));
  for (const auto& [selector, bits, byte0, byte1] :
       {std::tuple{DibColors::kTwo, 1, 0x60, 0x00},  // the grey goes white
        {DibColors::kSixteen, 4, 0x0F, 0x70},        // the grey takes light grey 7
        {DibColors::k256, 8, 0x00, 215}}) {          // white ends the 6 x 6 x 6 cube
    const DibSizes sizes = GetDibSizes(pixels, selector);
    EXPECT_EQ(sizes.header_size, 40 + 4 * (1 << bits));
    Bytes header(static_cast<std::size_t>(sizes.header_size));
    Bytes image(static_cast<std::size_t>(sizes.image_size));
    ASSERT_TRUE(GetDib(pixels, nullptr, header, image, selector));
    EXPECT_EQ(std::tuple(header[14], image[0], image[1]), std::tuple(bits, byte0, byte1)) << bits;
  }
  // The bitmap's own depth: 4 bits stay 4, 16 and 32 become 24.
  for (const auto& [bits, expected] : {std::pair{4, 4}, {16, 24}, {32, 24}}) {
    BitmapInfoHeader header;
    InitDibHeader(DibSource{3, 1, 1, bits}, header, DibColors::kOwn);
    EXPECT_EQ(header.biBitCount, expected) << bits;
  }
}

}  // namespace
}  // namespace vesk
