#include "video/video_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "core/common/file_io.h"
#include "video/ffmpeg_handles.h"
#include "video/gif_palette.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace vesk {
namespace {

// The container's bytes go through the program's replacing write, so an
// export follows the saving rules of every other file (a protected target
// is refused, a link kept, the old file whole until the export succeeds).
struct FileSink {
  ReplacingWrite file;
  std::int64_t position = 0;
  std::int64_t size = 0;
  // The first write that failed, with the system's reason ("No space left
  // on device"), which FFmpeg's own error code would lose.
  std::optional<Status> failed;
};

int WritePacket(void* opaque, std::uint8_t* data, int size) {
  auto* sink = static_cast<FileSink*>(opaque);
  if (size < 0) return AVERROR(EINVAL);
  Status written = sink->file.Write(data, static_cast<std::size_t>(size));
  if (!written) {
    if (!sink->failed) sink->failed = written;
    return AVERROR(EIO);
  }
  sink->position += size;
  sink->size = std::max(sink->size, sink->position);
  return size;
}

std::int64_t SeekPacket(void* opaque, std::int64_t offset, int whence) {
  auto* sink = static_cast<FileSink*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return sink->size;
  std::int64_t target = -1;
  if (whence == SEEK_SET) target = offset;
  if (whence == SEEK_CUR) target = sink->position + offset;
  if (whence == SEEK_END) target = sink->size + offset;
  if (target < 0) return AVERROR(EINVAL);
  if (!sink->file.Seek(static_cast<std::uint64_t>(target))) return AVERROR(EIO);
  sink->position = target;
  return target;
}

using ffmpeg::CodecDeleter;
using ffmpeg::FormatDeleter;
using ffmpeg::FrameDeleter;
using ffmpeg::IoDeleter;
using ffmpeg::PacketDeleter;
using ffmpeg::ScaleDeleter;
std::string FfmpegError(const char* what, int code) { return ffmpeg::ErrorText(what, code); }

struct FormatChoice {
  const char* muxer;
  const char* encoder;
  AVPixelFormat pixels;
};

FormatChoice ChoiceOf(VideoFormat format, const VideoOptions& options) {
  const bool full_colour = options.quality >= kVideoMaxQuality;
  switch (format) {
    case VideoFormat::kMp4:
      return {"mp4", "libx264", full_colour ? AV_PIX_FMT_YUV444P : AV_PIX_FMT_YUV420P};
    case VideoFormat::kWebm:
      if (options.lossless) return {"webm", "libvpx-vp9", AV_PIX_FMT_GBRP};
      return {"webm", "libvpx-vp9", full_colour ? AV_PIX_FMT_YUV444P : AV_PIX_FMT_YUV420P};
    case VideoFormat::kGif:
      break;
  }
  return {"gif", "gif", AV_PIX_FMT_PAL8};
}

// The encoders' constant-quality settings for quality 0 .. 100.
int H264Crf(int quality) { return 1 + 50 * (kVideoMaxQuality - quality) / kVideoMaxQuality; }
int Vp9Crf(int quality) { return 63 * (kVideoMaxQuality - quality) / kVideoMaxQuality; }

// A picture with its last column and row repeated up to `width` x `height`.
void PadWithEdges(const Bitmap& picture, Bitmap& padded) {
  for (int y = 0; y < padded.Height(); ++y) {
    const Color* src = picture.Row(std::min(y, picture.Height() - 1));
    Color* dst = padded.Row(y);
    std::copy(src, src + picture.Width(), dst);
    std::fill(dst + picture.Width(), dst + padded.Width(), src[picture.Width() - 1]);
  }
}

}  // namespace

