// Writing a list of bitmaps as a video file through FFmpeg's libraries:
// MP4 with H.264, WebM with VP9, or an animated GIF, chosen by the file's
// extension. The structure is that of FFmpeg's muxing example: open the
// output, add the stream, open the encoder, send the frames, flush, write
// the trailer, every call's result checked.
//
// As with the AVI writer: the first frame sets the size and a frame of
// another size is scaled to it (nearest neighbour); an empty list writes
// nothing and says so; the counter gets (i, n) before frame i of n. The
// video is written to a temporary file beside the target and moved into
// place only when complete, so a failed or cancelled export leaves no file
// behind and an existing file is replaced only by a finished video.
//
// MP4: H.264, BT.601 limited range. WebM: VP9. Both keep colour at half
// resolution (yuv420p), which every player takes, and pad an odd width or
// height to even by repeating the last column or row; at quality 100 they
// keep colour at full resolution (yuv444p), so fine saturated detail
// survives, in a form that desktop players and browsers play for VP9 but
// that browsers refuse for H.264. A lossless WebM is VP9 in planar RGB and
// decodes to exactly the frames. GIF: a palette per frame without
// dithering, so a frame of at most 256 colours is kept exactly; the
// animation loops for ever; quality does not apply.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/animation/avi_writer.h"
#include "core/common/result.h"

namespace vesk {

enum class VideoFormat { kMp4, kWebm, kGif };

inline constexpr char kVideoEmptyListMessage[] =
    "The frame list holds no frame: no video file was written";
inline constexpr char kVideoCancelledMessage[] = "Export cancelled: no video file was written";
inline constexpr char kVideoUnknownFormatMessage[] =
    "A video file name ends in .mp4, .webm or .gif";
inline constexpr int kVideoDefaultFps = 2;  // as the AVI
inline constexpr int kVideoMaxFps = 100;
// Quality 0 (smallest file) to 100, mapped linearly onto the encoder's
// constant-quality scale: H.264 CRF 51 .. 1 (0 is its lossless mode, which
// few players take), VP9 CRF 63 .. 0.
// The default gives H.264 CRF 18 and VP9 CRF 22.
inline constexpr int kVideoDefaultQuality = 65;
inline constexpr int kVideoMaxQuality = 100;

struct VideoOptions {
  int fps = kVideoDefaultFps;  // 1 .. kVideoMaxFps
  int quality = kVideoDefaultQuality;  // 0 .. kVideoMaxQuality
  bool lossless = false;  // WebM only; quality is then not used
  bool operator==(const VideoOptions&) const = default;
};

// The format that a file name's extension names (any letter case).
std::optional<VideoFormat> VideoFormatOf(const std::string& path);

// True when the export should stop; asked before every frame.
using VideoCancel = std::function<bool()>;

// Refuses what no video of `format` can be: a frame rate or quality out of
// range, or lossless other than for WebM (common players, browsers and
// phones, do not play lossless H.264; a GIF is exact only up to 256
// colours a frame).
Status CheckVideoOptions(VideoFormat format, const VideoOptions& options);

// Writes `frames` to `out_path` in the format of its extension, after
// CheckVideoOptions. `counter` and `cancelled` may be empty.
Status WriteVideoFile(AviFrameSource& frames, const std::string& out_path,
                      const VideoOptions& options, const AviCounter& counter,
                      const VideoCancel& cancelled);
Status WriteVideoFile(const std::vector<const Bitmap*>& frames, const std::string& out_path,
                      const VideoOptions& options, const AviCounter& counter,
                      const VideoCancel& cancelled);

}  // namespace vesk
