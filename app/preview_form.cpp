#include "app/preview_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "app/child_form.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/preview_worker.h"
#include "core/generate/generation_input.h"

namespace vesk {

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
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("PreviewScroll");
  scroll_->setAlignment(Qt::AlignCenter);
  picture_ = new TImage(scroll_);
  picture_->setObjectName("PreviewImage");
  scroll_->setWidget(picture_);
  view_ = new ImageView(*scroll_, *picture_, this);
  timer_ = new QTimer(this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(kind_);
  controls->addWidget(slider_, 1);
  controls->addWidget(counter_);
  controls->addWidget(play_);
  controls->addWidget(speed_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(scroll_, 1);

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

  // The image windows' zoom keys; any zoom but Fit Window ends fitting.
  connect(view_, &ImageView::ZoomChanged, this, [this] { fitted_ = fitting_; });
  const std::pair<QKeySequence, void (ImageView::*)()> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), &ImageView::ZoomIn},
      {QKeySequence(Qt::CTRL | Qt::Key_Equal), &ImageView::ZoomIn},
      {QKeySequence(Qt::CTRL | Qt::Key_Minus), &ImageView::ZoomOut},
      {QKeySequence(Qt::CTRL | Qt::Key_1), &ImageView::ActualPixels}};
  for (const auto& [key, zoom] : keys) {
    connect(new QShortcut(key, this), &QShortcut::activated, view_, zoom);
  }
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this), &QShortcut::activated, this,
          [this] {
            fitted_ = true;
            Fit();
          });
}

TPreviewForm::~TPreviewForm() = default;

bool TPreviewForm::Computing() const { return worker_->Busy(); }

void TPreviewForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  InputsChanged();
}

void TPreviewForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Fit();
}

void TPreviewForm::Fit() {
  if (!fitted_) return;
  fitting_ = true;
  view_->FitWindow();
  fitting_ = false;
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
  const GenerationSetup setup = owner_.CurrentGenerationSetup();
  // The hold frames are frames of the run too.
  const int last = setup.frame_count + 2 * setup.hold;
  if (slider_->maximum() != last) {
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, last);
  }
  TChildForm* first = owner_.FirstChild();
  TChildForm* second = owner_.SecondChild();
  if (first == nullptr || second == nullptr) {
    counter_->setText("First and Second image not open");
    return;
  }
  counter_->setText(QString("%1/%2").arg(slider_->value()).arg(last));
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
  picture_->SetPicture(frame);
  Fit();
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
