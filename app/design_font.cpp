#include "app/design_font.h"

#include <QStringList>

namespace vesk {

QFont DesignFont() {
  static const bool substituted = [] {
    QFont::insertSubstitutions("MS Sans Serif",
                               {"Microsoft Sans Serif", "Nimbus Sans", "Liberation Sans", "Arial",
                                "Helvetica", "DejaVu Sans"});
    return true;
  }();
  (void)substituted;
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(10);
  return font;
}

}  // namespace vesk
