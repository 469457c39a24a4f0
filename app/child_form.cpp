#include "app/child_form.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/about_box.h"
#include "app/design_font.h"
#include "app/file_name_bytes.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/user_dialogs.h"
#include "core/common/file_io.h"
#include "core/image/picture_file.h"
#include "core/image/view_transform.h"
#include "core/mesh/mesh_overlay.h"
#include "core/mesh/zoomed_mesh_overlay.h"
#include "pictures/image_convert.h"
#include "pictures/picture_reader.h"

namespace vesk {
namespace {

// The side buttons (back and forward) and any other extra button do
// nothing on an image.
bool IsImageButton(Qt::MouseButton button) {
  return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
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

// ---- TImage ------------------------------------------------------------

TImage::TImage(QWidget* parent) : QWidget(parent), zoom_(kActualPixels) {
  setObjectName("Image1");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(0, 0);
}

void TImage::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  TakePictureSize();
  update();
}

void TImage::SetZoom(int zoom) {
  zoom_ = ClampZoom(zoom);
  TakePictureSize();
  update();
}

void TImage::TakePictureSize() {
  setFixedSize(static_cast<int>(WidgetFromImage(picture_.width(), zoom_)),
               static_cast<int>(WidgetFromImage(picture_.height(), zoom_)));
}

ViewClick TImage::ViewPoint(const QMouseEvent* event) const {
  QPointF p = event->position();
  return ViewClick{static_cast<std::int64_t>(std::floor(p.x())),
                   static_cast<std::int64_t>(std::floor(p.y())), zoom_};
}

QPoint TImage::ImagePoint(const QMouseEvent* event) const {
  const MeshPoint p = ImagePixelOf(ViewPoint(event));
  return QPoint(p.x, p.y);
}

void TImage::SetPixelNow(int x, int y, Color color) {
  if (x < 0 || y < 0 || x >= picture_.width() || y >= picture_.height()) return;
  picture_.setPixel(x, y, qRgb(RedOf(color), GreenOf(color), BlueOf(color)));
  const int left = static_cast<int>(WidgetFromImage(x, zoom_));
  const int top = static_cast<int>(WidgetFromImage(y, zoom_));
  repaint(left, top, std::max(1, static_cast<int>(WidgetFromImage(x + 1, zoom_)) - left),
          std::max(1, static_cast<int>(WidgetFromImage(y + 1, zoom_)) - top));
}

void TImage::ShowColumns(const vesk::Bitmap& picture, int x_begin, int x_end) {
  if (picture_.size() != QSize(picture.Width(), picture.Height()) ||
      picture_.format() != QImage::Format_RGB32) {
    SetPicture(ToQImage(picture));
    return;
  }
  CopyColumns(picture, x_begin, x_end, picture_);
  update(x_begin, 0, x_end - x_begin, picture_.height());
}

void TImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  if (zoom_ == kActualPixels || picture_.isNull() || area.isEmpty()) {
    painter.drawImage(area, picture_, area);
    return;
  }
  // Each view pixel shows the image pixel that a click there addresses.
  std::vector<int> columns(static_cast<std::size_t>(area.width()));
  for (int i = 0; i < area.width(); ++i) {
    columns[static_cast<std::size_t>(i)] =
        std::clamp(ImageFromWidget(area.left() + i, zoom_), 0, picture_.width() - 1);
  }
  vesk::Bitmap view(area.width(), area.height());
  for (int row = 0; row < area.height(); ++row) {
    const int y = std::clamp(ImageFromWidget(area.top() + row, zoom_), 0, picture_.height() - 1);
    const auto* in = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
    Color* out = view.Row(row);
    for (int i = 0; i < area.width(); ++i) {
      const QRgb c = in[columns[static_cast<std::size_t>(i)]];
      out[i] = MakeColor(qRed(c), qGreen(c), qBlue(c));
    }
  }
  if (overlay_) overlay_(view, area.left(), area.top());
  painter.drawImage(area.topLeft(), ToQImage(view));
}

void TImage::Down(QMouseEvent* event, bool double_click) {
  if (!IsImageButton(event->button())) {
    event->ignore();
    return;
  }
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
  emit MouseDown(ButtonOf(event->button()), shift, ViewPoint(event));
}

void TImage::mousePressEvent(QMouseEvent* event) { Down(event, false); }

// The second press of a double click arrives as this event alone.
void TImage::mouseDoubleClickEvent(QMouseEvent* event) { Down(event, true); }

void TImage::mouseMoveEvent(QMouseEvent* event) {
  QPoint p = ImagePoint(event);
  emit MouseMove(p.x(), p.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  if (!IsImageButton(event->button())) {
    event->ignore();
    return;
  }
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
  view_ = new ImageView(*scroll_, *image1_, this);
  image1_->SetOverlay([this](vesk::Bitmap& view, int left, int top) {
    DrawZoomedMeshOver(view, left, top, image1_->Zoom(), owner_.MeshModel(), ImageKind,
                       owner_.CurrentSettings());
  });
  // The overlay is part of the picture only at actual pixels.
  connect(view_, &ImageView::ZoomChanged, this, &TChildForm::DrawMesh);
  connect(view_, &ImageView::Changed, this, [this] { owner_.ImageViewChanged(this); });

  // The system menu's Close takes Ctrl+W, the shortcut of Swap Morph Mesh;
  // it keeps Ctrl+F4, so every shortcut of the command table stays the main
  // window's whichever window is active.
  if (QMenu* menu = systemMenu()) {
    for (QAction* action : menu->actions()) {
      QList<QKeySequence> keys = action->shortcuts();
      keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W));
      action->setShortcuts(keys);
    }
  }

