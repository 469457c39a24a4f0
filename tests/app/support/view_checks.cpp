#include "view_checks.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <utility>

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
  if (auto* list = qobject_cast<const QComboBox*>(&w)) return list->currentText();
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
  if (auto* shape = qobject_cast<const TShape*>(&w)) {  // as painted
    const QImage shot = const_cast<TShape*>(shape)->grab().toImage();
    const QPoint centre(shot.width() / 2, shot.height() / 2);
    s << (shot.isNull() ? QString("empty") : QColor(shot.pixel(centre)).name());
    if (!shot.isNull() && shot.pixel(0, 0) != qRgb(0, 0, 0)) s << "without outline";
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
  // A plain frame's bevel: its shape and shadow.
  const bool plain_frame = w.metaObject() == &QFrame::staticMetaObject;
  if (auto* frame = static_cast<const QFrame*>(&w); plain_frame && frame->frameShape()) {
    const char* shapes[] = {"", "box", "panel", "win panel", "h line", "v line", "styled panel"};
    const char* shadows[] = {"", "plain", "raised", "sunken"};
    s << QString("%1 %2").arg(shapes[frame->frameShape()], shadows[frame->frameShadow() >> 4]);
  }
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

namespace {

QString Plain(QString text) { return text.remove('&'); }

QString Field(const QWidget& w) {
  QString shown;
  if (auto* spin = qobject_cast<const QSpinBox*>(&w)) {
    shown = QString("%1 %2..%3%4").arg(spin->text()).arg(spin->minimum()).arg(spin->maximum())
                .arg(spin->toolTip().isEmpty() ? "" : " [" + spin->toolTip() + "]");
  } else if (auto* list = qobject_cast<const QComboBox*>(&w)) {
    shown = QString("%1 of %2").arg(list->currentText()).arg(list->count());
  } else if (auto* box = qobject_cast<const QCheckBox*>(&w)) {
    shown = Plain(box->text()) + (box->isChecked() ? " down" : " up");
  } else if (auto* label = qobject_cast<const QLabel*>(&w)) {
    shown = Plain(label->text());
  }
  return w.isEnabled() ? shown : shown + " off";
}

// The fields of the dialog's form, row by row: the label's widget, the field's.
QList<std::pair<QWidget*, QWidget*>> FormRows(const QWidget& dialog) {
  QList<std::pair<QWidget*, QWidget*>> rows;
  auto* form = qobject_cast<QFormLayout*>(dialog.layout());
  for (int row = 0; form && row < form->rowCount(); ++row) {
    const auto at = [&](QFormLayout::ItemRole role) {
      QLayoutItem* item = form->itemAt(row, role);
      return item ? item->widget() : nullptr;
    };
    rows << std::pair(at(QFormLayout::LabelRole),
                      at(QFormLayout::FieldRole) ? at(QFormLayout::FieldRole)
                                                 : at(QFormLayout::SpanningRole));
  }
  return rows;
}

}  // namespace

QString DialogShows(const QWidget& dialog) {
  QStringList parts{dialog.windowTitle()};
  if (auto* files = qobject_cast<const QFileDialog*>(&dialog)) {
    parts << files->nameFilters().join(";;")
          << (files->acceptMode() == QFileDialog::AcceptSave ? "save" : "open")
          << (files->fileMode() == QFileDialog::ExistingFiles ? "many" : "one")
          << "suffix " + files->defaultSuffix();
    if (files->testOption(QFileDialog::DontConfirmOverwrite)) parts << "no overwrite question";
  }
  if (auto* box = qobject_cast<const QMessageBox*>(&dialog)) {
    const char* icons[] = {"no icon", "information", "warning", "critical", "question"};
    parts << icons[box->icon()] << box->text();
  }
  for (const auto& [label, field] : FormRows(dialog)) {
    if (qobject_cast<QDialogButtonBox*>(field)) continue;
    parts << (label ? Field(*label) + " " : QString()) + (field ? Field(*field) : "-");
  }
  QStringList captions;
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (qobject_cast<QDialogButtonBox*>(button->parentWidget()) && button->isVisible())
      captions << Plain(button->text()) + (button->isEnabled() ? "" : " off");
  }
  if (auto* box = qobject_cast<const QMessageBox*>(&dialog)) {
    captions.clear();
    for (QAbstractButton* button : box->buttons()) captions << Plain(button->text());
  }
  parts << captions.join(' ');
  return parts.join(" | ");
}

void FillForm(QWidget& dialog, const QVariantList& values) {
  qsizetype next = 0;
  for (const auto& [label, field] : FormRows(dialog)) {
    if (next == values.size()) return;
    if (auto* spin = qobject_cast<QSpinBox*>(field)) spin->setValue(values[next++].toInt());
    if (auto* list = qobject_cast<QComboBox*>(field)) list->setCurrentIndex(values[next++].toInt());
    if (auto* box = qobject_cast<QCheckBox*>(field)) box->setChecked(values[next++].toBool());
  }
}

void Press(QWidget& dialog, const QString& caption) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (Plain(button->text()) == caption && button->isVisible()) return button->click();
  }
  qFatal("no button %s", qPrintable(caption));
}

}  // namespace vesk
