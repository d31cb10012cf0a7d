#include "platform/qt/gl_view.h"

#include <GL/gl.h>
#include <QExposeEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPlatformSurfaceEvent>
#include <QWheelEvent>
#include <cmath>

#include "window/gl_form.h"

TGLView::TGLView(TGL_Form& form, TViewInput& input, QWidget* parent) : form_(form), input_(input) {
  setObjectName(QStringLiteral("GLView"));
  setSurfaceType(QWindow::OpenGLSurface);
  // No alpha channel: an X window with one gets a 32-bit visual, which the
  // server composites into the 24-bit main window through an extra copy,
  // blending the scene with whatever lies under it where alpha is below one.
  QSurfaceFormat opaque = QSurfaceFormat::defaultFormat();
  opaque.setAlphaBufferSize(0);
  setFormat(opaque);
  // The container owns this window from here on.
  container_ = QWidget::createWindowContainer(this, parent);
  container_->setObjectName(QStringLiteral("GLView"));
  container_->setFocusPolicy(Qt::StrongFocus);
  container_->installEventFilter(this);
}

TGLView::~TGLView() {
  ReleaseGL();
}

int TGLView::PixelWidth() const {
  return static_cast<int>(std::lround(width() * devicePixelRatio()));
}
int TGLView::PixelHeight() const {
  return static_cast<int>(std::lround(height() * devicePixelRatio()));
}

bool TGLView::MakeCurrent() {
  if (released_ || !context_ || !handle()) return false;
  return context_->makeCurrent(this);
}

bool TGLView::Initialise() {
  if (initialised_) return true;
  if (released_) return false;
  context_ = std::make_unique<QOpenGLContext>();
  context_->setFormat(requestedFormat());
  if (!context_->create() || !context_->makeCurrent(this)) {
    // Nothing can be drawn; do not try again at every expose.
    context_.reset();
    released_ = true;
    return false;
  }
  initialised_ = true;
  form_.InitGL(PixelWidth(), PixelHeight());
  form_.FormResize(PixelWidth(), PixelHeight());
  frame_pending_ = true;
  if (OnFormChanged) OnFormChanged();
  return true;
}

void TGLView::ReleaseGL() {
  if (released_ || !initialised_) return;
  const bool current = MakeCurrent();
  form_.FormClose();
  if (current) context_->doneCurrent();
  released_ = true;
}

void TGLView::Paint() {
  if (!MakeCurrent()) return;
  form_.FormPaint();
  frame_pending_ = true;
  if (OnFormChanged) OnFormChanged();
}

void TGLView::Present() {
  if (!frame_pending_ || !isExposed() || !MakeCurrent()) return;
  context_->swapBuffers(this);
  frame_pending_ = false;
  ++frames_shown_;
}

void TGLView::FramePresented() {
  frame_pending_ = true;
  requestUpdate();
}

QImage TGLView::grabFramebuffer() {
  if (!initialised_ || !MakeCurrent()) return {};
  // After a swap the back buffer's content is undefined.
  if (!frame_pending_) Paint();
  const int w = PixelWidth(), h = PixelHeight();
  if (w <= 0 || h <= 0) return {};
  // QImage pads RGB888 rows to 4 bytes, as a pack alignment of 4 does.
  QImage image(w, h, QImage::Format_RGB888);
  GLint read_buffer = GL_BACK;
  glGetIntegerv(GL_READ_BUFFER, &read_buffer);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, image.bits());
  glReadBuffer(static_cast<GLenum>(read_buffer));
  image.mirror();
  image.setDevicePixelRatio(devicePixelRatio());
  return image;
}

bool TGLView::event(QEvent* e) {
  switch (e->type()) {
  case QEvent::UpdateRequest:
    Present();
    return true;
  case QEvent::Enter:
    if (OnPointerEnter) OnPointerEnter();
    break;
  case QEvent::PlatformSurface:
    // The surface goes before this object when the container is destroyed.
    if (static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() ==
        QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
      ReleaseGL();
    break;
  default:
    break;
  }
  return QWindow::event(e);
}

void TGLView::exposeEvent(QExposeEvent*) {
  if (!isExposed() || !Initialise()) return;
  if (!frame_pending_) Paint();
  Present();
}

void TGLView::resizeEvent(QResizeEvent*) {
  if (!initialised_ || !MakeCurrent()) return;
  form_.FormResize(PixelWidth(), PixelHeight());
  frame_pending_ = true;
  if (OnFormChanged) OnFormChanged();
}

void TGLView::mousePressEvent(QMouseEvent* e) {
  input_.Press(*e, devicePixelRatio());
}
void TGLView::mouseReleaseEvent(QMouseEvent* e) {
  input_.Release(*e, devicePixelRatio());
}
void TGLView::mouseMoveEvent(QMouseEvent* e) {
  input_.Move(*e, devicePixelRatio());
}
void TGLView::wheelEvent(QWheelEvent* e) {
  input_.Wheel(*e, devicePixelRatio());
}

bool TGLView::eventFilter(QObject* watched, QEvent* e) {
  if (watched != container_) return QWindow::eventFilter(watched, e);
  // Events sent to the container (focus proxies, tests) are the view's own;
  // Tab is a key like any other, not a focus move.
  const double ratio = container_->devicePixelRatioF();
  switch (e->type()) {
  case QEvent::KeyPress:
    input_.Key(*static_cast<QKeyEvent*>(e));
    return true;
  case QEvent::MouseButtonPress:
    input_.Press(*static_cast<QMouseEvent*>(e), ratio);
    return true;
  case QEvent::MouseButtonRelease:
    input_.Release(*static_cast<QMouseEvent*>(e), ratio);
    return true;
  case QEvent::MouseMove:
    input_.Move(*static_cast<QMouseEvent*>(e), ratio);
    return true;
  case QEvent::Wheel:
    input_.Wheel(*static_cast<QWheelEvent*>(e), ratio);
    return true;
  default:
    return false;
  }
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
