#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace vesk {
namespace {

// The sixteen colours of the classic palette.
const QColor kBlack(0, 0, 0);
const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kOlive(128, 128, 0);
const QColor kNavy(0, 0, 128);
const QColor kPurple(128, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kGray(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kFuchsia(255, 0, 255);
const QColor kAqua(0, 255, 255);
const QColor kWhite(255, 255, 255);

void Page(QPainter& p, int x, int y, int w, int h) {
  QPolygon page;
  page << QPoint(x, y) << QPoint(x + w - 5, y) << QPoint(x + w, y + 5) << QPoint(x + w, y + h)
       << QPoint(x, y + h);
  p.setPen(kBlack);
  p.setBrush(kWhite);
  p.drawPolygon(page);
  p.drawLine(x + w - 5, y, x + w - 5, y + 5);
  p.drawLine(x + w - 5, y + 5, x + w, y + 5);
}

void Folder(QPainter& p) {
  p.setPen(kBlack);
  p.setBrush(kOlive);
  p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 6), QPoint(14, 6), QPoint(14, 15),
                          QPoint(1, 15)}));
  p.setBrush(kYellow);
  p.drawPolygon(QPolygon({QPoint(1, 15), QPoint(4, 8), QPoint(17, 8), QPoint(14, 15)}));
}

void SmallMesh(QPainter& p, int x, int y, const QColor& line) {
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawLine(x, y + 6, x + 4, y);
  p.drawLine(x + 4, y, x + 8, y + 6);
  p.drawLine(x, y + 6, x + 8, y + 6);
  p.drawLine(x + 4, y, x + 4, y + 6);
  p.setPen(kRed);
  for (QPoint n : {QPoint(x, y + 6), QPoint(x + 4, y), QPoint(x + 8, y + 6), QPoint(x + 4, y + 6)})
    p.drawRect(n.x() - 1, n.y() - 1, 2, 2);
}

void Digit(QPainter& p, int x, int y, int digit, const QColor& c) {
  // A 3 x 5 digit, one pixel strokes.
  p.setPen(c);
  if (digit == 1) {
    p.drawLine(x + 1, y, x + 1, y + 4);
    p.drawPoint(x, y + 1);
    p.drawLine(x, y + 4, x + 2, y + 4);
  } else {
    p.drawLine(x, y, x + 2, y);
    p.drawLine(x + 2, y, x + 2, y + 2);
    p.drawLine(x, y + 2, x + 2, y + 2);
    p.drawLine(x, y + 2, x, y + 4);
    p.drawLine(x, y + 4, x + 2, y + 4);
  }
}

void Arrow(QPainter& p, QPoint from, QPoint to, const QColor& c) {
  p.setPen(QPen(c, 2));
  p.drawLine(from, to);
  p.setPen(c);
  p.setBrush(c);
  int dx = to.x() > from.x() ? 1 : (to.x() < from.x() ? -1 : 0);
  int dy = to.y() > from.y() ? 1 : (to.y() < from.y() ? -1 : 0);
  if (dx != 0) {
    p.drawPolygon(QPolygon({to + QPoint(dx * 2, 0), to + QPoint(-dx * 2, -3),
                            to + QPoint(-dx * 2, 3)}));
  } else {
    p.drawPolygon(QPolygon({to + QPoint(0, dy * 2), to + QPoint(-3, -dy * 2),
                            to + QPoint(3, -dy * 2)}));
  }
}

void Frame(QPainter& p, int x, int y, int w, int h, const QColor& fill) {
  p.setPen(kBlack);
  p.setBrush(fill);
  p.drawRect(x, y, w, h);
}

void CopyVeskTo(QPainter& p, int digit) {
  Frame(p, 1, 1, 8, 8, kPurple);  // the Vesk image
  p.setPen(kFuchsia);
  p.drawLine(3, 6, 6, 3);
  Arrow(p, QPoint(7, 11), QPoint(11, 11), kNavy);
  Frame(p, 9, 8, 8, 9, kWhite);
  Digit(p, 12, 10, digit, kBlack);
}

