#include "view_checks.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>

#include "app/int_edit.h"
#include "app/options_form.h"

namespace vesk {
namespace {

QString Caption(const QWidget& w) {
  if (w.isWindow()) return w.windowTitle();
  if (auto* label = qobject_cast<const QLabel*>(&w)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&w)) return button->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(&w)) return edit->text();
  if (auto* group = qobject_cast<const QGroupBox*>(&w)) return group->title();
  return QString();
}

QString Place(const QWidget& w) {
  QString size = QString("%1x%2").arg(w.width()).arg(w.height());
  if (w.isWindow()) {
    const QPoint off = w.geometry().center() - w.screen()->availableGeometry().center();
    if (w.font().pixelSize() > 0) size += QString(" %1px").arg(w.font().pixelSize());
    return size + (off.manhattanLength() <= 4 ? " centred" : "");
  }
  const bool to_text = qobject_cast<const QLabel*>(&w) || qobject_cast<const QCheckBox*>(&w) ||
                       qobject_cast<const QRadioButton*>(&w);
  return QString("%1,%2 ").arg(w.x()).arg(w.y()) +
         (to_text && w.size() == w.sizeHint() ? "auto" : size);
}

QStringList State(const QWidget& w, bool designed) {
  QStringList s;
  const auto range = [&s](int min, int max, int value) {
    s << QString("%1..%2=%3").arg(min).arg(max).arg(value);
  };
  if (auto* slider = qobject_cast<const QAbstractSlider*>(&w))
    range(slider->minimum(), slider->maximum(), slider->value());
  if (auto* bar = qobject_cast<const QProgressBar*>(&w))
    range(bar->minimum(), bar->maximum(), bar->value());
  if (auto* bar = qobject_cast<const QProgressBar*>(&w); bar && !bar->isTextVisible())
    s << "notext";
  if (auto* arrows = qobject_cast<const TUpDown*>(&w))
    s << QString("%1..%2").arg(arrows->Min()).arg(arrows->Max());
  if (auto* shape = qobject_cast<const TShape*>(&w)) {
    s << QColor(RedOf(shape->BrushColor()), GreenOf(shape->BrushColor()),
                BlueOf(shape->BrushColor()))
             .name();
  }
  if (auto* label = qobject_cast<const QLabel*>(&w)) {
    if (label->alignment() & Qt::AlignRight) s << "right";
    if (label->alignment() & Qt::AlignHCenter) s << "centre";
    if (!label->pixmap().isNull()) s << "picture";
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(&w)) {
    if (designed && !button->icon().isNull()) s << "icon";
    if (button->isCheckable()) s << (button->isChecked() ? "down" : "up");
  }
  if (auto* push = qobject_cast<const QPushButton*>(&w); push && push->isDefault()) s << "default";
  if (w.isHidden()) s << "hidden";
  if (!w.isEnabled()) s << "off";
  return s;
}

QString Described(const QWidget& window, const QString& key, bool designed) {
  const QWidget* w = window.objectName() == key ? &window : window.findChild<QWidget*>(key);
  for (QWidget* unnamed : window.findChildren<QWidget*>()) {
    if (key.startsWith('"') && unnamed->objectName().isEmpty() &&
        '"' + Caption(*unnamed) + '"' == key)
      w = unnamed;
  }
  if (w == nullptr) return key + " missing";
  QStringList parts{key};
  if (designed) parts << Place(*w);
  if (!key.startsWith('"') && !Caption(*w).isEmpty()) parts << '"' + Caption(*w) + '"';
  if (designed && !w->toolTip().isEmpty()) parts << '[' + w->toolTip() + ']';
  return (parts + State(*w, designed)).join(' ');
}

}  // namespace

QStringList Seen(const QWidget& window, const QStringList& rows) {
  static const QRegularExpression row_shape(R"(^("[^"]*"|\S+)( \d+,\d+| \d+x\d+)?)");
  QStringList seen;
  for (const QString& row : rows) {
    const QRegularExpressionMatch m = row_shape.match(row);
    seen << Described(window, m.captured(1), m.capturedLength(2) > 0);
  }
  return seen;
}

QString Seen(const QWidget& window, const QString& rows) {
  return Seen(window, rows.split(" | ")).join(" | ");
}

}  // namespace vesk
