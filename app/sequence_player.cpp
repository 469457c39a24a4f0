#include "app/sequence_player.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "core/sequence/sequence_timeline.h"
#include "pictures/image_convert.h"
#include "sequencing/sequence_pictures.h"

namespace vesk {
namespace {

int FrameCount(const Sequence& sequence) {
  return SequenceFrameCount(sequence.PairCount(), sequence.Options().frames_per_pair,
                            sequence.Options().hold);
}

}  // namespace

SequencePlayer::SequencePlayer(QWidget* parent) : QWidget(parent) {
  setObjectName("SequencePlayer");
  pool_.setMaxThreadCount(1);
  view_ = new QLabel(this);
  view_->setObjectName("PlayerView");
  view_->setAlignment(Qt::AlignCenter);
  view_->setMinimumSize(240, 180);
  view_->setWordWrap(true);
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName("PlayerSlider");
  play_ = new QPushButton("&Play", this);
  play_->setObjectName("PlayButton");
  position_ = new QLabel(this);
  position_->setObjectName("PlayerPosition");
  auto* row = new QHBoxLayout;
  row->addWidget(play_);
  row->addWidget(slider_, 1);
  row->addWidget(position_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_, 1);
  layout->addLayout(row);
  connect(slider_, &QSlider::valueChanged, this, &SequencePlayer::RequestFrame);
  connect(play_, &QPushButton::clicked, this, [this] { Play(!Playing()); });
  connect(&timer_, &QTimer::timeout, this, &SequencePlayer::Step);
  SetSequence(Sequence(), Failure{"Add pictures to play the sequence"});
}

SequencePlayer::~SequencePlayer() {
  {
    std::lock_guard lock(mutex_);
    pending_.reset();
  }
  pool_.waitForDone();
}

void SequencePlayer::SetSequence(const Sequence& sequence,
                                 const Result<SequenceTriangles>& triangles) {
  if (!triangles) {
    Play(false);
    sequence_.reset();
    triangles_.reset();
    ++serial_;  // a frame still computed is not shown
    on_view_ = -1;
    view_->setPixmap(QPixmap());
    view_->setText(QString::fromStdString(triangles.Message()));
    slider_->setEnabled(false);
    play_->setEnabled(false);
    position_->clear();
    return;
  }
  if (sequence_ && *sequence_ == sequence && *triangles_ == triangles.Value()) return;
  sequence_ = std::make_shared<const Sequence>(sequence);
  triangles_ = std::make_shared<const SequenceTriangles>(triangles.Value());
  slider_->setEnabled(true);
  play_->setEnabled(true);
  timer_.setInterval(1000 / std::max(1, sequence.Options().fps));
  const QSignalBlocker quiet(slider_);
  slider_->setRange(0, FrameCount(sequence) - 1);
  RequestFrame();
}

void SequencePlayer::Play(bool on) {
  if (on && sequence_) {
    timer_.start();
  } else {
    timer_.stop();
  }
  play_->setText(Playing() ? "&Pause" : "&Play");
}

void SequencePlayer::Step() {
  slider_->setValue(slider_->value() >= slider_->maximum() ? 0 : slider_->value() + 1);
}

void SequencePlayer::RequestFrame() {
  if (!sequence_) return;
  position_->setText(QString("%1 / %2").arg(slider_->value() + 1).arg(slider_->maximum() + 1));
  std::lock_guard lock(mutex_);
  pending_ = Job{++serial_, sequence_, triangles_, slider_->value()};
  if (working_) return;
  working_ = true;
  pool_.start([this] { Compute(); });
}

void SequencePlayer::Compute() {
  for (;;) {
    Job job;
    {
      std::lock_guard lock(mutex_);
      if (!pending_) {
        working_ = false;
        return;
      }
      job = std::move(*pending_);
      pending_.reset();
    }
    if (!pictures_ || !PlacedAlike(*placed_for_, *job.sequence)) {
      pictures_ = PlaceSequencePictures(*job.sequence, std::string());
      reduced_ = std::make_unique<ReducedPictures>(*pictures_, kPlayerSide);
      placed_for_ = job.sequence;
    }
    Result<Bitmap> frame =
        RenderSequenceFrame(*job.sequence, *reduced_, *job.triangles, job.index, painter_);
    QImage image;
    QString failure;
    if (frame) {
      image = ToQImage(frame.Value());
    } else {
      failure = QString::fromStdString(frame.Message());
    }
    QMetaObject::invokeMethod(
        this,
        [this, serial = job.serial, index = job.index, image, failure] {
          Show(serial, index, image, failure);
        },
        Qt::QueuedConnection);
  }
}

void SequencePlayer::Show(std::uint64_t serial, int index, const QImage& frame,
                          const QString& failure) {
  if (serial != serial_) return;  // a newer frame is on its way
  if (!failure.isEmpty()) {
    on_view_ = -1;
    view_->setPixmap(QPixmap());
    view_->setText(failure);
    return;
  }
  on_view_ = index;
  view_->setPixmap(QPixmap::fromImage(frame));
  emit FrameShown(index);
}

}  // namespace vesk
