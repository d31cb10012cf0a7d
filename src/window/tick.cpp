// The window's tick: the simulation's step, then the frame, the data log and
// the recording.
#include "models/device_description.h"
#include "models/linear/mrvlin.h"
#include "sim/device_registry.h"
#include "window/gl_form.h"

void TGL_Form::Timer1Timer() {
  if (BeforeTick && !BeforeTick()) return;
  Sim.BeginTick();
  if (DemoMode) {
    DemoCameraStep();
    RefreshViewDialog();
  }
  Sim.Integrate();
  // A device that ran away was put back in its initial state; the run is
  // paused, or it would run away again at once, a message after another.
  for (const std::int32_t i : Sim.Runaways()) {
    Timer1.Enabled = false;
    toolkit_.MessageBox("Le calcul de l'appareil " + std::to_string(i) + " (" +
                            Sim.Device(i).Description().Name +
                            ") a divergé : ses paramètres et le pas d'intégration le rendent "
                            "instable. Il est remis à son état initial et la simulation est "
                            "mise en pause.",
                        "Simulation", TMsgIcon::Warning);
  }
  RenderFrame(View.Ready() && !DeferTickFrames);
  if (LogOn && IsLogged(Sim.Selected())) {
    Sim.MrvPtr = static_cast<TMRVlin*>(&Sim.Selected());
    WriteLogLine();
  }
  if (Recording) CaptureStep();
  Sim.EndTick();
}
