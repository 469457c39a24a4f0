// A small AVI file library: writes one video stream as a standard RIFF AVI
// 1.0 file (hdrl with avih, strl with strh and strf; movi with one chunk per
// sample; idx1). It takes the calls of the usual AVI file interface in the
// same order: open (replacing), create the stream from its stream
// information, set the format, write samples one at a time, release.
//
// The file is written through ReplacingWrite (a temporary file beside the
// target, protected targets refused); the counts and lengths of the headers
// are filled in at Release, which then puts it in place of the target. A file that is never released, or whose
// stream never got a format, is dropped and the previous file stays.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "core/common/file_io.h"
#include "core/common/result.h"

namespace vesk {

constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24);
}

inline constexpr std::uint32_t kStreamTypeVideo = FourCC('v', 'i', 'd', 's');
inline constexpr std::uint32_t kAviKeyFrame = 0x10;    // AVIIF_KEYFRAME
inline constexpr std::uint32_t kAviHasIndex = 0x10;    // AVIF_HASINDEX
// Largest AVI 1.0 file written: 1 GiB.
inline constexpr std::uint64_t kMaxAviFileBytes = std::uint64_t{1} << 30;

struct AviRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The stream information record; zero-initialised like the cleared record.
struct AviStreamInfo {
  std::uint32_t fccType = 0;
  std::uint32_t fccHandler = 0;
  std::uint32_t dwFlags = 0;
  std::uint16_t wPriority = 0;
  std::uint16_t wLanguage = 0;
  std::uint32_t dwScale = 0;
  std::uint32_t dwRate = 0;
  std::uint32_t dwStart = 0;
  std::uint32_t dwLength = 0;
  std::uint32_t dwInitialFrames = 0;
  std::uint32_t dwSuggestedBufferSize = 0;
  std::uint32_t dwQuality = 0;
  std::uint32_t dwSampleSize = 0;
  AviRect rcFrame;
};

// Size of a finished one-stream file of `samples` chunks of `sample_bytes`
// each with a format of `format_bytes`: what Release will leave on disk.
std::uint64_t AviFileSize(std::uint64_t samples, std::uint64_t sample_bytes,
                          std::uint64_t format_bytes);

class AviFile {
 public:
  AviFile() = default;
  ~AviFile();
  AviFile(const AviFile&) = delete;
  AviFile& operator=(const AviFile&) = delete;

  // Opens `path` for writing; an existing file of that name is replaced at
  // Release. Fails with "Cannot create file <path>" (also for a read-only
  // file, a folder or a FIFO of that name).
  Status Open(const std::string& path);
  // The one video stream. Needs a "vids" type, non-zero rate and scale, and
  // a frame rectangle that fits the file's 16-bit fields.
  Status CreateStream(const AviStreamInfo& info);
  // The stream's format (a BITMAPINFOHEADER with its colour table), at
  // position 0, once.
  Status SetFormat(int position, std::span<const std::uint8_t> format);
  // Writes `samples` (1) sample starting at sample `start` (the next one).
  // Fails without writing when the file would pass kMaxAviFileBytes.
  Status Write(int start, int samples, std::span<const std::uint8_t> data, std::uint32_t flags);
  // Fills in the counts, writes the index and puts the file in place.
  Status Release();
  // Drops what was written; the previous file stays.
  void Abandon();

  bool IsOpen() const { return file_.IsOpen(); }
  int SamplesWritten() const { return static_cast<int>(index_.size()); }

 private:
  struct IndexEntry {
    std::uint32_t flags;
    std::uint32_t offset;  // from the 'movi' four-character code
    std::uint32_t size;
  };

  Status WriteBytes(const std::uint8_t* data, std::size_t size);
  Status PatchU32(std::uint64_t offset, std::uint32_t value);

  std::string path_;
  ReplacingWrite file_;
  bool has_stream_ = false;
  bool has_format_ = false;
  bool failed_ = false;
  AviStreamInfo info_;
  std::vector<std::uint8_t> format_;
  std::uint32_t chunk_id_ = 0;
  std::uint64_t size_ = 0;          // bytes written so far
  std::uint64_t movi_fourcc_ = 0;   // file offset of 'movi'
  std::uint64_t movi_end_ = 0;      // end of the last sample written in full
  std::uint32_t largest_chunk_ = 0;
  std::vector<IndexEntry> index_;
  // Offsets of the fields filled in at Release.
  std::uint64_t avih_offset_ = 0;
  std::uint64_t strh_offset_ = 0;
  std::uint64_t movi_size_offset_ = 0;
};

}  // namespace vesk
