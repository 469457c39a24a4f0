// The sequence window's player: a slider over every frame of the sequence,
// a Play button that steps through them at the sequence's frame rate, and
// the frame on view. Frames are computed on a thread of their own from a
// copy of the sequence, by the sequencing library (RenderSequenceFrame: the
// picture the export writes at that place), painted at the view's size from
// pictures shrunk once to it: once a picture is shrunk, large photos scrub
// as fast as small ones. A request that arrives while a frame is computed
// replaces any request still waiting, so scrubbing never waits and the
// newest frame wins.
#pragma once

#include <QImage>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "core/common/result.h"
#include "core/generate/preview_frame.h"
#include "core/sequence/sequence.h"
#include "sequencing/sequence_render.h"

class QLabel;
class QPushButton;
class QSlider;

namespace vesk {

class SequencePictures;

// Frames larger than this on a side are shown shrunk to fit.
inline constexpr int kPlayerSide = 480;

class SequencePlayer : public QWidget {
  Q_OBJECT

 public:
  explicit SequencePlayer(QWidget* parent = nullptr);
  ~SequencePlayer() override;

  // What to play: the sequence and its pairs' triangles, or why it cannot
  // be played yet (shown in place of a frame).
  void SetSequence(const Sequence& sequence, const Result<SequenceTriangles>& triangles);

  QSlider* Slider() const { return slider_; }
  QLabel* View() const { return view_; }
  // The frame on view, -1 for none.
  int FrameOnView() const { return on_view_; }
  bool Playing() const { return timer_.isActive(); }
  void Play(bool on);

 signals:
  // A computed frame is on view.
  void FrameShown(int index);

 private:
  struct Job {
    std::uint64_t serial = 0;
    std::shared_ptr<const Sequence> sequence;
    std::shared_ptr<const SequenceTriangles> triangles;
    int index = 0;
  };
  void RequestFrame();
  void Compute();  // the worker thread's loop
  void Show(std::uint64_t serial, int index, const QImage& frame, const QString& failure);
  void Step();

  QLabel* view_;
  QSlider* slider_;
  QPushButton* play_;
  QLabel* position_;
  QTimer timer_;
  std::shared_ptr<const Sequence> sequence_;
  std::shared_ptr<const SequenceTriangles> triangles_;
  std::uint64_t serial_ = 0;
  int on_view_ = -1;

  // Shared with the worker thread.
  std::mutex mutex_;
  std::optional<Job> pending_;
  bool working_ = false;
  QThreadPool pool_;
  // The worker thread's own.
  std::unique_ptr<SequencePictures> pictures_;
  std::unique_ptr<ReducedPictures> reduced_;  // pictures_ shrunk to the view
  std::shared_ptr<const Sequence> placed_for_;
  PreviewPainter painter_;
};

}  // namespace vesk
