#include "video/png_picture.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "video/ffmpeg_handles.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace vesk {
namespace {

Failure EncoderFailure(int code) {
  return Failure{ffmpeg::ErrorText("Cannot encode the PNG picture", code)};
}

}  // namespace

bool IsPngName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ending = path.substr(path.size() - 4);
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".png";
}

Result<std::vector<std::uint8_t>> EncodePng(const Bitmap& picture) {
  if (picture.Empty()) return Failure{"Cannot encode an empty picture as PNG"};
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
  if (codec == nullptr) return Failure{"This FFmpeg has no PNG encoder"};
  std::unique_ptr<AVCodecContext, ffmpeg::CodecDeleter> ctx(avcodec_alloc_context3(codec));
  std::unique_ptr<AVFrame, ffmpeg::FrameDeleter> frame(av_frame_alloc());
  std::unique_ptr<AVPacket, ffmpeg::PacketDeleter> packet(av_packet_alloc());
  if (!ctx || !frame || !packet) return Failure{"Out of memory for the PNG encoder"};
  ctx->width = picture.Width();
  ctx->height = picture.Height();
  ctx->pix_fmt = AV_PIX_FMT_RGB24;
  ctx->time_base = {1, 1};
  // Each row predicted from its neighbours (Paeth): a third smaller than
  // the encoder's default for photos.
  av_opt_set(ctx->priv_data, "pred", "paeth", 0);
  int ret = avcodec_open2(ctx.get(), codec, nullptr);
  if (ret < 0) return EncoderFailure(ret);
  frame->format = AV_PIX_FMT_RGB24;
  frame->width = picture.Width();
  frame->height = picture.Height();
  ret = av_frame_get_buffer(frame.get(), 0);
  if (ret < 0) return EncoderFailure(ret);
  for (int y = 0; y < picture.Height(); ++y) {
    const Color* row = picture.Row(y);
    std::uint8_t* out = frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0];
    for (int x = 0; x < picture.Width(); ++x) {
      out[3 * x] = row[x] & 0xFF;
      out[3 * x + 1] = (row[x] >> 8) & 0xFF;
      out[3 * x + 2] = (row[x] >> 16) & 0xFF;
    }
  }
  std::vector<std::uint8_t> bytes;
  ret = avcodec_send_frame(ctx.get(), frame.get());
  if (ret >= 0) ret = avcodec_send_frame(ctx.get(), nullptr);
  while (ret >= 0) {
    ret = avcodec_receive_packet(ctx.get(), packet.get());
    if (ret < 0) break;
    bytes.insert(bytes.end(), packet->data, packet->data + packet->size);
    av_packet_unref(packet.get());
  }
  if (ret != AVERROR_EOF) return EncoderFailure(ret);
  return bytes;
}

}  // namespace vesk
