// A picture control: shows one image, either at its own size at the
// top-left corner (the control then takes the picture's size) or stretched
// over the whole control.
#pragma once

#include <QImage>
#include <QWidget>

#include "core/image/bitmap.h"

namespace vesk {

class TPictureBox : public QWidget {
  Q_OBJECT

 public:
  enum class Mode { kAutoSize, kStretch };

  explicit TPictureBox(Mode mode, QWidget* parent = nullptr);

  // Shows `image`; a null image empties the control.
  void SetPicture(const QImage& image);
  // Shows a copy of `bitmap`.
  void SetBitmap(const Bitmap& bitmap);
  void Clear() { SetPicture(QImage()); }

  const QImage& Picture() const { return picture_; }
  bool Empty() const { return picture_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Mode mode_;
  QImage picture_;
};

}  // namespace vesk
