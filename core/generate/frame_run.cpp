#include "core/generate/frame_run.h"

#include "core/generate/equalize.h"
#include "core/generate/smooth_frame.h"

namespace vesk {
namespace {

Status WriteUnlessCancelled(const Bitmap& vesk, RunProtocol& protocol) {
  if (protocol.CancelRequested()) return Status::Success();
  return protocol.WriteFrame(vesk);
}

void PaintFrame(const FrameRun& run, const PieceFrame& frame, Bitmap& vesk,
                RunProtocol& protocol) {
  if (run.renderer == Renderer::kSmooth) {
    PaintSmoothFrame(SmoothFrameAt(frame), vesk, protocol);
  } else {
    PaintPieceFrame(frame, vesk, protocol);
  }
}

// Steps 2 to 4 of RunFrames; the caller ends the run whatever happens.
Status OpeningFramesAndClosing(const FrameRun& run, Bitmap& vesk, RunProtocol& protocol) {
  if (run.opening_copy) {
    Status written = protocol.WriteFrame(vesk);
    if (!written) return written;
  }
  PieceFrame frame = run.frame;
  frame.t = run.first_t;
  do {
    protocol.Counter(frame.t, frame.n);
    PaintFrame(run, frame, vesk, protocol);
    if (run.equalize) EqualizePicture(vesk, protocol);
    protocol.ShowFrame(vesk);
    Status written = WriteUnlessCancelled(vesk, protocol);
    if (!written) return written;
    ++frame.t;
  } while (frame.t <= run.last_t && !protocol.CancelRequested());

  switch (run.closing) {
    case RunClosing::kNothing:
      break;
    case RunClosing::kShowLastFrame:
      protocol.ShowFrame(vesk);
      break;
    case RunClosing::kWriteSecondImage:
      vesk = *frame.second;
      protocol.ShowFrame(vesk);
      return WriteUnlessCancelled(vesk, protocol);
  }
  return Status::Success();
}

}  // namespace

Status RunFrames(const FrameRun& run, Bitmap& vesk, RunProtocol& protocol) {
  vesk = *run.frame.first;
  protocol.ShowFrame(vesk);
  protocol.Begin();
  Status status = OpeningFramesAndClosing(run, vesk, protocol);
  protocol.End();
  return status;
}

}  // namespace vesk
