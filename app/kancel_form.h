// The progress window of every long computation (`TKancelForm`, the one
// instance `KancelForm`) and the cancel request `KancelFlag` that its
// button sets. KancelRun is the run protocol the generation commands hand to
// the core engines: it moves the bars, processes pending messages at most
// about every 15 ms, disables the main window for the run and keeps the
// frames through the command's show and write hooks.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <limits>

#include "core/generate/run_protocol.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vesk {

// 0: no request; 1: the user asked the running computation to stop. Cleared
// by the main window's creation and by every run's start; set only by the
// Kancel button; never reset at a run's end.
extern std::uint8_t KancelFlag;

class TKancelForm : public QDialog {
  Q_OBJECT

 public:
  explicit TKancelForm(QWidget* parent = nullptr);

  QProgressBar* ProgressBar1() const { return progress_bar1_; }
  QLabel* Label1() const { return label1_; }
  QProgressBar* ProgressBar2() const { return progress_bar2_; }
  QPushButton* KancelButton() const { return kancel_button_; }

  // KancelFlag := 1, then the window closes (hides).
  void KancelButtonClick();

  // Shows the window centred on the screen and on top.
  void ShowCentred();

 protected:
  // No close box and no system menu: Esc does nothing.
  void reject() override {}
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QProgressBar* progress_bar1_;
  QLabel* label1_;
  QProgressBar* progress_bar2_;
  QPushButton* kancel_button_;
};

// Lets the application process pending window messages, but really does so
// only when about 15 ms have passed since the last time: a call in between
// costs one clock read.
void ProcessMessagesRateLimited();
// Forgets the last time, so the next call processes messages.
void ResetMessageClock();

class KancelRun : public RunProtocol {
 public:
  using ShowHook = std::function<void(const Bitmap&)>;
  using WriteHook = std::function<Status(const Bitmap&)>;
  // Shows columns x_begin .. x_end - 1 of the picture being painted.
  using ColumnsHook = std::function<void(const Bitmap&, int, int)>;

  // `main_window` is disabled by Begin and enabled by End.
  KancelRun(TKancelForm& form, QWidget& main_window, ShowHook show, WriteHook write);
  // A run left by an exception still ends: main window enabled again.
  ~KancelRun() override;
  KancelRun(const KancelRun&) = delete;
  KancelRun& operator=(const KancelRun&) = delete;

  void Begin() override;
  void Counter(int k, int n) override;
  void InnerBar(int percent) override;
  void ProcessMessages() override;
  bool CancelRequested() override;
  void EqualizationBegin() override;
  void EqualizationEnd() override;
  void ShowFrame(const Bitmap& frame) override;
  void ColumnsPainted(const Bitmap& picture, int x_begin, int x_end) override;
  void SetColumnsHook(ColumnsHook columns) { columns_ = std::move(columns); }
  Status WriteFrame(const Bitmap& frame) override;
  void End() override;

  int FramesShown() const { return frames_shown_; }

 private:
  TKancelForm& form_;
  QWidget& main_window_;
  ShowHook show_;
  WriteHook write_;
  ColumnsHook columns_;
  // The columns painted since the last message processing.
  const Bitmap* painted_ = nullptr;
  int painted_begin_ = std::numeric_limits<int>::max();
  int painted_end_ = 0;
  int frames_shown_ = 0;
  bool running_ = false;
};

}  // namespace vesk
