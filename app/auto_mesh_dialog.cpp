// The real dialog behind UserDialogs::AskAutoMesh: the method in a list and
// the spacing of the matched points in a spin box whose 0 reads
// "Automatic" (a 30th of the first image's diagonal), the choices of
// vesk-batch automesh --method and --spacing, with OK and Cancel.
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QSpinBox>

#include "app/dialog_buttons.h"
#include "app/user_dialogs.h"

namespace vesk {

std::optional<AutoMeshChoice> QtUserDialogs::AskAutoMesh(QWidget* parent,
                                                         const QStringList& methods,
                                                         const AutoMeshChoice& start,
                                                         int max_spacing) {
  QDialog dialog(parent);
  dialog.setObjectName("AutoMeshDialog");
  dialog.setWindowTitle("Auto Mesh");
  auto* form = new QFormLayout(&dialog);
  auto* method = new QComboBox(&dialog);
  method->setObjectName("MethodBox");
  method->addItems(methods);
  method->setCurrentIndex(start.method);
  auto* spacing = new QSpinBox(&dialog);
  spacing->setObjectName("SpacingBox");
  spacing->setRange(0, max_spacing);
  spacing->setSpecialValueText("Automatic");
  spacing->setSuffix(" px");
  spacing->setValue(start.spacing);
  spacing->setToolTip(
      "Distance between the matched points outside the face (flow, features); Automatic: a 30th "
      "of the first image's diagonal. Face points keep their own, finer spacing.");
  form->addRow("&Method:", method);
  form->addRow("&Spacing:", spacing);
  AddOkCancelRow(dialog, *form);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return AutoMeshChoice{method->currentIndex(), spacing->value()};
}

}  // namespace vesk
