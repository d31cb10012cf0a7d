#include "platform/qt/gl_view.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <cmath>

#include "app/gl_form.h"

TGLView::TGLView(TGL_Form& form, TViewInput& input, QWidget* parent)
    : QOpenGLWidget(parent), form_(form), input_(input) {
  setObjectName(QStringLiteral("GLView"));
  setFocusPolicy(Qt::StrongFocus);
  // Frames rendered by a tick stay in the framebuffer until Qt composes them.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

TGLView::~TGLView() {
  ReleaseGL();
  // The base class destroys the context after this object is gone.
  if (context()) disconnect(context(), nullptr, this, nullptr);
}

int TGLView::PixelWidth() const {
  return static_cast<int>(std::lround(width() * devicePixelRatioF()));
}
int TGLView::PixelHeight() const {
  return static_cast<int>(std::lround(height() * devicePixelRatioF()));
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
  if (OnFormChanged) OnFormChanged();
}

void TGLView::paintGL() {
  if (frame_ready_) {
    frame_ready_ = false;
  } else {
    in_paint_ = true;
    form_.FormPaint();
    in_paint_ = false;
    if (OnFormChanged) OnFormChanged();
  }
  ++frames_shown_;
}

void TGLView::FramePresented() {
  if (in_paint_) return; // Qt presents what paintGL drew
  frame_ready_ = true;
  update();
}

void TGLView::mousePressEvent(QMouseEvent* e) {
  input_.Press(*e, devicePixelRatioF());
}
void TGLView::mouseReleaseEvent(QMouseEvent* e) {
  input_.Release(*e, devicePixelRatioF());
}
void TGLView::mouseMoveEvent(QMouseEvent* e) {
  input_.Move(*e, devicePixelRatioF());
}
void TGLView::wheelEvent(QWheelEvent* e) {
  input_.Wheel(*e, devicePixelRatioF());
}

TInputView::TInputView(TViewInput& input, QWidget* parent) : QWidget(parent), input_(input) {
  setObjectName(QStringLiteral("GLView"));
  setFocusPolicy(Qt::StrongFocus);
}

void TInputView::mousePressEvent(QMouseEvent* e) {
  input_.Press(*e, devicePixelRatioF());
}
void TInputView::mouseReleaseEvent(QMouseEvent* e) {
  input_.Release(*e, devicePixelRatioF());
}
void TInputView::mouseMoveEvent(QMouseEvent* e) {
  input_.Move(*e, devicePixelRatioF());
}
void TInputView::wheelEvent(QWheelEvent* e) {
  input_.Wheel(*e, devicePixelRatioF());
}
