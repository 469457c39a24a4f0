// The Caricature dialog (`TCaricatureForm`): the amount in a spin box and a
// slider that follow each other, and a preview of the picture at that
// amount, repainted as the amount changes. The preview is painted on a copy
// of the picture reduced to fit 360 x 360 pixels, so it follows the slider
// at any picture size; the command paints the full picture when the dialog
// is accepted.
#pragma once

#include <QDialog>

#include "app/user_dialogs.h"
#include "core/faces/face_shape.h"
#include "core/image/bitmap.h"

class QDoubleSpinBox;
class QLabel;
class QSlider;

namespace vesk {

class TCaricatureForm : public QDialog {
  Q_OBJECT

 public:
  TCaricatureForm(const CaricatureSubject& subject, double amount, QWidget* parent = nullptr);

  double Amount() const;
  QDoubleSpinBox* AmountBox() const { return amount_box_; }
  QSlider* AmountSlider() const { return amount_slider_; }
  // The preview as last painted.
  const Bitmap& Preview() const { return preview_; }
  // The reduced picture that the preview bends.
  const Bitmap& PreviewPicture() const { return small_; }

 private:
  void ShowPreview();

  Bitmap small_;
  FacePoints own_{};
  FacePoints average_{};
  Bitmap preview_;
  QDoubleSpinBox* amount_box_;
  QSlider* amount_slider_;
  QLabel* image_;
};

}  // namespace vesk
