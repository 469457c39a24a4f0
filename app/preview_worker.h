// The live preview's worker: computes one frame of the morph or the
// distortion on a thread of its own, from copies of the inputs, so editing
// never waits for it. A request that arrives while a frame is computed
// replaces any request still waiting (stale ones are dropped); the finished
// frame is handed to the interface thread by FrameReady.
#pragma once

#include <QImage>
#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/generate/generation_input.h"
#include "core/generate/preview_frame.h"
#include "core/image/bitmap.h"

namespace vesk {

// Everything a preview frame is computed from, copied from the program's
// state when the request is made.
struct PreviewJob {
  PreviewKind kind = PreviewKind::kMorph;
  std::shared_ptr<const Bitmap> first;   // shared between requests while
  std::shared_ptr<const Bitmap> second;  // the picture stays the same
  std::vector<TrianglePositions> triangles;
  GenerationSetup setup;
  int t = 0;
  std::uint64_t serial = 0;  // larger is newer
};

// The frame of a job, ready to be shown.
QImage ComputePreviewImage(const PreviewJob& job, PreviewPainter& painter);

class PreviewWorker : public QObject {
  Q_OBJECT

 public:
  PreviewWorker();
  ~PreviewWorker() override;

  // Queues `job`, replacing a job that has not started yet.
  void Request(PreviewJob job);
  // True while a job is computed or waiting.
  bool Busy() const;

 signals:
  // Emitted from the worker's thread; receivers on the interface thread get
  // it queued.
  void FrameReady(quint64 serial, QImage frame);

 private:
  void Loop();

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PreviewJob> pending_;
  PreviewPainter painter_;  // used by the worker's thread only
  bool computing_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace vesk
