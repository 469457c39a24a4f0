#include "core/generate/frame_run.h"

#include "core/generate/equalize.h"
#include "core/generate/smooth_frame.h"

namespace vesk {
namespace {

Status WriteUnlessCancelled(const Bitmap& vesk, RunProtocol& protocol) {
  if (protocol.CancelRequested()) return Status::Success();
  return protocol.WriteFrame(vesk);
}

// The hold frames: `vesk` written `count` more times.
Status WriteAgain(const Bitmap& vesk, RunProtocol& protocol, int count) {
  for (int i = 0; i < count; ++i) {
    Status written = WriteUnlessCancelled(vesk, protocol);
    if (!written) return written;
  }
  return Status::Success();
}

void PaintFrame(const FrameRun& run, int t, Bitmap& vesk, RunProtocol& protocol) {
  if (run.renderer == Renderer::kSmooth) {
    PaintSmoothFrame(SmoothFrameAt(run.frame, PositionOfFrame(run.curves, t, run.frame.n)), vesk,
                     protocol);
  } else {
    PaintPieceFrame(PieceFrameAt(run.frame, run.curves, t), vesk, protocol);
  }
}

// Steps 2 to 4 of RunFrames; the caller ends the run whatever happens.
Status OpeningFramesAndClosing(const FrameRun& run, Bitmap& vesk, RunProtocol& protocol) {
  if (run.opening_copy) {
    Status written = protocol.WriteFrame(vesk);
    if (written) written = WriteAgain(vesk, protocol, run.hold);
    if (!written) return written;
  }
  int t = run.first_t;
  do {
    protocol.Counter(t, run.frame.n);
    PaintFrame(run, t, vesk, protocol);
    if (run.equalize) EqualizePicture(vesk, protocol);
    protocol.ShowFrame(vesk);
    Status written = WriteUnlessCancelled(vesk, protocol);
    if (written && t == run.first_t && !run.opening_copy) {
      written = WriteAgain(vesk, protocol, run.hold);
    }
    if (!written) return written;
    ++t;
  } while (t <= run.last_t && !protocol.CancelRequested());

  switch (run.closing) {
    case RunClosing::kNothing:
      break;
    case RunClosing::kShowLastFrame:
      protocol.ShowFrame(vesk);
      break;
    case RunClosing::kWriteSecondImage: {
      vesk = *run.frame.second;
      protocol.ShowFrame(vesk);
      Status written = WriteUnlessCancelled(vesk, protocol);
      if (!written) return written;
      break;
    }
  }
  return WriteAgain(vesk, protocol, run.hold);
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
