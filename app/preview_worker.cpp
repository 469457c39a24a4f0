#include "app/preview_worker.h"

#include "pictures/image_convert.h"

namespace vesk {

QImage ComputePreviewImage(const PreviewJob& job, PreviewPainter& painter) {
  const PreviewInputs inputs{job.kind, job.first.get(), job.second.get(), job.triangles,
                             job.setup};
  return ToQImage(painter.Frame(inputs, job.t));
}

PreviewWorker::PreviewWorker() : thread_([this] { Loop(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
  }
  wake_.notify_one();
  thread_.join();
}

void PreviewWorker::Request(PreviewJob job) {
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(job);
  }
  wake_.notify_one();
}

bool PreviewWorker::Busy() const {
  std::lock_guard lock(mutex_);
  return computing_ || pending_.has_value();
}

void PreviewWorker::Loop() {
  while (true) {
    PreviewJob job;
    {
      std::unique_lock lock(mutex_);
      computing_ = false;
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_) return;
      job = std::move(*pending_);
      pending_.reset();
      computing_ = true;
    }
    QImage frame = ComputePreviewImage(job, painter_);
    emit FrameReady(job.serial, std::move(frame));
  }
}

}  // namespace vesk
