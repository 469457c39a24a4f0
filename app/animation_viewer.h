// The Animations command and the animation viewer `TAnimaci`: asks for a
// frame-list file, loads every frame it names and plays them in a loop,
// forward or back and forth, with pause, single step, scrubbing and the
// AVI creator. The playing rules live in the core's AnimationViewer; this
// window mirrors its state in the controls.
#pragma once

#include <QDialog>
#include <QString>

#include "core/animation/animation_viewer.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace vesk {

class TPictureBox;
class UserDialogs;

// The whole Animations command of the menu: the open dialog with
// "Animation Files|*.any|All Files|*.*", loading, and the modal viewer,
// which is shown only when loading succeeded.
void RunAnimationsCommand(QWidget* parent, UserDialogs& dialogs);

// The frame-list file last chosen with the Animations command, as an
// absolute path (empty before the first); the viewer and the AVI creator
// both read the list under it.
QString LastFrameListName();

class TAnimaci : public QDialog {
  Q_OBJECT

 public:
  // The designed outer size of the window and the frame around its client
  // area that the growth rule counts with.
  static constexpr int kDesignedWidth = 189;
  static constexpr int kDesignedHeight = 265;
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 27;
  static constexpr int kImageTop = 104;

  // FormCreate: loads the list `frame_list` (frame names relative to the
  // list's folder) and shows the loader's message through `dialogs` when it
  // fails; the viewer must then not be shown.
  TAnimaci(UserDialogs& dialogs, const QString& frame_list, QWidget* parent = nullptr);
  ~TAnimaci() override;

  bool LoadFailed() const { return viewer_.LoadFailed(); }
  const AnimationViewer& Viewer() const { return viewer_; }
  // Number (1-based) of the frame Image1 shows; 0 when it shows none.
  int ShownFrame() const { return shown_frame_; }

  // The handlers, public so a test can run them as the toolkit would.
  void FormActivate();
  void Timer1Timer();
  void TrackBar1Change();
  void SpeedButton1Click();
  void SpeedButton3Click();
  void SpeedButton2Click();
  void CheckBox1Click();
  void BitBtn2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void ShowFrame(int frame);
  // Slider, counter and picture after a tick that answered `frame` (0: none).
  void ShowTick(int frame);
  void SyncButtonsAndTimer();

  UserDialogs& dialogs_;
  QString frame_list_;
  AnimationViewer viewer_;
  int shown_frame_ = 0;

  QLabel* speed_label_ = nullptr;      // Label2
  QSlider* speed_slider_ = nullptr;    // TrackBar1
  QLabel* counter_ = nullptr;          // Label1
  QSlider* frame_slider_ = nullptr;    // TrackBar2
  QToolButton* play_ = nullptr;        // SpeedButton1
  QToolButton* pause_ = nullptr;       // SpeedButton3
  QToolButton* next_ = nullptr;        // SpeedButton2
  QPushButton* close_ = nullptr;       // BitBtn1
  QPushButton* create_avi_ = nullptr;  // BitBtn2
  QCheckBox* back_and_forth_ = nullptr;  // CheckBox1
  TPictureBox* image_ = nullptr;       // Image1
  QTimer* timer_ = nullptr;            // Timer1
};

}  // namespace vesk
