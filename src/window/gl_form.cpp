#include "window/gl_form.h"

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "sim/device_registry.h"

TGL_Form::TGL_Form(TToolkit& toolkit) : toolkit_(toolkit) {
  SBtimer.Min = 0;
  SBtimer.Max = 100;
  SBtimer.Position = 50; // as designed; the constructor moves it below
  SBtimer.OnChange = [this] { SBtimerChange(); };
  SBfs.Min = 1;
  SBfs.Max = 100;
  SBfs.Position = 50;
  SBfs.OnChange = [this] { SBfsChange(); };
  StatusBar.Panels = {{"", 650}, {"Normal", 100}};
  CGaugeCapture.Visible = false;
  InitViewState();
  InitRecording();

  // 1. Time and timer; the timer stays disabled, so the program starts paused.
  Timer1.Interval = 10;
  SBtimer.SetPosition(Timer1.Interval);
  // 2.
  FrameCount = 0;
  FrameWindowStart = 0;
  // 3.
  RefRobot = new TRobot2(0, 0, -1, &Sim);
  View.SetReferenceWheel(RefRobot->WheelR->R, RefRobot->WheelR->Tube);
  // 4.
  SBfs.SetPosition(static_cast<int>(Sim.Fs * 10));
  // 5. The device set is the simulation's; the rail's sizes are the view's.
  ToothWidth = 0.008;
  RailWidth = 0.03;
  // 6, 7.
  FillDeviceList();
  // 8. The camera; CamStep comes from a single-precision constant.
  xv = -1.5;
  zv = -1.0;
  yv = 0.015;
  zpos = 0.28;
  yrot = 0;
  xrot = 4.0;
  CamStep = static_cast<double>(0.05f);
  // 9.
  DemoMode = LogOn = RightDrag = ShowDiagonals = LeftDrag = Recording = false;
  // 10.
  DemoLen1 = 300;
  DemoLen2 = 900;
  DemoLen3 = 1500;
  DemoW2 = kPi / DemoLen2;
  DemoW3 = 3 * kPi / DemoLen3;
}

TGL_Form::~TGL_Form() {
  if (Log.is_open()) Log.close();
  delete RefRobot;
}

void TGL_Form::SelectDevice(std::int32_t n) {
  Sim.SelectDevice(n);
  // The device list shows the selection, whichever way it was made.
  CBListe.ItemIndex = n;
}

void TGL_Form::FillDeviceList() {
  CBListe.Items.clear();
  for (int i = 0; i < Sim.NbRobots; ++i)
    CBListe.Items.push_back(std::to_string(i) + TypeCodeText(Sim.Device(i).TypeCode));
  CBListe.ItemIndex = Sim.RobSel;
}

TSetProblem TGL_Form::SetDevices(const std::vector<std::string>& classes) {
  if (TSetProblem problem = Sim.SetDevices(classes)) return problem;
  DemoMode = false;
  FillDeviceList();
  if (!Timer1.Enabled) RenderScene();
  return {};
}

std::vector<std::string> TGL_Form::Lacks(TSetNeed need) const {
  return MissingFor(need, Sim.DeviceClassNames());
}

void TGL_Form::ShowConversionError(const std::string& message) {
  toolkit_.MessageBox(message, "", TMsgIcon::Error);
}
