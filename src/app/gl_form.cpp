#include "app/gl_form.h"

#include "app/contact_cache.h"
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

TGL_Form::TGL_Form(TToolkit& toolkit)
    : toolkit_(toolkit), contacts_(std::make_unique<TContactCache>()) {

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
  SimTime = 0;
  Dt = 0.01;
  Timer1.Interval = 10;
  SBtimer.SetPosition(Timer1.Interval);
  // 2.
  FrameCount = 0;
  FrameWindowStart = 0;
  MotorScale = 1.0;
  // 3.
  RefRobot = new TRobot2(0, 0, -1, this);
  DrawContext.RefWheelR = RefRobot->WheelR->R;
  DrawContext.RefWheelTube = RefRobot->WheelR->Tube;
  // 4.
  Fs = 1.0;
  SBfs.SetPosition(static_cast<int>(Fs * 10));
  // 5. The device set; the running counter gives each device its index.
  Robots = new TRobotArray();
  int n = 0;
  Robots->push_back(new TRobot4(-1.0, -1.0, n++, this));
  auto* robot_k = new TRobotK(-1.0, -1.5, n++, this);
  robot_k->Theta0 = robot_k->Theta = -2 * kPi / 3;
  Robots->push_back(robot_k);
  auto* robot4b = new TRobot4(-0.5, -0.5, n++, this);
  robot4b->Theta0 = robot4b->Theta = kPi / 2;
  Robots->push_back(robot4b);
  Robots->push_back(new TMonocycle(1.0, 0.0, n++, this));
  Robots->push_back(new TBicycle(1.5, 0.5, n++, this));
  ToothWidth = 0.008;
  RailWidth = 0.03;
  RailPtr = new TRail(0.0, 1.0, n++, this);
  Robots->push_back(RailPtr);
  MrvPtr = new TMRVlin(0.2, 1.0, n++, this);
  Robots->push_back(MrvPtr);
  DemoRobot = static_cast<TRobot4*>((*Robots)[2]);
  AimantPtr = new TRailAimant(-1.0, 1.0, n++, this);
  Robots->push_back(AimantPtr);
  MsPtr = new TMSlin(-1.5, 1.0, n++, this);
  Robots->push_back(MsPtr);
  // 6.
  NbRobots = static_cast<std::int32_t>(Robots->size());
  RobSel = NbRobots - 1;
  (*Robots)[RobSel]->Selected = true;
  // 7.
  for (int i = 0; i < NbRobots; ++i)
    CBListe.Items.push_back(std::to_string(i) + TypeCodeText((*Robots)[i]->TypeCode));
  CBListe.ItemIndex = RobSel;
  // 8. The camera; CamStep comes from a single-precision constant.
  xv = -1.5;
  zv = -1.0;
  yv = 0.015;
  zpos = 0.28;
  yrot = 0;
  xrot = 4.0;
  CamStep = static_cast<double>(0.05f);
  // 9.
  AllAuto = DemoMode = LogOn = RightDrag = ShowDiagonals = LeftDrag = Recording = false;
  // 10.
  DemoLen1 = 300;
  DemoLen2 = 900;
  DemoLen3 = 1500;
  DemoW2 = kPi / DemoLen2;
  DemoW3 = 3 * kPi / DemoLen3;
}

TGL_Form::~TGL_Form() {
  if (Log.is_open()) Log.close();
  for (TRobot* robot : *Robots)
    delete robot;
  delete Robots;
  delete RefRobot;
}

void TGL_Form::SelectDevice(std::int32_t n) {
  (*Robots)[RobSel]->Selected = false;
  RobSel = n;
  (*Robots)[RobSel]->Selected = true;
  // The device list shows the selection, whichever way it was made.
  CBListe.ItemIndex = n;
}

void TGL_Form::ShowConversionError(const std::string& message) {
  toolkit_.MessageBox(message, "", TMsgIcon::Error);
}
