#include "app/design_font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace vesk {
namespace {

bool Fits(const QFont& font, const QString& text, int room) {
  return QFontMetrics(font).horizontalAdvance(text) <= room;
}

}  // namespace

QFont DesignFont() {
  static const bool substituted = [] {
    // Faces with the metrics of Arial first: the nearest to the design font.
    QFont::insertSubstitutions("MS Sans Serif",
                               {"Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial",
                                "Nimbus Sans", "Helvetica"});
    return true;
  }();
  (void)substituted;
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(10);
  return font;
}

QFont FontFitting(const QFont& font, const QString& text, int room) {
  if (Fits(font, text, room)) return font;
  for (const char* narrow : {"Liberation Sans Narrow", "Arial Narrow"}) {
    QFont condensed = font;
    condensed.setFamilies({narrow});
    if (QFontInfo(condensed).family() == narrow && Fits(condensed, text, room)) return condensed;
  }
  QFont smaller = font;
  for (int size = font.pixelSize() - 1; size >= 6; --size) {
    smaller.setPixelSize(size);
    if (Fits(smaller, text, room)) break;
  }
  return smaller;
}

}  // namespace vesk
