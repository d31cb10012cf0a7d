// The 3D view: a QOpenGLWidget on whose context TGL_Form's view code renders.
// Sizes and mouse positions reach the form in device pixels, so the viewport,
// the mouse gestures and the frame read-back agree on high-DPI screens.
// TInputView stands in for it where the platform has no OpenGL (the offscreen
// platform of the widget tests): same keys and mouse, nothing drawn.
#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "platform/qt/view_input.h"

class TGL_Form;

class TGLView : public QOpenGLWidget {
public:
  TGLView(TGL_Form& form, TViewInput& input, QWidget* parent = nullptr);
  ~TGLView() override;

  // The form presents a frame: drawn outside paintGL (a tick, a key), it is
  // already complete in the widget's framebuffer; Qt shows it at the next paint.
  void FramePresented();
  // Makes the context current if there is one; false without a usable context.
  bool MakeCurrent();
  int FramesShown() const { return frames_shown_; }
  // Called after a resize or paint has run form handlers, so the window can
  // mirror what they changed (the status line of the frame).
  std::function<void()> OnFormChanged;
  // Client size in device pixels.
  int PixelWidth() const;
  int PixelHeight() const;

protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void keyPressEvent(QKeyEvent* event) override { input_.Key(*event); }
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; } // Tab is a key like any other

private:
  void ReleaseGL();

  TGL_Form& form_;
  TViewInput& input_;
  bool in_paint_ = false;
  bool frame_ready_ = false;
  bool released_ = false;
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
