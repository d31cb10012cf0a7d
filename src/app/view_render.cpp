// One frame of the 3D view, and the frame counter shown in the status line.
#include <GL/gl.h>

#include "app/gl_form.h"
#include "sim/device_registry.h"

namespace {

// The view-centre marker; the caller scales it with the camera distance.
void CentreTriangle(double zpos) {
  glPushMatrix();
  glScaled(zpos * 0.5, zpos * 0.5, zpos * 0.5);
  glBegin(GL_TRIANGLES);
  glVertex3d(0, 0, -0.1);
  glVertex3d(0.086, 0, 0.05);
  glVertex3d(-0.086, 0, 0.05);
  glEnd();
  glPopMatrix();
}

} // namespace

void TGL_Form::RenderScene() {
  RenderFrame(GLReady);
}

void TGL_Form::RenderFrame(bool draw) {
  // What the frame shows of the models is set whether it is drawn or not.
  Sim.PrepareFrame();
  frame_pending_ = GLReady && !draw;
  if (draw) DrawScene();
  MeasureFrameRate();
  toolkit_.SwapBuffers();
  UpdateStatusText();
}

void TGL_Form::DrawPendingFrame() {
  if (!frame_pending_ || !GLReady) return;
  frame_pending_ = false;
  DrawScene();
}

void TGL_Form::DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);

  glTranslated(0, 0, -zpos);
  glRotated(xrot, 1, 0, 0);
  if (IsLogged(Sim.Selected())) DrawToothInset();

  glColor3f(1, 1, 0);
  CentreTriangle(zpos);
  glTranslated(0, -yv, 0);
  glColor3f(0.4f, 0.4f, 0.4f);
  CentreTriangle(zpos);

  glRotated(yrot, 0, 1, 0);
  glTranslated(-xv, 0, -zv);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glCallList(kListGrid);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  glPushMatrix();
  glRotated(-90, 1, 0, 0);
  glCallList(kListAxes);
  for (int i = 0; i < Sim.NbRobots; ++i)
    Sim.Robots[i]->Draw(DrawContext);
  glPopMatrix();
}

void TGL_Form::MeasureFrameRate() {
  const float t = static_cast<float>(toolkit_.TickCountMs() * 0.001);
  FrameCount += 1;
  if (t - FrameWindowStart > 1.0) {
    FrameWindowStart = t;
    FrameCount = 0;
  }
}
