// The device registry: the one table of the device classes a simulation can
// hold, and the only place that knows them one by one. Everything that once
// asked a device's type code (the contact pass, the runaway check, scenes,
// the scope, the data log, the view, the device list) reads its entry here.
//
// Adding a device: its model files (class, drawing, description) and one entry
// in kDeviceClasses (device_registry.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/device_context.h"
#include "models/robot.h"

class TSimulation;
struct TDeviceDescription;

// How a device takes part in the contact pass between devices.
enum class TCollisionRole : std::uint8_t {
  None, // never in contact (the switched-reluctance carriage)
  Disc, // the distance test between two discs of the devices' radii
  Rail, // the toothed rail: its own test against each other device
};

// A field that must lie within [Min, Max]: outside it a device would read past
// a table, overflow a counter or stall, or it is the mark of a runaway.
struct TFieldRange {
  const char* Path;
  double Min, Max;
};

// Where a device stands when a set is made from a list of classes.
struct TPlacement {
  double X0 = 0, Y0 = 0, Theta0 = 0;
};

struct TDeviceClass {
  std::int32_t TypeCode;
  const char* ClassName;
  // The label after a device's index in the device list, e.g. " : Rail".
  const char* ComboText;
  const TDeviceDescription& (*Description)();
  std::unique_ptr<TRobot> (*Make)(double x0, double y0, int index, const TDeviceContext* context);
  TCollisionRole Collision;
  // Beyond the pose and velocity every device is checked for: true when the
  // class's own state ran away (not finite, beyond kMaxDeviceValue, or an
  // angle outside the interval its single wrap per step keeps it in).
  bool (*RanAway)(const TRobot& robot);
  // Bounds a scene must respect, besides the parameters' ranges and the
  // runaway bound that every value respects.
  std::vector<TFieldRange> Ranges;
  // The quantities the scope shows first (at most four).
  std::vector<const char*> DefaultTraces;
  // The class of the rail a carriage runs on, or null.
  const char* Needs = nullptr;
  // A rail: the field of its tooth or magnet pitch (its samples are bounded).
  const char* Pitch = nullptr;
  // What a frame shows of the device's state, set before it is drawn.
  void (*PrepareFrame)(TRobot& robot) = nullptr;
  // The data log writes its values each tick while it is selected, and the
  // view shows its pole and tooth magnified.
  bool Logged = false;
  // Makes the simulation's link to the device, if it keeps one for the class
  // (the rails the carriages run on; the last device of a class wins).
  void (*Link)(TSimulation& sim, TRobot& robot) = nullptr;
  // Where the devices of the class stand, in turn, when a set is made from a
  // list; the program's own set puts them there.
  std::vector<TPlacement> Placements = {};
};

// Every registered class, in type-code order.
const std::vector<TDeviceClass>& DeviceClasses();
// The class of that name or code, or null.
const TDeviceClass* FindDeviceClass(std::string_view class_name);
const TDeviceClass* FindDeviceClass(std::int32_t type_code);
// The class a device says it is by its type code; null for a device of
// another kind (a test's stand-in).
const TDeviceClass* ClassOf(const TRobot& robot);

// How a device takes part in the contact pass: a device of no registered
// class (a test's stand-in) as a disc.
inline TCollisionRole CollisionRole(const TRobot& robot) {
  const TDeviceClass* c = ClassOf(robot);
  return c ? c->Collision : TCollisionRole::Disc;
}

// Whether the data log writes the device's values (and the view magnifies
// its pole and tooth) while it is selected.
inline bool IsLogged(const TRobot& robot) {
  const TDeviceClass* c = ClassOf(robot);
  return c && c->Logged;
}

// The label after a device's index in the device list; " : Robot ?" for a
// type code no class has.
const char* TypeCodeText(std::int32_t type_code);

// What a command of the window needs of the set: the demonstration drives a
// four-wheel robot and follows the reluctance carriage; the motor and rail
// options set that carriage's force model and its rail's shape.
enum class TSetNeed { Demonstration, RailOptions };
// The classes the set (a list of class names) lacks for it; empty if none.
std::vector<std::string> MissingFor(TSetNeed need, const std::vector<std::string>& classes);

// The program's own nine devices, in order.
const std::vector<std::string>& StandardDeviceSet();

// One device of a list: its class and where it stands.
struct TDevicePlan {
  const TDeviceClass* Class = nullptr;
  TPlacement Place;
};

// Why a list of classes makes no set.
struct TSetProblem {
  enum TKind { None, Empty, TooMany, Unknown, SecondRail, NoRail };
  TSetProblem() = default;
  explicit TSetProblem(TKind kind, std::string name = {}, std::string other = {})
      : Kind(kind), Name(std::move(name)), Other(std::move(other)) {}
  TKind Kind = None;
  std::string Name;  // the class in question
  std::string Other; // NoRail: the rail it needs
  explicit operator bool() const { return Kind != None; }
  // Said in English (command line, Python) or in French (the window, scenes).
  std::string English() const;
  std::string French() const;
};
inline constexpr std::size_t kMaxDevices = 64;

// Checks a list of class names and plans the set: every name known, at least
// one device and at most kMaxDevices, at most one rail of each kind, each
// carriage with the rail it runs on. Devices of a class stand at its
// placements in turn, then further along x.
TSetProblem PlanDeviceSet(const std::vector<std::string>& classes, std::vector<TDevicePlan>& plan);
