#include "app/image_view.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/child_form.h"
#include "core/image/view_transform.h"

namespace vesk {

ImageView::ImageView(QScrollArea& scroll, TImage& image, QObject* parent)
    : QObject(parent), scroll_(scroll), image_(image) {
  image_.installEventFilter(this);
  scroll_.viewport()->installEventFilter(this);
  for (QScrollBar* bar : {scroll_.horizontalScrollBar(), scroll_.verticalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      if (!quiet_) emit Changed();
    });
  }
}

int ImageView::Zoom() const { return image_.Zoom(); }

void ImageView::ZoomAt(int zoom, QPoint anchor) {
  const int old_zoom = image_.Zoom();
  zoom = ClampZoom(zoom);
  if (zoom == old_zoom) return;
  QScrollBar* h = scroll_.horizontalScrollBar();
  QScrollBar* v = scroll_.verticalScrollBar();
  const auto x = ScrollKeepingAnchor(h->value(), anchor.x(), old_zoom, zoom);
  const auto y = ScrollKeepingAnchor(v->value(), anchor.y(), old_zoom, zoom);
  {
    const bool was_quiet = quiet_;
    quiet_ = true;
    image_.SetZoom(zoom);
    // The scroll ranges follow the new size at once, so the values fit.
    h->setRange(0, std::max(0, image_.width() - scroll_.viewport()->width()));
    v->setRange(0, std::max(0, image_.height() - scroll_.viewport()->height()));
    h->setValue(static_cast<int>(std::clamp<std::int64_t>(x, h->minimum(), h->maximum())));
    v->setValue(static_cast<int>(std::clamp<std::int64_t>(y, v->minimum(), v->maximum())));
    quiet_ = was_quiet;
  }
  emit ZoomChanged();
  if (!quiet_) emit Changed();
}

QPoint ImageView::ViewCentre() const {
  return QPoint(scroll_.viewport()->width() / 2, scroll_.viewport()->height() / 2);
}

void ImageView::ZoomIn() { ZoomAt(vesk::ZoomIn(Zoom()), ViewCentre()); }
void ImageView::ZoomOut() { ZoomAt(vesk::ZoomOut(Zoom()), ViewCentre()); }

void ImageView::FitWindow() {
  const QSize view = scroll_.maximumViewportSize();
  const QSize picture = image_.Picture().size();
  ZoomAt(FitZoom(picture.width(), picture.height(), view.width(), view.height()), QPoint(0, 0));
  scroll_.horizontalScrollBar()->setValue(0);
  scroll_.verticalScrollBar()->setValue(0);
}

void ImageView::ActualPixels() { ZoomAt(kActualPixels, ViewCentre()); }

ImageView::State ImageView::CurrentState() const {
  return State{Zoom(), scroll_.horizontalScrollBar()->value(),
               scroll_.verticalScrollBar()->value()};
}

void ImageView::SetState(const State& state) {
  const bool was_quiet = quiet_;
  quiet_ = true;
  ZoomAt(state.zoom, QPoint(0, 0));
  scroll_.horizontalScrollBar()->setValue(state.scroll_x);
  scroll_.verticalScrollBar()->setValue(state.scroll_y);
  quiet_ = was_quiet;
}

void ImageView::ScrollBy(QPoint delta) {
  QScrollBar* h = scroll_.horizontalScrollBar();
  QScrollBar* v = scroll_.verticalScrollBar();
  h->setValue(h->value() - delta.x());
  v->setValue(v->value() - delta.y());
}

bool ImageView::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      if (!wheel->modifiers().testFlag(Qt::ControlModifier)) break;
      const int steps = wheel->angleDelta().y();
      if (steps == 0) return true;
      QPoint at = wheel->position().toPoint();
      if (watched == &image_) at = image_.mapTo(scroll_.viewport(), at);
      ZoomAt(steps > 0 ? vesk::ZoomIn(Zoom()) : vesk::ZoomOut(Zoom()), at);
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::MiddleButton || Zoom() == kActualPixels) break;
      panning_ = true;
      pan_last_ = mouse->globalPosition().toPoint();
      return true;
    }
    case QEvent::MouseMove: {
      if (!panning_) break;
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint now = mouse->globalPosition().toPoint();
      ScrollBy(now - pan_last_);
      pan_last_ = now;
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!panning_ || mouse->button() != Qt::MiddleButton) break;
      panning_ = false;
      return true;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vesk
