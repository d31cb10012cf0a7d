// Window commands: run/pause, reset, the device selector and the scroll bars.
#include <filesystem>

#include "window/gl_form.h"

void TGL_Form::AnimateClick() {
  Timer1.Enabled = !Timer1.Enabled;
}

void TGL_Form::ResetrobotsClick() {
  ResetRobots();
  // Seen at once while paused (the R key draws once itself, after every key).
  if (!Timer1.Enabled) RenderScene();
}

void TGL_Form::ResetRobots() {
  Sim.ResetRobots();
}

// The bar sets the real period of a tick; Dt stays as it is.
void TGL_Form::SBtimerChange() {
  Timer1.Interval = SBtimer.Position;
}

void TGL_Form::SBfsChange() {
  Sim.Fs = SBfs.Position * 0.1;
}

void TGL_Form::PasAPas1Click() {
  Timer1.Enabled = false;
  Timer1Timer();
}

void TGL_Form::CBListeSelect() {
  if (CBListe.ItemIndex < 0 || CBListe.ItemIndex >= Sim.NbRobots) return;
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
  std::error_code ec;
  std::string path = HelpPagePath();
  if (const auto full = std::filesystem::absolute(path, ec); !ec) path = full.string();
  // Said plainly, with the page's place, so the user can open it by hand.
  auto failed = [this, path] {
    toolkit_.MessageBox("La page d'aide n'a pas pu être ouverte :\n" + path, "Aide",
                        TMsgIcon::Warning);
  };
  if (!std::filesystem::is_regular_file(path, ec)) {
    failed();
    return;
  }
  toolkit_.OpenDocument(path, failed);
}

bool TGL_Form::SetParameter(std::int32_t n, std::string_view name, double value,
                            std::string* error) {
  if (!Sim.SetParameter(n, name, value, error)) return false;
  // Seen at once while paused (a length changes the drawing); the run itself
  // takes the new value at its next tick.
  if (!Timer1.Enabled) RenderScene();
  return true;
}

void TGL_Form::RestoreParameters(std::int32_t n) {
  Sim.RestoreParameters(n);
  if (!Timer1.Enabled) RenderScene();
}
