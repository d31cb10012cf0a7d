// The window's view: made in the context the platform gives, resized, drawn
// on paint, released at close.
#include "view/ref_geometry.h"
#include "window/gl_form.h"

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
  std::vector<std::string> problems;
  View.Init(width, height, TextureFolders, RefGeometry(RefRobot), ShowDiagonals, problems);
  // A missing or damaged picture is said, and the start-up goes on.
  for (const std::string& p : problems)
    toolkit_.MessageBox(p, "Error", TMsgIcon::Error);
}

void TGL_Form::SetProjection(int width, int height) {
  View.SetProjection(width, height);
  RenderScene();
}

void TGL_Form::RebuildGrid() {
  View.RebuildGrid(ShowDiagonals);
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
  // The platform destroys the context next; what lives in it goes first.
  View.Release();
}
