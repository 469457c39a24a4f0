#include "app/caricature_form.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "app/dialog_buttons.h"
#include "core/faces/caricature.h"
#include "core/image/similarity_warp.h"
#include "pictures/image_convert.h"

namespace vesk {
namespace {

constexpr int kPreviewSide = 360;
constexpr int kSliderSteps = 100;  // slider positions per unit of amount

}  // namespace

TCaricatureForm::TCaricatureForm(const CaricatureSubject& subject, double amount, QWidget* parent)
    : QDialog(parent), average_(subject.average) {
  setObjectName("CaricatureForm");
  setWindowTitle("Caricature");
  const Bitmap& picture = *subject.picture;
  // Reduced to fit the preview, never enlarged.
  const double scale = std::min(
      {1.0, double(kPreviewSide) / picture.Width(), double(kPreviewSide) / picture.Height()});
  const int width = std::max(1, int(std::lround(picture.Width() * scale)));
  const int height = std::max(1, int(std::lround(picture.Height() * scale)));
  const Similarity fit = FitInside(picture.Width(), picture.Height(), width, height);
  small_ = scale == 1 ? picture : WarpPicture(picture, fit, width, height);
  own_ = scale == 1 ? subject.own : Moved(subject.own, fit);

  auto* form = new QFormLayout(this);
  image_ = new QLabel(this);
  image_->setObjectName("PreviewImage");
  image_->setFixedSize(width, height);
  form->addRow(image_);
  amount_box_ = new QDoubleSpinBox(this);
  amount_box_->setObjectName("AmountBox");
  amount_box_->setRange(kMinCaricatureAmount, kMaxCaricatureAmount);
  amount_box_->setSingleStep(0.1);
  amount_box_->setDecimals(2);
  amount_box_->setToolTip(
      "1 keeps the face, above 1 exaggerates it, below 1 draws it to the average");
  amount_slider_ = new QSlider(Qt::Horizontal, this);
  amount_slider_->setObjectName("AmountSlider");
  amount_slider_->setRange(int(kMinCaricatureAmount * kSliderSteps),
                           int(kMaxCaricatureAmount * kSliderSteps));
  form->addRow("&Amount:", amount_box_);
  form->addRow(amount_slider_);
  AddOkCancelRow(*this, *form);
  connect(amount_slider_, &QSlider::valueChanged, this,
          [this](int steps) { amount_box_->setValue(double(steps) / kSliderSteps); });
  connect(amount_box_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    amount_slider_->setValue(int(std::lround(value * kSliderSteps)));
    ShowPreview();
  });
  {
    const QSignalBlocker box_quiet(amount_box_), slider_quiet(amount_slider_);
    amount_box_->setValue(amount);
    amount_slider_->setValue(int(std::lround(amount_box_->value() * kSliderSteps)));
  }
  ShowPreview();
}

double TCaricatureForm::Amount() const { return amount_box_->value(); }

void TCaricatureForm::ShowPreview() {
  const std::optional<FacePoints> target = CaricaturePoints(own_, average_, Amount());
  RunProtocol quiet;
  preview_ = target ? PaintCaricature(small_, own_, *target, Renderer::kSmooth, quiet) : small_;
  image_->setPixmap(QPixmap::fromImage(ToQImage(preview_)));
}

std::optional<double> QtUserDialogs::AskCaricatureAmount(QWidget* parent,
                                                         const CaricatureSubject& subject,
                                                         double start) {
  TCaricatureForm form(subject, start, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Amount();
}

}  // namespace vesk
