// FFmpeg's objects as the video library owns them (std::unique_ptr with the
// matching free call) and the message of an FFmpeg error code; private to
// video/, whose .cpp files alone include FFmpeg.
#pragma once

#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace vesk::ffmpeg {

struct IoDeleter {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};
struct FormatDeleter {
  void operator()(AVFormatContext* oc) const { avformat_free_context(oc); }
};
struct CodecDeleter {
  void operator()(AVCodecContext* ctx) const { avcodec_free_context(&ctx); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleDeleter {
  void operator()(SwsContext* sws) const { sws_freeContext(sws); }
};

// "<what>: <FFmpeg's text for the code>".
inline std::string ErrorText(const char* what, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return std::string(what) + ": " + text;
}

}  // namespace vesk::ffmpeg
