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
// MP4: H.264 in yuv420p, BT.601 limited range; an odd width or height is
// padded to even by repeating the last column or row. WebM: VP9 in
// yuv420p. GIF: a palette per frame without dithering, so a frame of at
// most 256 colours is kept exactly; the animation loops for ever.
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

// The format that a file name's extension names (any letter case).
std::optional<VideoFormat> VideoFormatOf(const std::string& path);

// True when the export should stop; asked before every frame.
using VideoCancel = std::function<bool()>;

// Writes `frames` at `fps` (1 .. kVideoMaxFps) frames a second to
// `out_path` in the format of its extension. `counter` and `cancelled` may
// be empty.
Status WriteVideoFile(AviFrameSource& frames, const std::string& out_path, int fps,
                      const AviCounter& counter, const VideoCancel& cancelled);
Status WriteVideoFile(const std::vector<const Bitmap*>& frames, const std::string& out_path,
                      int fps, const AviCounter& counter, const VideoCancel& cancelled);

}  // namespace vesk
