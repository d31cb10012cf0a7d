#include "platform/qt/gl_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <cmath>

#include "app/gl_form.h"
#include "platform/qt/key_map.h"

TGLView::TGLView(TGL_Form& form, TDispatch dispatch, QWidget* parent)
    : QOpenGLWidget(parent), form_(form), dispatch_(std::move(dispatch)) {
  setObjectName(QStringLiteral("GLView"));
  setFocusPolicy(Qt::StrongFocus);
  // Frames rendered by a tick stay in the framebuffer until Qt composes them.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

TGLView::~TGLView() {
  ReleaseGL();
}

int TGLView::DevicePixels(double logical) const {
  return static_cast<int>(std::lround(logical * devicePixelRatioF()));
}
int TGLView::PixelWidth() const {
  return DevicePixels(width());
}
int TGLView::PixelHeight() const {
  return DevicePixels(height());
}

bool TGLView::MakeCurrent() {
  if (released_ || !context() || !context()->isValid()) return false;
  makeCurrent();
  return true;
}

void TGLView::initializeGL() {
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TGLView::ReleaseGL,
          Qt::DirectConnection);
  form_.InitGL(PixelWidth(), PixelHeight());
}

void TGLView::ReleaseGL() {
  if (released_ || !context()) return;
  makeCurrent();
  form_.FormClose();
  doneCurrent();
  released_ = true;
}

void TGLView::resizeGL(int, int) {
  // Qt passes logical pixels; the viewport wants device pixels.
  in_paint_ = true;
  form_.FormResize(PixelWidth(), PixelHeight());
  in_paint_ = false;
  frame_ready_ = true;
}

void TGLView::paintGL() {
  if (frame_ready_) {
    frame_ready_ = false;
  } else {
    in_paint_ = true;
    form_.FormPaint();
    in_paint_ = false;
  }
  ++frames_shown_;
}

void TGLView::FramePresented() {
  if (in_paint_) return; // Qt presents what paintGL drew
  frame_ready_ = true;
  update();
}

void TGLView::HandleKey(const QKeyEvent& event) {
  const auto key = MapKey(event.key(), event.modifiers(), event.nativeScanCode());
  if (!key) return;
  dispatch_([this, key] {
    std::uint16_t code = key->Key;
    form_.FormKeyDown(code, key->Shift);
  });
}

void TGLView::keyPressEvent(QKeyEvent* event) {
  HandleKey(*event);
}

namespace {
std::optional<TMouseButton> MapButton(Qt::MouseButton b) {
  switch (b) {
  case Qt::LeftButton:
    return TMouseButton::Left;
  case Qt::RightButton:
    return TMouseButton::Right;
  case Qt::MiddleButton:
    return TMouseButton::Middle;
  default:
    return std::nullopt;
  }
}

TShiftState MouseShift(const QMouseEvent& e) {
  TShiftState s = MapModifiers(e.modifiers());
  if (e.buttons() & Qt::LeftButton) s |= ssLeft;
  if (e.buttons() & Qt::RightButton) s |= ssRight;
  if (e.buttons() & Qt::MiddleButton) s |= ssMiddle;
  return s;
}
} // namespace

void TGLView::mousePressEvent(QMouseEvent* event) {
  const auto button = MapButton(event->button());
  if (!button) return;
  const int x = DevicePixels(event->position().x()), y = DevicePixels(event->position().y());
  const TShiftState shift = MouseShift(*event);
  dispatch_([&] { form_.FormMouseDown(*button, shift, x, y); });
}

void TGLView::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = MapButton(event->button());
  if (!button) return;
  const int x = DevicePixels(event->position().x()), y = DevicePixels(event->position().y());
  const TShiftState shift = MouseShift(*event);
  dispatch_([&] { form_.FormMouseUp(*button, shift, x, y); });
}

void TGLView::mouseMoveEvent(QMouseEvent* event) {
  const int x = DevicePixels(event->position().x()), y = DevicePixels(event->position().y());
  const TShiftState shift = MouseShift(*event);
  dispatch_([&] { form_.FormMouseMove(shift, x, y); });
}

void TGLView::wheelEvent(QWheelEvent* event) {
  // Qt's angle delta is already in eighths of a degree: 120 per notch.
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  const TPoint pos{DevicePixels(event->position().x()), DevicePixels(event->position().y())};
  const TShiftState shift = MapModifiers(event->modifiers());
  dispatch_([&] { form_.FormMouseWheel(shift, delta, pos); });
}
