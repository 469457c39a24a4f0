#include "app/picture_box.h"

#include <QPainter>

#include "pictures/image_convert.h"

namespace vesk {

TPictureBox::TPictureBox(Mode mode, QWidget* parent) : QWidget(parent), mode_(mode) {}

void TPictureBox::SetPicture(const QImage& image) {
  picture_ = image;
  if (mode_ == Mode::kAutoSize && !picture_.isNull()) resize(picture_.size());
  update();
}

void TPictureBox::SetBitmap(const Bitmap& bitmap) {
  SetPicture(bitmap.Empty() ? QImage() : ToQImage(bitmap));
}

void TPictureBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  if (mode_ == Mode::kStretch) {
    painter.drawImage(rect(), picture_);
  } else {
    painter.drawImage(QPoint(0, 0), picture_);
  }
}

}  // namespace vesk
