// The 3D view: a native window with its own OpenGL context, placed in the main
// window by a window container. Frames go straight to the window surface: no
// offscreen framebuffer and no composition by the widget backing store, which
// would each hold several more full-window buffers.
// Sizes and mouse positions reach the form in device pixels, so the viewport,
// the mouse gestures and the frame read-back agree on high-DPI screens.
// TInputView stands in for it where the platform has no OpenGL (the offscreen
// platform of the widget tests): same keys and mouse, nothing drawn.
#pragma once

#include <QImage>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>

#include "platform/qt/view_input.h"

class QOpenGLContext;
class TGL_Form;

class TGLView : public QWindow {
public:
  TGLView(TGL_Form& form, TViewInput& input, QWidget* parent);
  ~TGLView() override;

  // The widget that holds this window in the main window's layout. Keys and
  // mouse events sent to it reach the form as the window's own do.
  QWidget* Container() const { return container_; }

  // The form has drawn a frame into the back buffer (a tick, a key). It is
  // shown at the next update request, so that the capture step still reads it
  // from the back buffer after the tick has drawn it.
  void FramePresented();
  // Makes the context current if there is one; false without a usable context.
  bool MakeCurrent();
  int FramesShown() const { return frames_shown_; }
  // Called after a resize or paint has run form handlers, so the window can
  // mirror what they changed (the status line of the frame).
  std::function<void()> OnFormChanged;
  // The pointer came into the view.
  std::function<void()> OnPointerEnter;
  // Client size in device pixels.
  int PixelWidth() const;
  int PixelHeight() const;
  // The frame drawn last, top row first; drawn anew when it has been shown.
  QImage grabFramebuffer();

protected:
  bool event(QEvent* event) override;
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override { input_.Key(*event); }
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool Initialise();
  void Paint();
  void Present();
  void ReleaseGL();

  TGL_Form& form_;
  TViewInput& input_;
  QWidget* container_ = nullptr;
  std::unique_ptr<QOpenGLContext> context_;
  bool initialised_ = false;
  bool released_ = false;
  // The back buffer holds a frame not yet swapped to the screen.
  bool frame_pending_ = false;
  int frames_shown_ = 0;
};

class TInputView : public QWidget {
public:
  TInputView(TViewInput& input, QWidget* parent = nullptr);

protected:
  void keyPressEvent(QKeyEvent* event) override { input_.Key(*event); }
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }

private:
  TViewInput& input_;
};
