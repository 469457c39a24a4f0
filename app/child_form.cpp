#include "app/child_form.h"

#include <QCloseEvent>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <cmath>

#include "app/about_box.h"
#include "app/design_font.h"
#include "app/image_convert.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/common/file_io.h"
#include "core/image/bmp_codec.h"
#include "core/image/picture_file.h"
#include "core/mesh/mesh_overlay.h"

namespace vesk {
namespace {

QPoint ImagePoint(const QMouseEvent* event) {
  QPointF p = event->position();
  return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

MouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::RightButton) return MouseButton::Right;
  if (button == Qt::MiddleButton) return MouseButton::Middle;
  return MouseButton::Left;
}

}  // namespace

QString CoordinateCaption(int x, int y) {
  return QString("(%1:%2)").arg(x, 4).arg(y, 4);
}

Result<Bitmap> LoadPictureFile(const std::string& path) {
  switch (PictureFormatOf(path)) {
    case PictureFormat::kBmp:
      return LoadBmpFile(path);
    case PictureFormat::kPng:
    case PictureFormat::kJpeg: {
      QImageReader reader(QString::fromStdString(path));
      reader.setAutoTransform(false);
      QSize size = reader.size();
      if (size.isValid()) {
        std::string limit = CheckBitmapSize(size.width(), size.height());
        if (!limit.empty()) return Failure{limit};
      }
      QImage image = reader.read();
      if (image.isNull()) return Failure{reader.errorString().toStdString()};
      std::string limit = CheckBitmapSize(image.width(), image.height());
      if (!limit.empty()) return Failure{limit};
      return FromQImage(image);
    }
    case PictureFormat::kUnknown:
      break;
  }
  return Failure{UnknownExtensionMessage(path)};
}

// ---- TImage ------------------------------------------------------------

TImage::TImage(QWidget* parent) : QWidget(parent) {
  setObjectName("Image1");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(0, 0);
}

void TImage::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  setFixedSize(picture_.size());
  update();
}

void TImage::SetPixelNow(int x, int y, Color color) {
  if (x < 0 || y < 0 || x >= picture_.width() || y >= picture_.height()) return;
  picture_.setPixel(x, y, qRgb(RedOf(color), GreenOf(color), BlueOf(color)));
  repaint(x, y, 1, 1);
}

void TImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), picture_, event->rect());
}

void TImage::Down(QMouseEvent* event, bool double_click) {
  // The whole set of keys and buttons held, the pressed button included.
  ShiftState shift = 0;
  Qt::KeyboardModifiers modifiers = event->modifiers();
  Qt::MouseButtons held = event->buttons() | event->button();
  if (modifiers.testFlag(Qt::ShiftModifier)) shift |= kShiftKey;
  if (modifiers.testFlag(Qt::AltModifier)) shift |= kAltKey;
  if (modifiers.testFlag(Qt::ControlModifier)) shift |= kCtrlKey;
  if (held.testFlag(Qt::LeftButton)) shift |= kLeftButton;
  if (held.testFlag(Qt::RightButton)) shift |= kRightButton;
  if (held.testFlag(Qt::MiddleButton)) shift |= kMiddleButton;
  if (double_click) shift |= kDoubleClick;
  QPoint p = ImagePoint(event);
  emit MouseDown(ButtonOf(event->button()), shift, p.x(), p.y());
}

void TImage::mousePressEvent(QMouseEvent* event) { Down(event, false); }

// The second press of a double click arrives as this event alone.
void TImage::mouseDoubleClickEvent(QMouseEvent* event) { Down(event, true); }

