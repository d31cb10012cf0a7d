#include "sim/simulation.h"

#include <algorithm>
#include <cmath>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "sim/contact_cache.h"
#include "sim/divergence.h"

TSimulation::TSimulation() : contacts_(std::make_unique<TContactCache>()) {
  SimTime = 0;
  Dt = 0.01;
  MotorScale = 1.0;
  Fs = 1.0;
  // The running counter gives each device its index.
  int n = 0;
  auto add = [this](TRobot* robot) {
    owned_.emplace_back(robot);
    Robots.push_back(robot);
    return robot;
  };
  add(new TRobot4(-1.0, -1.0, n++, this));
  auto* robot_k = new TRobotK(-1.0, -1.5, n++, this);
  robot_k->Theta0 = robot_k->Theta = -2 * kPi / 3;
  add(robot_k);
  auto* robot4b = new TRobot4(-0.5, -0.5, n++, this);
  robot4b->Theta0 = robot4b->Theta = kPi / 2;
  add(robot4b);
  add(new TMonocycle(1.0, 0.0, n++, this));
  add(new TBicycle(1.5, 0.5, n++, this));
  RailPtr = static_cast<TRail*>(add(new TRail(0.0, 1.0, n++, this)));
  MrvPtr = static_cast<TMRVlin*>(add(new TMRVlin(0.2, 1.0, n++, this)));
  DemoRobot = static_cast<TRobot4*>(Robots[2]);
  AimantPtr = static_cast<TRailAimant*>(add(new TRailAimant(-1.0, 1.0, n++, this)));
  MsPtr = static_cast<TMSlin*>(add(new TMSlin(-1.5, 1.0, n++, this)));
  NbRobots = static_cast<std::int32_t>(Robots.size());
  RobSel = NbRobots - 1;
  Robots[RobSel]->Selected = true;
  AllAuto = false;
}

TSimulation::~TSimulation() = default;

void TSimulation::SelectDevice(std::int32_t n) {
  Robots[RobSel]->Selected = false;
  RobSel = n;
  Robots[RobSel]->Selected = true;
}

TRobot* TSimulation::ReplaceDevice(std::int32_t i, std::unique_ptr<TRobot> device) {
  TRobot*& slot = Robots[static_cast<std::size_t>(i)];
  device->Selected = slot->Selected;
  const auto owner = std::find_if(owned_.begin(), owned_.end(),
                                  [slot](const auto& owned) { return owned.get() == slot; });
  slot = device.get();
  *owner = std::move(device);
  return slot;
}

void TSimulation::Integrate() {
  const double h = Dt * 0.1;
  // The device that stepped last in this tick, for the cached pass.
  TRobot* stepped = nullptr;
  std::int32_t stepped_index = -1;
  for (int k = 0; k < 10; ++k) {
    for (int i = 0; i < NbRobots; ++i) {
      TRobot* robot = Robots[i];
      if (robot->AutoMode) robot->AutoPilot(SimTime);
      if (ReferenceContactPass) {
        ContactPassReference();
      } else {
        // Told nothing if the set is not the one it stepped in.
        const bool same = stepped_index >= 0 && stepped_index < NbRobots &&
                          Robots[stepped_index] == stepped &&
                          Robots[stepped_index + 1 == NbRobots ? 0 : stepped_index + 1] == robot;
        contacts_->Pass(Robots, NbRobots, RailPtr, same ? stepped_index : -1);
      }
      robot->Step(h);
      stepped = robot;
      stepped_index = i;
    }
  }
  // A device whose integration ran away is put back in its initial state, or
  // it would run away again at once.
  runaways_.clear();
  for (int i = 0; i < NbRobots; ++i) {
    TRobot& robot = *Robots[i];
    if (!Diverged(robot)) continue;
    ResetRunaway(robot);
    runaways_.push_back(i);
  }
}

void TSimulation::PrepareFrame() {
  for (TRobot* robot : Robots)
    if (robot->TypeCode == kTypeRobot4) static_cast<TRobot4*>(robot)->ShowSteering();
}

void TSimulation::EndTick() {
  for (TTickObserver* o : TickObservers)
    o->AfterTick(*this);
}

void TSimulation::ResetRobots() {
  SimTime = 0;
  for (TRobot* robot : Robots)
    robot->Reset();
  for (TTickObserver* o : TickObservers)
    o->AfterReset(*this);
}

void TSimulation::SetAllAuto(bool on) {
  AllAuto = on;
  for (TRobot* r : Robots)
    r->AutoMode = AllAuto;
}

void TSimulation::ContactPass() {
  if (ReferenceContactPass)
    ContactPassReference();
  else
    contacts_->Pass(Robots, NbRobots, RailPtr);
}

void TSimulation::ContactPassReference() {
  for (int i = 0; i < NbRobots; ++i)
    Robots[i]->InContact = false;
  for (int i = 0; i < NbRobots; ++i) {
    for (int j = i + 1; j < NbRobots; ++j) {
      TRobot* a = Robots[i];
      TRobot* b = Robots[j];
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

void TSimulation::VisitFields(TFieldVisitor& v) const {
  v.Field("NbRobots", NbRobots);
  v.Field("RobSel", RobSel);
  v.Field("SimTime", SimTime);
  v.Field("Dt", Dt);
  v.Field("Fs", Fs);
  v.Field("MotorScale", MotorScale);
  v.Field("AllAuto", AllAuto);
}
