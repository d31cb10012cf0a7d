// TSimulation: one simulation of a device set, with nothing of a window: the
// devices, simulated time and the integration step, the supply frequency and
// size of the linear motors, the automatic pilots, the selection, the
// parameters, the tick's integration with its contact pass, and whoever follows
// it tick by tick. It holds no global or static state, so any number of them
// may run side by side, each on its own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "models/device_context.h"
#include "models/robot.h"
#include "sim/device_registry.h"
#include "sim/tick_observer.h"

class TContactCache;
class TMRVlin;
class TMSlin;
class TRobot4;

class TSimulation : public TDeviceContext {
public:
  // The nine devices of the program, as the window starts with them: paused
  // at time 0, the synchronous carriage selected.
  TSimulation();
  // Makes the set anew from a list of class names (see PlanDeviceSet): new
  // devices in their initial state, time back to 0, the last device
  // selected; the step and the motors' settings stay. A list that makes no
  // set changes nothing and says why.
  TSetProblem SetDevices(const std::vector<std::string>& classes);
  // Takes `devices` as the set (a scene's, made and checked by the reader;
  // they hold their own values). Time, the step and the selection stay as
  // they are set.
  void AdoptDevices(std::vector<std::unique_ptr<TRobot>> devices);
  // The class names of the set, in order.
  std::vector<std::string> DeviceClassNames() const;
  // Changes whenever the set is made anew or a device replaced: whatever
  // points into the devices is out of date.
  std::uint64_t SetVersion() const { return set_version_; }
  ~TSimulation();
  TSimulation(const TSimulation&) = delete;
  TSimulation& operator=(const TSimulation&) = delete;

  // --- The device set (owned) and the links into it ---
  TRobotArray Robots;
  std::int32_t NbRobots = 0;
  std::int32_t RobSel = 0;
  // The switched-reluctance carriage (also what the data log reads), the
  // synchronous one, and the four-wheel robot the demonstration drives.
  TMRVlin* MrvPtr = nullptr;
  TMSlin* MsPtr = nullptr;
  TRobot4* DemoRobot = nullptr;

  double SimTime = 0;
  // Ticks run since the set was made or reset (a whole number, exact as a
  // double up to 2^53).
  double Ticks = 0;
  double Dt = 0.01;
  bool AllAuto = false;

  TRobot& Device(std::int32_t i) const { return *Robots[static_cast<std::size_t>(i)]; }
  TRobot& Selected() const { return Device(RobSel); }
  // Moves the selection to device n (the caller checks the range).
  void SelectDevice(std::int32_t n);
  // Puts `device` in slot i in place of the device there, which is deleted;
  // the links into the set are the caller's to mend (tests' stand-ins).
  TRobot* ReplaceDevice(std::int32_t i, std::unique_ptr<TRobot> device);

  // --- The tick, in the order the window runs it ---
  // Simulated time moves on by one step.
  void BeginTick() {
    for (TTickObserver* o : TickObservers)
      o->BeforeTick(*this);
    SimTime = SimTime + Dt;
    Ticks += 1;
  }
  // Ten sub-steps over the set in index order: each device's pilot if it is
  // on, the contact pass, then its step. A device whose integration ran away
  // is then put back in its initial state and listed in Runaways().
  void Integrate();
  const std::vector<std::int32_t>& Runaways() const { return runaways_; }
  // What a frame shows of the models, set whether it is drawn or not.
  void PrepareFrame();
  // Tells the observers that a tick is complete.
  void EndTick();
  // A whole tick of the simulation alone, as the window runs it without its
  // camera, frame, log and recording: what a program stepping it needs.
  void Tick() {
    BeginTick();
    Integrate();
    PrepareFrame();
    EndTick();
  }

  // Reset robots: time back to 0 and every device to its initial state.
  void ResetRobots();
  // Every pilot on or off at once (the global switch).
  void SetAllAuto(bool on);

  // The contact pass over the whole set.
  void ContactPass();
  // The contact pass that tests every pair afresh, as first written; the tick
  // uses it instead of the cached pass when set. Kept as the reference that
  // the cached pass is compared with (tests, benchmarks).
  bool ReferenceContactPass = false;

  // Empty when `value` may be written to the parameter stored in field `name`
  // of device `device`; otherwise the reason, naming the accepted range.
  std::string CheckParameter(long long device, std::string_view name, double value) const;
  // Writes the parameter if CheckParameter accepts it; the device then
  // recomputes what follows from it. False, with the reason, otherwise.
  bool SetParameter(std::int32_t n, std::string_view name, double value,
                    std::string* error = nullptr);
  // Every parameter of device n back to the value its constructor gives.
  void RestoreParameters(std::int32_t n);

  // Told after every tick and every Reset robots, in order; not owned.
  std::vector<TTickObserver*> TickObservers;

  // The simulation's own fields by name (state dumps, scenes), devices apart.
  void VisitFields(TFieldVisitor& v) const;

private:
  void Build(const std::vector<TDevicePlan>& plan);
  // The links into the set, its count, and a contact pass planned afresh.
  void Link();
  void ContactPassReference();

  std::vector<std::unique_ptr<TRobot>> owned_;
  std::unique_ptr<TContactCache> contacts_;
  std::vector<std::int32_t> runaways_;
  std::uint64_t set_version_ = 0;
};