class VideoStream::Encoder {
 public:
  Status Open(VideoFormat format, const std::string& path, int width, int height,
              const VideoOptions& options) {
    format_ = format;
    const FormatChoice choice = ChoiceOf(format, options);
    Status created = sink_.file.Open(path);
    if (!created) return created;
    AVFormatContext* oc = nullptr;
    int ret = avformat_alloc_output_context2(&oc, nullptr, choice.muxer, nullptr);
    if (ret < 0 || oc == nullptr) return Failure{FfmpegError("Cannot make the video container", ret)};
    output_.reset(oc);

    const AVCodec* codec = avcodec_find_encoder_by_name(choice.encoder);
    if (codec == nullptr) {
      return Failure{std::string("FFmpeg has no ") + choice.encoder + " encoder"};
    }
    stream_ = avformat_new_stream(oc, nullptr);
    if (stream_ == nullptr) return Failure{"Cannot add the video stream"};
    encoder_.reset(avcodec_alloc_context3(codec));
    if (!encoder_) return Failure{"Cannot make the video encoder"};
    AVCodecContext* ctx = encoder_.get();
    // Colour at half resolution needs even sizes (VP9 takes odd ones, but
    // its last half column of colour then comes out far off); the padding
    // repeats the edge pixels.
    const bool half_colour = choice.pixels == AV_PIX_FMT_YUV420P;
    width_ = half_colour ? (width + 1) / 2 * 2 : width;
    height_ = half_colour ? (height + 1) / 2 * 2 : height;
    ctx->width = width_;
    ctx->height = height_;
    ctx->time_base = AVRational{1, options.fps};
    ctx->framerate = AVRational{options.fps, 1};
    ctx->pix_fmt = choice.pixels;
    ctx->gop_size = 12;
    stream_->time_base = ctx->time_base;
    stream_->avg_frame_rate = ctx->framerate;
    if (format == VideoFormat::kGif) {
      // Whole frames only: later frames are not cropped against earlier ones,
      // whose palette may differ.
      av_opt_set_int(ctx->priv_data, "gifflags", 0, 0);
    } else {
      if (choice.pixels == AV_PIX_FMT_GBRP) {
        ctx->colorspace = AVCOL_SPC_RGB;
        ctx->color_range = AVCOL_RANGE_JPEG;
      } else {
        ctx->colorspace = AVCOL_SPC_SMPTE170M;
        ctx->color_primaries = AVCOL_PRI_SMPTE170M;
        ctx->color_trc = AVCOL_TRC_SMPTE170M;
        ctx->color_range = AVCOL_RANGE_MPEG;
      }
      if (format == VideoFormat::kMp4) {
        av_opt_set(ctx->priv_data, "preset", "medium", 0);
        av_opt_set_int(ctx->priv_data, "crf", H264Crf(options.quality), 0);
      } else {
        ctx->bit_rate = 0;  // constant quality
        if (options.lossless) {
          av_opt_set_int(ctx->priv_data, "lossless", 1, 0);
        } else {
          av_opt_set_int(ctx->priv_data, "crf", Vp9Crf(options.quality), 0);
        }
        av_opt_set(ctx->priv_data, "deadline", "good", 0);
        av_opt_set(ctx->priv_data, "cpu-used", "4", 0);
      }
    }
    if (oc->oformat->flags & AVFMT_GLOBALHEADER) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    ret = avcodec_open2(ctx, codec, nullptr);
    if (ret < 0) return Failure{FfmpegError("Cannot open the video encoder", ret)};
    ret = avcodec_parameters_from_context(stream_->codecpar, ctx);
    if (ret < 0) return Failure{FfmpegError("Cannot set the stream parameters", ret)};

    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame_ || !packet_) return Failure{"Not enough memory for the video frame"};
    frame_->format = ctx->pix_fmt;
    frame_->width = width_;
    frame_->height = height_;
    ret = av_frame_get_buffer(frame_.get(), 0);
    if (ret < 0) return Failure{FfmpegError("Cannot make the video frame", ret)};
    if (format != VideoFormat::kGif) {
      scaler_.reset(sws_getContext(width_, height_, AV_PIX_FMT_RGB0, width_, height_, ctx->pix_fmt,
                                   SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr,
                                   nullptr, nullptr));
      if (!scaler_) return Failure{"Cannot make the colour conversion"};
    }

