// The view's start-up and shut-down in the current OpenGL context, and its frame.
#include "view/scene_view.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/text.h"
#include "sim/device_registry.h"
#include "sim/simulation.h"

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

void TSceneView::Init(int width, int height, const std::vector<std::string>& folders,
                      const TRefGeometry& reference, bool diagonals,
                      std::vector<std::string>& problems) {
  glClearIndex(0);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glClearColor(0.8f, 0.8f, 0.8f, 1.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (width > 0 && height > 0) gluPerspective(45, static_cast<double>(width) / height, 0.01, 100);
  glMatrixMode(GL_MODELVIEW);
  ready_ = true;
  LoadTextures(folders, problems);
  BuildDisplayLists(reference, diagonals);
  dc_.FontBase = BuildFont();
}

void TSceneView::SetProjection(int width, int height) {
  // A minimised window has no aspect ratio: keep the last projection.
  if (!ready_ || width <= 0 || height <= 0) return;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45, static_cast<double>(width) / height, 0.01, 100);
  glMatrixMode(GL_MODELVIEW);
}

void TSceneView::Release() {
  if (!ready_) return;
  ReleaseFont(dc_.FontBase);
  glDeleteLists(kListWheelDisk, kSharedListCount);
  const GLuint textures[] = {dc_.TexRipple, dc_.TexPicture, dc_.TexGreen};
  glDeleteTextures(3, textures);
  dc_.TexRipple = dc_.TexPicture = dc_.TexGreen = 0;
  ready_ = false;
}

void TSceneView::Draw(const TSimulation& sim, const TCameraPose& camera,
                      const TInsetSizes& inset) const {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);

  glTranslated(0, 0, -camera.zpos);
  glRotated(camera.xrot, 1, 0, 0);
  if (IsLogged(sim.Selected())) DrawToothInset(sim, camera, inset);

  glColor3f(1, 1, 0);
  CentreTriangle(camera.zpos);
  glTranslated(0, -camera.yv, 0);
  glColor3f(0.4f, 0.4f, 0.4f);
  CentreTriangle(camera.zpos);

  glRotated(camera.yrot, 0, 1, 0);
  glTranslated(-camera.xv, 0, -camera.zv);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glCallList(kListGrid);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  glPushMatrix();
  glRotated(-90, 1, 0, 0);
  glCallList(kListAxes);
  for (const TRobot* robot : sim.Robots) {
    // Without a font the texts draw nothing, and nothing else changes.
    TDrawContext dc = dc_;
    if (Labels == TLabelsShown::None ||
        (Labels == TLabelsShown::Selected && robot != &sim.Selected()))
      dc.FontBase = 0;
    robot->Draw(dc);
  }
  glPopMatrix();
}
