#include "app/animation_viewer.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "app/avi_creator.h"
#include "app/design_font.h"
#include "app/dialog_buttons.h"
#include "app/picture_box.h"
#include "app/user_dialogs.h"

namespace vesk {
namespace {

const QString kTitle = "Trelvanique";
QString last_frame_list;

// The speed buttons: toggle buttons in one row.
QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const char* hint,
                             QStyle::StandardPixmap icon, int left) {
  return MakeGlyphButton(parent, name, hint, icon, QRect(left, 64, 25, 25), true);
}

}  // namespace

QString LastFrameListName() { return last_frame_list; }

void RunAnimationsCommand(QWidget* parent, UserDialogs& dialogs) {
  std::optional<QString> chosen =
      dialogs.OpenFileName(parent, QString(), "Animation Files|*.any|All Files|*.*");
  if (!chosen) return;
  last_frame_list = QFileInfo(*chosen).absoluteFilePath();
  TAnimaci viewer(dialogs, last_frame_list, parent);
  if (!viewer.LoadFailed()) viewer.exec();
}

TAnimaci::TAnimaci(UserDialogs& dialogs, const QString& frame_list, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), frame_list_(frame_list) {
  setObjectName("Animaci");
  setWindowTitle("Animation viewer");
  setFont(DesignFont());
  resize(kDesignedWidth - kFrameWidth, kDesignedHeight - kFrameHeight);

  speed_label_ = new QLabel("Speed:", this);
  speed_label_->setObjectName("Label2");
  speed_label_->setGeometry(8, 4, 60, 14);

  counter_ = new QLabel("1/1", this);
  counter_->setObjectName("Label1");
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  counter_->setGeometry(100, 4, 73, 14);

  speed_slider_ = new QSlider(Qt::Horizontal, this);
  speed_slider_->setObjectName("TrackBar1");
  speed_slider_->setToolTip("Replay speed");
  speed_slider_->setRange(AnimationViewer::kSpeedMinimum, AnimationViewer::kSpeedMaximum);
  speed_slider_->setTickInterval(1);
  speed_slider_->setSingleStep(1);
  speed_slider_->setPageStep(1);
  speed_slider_->setTickPosition(QSlider::TicksBelow);
  speed_slider_->setValue(AnimationViewer::kInitialSpeed);
  speed_slider_->setGeometry(4, 18, 173, 22);

  frame_slider_ = new QSlider(Qt::Horizontal, this);
  frame_slider_->setObjectName("TrackBar2");
  frame_slider_->setToolTip("Frame number");
  frame_slider_->setRange(1, 1);
  frame_slider_->setGeometry(4, 40, 173, 22);

  play_ = MakeSpeedButton(this, "SpeedButton1", "Play", QStyle::SP_MediaPlay, 8);
  pause_ = MakeSpeedButton(this, "SpeedButton3", "Pause", QStyle::SP_MediaPause, 33);
  next_ = MakeSpeedButton(this, "SpeedButton2", "Play next frame", QStyle::SP_MediaSkipForward, 58);

  create_avi_ = new QPushButton("Create &Avi", this);
  create_avi_->setObjectName("BitBtn2");
  create_avi_->setToolTip("Create AVI file from this animation");
  create_avi_->setAutoDefault(false);
  create_avi_->setGeometry(89, 64, 62, 25);

  close_ = MakeCloseButton(this, QString(), QRect(153, 64, 25, 25));

  back_and_forth_ = new QCheckBox("Back && Forth", this);
  back_and_forth_->setObjectName("CheckBox1");
  back_and_forth_->move(8, 88);
  back_and_forth_->adjustSize();

  image_ = new TPictureBox(TPictureBox::Mode::kAutoSize, this);
  image_->setObjectName("Image1");
  image_->setToolTip("This is a animation !!!");
  image_->setGeometry(1, kImageTop, 0, 0);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setInterval(AnimationViewer::kInitialTimerPeriodMs);

  connect(timer_, &QTimer::timeout, this, &TAnimaci::Timer1Timer);
  connect(speed_slider_, &QSlider::valueChanged, this, &TAnimaci::TrackBar1Change);
  connect(frame_slider_, &QSlider::valueChanged, this,
          [this](int position) { viewer_.SetSliderPosition(position); });
  connect(play_, &QToolButton::clicked, this, &TAnimaci::SpeedButton1Click);
  connect(pause_, &QToolButton::clicked, this, &TAnimaci::SpeedButton3Click);
  connect(next_, &QToolButton::clicked, this, &TAnimaci::SpeedButton2Click);
  connect(back_and_forth_, &QCheckBox::clicked, this, &TAnimaci::CheckBox1Click);
  connect(create_avi_, &QPushButton::clicked, this, &TAnimaci::BitBtn2Click);
  connect(close_, &QPushButton::clicked, this, &TAnimaci::reject);

  // FormCreate: load the list; the frames' names are relative to its folder.
  const QString folder = QFileInfo(frame_list_).absolutePath();
  if (std::optional<ViewerMessage> message =
          viewer_.Load(frame_list_.toStdString(), folder.toStdString())) {
    const QString text = QString::fromStdString(message->text);
    if (message->kind == ViewerMessage::Kind::kError) {
      dialogs_.Error(parentWidget(), kTitle, text + ".");
    } else {
      dialogs_.Message(parentWidget(), kTitle, text);
    }
    return;
  }
  frame_slider_->setRange(1, viewer_.SliderMaximum());
  frame_slider_->setValue(viewer_.SliderPosition());
  SyncButtonsAndTimer();
}

