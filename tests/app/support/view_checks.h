// What a user sees of a window, as text a test compares with its rows, and a
// count of the paint events a widget receives.
#pragma once

#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QStringList>
#include <QVariantList>
#include <QWidget>

namespace vesk {

// For each row, what the control its key names shows: `key x,y wxh "caption"
// [hint] state`. The key is an object name (a window's or a widget's) or the
// quoted caption of an unnamed label. The place, the hint and the icon are
// shown only where the row gives a place ("x,y " or a window's "wxh "). A label, check
// box or radio button at its natural size has the size "auto"; a window shows
// its client size, font height and whether it is centred on the screen; a
// plain frame its bevel.
QStringList Seen(const QWidget& window, const QStringList& rows);
// The same for rows joined by " | ".
QString Seen(const QWidget& window, const QString& rows);

// What a dialog of the platform shows, " | " between parts: its title; a file
// dialog's filters, mode and default suffix; a message box's icon and text;
// each row of its form as "label: value" (a spin box with its range, a list
// with its item count, a check box up or down; "off" when disabled); the
// buttons.
QString DialogShows(const QWidget& dialog);
// Sets the form's editable fields in order (spin boxes and lists take a
// number, check boxes a bool).
void FillForm(QWidget& dialog, const QVariantList& values);
// Clicks the dialog's button captioned `caption` (without '&').
void Press(QWidget& dialog, const QString& caption);

// Counts the paint events `widget` receives and the area they paint; as the
// application's filter, those of every "Image1" in a window named "VeskChild".
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
  int count = 0;
  QRegion painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    if (watched != parent() && !(watched->objectName() == "Image1" && InVeskChild(watched)))
      return false;
    ++count;
    painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  static bool InVeskChild(const QObject* o) {
    while (o && o->objectName() != "VeskChild") o = o->parent();
    return o != nullptr;
  }
};

}  // namespace vesk
