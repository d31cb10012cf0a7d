// The 3D view: a QOpenGLWidget on whose context TGL_Form's view code renders.
// Sizes and mouse positions reach the form in device pixels, so the viewport,
// the mouse gestures and the frame read-back agree on high-DPI screens.
#pragma once

#include <QOpenGLWidget>
#include <functional>

class QKeyEvent;
class TGL_Form;

class TGLView : public QOpenGLWidget {
public:
  // `dispatch` runs a handler with this view's context current and mirrors the
  // controls afterwards.
  using TDispatch = std::function<void(const std::function<void()>&)>;
  TGLView(TGL_Form& form, TDispatch dispatch, QWidget* parent = nullptr);
  ~TGLView() override;

  // A key press from the view or from a toolbar control, to FormKeyDown.
  void HandleKey(const QKeyEvent& event);
  // The form presents a frame: drawn outside paintGL (a tick, a key), it is
  // already complete in the widget's framebuffer; Qt shows it at the next paint.
  void FramePresented();
  // Makes the context current if there is one; false without a usable context.
  bool MakeCurrent();
  int FramesShown() const { return frames_shown_; }
  // Client size in device pixels.
  int PixelWidth() const;
  int PixelHeight() const;

protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; } // Tab is a key like any other

private:
  void ReleaseGL();
  int DevicePixels(double logical) const;

  TGL_Form& form_;
  TDispatch dispatch_;
  bool in_paint_ = false;
  bool frame_ready_ = false;
  bool released_ = false;
  int frames_shown_ = 0;
};
