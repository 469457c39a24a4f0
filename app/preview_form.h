// The preview window (Tools > Preview): a non-modal window that shows frame
// t of the morph, or of the distortion, computed in memory from the current
// pictures, mesh, frame count, precision and equalization, with no file
// written and no progress window. A slider picks t = 0 .. N and Play loops
// the frames at the chosen speed. The window follows the main window's
// InputsChanged notification (mesh edits, node drags, new pictures, Options,
// frame count and precision) and recomputes on the preview worker; the
// newest finished frame is shown, fitted to the window until the user zooms
// it with the image windows' keys and Ctrl+wheel (Ctrl+0 fits it again).
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "core/generate/preview_frame.h"
#include "core/image/bitmap.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTimer;

namespace vesk {

class TMDIForm;
class PreviewWorker;
class ImageView;
class TImage;

class TPreviewForm : public QWidget {
  Q_OBJECT

 public:
  explicit TPreviewForm(TMDIForm& owner);
  ~TPreviewForm() override;

  // Something the frame depends on may have changed: a new frame is asked
  // for once the interface thread is idle (many notifications, one request).
  // A hidden preview asks for nothing until it is shown again.
  void InputsChanged();

  // What is shown: the frame and the serial number of its request; the
  // serial of the newest request made.
  const QImage& ShownFrame() const { return shown_; }
  std::uint64_t ShownSerial() const { return shown_serial_; }
  std::uint64_t RequestedSerial() const { return serial_; }
  bool Computing() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SendRequest();
  void FrameReady(quint64 serial, const QImage& frame);
  void PlayClick();
  void PlayTick();
  // Fits the frame to the window while no zoom of the user's holds.
  void Fit();

  TMDIForm& owner_;
  PreviewWorker* worker_ = nullptr;
  bool request_scheduled_ = false;
  std::uint64_t serial_ = 0;
  std::uint64_t shown_serial_ = 0;
  QImage shown_;
  std::shared_ptr<const Bitmap> first_copy_;  // the pictures as last sent
  std::shared_ptr<const Bitmap> second_copy_;

  QComboBox* kind_ = nullptr;      // KindBox: Morph or Distortion
  QSlider* slider_ = nullptr;      // FrameSlider: t
  QLabel* counter_ = nullptr;      // FrameLabel: "t/N" or why nothing is shown
  QPushButton* play_ = nullptr;    // PlayButton
  QSpinBox* speed_ = nullptr;      // SpeedEdit: frames a second
  QTimer* timer_ = nullptr;
  QScrollArea* scroll_ = nullptr;  // PreviewScroll
  TImage* picture_ = nullptr;      // PreviewImage
  ImageView* view_ = nullptr;
  bool fitted_ = true;  // the frame follows the window's size
  bool fitting_ = false;
};

}  // namespace vesk
