// The simulation tick and the contact pass between devices.
#include <cmath>

#include "app/contact_cache.h"
#include "app/divergence.h"
#include "app/gl_form.h"
#include "models/device_description.h"
#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"

void TGL_Form::Timer1Timer() {
  SimTime = SimTime + Dt;
  if (DemoMode) {
    DemoCameraStep();
    RefreshViewDialog();
  }
  const double h = Dt * 0.1;
  // The device that stepped last in this tick, for the cached pass.
  TRobot* stepped = nullptr;
  std::int32_t stepped_index = -1;
  for (int k = 0; k < 10; ++k) {
    for (int i = 0; i < NbRobots; ++i) {
      TRobot* robot = (*Robots)[i];
      if (robot->AutoMode) robot->AutoPilot(SimTime);
      if (ReferenceContactPass) {
        ContactPassReference();
      } else {
        // Told nothing if the set is not the one it stepped in.
        const bool same = stepped_index >= 0 && stepped_index < NbRobots &&
                          (*Robots)[stepped_index] == stepped &&
                          (*Robots)[stepped_index + 1 == NbRobots ? 0 : stepped_index + 1] == robot;
        contacts_->Pass(*Robots, NbRobots, RailPtr, same ? stepped_index : -1);
      }
      robot->Step(h);
      stepped = robot;
      stepped_index = i;
    }
  }
  // A device whose integration ran away is put back in its initial state and
  // the run paused, or it would run away again at once, a message after another.
  for (int i = 0; i < NbRobots; ++i) {
    TRobot& robot = *(*Robots)[i];
    if (!Diverged(robot)) continue;
    ResetRunaway(robot);
    Timer1.Enabled = false;
    toolkit_.MessageBox("Le calcul de l'appareil " + std::to_string(i) + " (" +
                            robot.Description().Name +
                            ") a divergé : ses paramètres et le pas d'intégration le rendent "
                            "instable. Il est remis à son état initial et la simulation est "
                            "mise en pause.",
                        "Simulation", TMsgIcon::Warning);
  }
  RenderFrame(GLReady && !DeferTickFrames);
  if (LogOn && (*Robots)[RobSel]->TypeCode == kTypeMRVlin) {
    MrvPtr = static_cast<TMRVlin*>((*Robots)[RobSel]);
    WriteLogLine();
  }
  if (Recording) CaptureStep();
  for (TTickObserver* o : TickObservers)
    o->AfterTick(*this);
}

void TGL_Form::ContactPass() {
  if (ReferenceContactPass)
    ContactPassReference();
  else
    contacts_->Pass(*Robots, NbRobots, RailPtr);
}

void TGL_Form::ContactPassReference() {
  TRobotArray& robots = *Robots;
  for (int i = 0; i < NbRobots; ++i)
    robots[i]->InContact = false;
  for (int i = 0; i < NbRobots; ++i) {
    for (int j = i + 1; j < NbRobots; ++j) {
      TRobot* a = robots[i];
      TRobot* b = robots[j];
      if (a->TypeCode == kTypeMRVlin || b->TypeCode == kTypeMRVlin) continue;
      if (a->TypeCode == kTypeRail) {
        RailPtr->CollideWith(b);
        continue;
      }
      if (b->TypeCode == kTypeRail) {
        RailPtr->CollideWith(a);
        continue;
      }
      const double dy = a->PosY - b->PosY;
      const double dx = a->PosX - b->PosX;
      const double d = std::sqrt(dy * dy + dx * dx);
      if (d <= a->Radius + b->Radius) {
        for (TRobot* r : {a, b}) {
          r->InContact = true;
          if (!r->Recoiling) {
            r->CollisionPending = true;
            r->OnCollision();
          }
        }
      }
    }
  }
}
