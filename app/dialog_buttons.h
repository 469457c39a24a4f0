// The small buttons the animation dialogs share: glyph buttons with a tool
// tip (the viewer's Play / Pause / Play-next-frame group, the AVI creator's
// Add / Remove / Create) and the close button "BitBtn1" of both.
#pragma once

#include <QRect>
#include <QStyle>
#include <QString>

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

}  // namespace vesk
