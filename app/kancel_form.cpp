#include "app/kancel_form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <chrono>

#include "app/design_font.h"

namespace vesk {

std::uint8_t KancelFlag = 0;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMessageInterval = std::chrono::milliseconds(15);
Clock::time_point last_processing{};
// The engines call in once per split, over a million times a frame at
// precision 1; reading the clock only every kClockStride calls keeps the
// cost of a call to a counter increment.
constexpr unsigned kClockStride = 64;
unsigned calls_since_clock = 0;

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
  if (++calls_since_clock < kClockStride) return;
  calls_since_clock = 0;
  Clock::time_point now = Clock::now();
  if (now - last_processing < kMessageInterval) return;
  QCoreApplication::processEvents();
  last_processing = Clock::now();
}

void ResetMessageClock() {
  last_processing = Clock::time_point{};
  calls_since_clock = kClockStride - 1;  // the next call looks at the clock
}

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

void KancelRun::Begin() {
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

void KancelRun::ProcessMessages() { ProcessMessagesRateLimited(); }

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
  if (show_) show_(frame);
}

Status KancelRun::WriteFrame(const Bitmap& frame) {
  if (!write_) return Status::Success();
  return write_(frame);
}

void KancelRun::End() {
  if (KancelFlag == 0) form_.hide();
  main_window_.setEnabled(true);
  // The progress window took the focus when it was shown; give it back.
  main_window_.activateWindow();
}

}  // namespace vesk
