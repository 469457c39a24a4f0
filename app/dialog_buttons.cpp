#include "app/dialog_buttons.h"

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

}  // namespace vesk
