// The simulation tick and the contact pass between devices.
#include <cmath>

#include "app/contact_cache.h"
#include "app/gl_form.h"
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
