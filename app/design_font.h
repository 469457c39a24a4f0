// The windows' design font, "MS Sans Serif" 10 pixels high. Debian has no
// such face; Liberation Sans (package fonts-liberation), which has the
// metrics of Arial, stands in, so the designed positions of labels and
// edits still fit. FontFitting shrinks a text that would still overrun its
// room, whatever face the system gave.
#pragma once

#include <QFont>
#include <QString>

namespace vesk {

QFont DesignFont();

// `font`, or where `text` is wider than `room` pixels in it, the narrow face
// of the same family (Liberation Sans Narrow) at the same size, or failing
// that the largest pixel size at which the text fits.
QFont FontFitting(const QFont& font, const QString& text, int room);

}  // namespace vesk