void TImage::mouseMoveEvent(QMouseEvent* event) {
  QPoint p = ImagePoint(event);
  emit MouseMove(p.x(), p.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  QPoint p = ImagePoint(event);
  emit MouseUp(ButtonOf(event->button()), p.x(), p.y());
}

// ---- TChildForm --------------------------------------------------------

TChildForm::TChildForm(TMDIForm& owner, UserDialogs& dialogs)
    : QMdiSubWindow(nullptr), owner_(owner), dialogs_(dialogs) {
  setWindowTitle("Trelvanique");
  setWindowIcon(ProgramIcon());
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFont(DesignFont());

  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("ScrollBox");
  scroll_->setWidgetResizable(false);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setContentsMargins(1, 1, 1, 1);
  image1_ = new TImage;
  scroll_->setWidget(image1_);
  setWidget(scroll_);
  resize(238, 159);

  connect(image1_, &TImage::MouseDown, this, &TChildForm::Image1MouseDown);
  connect(image1_, &TImage::MouseMove, this, &TChildForm::Image1MouseMove);
  connect(image1_, &TImage::MouseUp, this, &TChildForm::Image1MouseUp);
}

TChildForm::~TChildForm() = default;

void TChildForm::SetBitmap(vesk::Bitmap bitmap) {
  bitmap_ = std::move(bitmap);
  has_bitmap_ = true;
  ShowPicture(bitmap_);
}

vesk::Bitmap TChildForm::PictureBitmap() const { return FromQImage(image1_->Picture()); }

void TChildForm::ShowPicture(const vesk::Bitmap& picture) {
  image1_->SetPicture(ToQImage(picture));
}

bool TChildForm::LoadImage(const QString& file_name) {
  const std::string name = file_name.toStdString();
  setWindowTitle(QString::fromStdString(CaptionOfFileName(name)));
  // A file that cannot be opened as named is looked for by its bare name in
  // the current folder.
  const std::string path = FileFound(name) ? name : BareFileName(name);
  if (!FileFound(path)) {
    dialogs_.Message(&owner_, owner_.ApplicationTitle(), "File Not Found");
    return false;
  }
  Result<vesk::Bitmap> loaded = LoadPictureFile(path);
  if (!loaded) {
    dialogs_.Message(&owner_, owner_.ApplicationTitle(),
                     QString::fromStdString(ImageFormatErrorText(loaded.Message())));
    return false;
  }
  SetBitmap(std::move(loaded).Value());
  Painting = false;
  return true;
}

void TChildForm::DrawMesh() {
  if (ImageKind != kFirstImage && ImageKind != kSecondImage) return;
  ShowPicture(vesk::DrawMesh(bitmap_, owner_.MeshModel(), ImageKind, owner_.CurrentSettings()));
  emit owner_.InputsChanged();
}

void TChildForm::Image1MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  if (ImageKind == 3) {
    // Any button, any modifiers: pick the colour to paint with.
    Painting = true;
    PaintColor = bitmap_.Pixel(x, y);
    return;
  }
  if (ImageKind != kFirstImage && ImageKind != kSecondImage) return;
  MeshMouseDownResult r = MeshMouseDown(owner_.MeshModel(), ImageKind, button, shift, x, y,
                                        owner_.CurrentSettings().NodeSize);
  if (r.arrow_cursor) image1_->setCursor(Qt::ArrowCursor);
  if (r.drag_assigned) DragNode = r.drag_node;
  if (r.mesh_changed) owner_.MeshSaved = false;
  if (r.redraw_this) DrawMesh();
  if (r.redraw_other) {
    if (TChildForm* other = owner_.OtherImageWindow(ImageKind)) other->DrawMesh();
  }
}

void TChildForm::Image1MouseMove(int x, int y) {
  owner_.ShowCoords(x, y);
  if (ImageKind == 3) {
    if (Painting) image1_->SetPixelNow(x, y, PaintColor);
    return;
  }
  if (MeshMouseMove(owner_.MeshModel(), ImageKind, DragNode, x, y, image1_->Picture().width(),
                    image1_->Picture().height())) {
    DrawMesh();
  }
}

void TChildForm::Image1MouseUp(MouseButton /*button*/, int x, int y) {
  // The mouse-move steps at the release point come first.
  if (ImageKind == kFirstImage || ImageKind == kSecondImage) {
    owner_.ShowCoords(x, y);
    if (MeshMouseUp(owner_.MeshModel(), ImageKind, DragNode, x, y, image1_->Picture().width(),
                    image1_->Picture().height())) {
      DrawMesh();
    }
  } else {
    Image1MouseMove(x, y);
  }
  DragNode = nullptr;
  image1_->unsetCursor();
  if (ImageKind == 3 && Painting) {
    Painting = false;
    image1_->SetPixelNow(x, y, PaintColor);
    bitmap_ = PictureBitmap();
  }
  owner_.UpdateCommandState();
}

void TChildForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  showMinimized();
}

}  // namespace vesk
