#include "app/about_box.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>

#include "app/design_font.h"
#include "core/image/raster.h"
#include "core/image/roughen.h"
#include "pictures/image_convert.h"

namespace vesk {

namespace {

// The program's subject in one small picture: a mesh of triangles half-way
// between a circle and a square, drawn over `picture` (64 x 64).
void DrawProgramMesh(Bitmap& picture) {
  const Point c{32, 32};
  const Point corners[6] = {{32, 8}, {54, 20}, {54, 44}, {32, 56}, {10, 44}, {10, 20}};
  for (int i = 0; i < 6; ++i) {
    Point a = corners[i];
    Point b = corners[(i + 1) % 6];
    FillLeafPiece(picture, c, a, b, MakeColor(40 * i, 90 + 20 * i, 255 - 30 * i));
  }
  for (int i = 0; i < 6; ++i) {
    DrawLine(picture, c, corners[i], MakeColor(0, 0, 128));
    DrawLine(picture, corners[i], corners[(i + 1) % 6], MakeColor(0, 0, 128));
  }
  for (const Point& p : corners) DrawNodeRectangle(picture, p.x, p.y, 2, MakeColor(255, 0, 0));
  DrawNodeRectangle(picture, c.x, c.y, 2, MakeColor(0, 128, 0));
}

constexpr int kPictureSize = 64;

}  // namespace

Bitmap ProgramPicture() {
  // The mesh over a sunset gradient.
  Bitmap picture(kPictureSize, kPictureSize);
  for (int y = 0; y < kPictureSize; ++y) {
    Color* row = picture.Row(y);
    for (int x = 0; x < kPictureSize; ++x) {
      int r = 255 - y * 2;
      int g = 120 + x;
      int b = 60 + (x + y);
      row[x] = MakeColor(r, g, b > 255 ? 255 : b);
    }
  }
  DrawProgramMesh(picture);
  return picture;
}

QImage ProgramIconImage() {
  // The mesh drawn over black and over white: what differs is background.
  Bitmap on_black(kPictureSize, kPictureSize, MakeColor(0, 0, 0));
  Bitmap on_white(kPictureSize, kPictureSize, MakeColor(255, 255, 255));
  DrawProgramMesh(on_black);
  DrawProgramMesh(on_white);
  QImage icon(kPictureSize, kPictureSize, QImage::Format_ARGB32);
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      const Color c = on_black.Pixel(x, y);
      icon.setPixel(x, y, c == on_white.Pixel(x, y) ? qRgb(RedOf(c), GreenOf(c), BlueOf(c)) : 0);
    }
  }
  return icon;
}

QIcon ProgramIcon() { return QIcon(QPixmap::fromImage(ProgramIconImage())); }

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("AboutBox");
  setWindowTitle("About Trelvanique");
  setFont(DesignFont());
  setFixedSize(298, 221);

  panel_ = new QFrame(this);
  panel_->setObjectName("Panel1");
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setGeometry(8, 8, 281, 161);

  picture_ = ProgramPicture();
  program_icon_ = new QLabel(panel_);
  program_icon_->setObjectName("ProgramIcon");
  program_icon_->setGeometry(8, 8, picture_.Width(), picture_.Height());
  ShowPicture();

  auto* product = new QLabel("Product Name: Vesk Trelvanique", panel_);
  product->setObjectName("ProductName");
  product->setGeometry(88, 16, 185, 16);
  auto* version = new QLabel("Version: 1.1", panel_);
  version->setObjectName("Version");
  version->setGeometry(88, 40, 185, 16);

  comments_ = new QLabel("Morphs and effects, made by its team", panel_);
  comments_->setObjectName("Comments");
  comments_->setToolTip("Click Here");
  comments_->setGeometry(8, 96, 265, 16);
  comments_->setCursor(Qt::PointingHandCursor);
  label1_ = new QLabel("See README.md for how to reach us", panel_);
  label1_->setObjectName("Label1");
  label1_->setToolTip("Click Here");
  label1_->setGeometry(8, 120, 265, 16);
  label1_->setCursor(Qt::PointingHandCursor);
  comments_->installEventFilter(this);
  label1_->installEventFilter(this);

  ok_button_ = new QPushButton("&OK", this);
  ok_button_->setObjectName("OKButton");
  ok_button_->setGeometry(111, 180, 75, 25);
  ok_button_->setDefault(true);
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::ShowPicture() {
  program_icon_->setPixmap(QPixmap::fromImage(ToQImage(picture_)));
}

void TAboutBox::RoughenClick() {
  RoughenPicture(
      picture_, [] { return QRandomGenerator::global()->bounded(-2, 3); },
      [] { QCoreApplication::processEvents(); });
  ShowPicture();
  program_icon_->repaint();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == comments_ || watched == label1_) &&
      event->type() == QEvent::MouseButtonRelease) {
    RoughenClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace vesk
