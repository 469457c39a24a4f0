// The buttons dialogs share: glyph buttons with a tool tip (the viewer's
// Play / Pause / Play-next-frame group, the AVI creator's Add / Remove /
// Create), the close button "BitBtn1" of both, and the OK and Cancel row
// that ends every question laid out as a form.
#pragma once

#include <QRect>
#include <QStyle>
#include <QString>

class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QPushButton;
class QToolButton;
class QWidget;

namespace vesk {

// A glyph button named `name` with the hint `hint` and the style's `icon`,
// placed at `geometry`; `toggle` makes it stay down when pressed.
QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& hint,
                             QStyle::StandardPixmap icon, const QRect& geometry,
                             bool toggle = false);

// The close button "BitBtn1", hint "Close this dialog box"; it never takes
// the Enter key as the dialog's default button.
QPushButton* MakeCloseButton(QWidget* parent, const QString& caption, const QRect& geometry);

// OK (accepts `dialog`) and Cancel (rejects it) as the last row of `form`.
QDialogButtonBox* AddOkCancelRow(QDialog& dialog, QFormLayout& form);

}  // namespace vesk