  connect(image1_, &TImage::MouseDown, this, &TChildForm::Image1MouseDown);
  connect(image1_, &TImage::MouseMove, this, &TChildForm::Image1MouseMove);
  connect(image1_, &TImage::MouseUp, this, &TChildForm::Image1MouseUp);
}

TChildForm::~TChildForm() = default;

void TChildForm::SetBitmap(vesk::Bitmap bitmap) {
  bitmap_ = std::move(bitmap);
  has_bitmap_ = true;
  ShowPicture(bitmap_);
  picture_is_clean_ = true;
}

vesk::Bitmap TChildForm::PictureBitmap() const { return FromQImage(image1_->Picture()); }

void TChildForm::ShowPicture(const vesk::Bitmap& picture) {
  picture_is_clean_ = false;
  image1_->SetPicture(ToQImage(picture));
}

bool TChildForm::LoadImage(const QString& file_name) {
  const std::string name = FileNameBytes(file_name);
  setWindowTitle(QString::fromStdString(CaptionOfFileName(name)));
  // A file that cannot be opened as named is looked for by its bare name in
  // the current folder.
  const std::string path = FileReadable(name) ? name : BareFileName(name);
  if (!FileReadable(path)) {
    dialogs_.Message(&owner_, owner_.ApplicationTitle(), "File Not Found");
    return false;
  }
  Result<vesk::Bitmap> loaded = ReadPicture(path);
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
  if (image1_->Zoom() != kActualPixels) {
    // The overlay is painted over the clean picture in view pixels.
    if (!picture_is_clean_) ShowPicture(bitmap_);
    picture_is_clean_ = true;
    image1_->update();
  } else {
    ShowPicture(vesk::DrawMesh(bitmap_, owner_.MeshModel(), ImageKind, owner_.CurrentSettings()));
  }
  owner_.ShowFoldOverCount();
  emit owner_.InputsChanged();
}

void TChildForm::Image1MouseDown(MouseButton button, ShiftState shift, ViewClick click) {
  if (ImageKind == 3) {
    // Any button, any modifiers: pick the colour to paint with.
    Painting = true;
    const MeshPoint at = ImagePixelOf(click);
    PaintColor = bitmap_.Pixel(at.x, at.y);
    return;
  }
  if (ImageKind != kFirstImage && ImageKind != kSecondImage) return;
  MeshUndo& undo = owner_.Undo();
  MeshUndoState before = undo.Capture();
  MeshMouseDownResult r = MeshMouseDown(owner_.MeshModel(), ImageKind, button, shift, click,
                                        owner_.CurrentSettings().NodeSize);
  if (r.mesh_changed) {
    undo.Push(MeshUndo::GestureStepName(r.edit, before.mesh, undo.Capture().mesh), before);
  } else if (r.drag_node) {
    undo.BeginDrag(std::move(before));
  }
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
    // The whole drag, press to release, is one step.
    owner_.Undo().EndDrag();
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
