// Zoom and pan of one image window: Ctrl+wheel zooms at the mouse, the
// zoom commands step, fit the window or show actual pixels, and while the
// view is zoomed the middle button drags the picture (at actual pixels the
// middle button keeps its mesh gesture). The scroll bars pan as ever. The
// pixel rules are core/image/view_transform.h; the picture widget maps its
// mouse events to image pixels itself, and hands the gestures a press with
// its zoom only so that they can tell whether it is on a node as drawn.
#pragma once

#include <QObject>
#include <QPoint>

class QScrollArea;

namespace vesk {

class TImage;

class ImageView : public QObject {
  Q_OBJECT

 public:
  // What linked windows share.
  struct State {
    int zoom = 256;
    int scroll_x = 0;
    int scroll_y = 0;
  };

  ImageView(QScrollArea& scroll, TImage& image, QObject* parent);

  int Zoom() const;
  // Zooms keeping the picture point at `anchor` (view coordinates) still.
  void ZoomAt(int zoom, QPoint anchor);
  // The commands: about the view's centre, or from its top-left corner.
  void ZoomIn();
  void ZoomOut();
  void FitWindow();
  void ActualPixels();

  State CurrentState() const;
  // Takes a linked window's state without reporting Changed back.
  void SetState(const State& state);

 signals:
  // The user changed the zoom or the scroll position.
  void Changed();
  // The zoom changed (by the user or through SetState).
  void ZoomChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPoint ViewCentre() const;
  void ScrollBy(QPoint delta);

  QScrollArea& scroll_;
  TImage& image_;
  bool panning_ = false;
  QPoint pan_last_;
  bool quiet_ = false;
};

}  // namespace vesk
