#include "app/preview_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "app/child_form.h"
#include "app/main_window.h"
#include "app/preview_worker.h"
#include "core/generate/generation_input.h"

namespace vesk {

// The frame, scaled to fit the widget with its proportions kept.
class PreviewCanvas : public QWidget {
 public:
  explicit PreviewCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("PreviewImage");
    setMinimumSize(160, 120);
  }
  void SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture_.isNull()) return;
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.drawImage(target, picture_);
  }

 private:
  QImage picture_;
};

TPreviewForm::TPreviewForm(TMDIForm& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
  setObjectName("PreviewForm");
  setWindowTitle("Preview");
  resize(480, 420);

  kind_ = new QComboBox(this);
  kind_->setObjectName("KindBox");
  kind_->addItems({"Morph", "Distortion"});
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName("FrameSlider");
  counter_ = new QLabel(this);
  counter_->setObjectName("FrameLabel");
  counter_->setMinimumWidth(64);
  play_ = new QPushButton("&Play", this);
  play_->setObjectName("PlayButton");
  speed_ = new QSpinBox(this);
  speed_->setObjectName("SpeedEdit");
  speed_->setRange(1, 30);
  speed_->setValue(4);
  speed_->setSuffix(" frames/s");
  canvas_ = new PreviewCanvas(this);
  timer_ = new QTimer(this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(kind_);
  controls->addWidget(slider_, 1);
  controls->addWidget(counter_);
  controls->addWidget(play_);
  controls->addWidget(speed_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(canvas_, 1);

  worker_ = new PreviewWorker;
  worker_->setParent(this);
  connect(worker_, &PreviewWorker::FrameReady, this, &TPreviewForm::FrameReady);
  connect(&owner_, &TMDIForm::InputsChanged, this, &TPreviewForm::InputsChanged);
  connect(kind_, &QComboBox::currentIndexChanged, this, &TPreviewForm::InputsChanged);
  connect(slider_, &QSlider::valueChanged, this, &TPreviewForm::InputsChanged);
  connect(play_, &QPushButton::clicked, this, &TPreviewForm::PlayClick);
  connect(timer_, &QTimer::timeout, this, &TPreviewForm::PlayTick);
  connect(speed_, &QSpinBox::valueChanged, this,
          [this](int speed) { timer_->setInterval(1000 / speed); });
  timer_->setInterval(1000 / speed_->value());
}

TPreviewForm::~TPreviewForm() = default;

bool TPreviewForm::Computing() const { return worker_->Busy(); }

void TPreviewForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  InputsChanged();
}

void TPreviewForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (timer_->isActive()) PlayClick();  // stops playing
}

void TPreviewForm::InputsChanged() {
  if (request_scheduled_ || !isVisible()) return;
  request_scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    request_scheduled_ = false;
    SendRequest();
  });
}

void TPreviewForm::SendRequest() {
  const GenerationSetup setup = GenerationSetupOf(owner_.CurrentSettings());
  if (slider_->maximum() != setup.frame_count) {
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, setup.frame_count);
  }
  TChildForm* first = owner_.FirstChild();
  TChildForm* second = owner_.SecondChild();
  if (first == nullptr || second == nullptr) {
    counter_->setText("First and Second image not open");
    return;
  }
  counter_->setText(QString("%1/%2").arg(slider_->value()).arg(setup.frame_count));
  PreviewJob job;
  job.kind = kind_->currentIndex() == 0 ? PreviewKind::kMorph : PreviewKind::kDistortion;
  // A picture is copied only when it changed since the last request.
  for (auto [copy, child] : {std::pair{&first_copy_, first}, std::pair{&second_copy_, second}}) {
    if (*copy == nullptr || !(**copy == child->GetBitmap())) {
      *copy = std::make_shared<const Bitmap>(child->GetBitmap());
    }
  }
  job.first = first_copy_;
  job.second = second_copy_;
  job.triangles = TrianglePositionsOf(owner_.MeshModel());
  job.setup = setup;
  job.t = slider_->value();
  job.serial = ++serial_;
  worker_->Request(std::move(job));
}

void TPreviewForm::FrameReady(quint64 serial, const QImage& frame) {
  if (serial <= shown_serial_) return;
  shown_serial_ = serial;
  shown_ = frame;
  canvas_->SetPicture(frame);
}

void TPreviewForm::PlayClick() {
  if (timer_->isActive()) {
    timer_->stop();
    play_->setText("&Play");
  } else {
    timer_->start();
    play_->setText("&Stop");
  }
}

void TPreviewForm::PlayTick() {
  slider_->setValue(slider_->value() >= slider_->maximum() ? 0 : slider_->value() + 1);
}

void TMDIForm::PreviewClick() {
  auto* preview = findChild<TPreviewForm*>("PreviewForm", Qt::FindDirectChildrenOnly);
  if (preview == nullptr) preview = new TPreviewForm(*this);
  preview->show();
  preview->raise();
  preview->activateWindow();
}

}  // namespace vesk
