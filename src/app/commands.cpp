// Window commands: run/pause, reset, the device selector and the scroll bars.
#include "app/gl_form.h"
#include "app/number_text.h"

void TGL_Form::AnimateClick() { Timer1.Enabled = !Timer1.Enabled; }

void TGL_Form::ResetrobotsClick() {
  SimTime = 0;
  for (TRobot* robot : *Robots) robot->Reset();
}

// The bar sets the real period of a tick; Dt stays as it is.
void TGL_Form::SBtimerChange() { Timer1.Interval = SBtimer.Position; }

void TGL_Form::SBfsChange() { Fs = SBfs.Position * 0.1; }

void TGL_Form::CBListeSelect() {
  if (CBListe.ItemIndex < 0 || CBListe.ItemIndex >= NbRobots) return;
  SelectDevice(CBListe.ItemIndex);
  RenderScene();
}

void TGL_Form::SelectRobot1Click() {
  DialogRobSel.IDC_EDITRobSel = IntToStr(RobSel);
  if (toolkit_.ShowModal(TDialogId::RobSel) != TModalResult::OK) return;
  const auto n = StrToInt(DialogRobSel.IDC_EDITRobSel);
  if (!n) {
    ShowConversionError(NotAnIntegerMessage(DialogRobSel.IDC_EDITRobSel));
    return;
  }
  if (*n >= 0 && *n < NbRobots) {
    SelectDevice(*n);
    RenderScene();
  } else {
    toolkit_.MessageBox("Valeur entrée en dehors des limites", "", TMsgIcon::None);
  }
}
