// TRobot: the common base of every simulated device, and the device set type.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "models/constants.h"
#include "models/device_context.h"
#include "models/field_visitor.h"
#include "render/draw_context.h"

class TDeviceKeyHost;
class TStatusPart;
struct TDeviceDescription;
struct TStatusContext;

// Device type codes written by each derived constructor (the registry in the
// simulation layer says what each stands for).
enum : std::int32_t {
  kTypeRobotK = 1,
  kTypeRobot2 = 2,
  kTypeMonocycle = 3,
  kTypeRobot4 = 4,
  kTypeBicycle = 5,
  kTypeMRVlin = 6,
  kTypeRail = 7,
  kTypeMSlin = 8,
  kTypeRailAimant = 9,
};

// atan2(y, x), except that x = 0 gives +pi/2 for y >= 0 and -pi/2 for y < 0.
double SafeAtan2(double y, double x);

// An angle turned back by one whole turn if it is beyond +-pi (only once, so a
// runaway value stays finite and visible). Inline: every sub-step of the
// balancing devices calls it.
inline double WrappedOnce(double a) {
  if (a > kPi) a -= 2 * kPi;
  if (a < -kPi) a += 2 * kPi;
  return a;
}

class TRobot {
public:
  TRobot(double x0, double y0, int index, const TDeviceContext* context = nullptr);
  // Devices are owned and deleted through base pointers.
  virtual ~TRobot() = default;
  TRobot(const TRobot&) = delete;
  TRobot& operator=(const TRobot&) = delete;

  // The five operations the controller and the scene call, in this order.
  // Draw reads the device and the view's shared resources, and changes nothing.
  virtual void Draw(const TDrawContext& /*dc*/) const {}
  virtual void Step(double /*h*/) {}
  virtual void AutoPilot(double /*t*/) {}
  virtual void OnCollision() {}
  virtual void Reset();

  // Introspection for state dumps and tests; derived classes call the base first.
  virtual const char* ClassName() const { return "TRobot"; }
  virtual void VisitFields(TFieldVisitor& v) const;

  // What the device is: name, keys, live quantities and parameters.
  virtual const TDeviceDescription& Description() const;
  // The device's own keys while it is selected, after the camera and global
  // keys; false ends the handling of the key at once (the log that failed).
  virtual bool KeyDown(std::uint16_t /*key*/, bool /*ctrl*/, TDeviceKeyHost& /*host*/) {
    return true;
  }
  // Its values in the status line while it is selected.
  virtual void StatusPart(const TStatusContext& /*context*/, TStatusPart& /*part*/) const {}
  // Recomputes the constants that follow from its parameters (inertias, total
  // masses) after a parameter was changed.
  virtual void DeriveConstants() {}

  // The back-off after a collision: a pending collision starts it, and it ends
  // once RecoilTime exceeds RecoilDuration. True on the step it starts, when the
  // device must cut its drive.
  bool AdvanceRecoil(double h);

  double PosX = 0, PosY = 0;
  double VitX = 0, VitY = 0;
  double Vit = 0;
  double Scale = 1.0;
  double PosX0 = 0, PosY0 = 0;
  double Theta0 = 0;
  double Radius = 0;
  double Theta = 0;
  double Omega = 0;
  std::int32_t TypeCode = 0;
  std::int32_t Index = 0;
  bool Selected = false;
  bool AutoMode = false;
  bool InContact = false;
  bool CollisionPending = false;
  bool Recoiling = false;
  double RecoilTime = 0;
  double RecoilDuration = 1.0;

  // The simulation the device belongs to (never null).
  const TDeviceContext* Context = &kNoSimulation;

private:
  void BaseReset();
};

using TRobotArray = std::vector<TRobot*>;