    constexpr int kBufferSize = 1 << 16;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBufferSize));
    if (buffer == nullptr) return Failure{"Not enough memory for the video file"};
    io_.reset(avio_alloc_context(buffer, kBufferSize, 1, &sink_, nullptr, WritePacket, SeekPacket));
    if (!io_) {
      av_free(buffer);
      return Failure{"Not enough memory for the video file"};
    }
    oc->pb = io_.get();
    oc->flags |= AVFMT_FLAG_CUSTOM_IO;
    ret = avformat_write_header(oc, nullptr);
    if (ret < 0) return WriteFailureOr(FfmpegError("Cannot write the video header", ret));
    return Status::Success();
  }

  // `picture` has the size given to Open (before any padding).
  Status Add(const Bitmap& picture) {
    int ret = av_frame_make_writable(frame_.get());
    if (ret < 0) return Failure{FfmpegError("Cannot write the video frame", ret)};
    if (format_ == VideoFormat::kGif) {
      FillIndexed(picture);
    } else {
      const Bitmap* source = &picture;
      if (picture.Width() != width_ || picture.Height() != height_) {
        if (padded_.Empty()) padded_ = Bitmap(width_, height_);
        PadWithEdges(picture, padded_);
        source = &padded_;
      }
      // Colour bytes in memory are red, green, blue, 0: FFmpeg's RGB0.
      const std::uint8_t* planes[1] = {reinterpret_cast<const std::uint8_t*>(source->Row(0))};
      const int strides[1] = {width_ * 4};
      sws_scale(scaler_.get(), planes, strides, 0, height_, frame_->data, frame_->linesize);
    }
    frame_->pts = next_pts_++;
    return Encode(frame_.get());
  }

  Status Finish() {
    Status flushed = Encode(nullptr);
    if (!flushed) return flushed;
    int ret = av_write_trailer(output_.get());
    if (ret < 0) return WriteFailureOr(FfmpegError("Cannot finish the video file", ret));
    avio_flush(io_.get());
    if (io_->error < 0) {
      return WriteFailureOr(FfmpegError("Cannot finish the video file", io_->error));
    }
    return sink_.file.Commit();
  }

 private:
  void FillIndexed(const Bitmap& picture) {
    const IndexedPicture indexed = ToIndexedColors(picture);
    for (int y = 0; y < height_; ++y) {
      std::memcpy(frame_->data[0] + static_cast<std::ptrdiff_t>(y) * frame_->linesize[0],
                  indexed.indices.data() + static_cast<std::size_t>(y) * width_,
                  static_cast<std::size_t>(width_));
    }
    // FFmpeg's palette entries are 0xAARRGGBB, all opaque here.
    auto* palette = reinterpret_cast<std::uint32_t*>(frame_->data[1]);
    for (int i = 0; i < 256; ++i) {
      const Color c = indexed.palette[static_cast<std::size_t>(i)];
      palette[i] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }

  // Sends a frame (or, with none, the end of the stream) and writes every
  // packet the encoder hands back.
  Status Encode(const AVFrame* frame) {
    int ret = avcodec_send_frame(encoder_.get(), frame);
    if (ret < 0) return Failure{kAviAddFrameMessage};
    while (true) {
      ret = avcodec_receive_packet(encoder_.get(), packet_.get());
      if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) return Status::Success();
      if (ret < 0) return Failure{kAviAddFrameMessage};
      av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
      packet_->stream_index = stream_->index;
      ret = av_interleaved_write_frame(output_.get(), packet_.get());
      if (ret < 0) return WriteFailureOr(kAviAddFrameMessage);
    }
  }

  // The file's own write error when one happened, else `otherwise`.
  Status WriteFailureOr(const std::string& otherwise) const {
    return sink_.failed ? *sink_.failed : Status(Failure{otherwise});
  }

  VideoFormat format_ = VideoFormat::kMp4;
  // Declared first, so it is released last: the container writes through it.
  FileSink sink_;
  std::unique_ptr<AVIOContext, IoDeleter> io_;
  std::unique_ptr<AVFormatContext, FormatDeleter> output_;
  std::unique_ptr<AVCodecContext, CodecDeleter> encoder_;
  std::unique_ptr<AVFrame, FrameDeleter> frame_;
  std::unique_ptr<AVPacket, PacketDeleter> packet_;
  std::unique_ptr<SwsContext, ScaleDeleter> scaler_;
  AVStream* stream_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::int64_t next_pts_ = 0;
  Bitmap padded_;
};

VideoStream::VideoStream() = default;
VideoStream::~VideoStream() = default;

Status VideoStream::Open(const std::string& path, int width, int height,
                         const VideoOptions& options) {
  const std::optional<VideoFormat> format = VideoFormatOf(path);
  if (!format) return Failure{kVideoUnknownFormatMessage};
  Status possible = CheckVideoOptions(*format, options);
  if (!possible) return possible;
  av_log_set_level(AV_LOG_ERROR);  // the encoders' chatter stays off the terminal
  width_ = width;
  height_ = height;
  encoder_ = std::make_unique<Encoder>();
  Status opened = encoder_->Open(*format, path, width, height, options);
  if (!opened) encoder_.reset();
  return opened;
}

Status VideoStream::Add(const Bitmap& frame) {
  if (!encoder_) return Failure{kAviAddFrameMessage};
  if (frame.Width() != width_ || frame.Height() != height_) return Failure{kAviAddFrameMessage};
  return encoder_->Add(frame);
}

Status VideoStream::Finish() {
  if (!encoder_) return Failure{kAviAddFrameMessage};
  Status finished = encoder_->Finish();
  encoder_.reset();
  return finished;
}

}  // namespace vesk
