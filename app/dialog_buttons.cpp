#include "app/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QToolButton>

namespace vesk {

QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& hint,
                             QStyle::StandardPixmap icon, const QRect& geometry, bool toggle) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setCheckable(toggle);
  button->setAutoRaise(false);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setGeometry(geometry);
  return button;
}

QPushButton* MakeCloseButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName("BitBtn1");
  button->setToolTip("Close this dialog box");
  button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogCloseButton));
  button->setAutoDefault(false);
  button->setGeometry(geometry);
  return button;
}

QDialogButtonBox* AddOkCancelRow(QDialog& dialog, QFormLayout& form) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form.addRow(buttons);
  return buttons;
}

}  // namespace vesk
