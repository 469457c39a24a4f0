// How a long computation talks to whoever runs it: the progress window of
// the desktop program, the batch tool's progress bar, or a test's script.
// Every engine calls these at the fixed points of its algorithm and polls
// CancelRequested() exactly where its algorithm says; nowhere else.
#pragma once

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

class RunProtocol {
 public:
  virtual ~RunProtocol() = default;

  // Start of a run: clear the cancel request, both bars to 0, counter empty,
  // progress window shown, main window disabled.
  virtual void Begin() {}
  // Outer step: counter "k/n" and outer bar k * 100 / n.
  virtual void Counter(int /*k*/, int /*n*/) {}
  // Inner bar position 0..100 (the caller computes j * 100 / J).
  virtual void InnerBar(int /*percent*/) {}
  // Let pending window messages run (repaints, the Kancel button). Called
  // very often; implementations keep it cheap.
  virtual void ProcessMessages() {}
  // True once the user asked the run to stop (KancelFlag).
  virtual bool CancelRequested() { return false; }
  // Equalization pass: progress window caption "Equalization" and disabled,
  // then caption "Process" and enabled again.
  virtual void EqualizationBegin() {}
  virtual void EqualizationEnd() {}
  // The Vesk image changed to a finished (or partial) frame.
  virtual void ShowFrame(const Bitmap& /*frame*/) {}
  // Columns x_begin .. x_end - 1 of `picture`, the frame being painted,
  // changed. A desktop shows them at its next message processing, so a
  // long effect's picture grows column by column; `picture` stays alive
  // until the next ShowFrame or End.
  virtual void ColumnsPainted(const Bitmap& /*picture*/, int /*x_begin*/, int /*x_end*/) {}
  // Keep the finished frame (frame file plus list line). A failure ends the
  // run; the engine returns the failure to its caller.
  virtual Status WriteFrame(const Bitmap& /*frame*/) { return Status::Success(); }
  // End of a run (also after a cancel or a write failure): progress window
  // hidden if not cancelled, main window enabled.
  virtual void End() {}
};

}  // namespace vesk
