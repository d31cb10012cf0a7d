// The three settings dialogs: integration step, motor and rail, active device.
#include <cmath>

#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "sim/step_limit.h"
#include "texts/number_text.h"
#include "window/gl_form.h"

void TGL_Form::Options1Click() {
  const char sep = toolkit_.DecimalSeparator();
  DialogOptions.Editdt = FloatToStr(Sim.Dt, sep);
  if (toolkit_.ShowModal(TDialogId::Options) != TModalResult::OK) return;
  const auto dt = StrToFloat(DialogOptions.Editdt, sep);
  if (!dt) {
    ShowConversionError(NotAFloatMessage(DialogOptions.Editdt));
    return;
  }
  std::string why;
  if (!SetStep(*dt, &why)) toolkit_.MessageBox(why, "Erreur", TMsgIcon::Error);
}

bool TGL_Form::SetStep(double dt, std::string* why) {
  // A negative step would run time backwards; beyond the limit the models
  // diverge.
  if (!(dt >= 0 && dt <= kMaxDt)) {
    if (why)
      *why = "Le pas d'intégration doit être compris entre 0 et " +
             FloatToStr(kMaxDt, toolkit_.DecimalSeparator()) + " s.";
    return false;
  }
  Sim.Dt = dt;
  return true;
}

void TGL_Form::OptionsMRVrail1Click() {
  if (!Sim.RailPtr || !Sim.MrvPtr) return;
  DialogOptionsMRV.RGTypeRail = Sim.RailPtr->RailType;
  DialogOptionsMRV.RBModelePhysiqueSimple = Sim.MrvPtr->ForceModel == 1;
  DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = Sim.MrvPtr->ForceModel == 2;
  DialogOptionsMRV.RBModelePhysiqueDistance = Sim.MrvPtr->ForceModel == 3;
  if (toolkit_.ShowModal(TDialogId::OptionsMRV) != TModalResult::OK) return;
  // Only the four shapes the rail knows.
  if (DialogOptionsMRV.RGTypeRail >= 0 && DialogOptionsMRV.RGTypeRail <= 3)
    Sim.RailPtr->RailType = DialogOptionsMRV.RGTypeRail;
  if (DialogOptionsMRV.RBModelePhysiqueSimple) Sim.MrvPtr->ForceModel = 1;
  if (DialogOptionsMRV.RBModelePhysiqueSimpleCorrige) Sim.MrvPtr->ForceModel = 2;
  if (DialogOptionsMRV.RBModelePhysiqueDistance) Sim.MrvPtr->ForceModel = 3;
  if (!Timer1.Enabled) RenderScene();
}

void TGL_Form::SelectRobot1Click() {
  DialogRobSel.IDC_EDITRobSel = IntToStr(Sim.RobSel);
  DialogRobSel.Devices = Sim.NbRobots;
  if (toolkit_.ShowModal(TDialogId::RobSel) != TModalResult::OK) return;
  const auto n = StrToInt(DialogRobSel.IDC_EDITRobSel);
  if (!n) {
    ShowConversionError(NotAnIntegerMessage(DialogRobSel.IDC_EDITRobSel));
    return;
  }
  if (*n >= 0 && *n < Sim.NbRobots) {
    SelectDevice(*n);
    RenderScene();
  } else {
    toolkit_.MessageBox("Valeur entrée en dehors des limites", "", TMsgIcon::None);
  }
}
