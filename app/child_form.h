// The image window `TChildForm`: one class for the first image (kind 1),
// the second image (kind 2) and the Vesk image (kind 3). It keeps the clean
// image `Bitmap` and shows `Image1`, the picture: for the first and second
// images the clean image with the mesh overlay, for the Vesk image the
// result, on which the mouse paints single pixels. Mouse events go to the
// main window for the mesh gestures and the coordinate label.
#pragma once

#include <QImage>
#include <QMdiSubWindow>
#include <QString>

#include <functional>
#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/mesh/mesh_gestures.h"
#include "core/mesh/mesh_model.h"

class QScrollArea;

namespace vesk {

class ImageView;
class TMDIForm;
class UserDialogs;

// `Image1`: shows the picture at the origin of the scrolled content, sized
// to the zoomed picture, and reports mouse moves and releases in image pixel
// coordinates at every zoom; a press comes as the view pixel pressed with
// the zoom, since whether it is on a node depends on where the node is
// drawn. At a zoom other than actual pixels an overlay drawn in view pixels
// goes over the picture.
class TImage : public QWidget {
  Q_OBJECT

 public:
  explicit TImage(QWidget* parent = nullptr);

  const QImage& Picture() const { return picture_; }
  // Shows `picture` and takes its size.
  void SetPicture(QImage picture);
  // Sets one pixel of the picture (ignored outside) and repaints it at once.
  void SetPixelNow(int x, int y, Color color);
  // Shows columns x_begin .. x_end - 1 of `picture` (all of it when the
  // sizes differ); they are painted at the next message processing.
  void ShowColumns(const vesk::Bitmap& picture, int x_begin, int x_end);

  // The zoom in 1/256ths (core/image/view_transform.h); the widget takes the
  // zoomed picture's size.
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom);
  // Draws onto the zoomed view pixels, whose (0, 0) is widget point
  // (left, top); used at zooms other than actual pixels.
  using Overlay = std::function<void(vesk::Bitmap& view, int left, int top)>;
  void SetOverlay(Overlay overlay) { overlay_ = std::move(overlay); }

 signals:
  void MouseDown(MouseButton button, ShiftState shift, vesk::ViewClick click);
  void MouseMove(int x, int y);
  void MouseUp(MouseButton button, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Down(QMouseEvent* event, bool double_click);
  ViewClick ViewPoint(const QMouseEvent* event) const;
  QPoint ImagePoint(const QMouseEvent* event) const;
  void TakePictureSize();
  QImage picture_;
  int zoom_;
  Overlay overlay_;
};

class TChildForm : public QMdiSubWindow {
  Q_OBJECT

 public:
  TChildForm(TMDIForm& owner, UserDialogs& dialogs);
  ~TChildForm() override;

  TImage* Image1() const { return image1_; }
  // Zoom and pan of this window.
  ImageView& View() const { return *view_; }

  // The clean image. SetBitmap also makes the picture a copy of it.
  const vesk::Bitmap& GetBitmap() const { return bitmap_; }
  bool HasBitmap() const { return has_bitmap_; }
  void SetBitmap(vesk::Bitmap bitmap);
  // The picture as shown (with the overlay or painted pixels).
  vesk::Bitmap PictureBitmap() const;
  // Shows a copy of `picture` without changing the clean image.
  void ShowPicture(const vesk::Bitmap& picture);

  int ImageKind = 0;      // 1 first, 2 second, 3 Vesk; 0 until set
  bool Painting = false;  // a button is held on the Vesk image
  Color PaintColor = 0;   // the colour picked at mouse-down on the Vesk image
  TMeshNode* DragNode = nullptr;
  // The clean image is the opened picture fitted to the first image's size
  // (Fit Second Image to First), not yet saved as a file of its own.
  bool FittedPicture = false;

  // Loads the file into the window; false (after its message) when the file
  // is not found or is not a picture this program reads.
  bool LoadImage(const QString& file_name);
  // Restores the clean image and draws the mesh overlay (kinds 1 and 2).
  void DrawMesh();

  void Image1MouseDown(MouseButton button, ShiftState shift, vesk::ViewClick click);
  void Image1MouseMove(int x, int y);
  void Image1MouseUp(MouseButton button, int x, int y);

 protected:
  // The close box minimizes; the window stays open for every command.
  void closeEvent(QCloseEvent* event) override;

 private:
  TMDIForm& owner_;
  UserDialogs& dialogs_;
  QScrollArea* scroll_ = nullptr;
  TImage* image1_ = nullptr;
  ImageView* view_ = nullptr;
  vesk::Bitmap bitmap_;
  bool has_bitmap_ = false;
  bool picture_is_clean_ = false;  // the picture shows no overlay pixels
};

// The coordinate label's caption: "(", X right-aligned in 4 characters, ":",
// Y likewise, ")"; wider numbers are written in full.
QString CoordinateCaption(int x, int y);

}  // namespace vesk