void Draw(QPainter& p, Glyph glyph) {
  switch (glyph) {
    case Glyph::NewMesh:
      Page(p, 3, 1, 12, 16);
      SmallMesh(p, 5, 8, kBlue);
      break;
    case Glyph::OpenMesh:
      Folder(p);
      SmallMesh(p, 8, 1, kBlue);
      break;
    case Glyph::SaveMesh:
      p.setPen(kBlack);
      p.setBrush(kNavy);
      p.drawRect(1, 1, 15, 15);
      p.setBrush(kWhite);
      p.drawRect(4, 1, 9, 6);
      p.setBrush(kSilver);
      p.drawRect(4, 10, 9, 6);
      p.setPen(kBlack);
      p.drawLine(10, 11, 10, 14);
      break;
    case Glyph::CopyVesk2First:
      CopyVeskTo(p, 1);
      break;
    case Glyph::CopyVesk2Second:
      CopyVeskTo(p, 2);
      break;
    case Glyph::SwapMesh:
      Arrow(p, QPoint(2, 5), QPoint(13, 5), kGreen);
      Arrow(p, QPoint(15, 12), QPoint(4, 12), kRed);
      break;
    case Glyph::SheetGlass:
      Frame(p, 1, 1, 15, 15, kAqua);
      p.setPen(kTeal);
      for (int i = 5; i < 16; i += 4) {
        p.drawLine(i, 2, i, 15);
        p.drawLine(2, i, 15, i);
      }
      p.setPen(kWhite);
      p.drawLine(2, 3, 3, 2);
      p.drawLine(6, 7, 7, 6);
      p.drawLine(10, 11, 11, 10);
      break;
    case Glyph::Colorize:
      for (int i = 0; i < 4; ++i) {
        QColor c = QColor::fromRgb(255 - i * 85, 0, i * 85);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(1 + i * 4, 1, 4, 16);
      }
      p.setPen(kBlack);
      p.setBrush(Qt::NoBrush);
      p.drawRect(1, 1, 15, 15);
      break;
    case Glyph::FlagStreaming: {
      p.setPen(kMaroon);
      p.drawLine(2, 1, 2, 17);
      p.drawLine(3, 1, 3, 17);
      QPainterPath flag;
      flag.moveTo(4, 2);
      flag.cubicTo(8, 0, 11, 5, 16, 3);
      flag.lineTo(16, 11);
      flag.cubicTo(11, 13, 8, 8, 4, 10);
      flag.closeSubpath();
      p.setPen(kBlack);
      p.setBrush(kRed);
      p.drawPath(flag);
      break;
    }
    case Glyph::Distorsion: {
      p.setPen(kBlue);
      p.setBrush(Qt::NoBrush);
      for (int i = 0; i < 4; ++i) {
        QPainterPath h;
        h.moveTo(1, 2 + i * 4);
        h.cubicTo(6, 2 + i * 4 + 3, 11, 2 + i * 4 - 3, 16, 2 + i * 4);
        p.drawPath(h);
        QPainterPath v;
        v.moveTo(2 + i * 4, 1);
        v.cubicTo(2 + i * 4 + 3, 6, 2 + i * 4 - 3, 11, 2 + i * 4, 16);
        p.drawPath(v);
      }
      break;
    }
    case Glyph::Morph:
      p.setPen(kBlack);
      p.setBrush(kYellow);
      p.drawEllipse(1, 1, 7, 7);
      p.setBrush(kBlue);
      p.drawRect(10, 10, 6, 6);
      Arrow(p, QPoint(6, 11), QPoint(7, 11), kRed);
      Arrow(p, QPoint(11, 4), QPoint(11, 6), kRed);
      break;
    case Glyph::Animations:
      p.setPen(kBlack);
      p.setBrush(kBlack);
      p.drawRect(1, 3, 15, 11);
      p.setPen(Qt::NoPen);
      p.setBrush(kWhite);
      for (int x = 2; x < 16; x += 3) {
        p.drawRect(x, 4, 1, 1);
        p.drawRect(x, 12, 1, 1);
      }
      p.setBrush(kAqua);
      p.drawRect(2, 6, 6, 5);
      p.setBrush(kLime);
      p.drawRect(9, 6, 6, 5);
      break;
    case Glyph::Exit:
      p.setPen(kBlack);
      p.setBrush(kMaroon);
      p.drawRect(2, 1, 8, 15);
      p.setBrush(kYellow);
      p.drawRect(8, 8, 1, 1);
      Arrow(p, QPoint(9, 9), QPoint(15, 9), kGreen);
      break;
    case Glyph::OpenFirst:
      Folder(p);
      Frame(p, 10, 0, 6, 8, kWhite);
      Digit(p, 12, 2, 1, kBlack);
      break;
    case Glyph::OpenSecond:
      Folder(p);
      Frame(p, 10, 0, 6, 8, kWhite);
      Digit(p, 12, 2, 2, kBlack);
      break;
  }
}

}  // namespace

QPixmap GlyphPixmap(Glyph glyph) {
  QPixmap pixmap(kGlyphSize, kGlyphSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  Draw(p, glyph);
  return pixmap;
}

QIcon GlyphIcon(Glyph glyph) { return QIcon(GlyphPixmap(glyph)); }

}  // namespace vesk
