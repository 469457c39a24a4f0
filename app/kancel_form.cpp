#include "app/kancel_form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <limits>

#include "app/design_font.h"

namespace vesk {

std::uint8_t KancelFlag = 0;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMessageInterval = std::chrono::milliseconds(15);
Clock::time_point last_processing{};

// Time alone decides, the clock read at every call: a frame with few calls
// per triangle still sees a Kancel click within the interval. The steady
// clock is read through the vDSO, a few nanoseconds a call.
bool MessagesDue() { return Clock::now() - last_processing >= kMessageInterval; }

void ProcessMessagesNow() {
  QCoreApplication::processEvents();
  last_processing = Clock::now();
}

QProgressBar* MakeBar(QWidget* parent, const char* name, int top) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(name);
  bar->setGeometry(7, top, 182, 13);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

}  // namespace

void ProcessMessagesRateLimited() {
  if (MessagesDue()) ProcessMessagesNow();
}

void ResetMessageClock() { last_processing = Clock::time_point{}; }

TKancelForm::TKancelForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName("KancelForm");
  setWindowTitle("Process");
  setFixedSize(194, 90);
  setModal(false);
  setFont(DesignFont());

  progress_bar1_ = MakeBar(this, "ProgressBar1", 7);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label1_->setGeometry(17, 26, 100, 14);  // right edge at x = 117
  progress_bar2_ = MakeBar(this, "ProgressBar2", 46);

  kancel_button_ = new QPushButton("&Kancel", this);
  kancel_button_->setObjectName("KancelButton");
  kancel_button_->setGeometry(46, 65, 104, 20);
  kancel_button_->setToolTip("Do you want to Kancel ?");
  kancel_button_->setDefault(true);
  kancel_button_->setAutoDefault(true);
  connect(kancel_button_, &QPushButton::clicked, this, &TKancelForm::KancelButtonClick);
}

void TKancelForm::KancelButtonClick() {
  KancelFlag = 1;
  hide();
}

void TKancelForm::ShowCentred() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  activateWindow();
}

void TKancelForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

KancelRun::KancelRun(TKancelForm& form, QWidget& main_window, ShowHook show, WriteHook write)
    : form_(form), main_window_(main_window), show_(std::move(show)), write_(std::move(write)) {}

KancelRun::~KancelRun() {
  if (running_) End();
}

void KancelRun::Begin() {
  running_ = true;
  KancelFlag = 0;
  form_.ProgressBar1()->setValue(0);
  form_.ProgressBar2()->setValue(0);
  form_.Label1()->setText(QString());
  form_.ShowCentred();
  main_window_.setEnabled(false);
  ResetMessageClock();
}

void KancelRun::Counter(int k, int n) {
  form_.Label1()->setText(QString::number(k) + "/" + QString::number(n));
  form_.ProgressBar2()->setValue(n != 0 ? k * 100 / n : 0);
}

void KancelRun::InnerBar(int percent) { form_.ProgressBar1()->setValue(percent); }

void KancelRun::ProcessMessages() {
  if (!MessagesDue()) return;
  // The columns painted since the last time are shown first, so this
  // processing paints them.
  if (painted_ != nullptr && painted_begin_ < painted_end_ && columns_) {
    columns_(*painted_, painted_begin_, painted_end_);
  }
  painted_begin_ = std::numeric_limits<int>::max();
  painted_end_ = 0;
  ProcessMessagesNow();
}

void KancelRun::ColumnsPainted(const Bitmap& picture, int x_begin, int x_end) {
  painted_ = &picture;
  painted_begin_ = std::min(painted_begin_, x_begin);
  painted_end_ = std::max(painted_end_, x_end);
}

bool KancelRun::CancelRequested() { return KancelFlag != 0; }

void KancelRun::EqualizationBegin() {
  form_.setWindowTitle("Equalization");
  form_.setEnabled(false);
}

void KancelRun::EqualizationEnd() {
  form_.setEnabled(true);
  form_.setWindowTitle("Process");
}

void KancelRun::ShowFrame(const Bitmap& frame) {
  ++frames_shown_;
  painted_ = nullptr;
  painted_begin_ = std::numeric_limits<int>::max();
  painted_end_ = 0;
  if (show_) show_(frame);
}

Status KancelRun::WriteFrame(const Bitmap& frame) {
  if (!write_) return Status::Success();
  return write_(frame);
}

void KancelRun::End() {
  running_ = false;
  painted_ = nullptr;
  if (KancelFlag == 0) form_.hide();
  main_window_.setEnabled(true);
  // The progress window took the focus when it was shown; give it back.
  main_window_.activateWindow();
}

}  // namespace vesk
