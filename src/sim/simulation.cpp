#include "sim/simulation.h"

#include <algorithm>
#include <cmath>

#include "models/linear/rail.h"
#include "sim/contact_cache.h"
#include "sim/device_registry.h"
#include "sim/divergence.h"

TSimulation::TSimulation() : contacts_(std::make_unique<TContactCache>()) {
  SimTime = 0;
  Dt = 0.01;
  MotorScale = 1.0;
  Fs = 1.0;
  std::vector<TDevicePlan> plan;
  PlanDeviceSet(StandardDeviceSet(), plan);
  Build(plan);
}

TSetProblem TSimulation::SetDevices(const std::vector<std::string>& classes) {
  std::vector<TDevicePlan> plan;
  if (TSetProblem problem = PlanDeviceSet(classes, plan)) return problem;
  Build(plan);
  SimTime = 0;
  Ticks = 0;
  for (TTickObserver* o : TickObservers)
    o->AfterSetChanged(*this);
  return {};
}

void TSimulation::AdoptDevices(std::vector<std::unique_ptr<TRobot>> devices) {
  Robots.clear();
  owned_ = std::move(devices);
  for (const auto& robot : owned_)
    Robots.push_back(robot.get());
  Link();
  for (TTickObserver* o : TickObservers)
    o->AfterSetChanged(*this);
}

void TSimulation::Link() {
  RailPtr = nullptr;
  AimantPtr = nullptr;
  MrvPtr = nullptr;
  MsPtr = nullptr;
  DemoRobot = nullptr;
  for (TRobot* robot : Robots)
    if (const TDeviceClass* c = ClassOf(*robot); c && c->Link) c->Link(*this, *robot);
  NbRobots = static_cast<std::int32_t>(Robots.size());
  // Pairs are planned afresh for the new devices.
  contacts_ = std::make_unique<TContactCache>();
  ++set_version_;
}

std::vector<std::string> TSimulation::DeviceClassNames() const {
  std::vector<std::string> names;
  for (const TRobot* r : Robots)
    names.emplace_back(r->ClassName());
  return names;
}

void TSimulation::Build(const std::vector<TDevicePlan>& plan) {
  Robots.clear();
  owned_.clear();
  // The running counter gives each device its index.
  int n = 0;
  for (const TDevicePlan& d : plan) {
    std::unique_ptr<TRobot> robot = d.Class->Make(d.Place.X0, d.Place.Y0, n++, this);
    if (d.Place.Theta0 != 0) robot->Theta0 = robot->Theta = d.Place.Theta0;
    Robots.push_back(robot.get());
    owned_.push_back(std::move(robot));
  }
  Link();
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
  ++set_version_;
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
  for (TRobot* robot : Robots) {
    const TDeviceClass* c = ClassOf(*robot);
    if (c && c->PrepareFrame) c->PrepareFrame(*robot);
  }
}

void TSimulation::EndTick() {
  for (TTickObserver* o : TickObservers)
    o->AfterTick(*this);
}

void TSimulation::ResetRobots() {
  SimTime = 0;
  Ticks = 0;
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
      const TCollisionRole ra = CollisionRole(*a), rb = CollisionRole(*b);
      if (ra == TCollisionRole::None || rb == TCollisionRole::None) continue;
      if (ra == TCollisionRole::Rail) {
        RailPtr->CollideWith(b);
        continue;
      }
      if (rb == TCollisionRole::Rail) {
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
  v.Field("Ticks", Ticks);
  v.Field("Dt", Dt);
  v.Field("Fs", Fs);
  v.Field("MotorScale", MotorScale);
  v.Field("AllAuto", AllAuto);
}