TAnimaci::~TAnimaci() = default;

void TAnimaci::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

void TAnimaci::FormActivate() {
  if (!viewer_.Loaded()) return;
  ShowFrame(1);
  const ViewerWindowSize grown = AnimationViewer::ActivationWindowSize(
      {width() + kFrameWidth, height() + kFrameHeight}, image_->width(), image_->height());
  resize(grown.width - kFrameWidth, grown.height - kFrameHeight);
}

void TAnimaci::ShowFrame(int frame) {
  image_->SetBitmap(viewer_.Frame(frame));
  image_->repaint();
  shown_frame_ = frame;
}

void TAnimaci::SyncButtonsAndTimer() {
  const AnimationViewer::PlayButton down = viewer_.DownButton();
  play_->setChecked(down == AnimationViewer::PlayButton::kPlay);
  pause_->setChecked(down == AnimationViewer::PlayButton::kPause);
  next_->setChecked(down == AnimationViewer::PlayButton::kNext);
  if (!viewer_.TimerEnabled()) {
    timer_->stop();
  } else if (!timer_->isActive()) {
    timer_->start();
  }
}

void TAnimaci::Timer1Timer() { ShowTick(viewer_.Tick()); }

void TAnimaci::ShowTick(int frame) {
  if (frame == 0) return;
  frame_slider_->setValue(viewer_.SliderPosition());
  counter_->setText(QString::fromStdString(viewer_.CounterCaption()));
  ShowFrame(frame);
}

void TAnimaci::TrackBar1Change() {
  viewer_.SpeedChanged(speed_slider_->value());
  // A new period restarts a running timer, as the toolkit's timers do.
  timer_->setInterval(viewer_.TimerPeriodMs());
}

void TAnimaci::SpeedButton1Click() {
  viewer_.PlayClicked();
  SyncButtonsAndTimer();
}

void TAnimaci::SpeedButton3Click() {
  viewer_.PauseClicked();
  SyncButtonsAndTimer();
}

void TAnimaci::SpeedButton2Click() {
  const int frame = viewer_.PlayNextClicked();
  SyncButtonsAndTimer();
  ShowTick(frame);
}

void TAnimaci::CheckBox1Click() { viewer_.SetBackAndForth(back_and_forth_->isChecked()); }

void TAnimaci::BitBtn2Click() {
  {
    TAniToolForm creator(dialogs_, frame_list_, this);
    creator.exec();
  }
  // The viewer becomes the active window again.
  FormActivate();
}

void TAnimaci::done(int result) {
  // FormClose: the frames are freed with the window's state.
  timer_->stop();
  image_->Clear();
  shown_frame_ = 0;
  viewer_ = AnimationViewer();
  QDialog::done(result);
}

}  // namespace vesk
