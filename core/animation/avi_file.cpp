#include "core/animation/avi_file.h"

#include <algorithm>
#include <limits>

#include "core/common/file_io.h"

namespace vesk {
namespace {

constexpr std::uint32_t kRiff = FourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kList = FourCC('L', 'I', 'S', 'T');
constexpr std::size_t kAvihSize = 56;
constexpr std::size_t kStrhSize = 56;

std::uint64_t Padded(std::uint64_t size) { return size + (size & 1); }

void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Append16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Store32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

bool FitsInt16(std::int32_t v) { return v >= -32768 && v <= 32767; }

}  // namespace

std::uint64_t AviFileSize(std::uint64_t samples, std::uint64_t sample_bytes,
                          std::uint64_t format_bytes) {
  const std::uint64_t fixed = 12                      // RIFF 'AVI '
                              + 12 + 8 + kAvihSize    // LIST 'hdrl', avih
                              + 12 + 8 + kStrhSize    // LIST 'strl', strh
                              + 8 + Padded(format_bytes)  // strf
                              + 12                    // LIST 'movi'
                              + 8;                    // idx1
  return fixed + samples * (8 + Padded(sample_bytes) + 16);
}

AviFile::~AviFile() { Abandon(); }

Status AviFile::Open(const std::string& path) {
  Abandon();
  Status opened = file_.Open(path);
  if (!opened) return opened;
  path_ = path;
  has_stream_ = false;
  has_format_ = false;
  failed_ = false;
  info_ = AviStreamInfo{};
  format_.clear();
  size_ = 0;
  largest_chunk_ = 0;
  index_.clear();
  return Status::Success();
}

Status AviFile::CreateStream(const AviStreamInfo& info) {
  if (!IsOpen() || has_stream_) return Failure{"Cannot create the AVI stream"};
  if (info.fccType != kStreamTypeVideo || info.dwRate == 0 || info.dwScale == 0) {
    return Failure{"Cannot create the AVI stream"};
  }
  const AviRect& r = info.rcFrame;
  if (!FitsInt16(r.left) || !FitsInt16(r.top) || !FitsInt16(r.right) || !FitsInt16(r.bottom)) {
    return Failure{"The frame is too large for an AVI file"};
  }
  info_ = info;
  has_stream_ = true;
  return Status::Success();
}

Status AviFile::SetFormat(int position, std::span<const std::uint8_t> format) {
  if (!IsOpen() || !has_stream_ || has_format_ || position != 0 || format.size() < 40 ||
      format.size() > (std::size_t{1} << 20)) {
    return Failure{"Cannot set the AVI stream format"};
  }
  format_.assign(format.begin(), format.end());
  const std::uint32_t compression = Load32(format_.data() + 16);
  chunk_id_ = compression == 0 ? FourCC('0', '0', 'd', 'b') : FourCC('0', '0', 'd', 'c');

  std::int32_t width = info_.rcFrame.right - info_.rcFrame.left;
  std::int32_t height = info_.rcFrame.bottom - info_.rcFrame.top;
  if (width <= 0 || height <= 0) {
    width = static_cast<std::int32_t>(Load32(format_.data() + 4));
    height = static_cast<std::int32_t>(Load32(format_.data() + 8));
    if (height < 0) height = -height;
  }

  // Everything up to the first sample; counts are filled in at Release.
  std::vector<std::uint8_t> h;
  const std::uint64_t strf_size = format_.size();
  const std::uint32_t strl_size = static_cast<std::uint32_t>(4 + 8 + kStrhSize + 8 + Padded(strf_size));
  const std::uint32_t hdrl_size = static_cast<std::uint32_t>(4 + 8 + kAvihSize + 8 + strl_size);
  Append32(h, kRiff);
  Append32(h, 0);  // RIFF size, at Release
  Append32(h, FourCC('A', 'V', 'I', ' '));
  Append32(h, kList);
  Append32(h, hdrl_size);
  Append32(h, FourCC('h', 'd', 'r', 'l'));

  Append32(h, FourCC('a', 'v', 'i', 'h'));
  Append32(h, kAvihSize);
  avih_offset_ = h.size();
  const std::uint64_t micro_sec = std::uint64_t{1000000} * info_.dwScale / info_.dwRate;
  Append32(h, static_cast<std::uint32_t>(std::min<std::uint64_t>(micro_sec, UINT32_MAX)));
  Append32(h, 0);  // dwMaxBytesPerSec, at Release
  Append32(h, 0);  // dwPaddingGranularity
  Append32(h, kAviHasIndex);
  Append32(h, 0);  // dwTotalFrames, at Release
  Append32(h, info_.dwInitialFrames);
  Append32(h, 1);  // dwStreams
  Append32(h, 0);  // dwSuggestedBufferSize, at Release
  Append32(h, static_cast<std::uint32_t>(width));
  Append32(h, static_cast<std::uint32_t>(height));
  for (int i = 0; i < 4; ++i) Append32(h, 0);

  Append32(h, kList);
  Append32(h, strl_size);
  Append32(h, FourCC('s', 't', 'r', 'l'));
  Append32(h, FourCC('s', 't', 'r', 'h'));
  Append32(h, kStrhSize);
  strh_offset_ = h.size();
  Append32(h, info_.fccType);
  Append32(h, info_.fccHandler);
  Append32(h, info_.dwFlags);
  Append16(h, info_.wPriority);
  Append16(h, info_.wLanguage);
  Append32(h, info_.dwInitialFrames);
  Append32(h, info_.dwScale);
  Append32(h, info_.dwRate);
  Append32(h, info_.dwStart);
  Append32(h, 0);  // dwLength, at Release
  Append32(h, info_.dwSuggestedBufferSize);
  Append32(h, info_.dwQuality);
  Append32(h, info_.dwSampleSize);
  Append16(h, static_cast<std::uint16_t>(info_.rcFrame.left));
  Append16(h, static_cast<std::uint16_t>(info_.rcFrame.top));
  Append16(h, static_cast<std::uint16_t>(info_.rcFrame.right));
  Append16(h, static_cast<std::uint16_t>(info_.rcFrame.bottom));
  Append32(h, FourCC('s', 't', 'r', 'f'));
  Append32(h, static_cast<std::uint32_t>(strf_size));
  h.insert(h.end(), format_.begin(), format_.end());
  if (strf_size & 1) h.push_back(0);

  Append32(h, kList);
  movi_size_offset_ = h.size();
  Append32(h, 0);  // movi size, at Release
  movi_fourcc_ = h.size();
  Append32(h, FourCC('m', 'o', 'v', 'i'));

  Status written = WriteBytes(h.data(), h.size());
  if (!written.Ok()) return Failure{"Cannot set the AVI stream format"};
  movi_end_ = size_;
  has_format_ = true;
  return Status::Success();
}

Status AviFile::Write(int start, int samples, std::span<const std::uint8_t> data,
                      std::uint32_t flags) {
  if (!IsOpen() || !has_format_ || failed_ || samples != 1 || start != SamplesWritten() ||
      data.size() > std::numeric_limits<std::uint32_t>::max()) {
    return Failure{"Could not add frame"};
  }
  const std::uint64_t after = size_ + 8 + Padded(data.size());
  const std::uint64_t index_bytes = 8 + 16 * (index_.size() + 1);
  if (after + index_bytes > kMaxAviFileBytes) return Failure{"Could not add frame"};

  std::uint8_t head[8];
  Store32(head, chunk_id_);
  Store32(head + 4, static_cast<std::uint32_t>(data.size()));
  const std::uint64_t chunk_offset = size_ - movi_fourcc_;
  static const std::uint8_t kPad = 0;
  if (!WriteBytes(head, 8).Ok() || !WriteBytes(data.data(), data.size()).Ok() ||
      ((data.size() & 1) && !WriteBytes(&kPad, 1).Ok())) {
    return Failure{"Could not add frame"};
  }
  index_.push_back(IndexEntry{flags & kAviKeyFrame, static_cast<std::uint32_t>(chunk_offset),
                              static_cast<std::uint32_t>(data.size())});
  largest_chunk_ = std::max(largest_chunk_, static_cast<std::uint32_t>(data.size()));
  movi_end_ = size_;
  return Status::Success();
}

Status AviFile::Release() {
  if (!IsOpen()) return Status::Success();
  if (!has_format_) {
    Abandon();
    return Failure{"The AVI file has no video stream"};
  }
  const std::string failure = "Cannot write file " + path_;
  // A file whose sample write failed half-way is cut back to the samples
  // written in full before the index goes on.
  const std::uint64_t movi_end = movi_end_;
  if (size_ != movi_end) {
    if (!file_.Seek(movi_end)) {
      Abandon();
      return Failure{failure};
    }
    size_ = movi_end;
    failed_ = false;
  }

  std::vector<std::uint8_t> idx;
  idx.reserve(8 + 16 * index_.size());
  Append32(idx, FourCC('i', 'd', 'x', '1'));
  Append32(idx, static_cast<std::uint32_t>(16 * index_.size()));
  for (const IndexEntry& e : index_) {
    Append32(idx, chunk_id_);
    Append32(idx, e.flags);
    Append32(idx, e.offset);
    Append32(idx, e.size);
  }
  if (!WriteBytes(idx.data(), idx.size()).Ok()) {
    Abandon();
    return Failure{failure};
  }
  const std::uint64_t file_size = size_;

  const std::uint32_t frames = static_cast<std::uint32_t>(index_.size());
  const std::uint32_t buffer = std::max(info_.dwSuggestedBufferSize, largest_chunk_);
  const std::uint64_t bytes_per_sec =
      (std::uint64_t{buffer} * info_.dwRate + info_.dwScale - 1) / info_.dwScale;
  bool ok = PatchU32(4, static_cast<std::uint32_t>(file_size - 8)).Ok() &&
            PatchU32(avih_offset_ + 4, static_cast<std::uint32_t>(
                                           std::min<std::uint64_t>(bytes_per_sec, UINT32_MAX)))
                .Ok() &&
            PatchU32(avih_offset_ + 16, frames).Ok() &&
            PatchU32(avih_offset_ + 28, buffer).Ok() &&
            PatchU32(strh_offset_ + 32, frames).Ok() &&
            PatchU32(strh_offset_ + 36, buffer).Ok() &&
            PatchU32(movi_size_offset_, static_cast<std::uint32_t>(movi_end - movi_fourcc_)).Ok();
  if (!ok) {
    Abandon();
    return Failure{failure};
  }
  // The file may be longer than what was kept (a failed write cut back).
  if (!file_.Truncate(file_size) || !file_.Commit()) {
    Abandon();
    return Failure{failure};
  }
  has_stream_ = false;
  has_format_ = false;
  return Status::Success();
}

void AviFile::Abandon() {
  file_.Abandon();
  has_stream_ = false;
  has_format_ = false;
}

Status AviFile::WriteBytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return Status::Success();
  Status written = file_.Write(data, size);
  // What went out before a failure counts: Release cuts it back.
  size_ += size;
  if (!written) failed_ = true;
  return written;
}

Status AviFile::PatchU32(std::uint64_t offset, std::uint32_t value) {
  std::uint8_t bytes[4];
  Store32(bytes, value);
  if (!file_.Seek(offset)) return Failure{"Cannot write file " + path_};
  return file_.Write(bytes, 4);
}

}  // namespace vesk
