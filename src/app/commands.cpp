// Window commands: run/pause, reset, the device selector and the scroll bars.
#include "app/gl_form.h"

#include <filesystem>

void TGL_Form::AnimateClick() {
  Timer1.Enabled = !Timer1.Enabled;
}

void TGL_Form::ResetrobotsClick() {
  SimTime = 0;
  for (TRobot* robot : *Robots)
    robot->Reset();
}

// The bar sets the real period of a tick; Dt stays as it is.
void TGL_Form::SBtimerChange() {
  Timer1.Interval = SBtimer.Position;
}

void TGL_Form::SBfsChange() {
  Fs = SBfs.Position * 0.1;
}

void TGL_Form::CBListeSelect() {
  if (CBListe.ItemIndex < 0 || CBListe.ItemIndex >= NbRobots) return;
  SelectDevice(CBListe.ItemIndex);
  RenderScene();
}

void TGL_Form::CBListeCloseUp() {
  toolkit_.ReturnFocus();
}
void TGL_Form::SBtimerKeyUp() {
  toolkit_.ReturnFocus();
}
void TGL_Form::SBfsKeyUp() {
  toolkit_.ReturnFocus();
}

void TGL_Form::Quitter() {
  toolkit_.CloseWindow();
}

void TGL_Form::AproposClick() {
  toolkit_.ShowModal(TDialogId::About);
}

void TGL_Form::Aide2Click() {
  const std::string page = HelpPagePath();
  std::error_code ec;
  // A browser shown a missing file says little about where it should be.
  if (!std::filesystem::is_regular_file(page, ec)) {
    toolkit_.MessageBox("Cannot open file \"" + page + "\". No such file or directory", "Error",
                        TMsgIcon::Error);
    return;
  }
  toolkit_.OpenDocument(page);
}
