// The real dialog behind UserDialogs::AskNumbers: one spin box per label in
// a small form with OK and Cancel.
#include <QDialog>
#include <QFormLayout>
#include <QSpinBox>

#include "app/dialog_buttons.h"
#include "app/user_dialogs.h"

namespace vesk {

std::optional<QList<int>> QtUserDialogs::AskNumbers(QWidget* parent, const QString& caption,
                                                    const QStringList& labels,
                                                    const QList<int>& values, int min, int max) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* form = new QFormLayout(&dialog);
  QList<QSpinBox*> boxes;
  for (qsizetype i = 0; i < labels.size(); ++i) {
    auto* box = new QSpinBox(&dialog);
    box->setRange(min, max);
    box->setValue(i < values.size() ? values[i] : min);
    form->addRow(labels[i], box);
    boxes << box;
  }
  AddOkCancelRow(dialog, *form);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QList<int> numbers;
  for (QSpinBox* box : boxes) numbers << box->value();
  return numbers;
}

}  // namespace vesk
