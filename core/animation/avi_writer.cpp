#include "core/animation/avi_writer.h"

#include "core/animation/avi_file.h"
#include "core/animation/dib.h"

namespace vesk {

Result<const Bitmap*> BitmapListFrames::Frame(int index) {
  const Bitmap* frame = frames_[static_cast<std::size_t>(index)];
  if (frame == nullptr) return Failure{kAviEmptyFrameMessage};
  return frame;
}

Result<const Bitmap*> FrameAtSize(AviFrameSource& frames, int index, int width, int height,
                                  Bitmap& scaled) {
  Result<const Bitmap*> frame = frames.Frame(index);
  if (!frame.Ok()) return frame;
  const Bitmap* bitmap = frame.Value();
  if (bitmap->Empty()) return Failure{kAviEmptyFrameMessage};
  if (bitmap->Width() == width && bitmap->Height() == height) return bitmap;
  if (scaled.Empty()) scaled = Bitmap(width, height);
  ScaleNearest(*bitmap, scaled);
  return &scaled;
}

void ScaleNearest(const Bitmap& source, Bitmap& target) {
  const int sw = source.Width(), sh = source.Height();
  const int tw = target.Width(), th = target.Height();
  if (sw == 0 || sh == 0 || tw == 0 || th == 0) return;
  std::vector<int> column(static_cast<std::size_t>(tw));
  for (int x = 0; x < tw; ++x) {
    column[x] = static_cast<int>(static_cast<std::int64_t>(x) * sw / tw);
  }
  for (int y = 0; y < th; ++y) {
    const Color* src = source.Row(static_cast<int>(static_cast<std::int64_t>(y) * sh / th));
    Color* dst = target.Row(y);
    for (int x = 0; x < tw; ++x) dst[x] = src[column[x]];
  }
}

Status WriteAviFile(AviFrameSource& frames, const std::string& out_path,
                    const AviCounter& counter) {
  const int count = frames.FrameCount();
  if (count <= 0) return Failure{kAviEmptyListMessage};

  // Entry 1 sets the sizes, the format and the stream's frame.
  Result<const Bitmap*> first = frames.Frame(0);
  if (!first.Ok()) return Failure{first.Message()};
  if (first.Value()->Empty()) return Failure{kAviEmptyFrameMessage};
  const int width = first.Value()->Width();
  const int height = first.Value()->Height();
  const DibSizes sizes = GetDibSizes(*first.Value(), DibColors::kTrueColor);
  if (AviFileSize(static_cast<std::uint64_t>(count), static_cast<std::uint64_t>(sizes.image_size),
                  static_cast<std::uint64_t>(sizes.header_size)) > kMaxAviFileBytes) {
    return Failure{kAviTooLargeMessage};
  }

  AviFile file;
  Status opened = file.Open(out_path);
  if (!opened.Ok()) return opened;

  std::vector<std::uint8_t> header(static_cast<std::size_t>(sizes.header_size));
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(sizes.image_size));
  GetDib(*first.Value(), nullptr, header, pixels, DibColors::kTrueColor);
  const BitmapInfoHeader format =
      BitmapInfoHeader::FromBytes(std::span<const std::uint8_t, kBitmapInfoHeaderSize>(
          header.data(), kBitmapInfoHeaderSize));

  AviStreamInfo info;
  info.fccType = kStreamTypeVideo;
  info.fccHandler = 0;  // no compressor
  info.dwScale = 1;
  info.dwRate = 2;
  info.dwSuggestedBufferSize = format.biSizeImage;
  info.rcFrame = AviRect{0, 0, format.biWidth, format.biHeight};
  Status stream = file.CreateStream(info);
  if (!stream.Ok()) return stream;
  Status formatted = file.SetFormat(0, header);
  if (!formatted.Ok()) return formatted;

  Bitmap scaled;  // frames of another size, made once when first needed
  for (int i = 0; i < count; ++i) {
    if (counter) counter(i + 1, count);
    Result<const Bitmap*> frame = FrameAtSize(frames, i, width, height, scaled);
    if (!frame.Ok()) return Failure{frame.Message()};
    const Bitmap* bitmap = frame.Value();
    GetDib(*bitmap, nullptr, header, pixels, DibColors::kTrueColor);
    if (!file.Write(i, 1, pixels, kAviKeyFrame).Ok()) {
      file.Release();  // the frames before it stay written
      return Failure{kAviAddFrameMessage};
    }
  }
  return file.Release();
}

Status WriteAviFile(const std::vector<const Bitmap*>& frames, const std::string& out_path,
                    const AviCounter& counter) {
  BitmapListFrames source(frames);
  return WriteAviFile(source, out_path, counter);
}

}  // namespace vesk
