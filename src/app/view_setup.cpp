// The view's start-up and shut-down in the current OpenGL context: fixed state,
// projection, textures, display lists and font, and their release at close.
#include <GL/gl.h>
#include <GL/glu.h>

#include "app/gl_form.h"
#include "render/text.h"

void TGL_Form::InitViewState() {
  TextureFolders = {""};

  TScrollBar* bars[] = {&FormDlgView.ScrollBarzpos, &FormDlgView.ScrollBaryrot,
                        &FormDlgView.ScrollBarxrot};
  void (TGL_Form::*handlers[])() = {&TGL_Form::ScrollBarzposChange, &TGL_Form::ScrollBaryrotChange,
                                    &TGL_Form::ScrollBarxrotChange};
  for (int k = 0; k < 3; ++k)
    bars[k]->OnChange = [this, h = handlers[k]] { (this->*h)(); };
}

void TGL_Form::InitGL(int width, int height) {
  glClearIndex(0);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glClearColor(0.8f, 0.8f, 0.8f, 1.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (width > 0 && height > 0) gluPerspective(45, static_cast<double>(width) / height, 0.01, 100);
  glMatrixMode(GL_MODELVIEW);
  GLReady = true;
  LoadTextures();
  BuildDisplayLists();
  DrawContext.FontBase = BuildFont();
}

void TGL_Form::SetProjection(int width, int height) {
  // A minimised window has no aspect ratio: keep the last projection.
  if (GLReady && width > 0 && height > 0) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, static_cast<double>(width) / height, 0.01, 100);
    glMatrixMode(GL_MODELVIEW);
  }
  RenderScene();
}

void TGL_Form::FormResize(int width, int height) {
  ClientWidth = width;
  ClientHeight = height;
  SetProjection(width, height);
}

void TGL_Form::FormPaint() {
  RenderScene();
}

void TGL_Form::FormClose() {
  Timer1.Enabled = false;
  // A recording left open would lose its index with the window.
  if (Recording) EndRecording();
  if (!GLReady) return;
  // The platform destroys the context next; what lives in it goes first.
  ReleaseFont(DrawContext.FontBase);
  glDeleteLists(kListWheelDisk, kSharedListCount);
  const GLuint textures[] = {DrawContext.TexRipple, DrawContext.TexPicture, DrawContext.TexGreen};
  glDeleteTextures(3, textures);
  DrawContext.TexRipple = DrawContext.TexPicture = DrawContext.TexGreen = 0;
  GLReady = false;
}
