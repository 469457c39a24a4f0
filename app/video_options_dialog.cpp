// The real dialog behind UserDialogs::AskVideoOptions: frames a second,
// quality and the lossless switch in a small form with OK and Cancel.
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QSpinBox>

#include "app/dialog_buttons.h"
#include "app/user_dialogs.h"

namespace vesk {

std::optional<VideoOptions> QtUserDialogs::AskVideoOptions(QWidget* parent,
                                                          const VideoOptions& initial) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Export Video");
  auto* form = new QFormLayout(&dialog);
  auto* fps = new QSpinBox(&dialog);
  fps->setRange(1, kVideoMaxFps);
  fps->setValue(initial.fps);
  form->addRow("Frames a second:", fps);
  auto* quality = new QSpinBox(&dialog);
  quality->setRange(0, kVideoMaxQuality);
  quality->setValue(initial.quality);
  quality->setToolTip("0 the smallest file, 100 the best picture (full colour resolution)");
  form->addRow("Quality:", quality);
  auto* lossless = new QCheckBox("Lossless (WebM only)", &dialog);
  lossless->setChecked(initial.lossless);
  form->addRow(lossless);
  QObject::connect(lossless, &QCheckBox::toggled, quality, &QWidget::setDisabled);
  quality->setDisabled(initial.lossless);
  AddOkCancelRow(dialog, *form);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return VideoOptions{fps->value(), quality->value(), lossless->isChecked()};
}

}  // namespace vesk
