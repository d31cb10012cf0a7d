// Scenes: the state dump (state_json.h) read back, so that a saved simulation
// reopens exactly. A scene text is parsed and checked whole before anything is
// set: its devices are made anew, from the registry, off to the side, and take
// the file's values there; the values of the root object are staged. Only a
// sound scene is then applied, in one step (the devices handed to the
// simulation, the staged values set), so a bad file never leaves a
// half-loaded simulation.
//
// The root object holds the simulation's own fields and those of whoever runs
// it, the scene's host (the window): it lists them, in the dump's order, and
// says which it restores and within which ranges.
//
// Scenes that grow. A field a later version of the format adds is read from
// files of that version on; in a file of an earlier version it is absent and
// takes its default, the value a new simulation has: kAddedFields lists such
// fields with the version that added them. A field missing from a file of its
// version or later is an error, as are newer versions than the program's.
//   version 1: the program's nine devices, one object each in "Robots".
//   version 2: "Devices", the list of the devices' classes (default: the nine);
//              the set may be any the registry can make.
//   version 3: "Ticks", the ticks run (default 0).
//   version 4: the synchronous carriage's "ExternalCommand" (default false).
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/field_access.h"
#include "sim/device_registry.h"

class TScene;
class TSimulation;

// How the reader treats a field of the root object.
enum class TSceneFieldUse { Restore, Check, Ignore };

class TSceneHost {
public:
  // The simulation the scene is read for (its context makes the devices).
  virtual const TSimulation& SceneSimulation() const = 0;
  // Every field of the root object, the simulation's own first, in the
  // dump's order.
  virtual void VisitSceneFields(TFieldVisitor& v) const = 0;
  // How the reader treats a field: restored, only checked, or ignored (what
  // belongs to the running program rather than to the simulation).
  virtual TSceneFieldUse SceneFieldUse(std::string_view path) const = 0;
  // Whether a root field may hold an infinite or NaN value.
  virtual bool SceneFieldMayBeNonFinite(std::string_view path) const = 0;
  // The bounds of root fields, checked in this order, for a scene of
  // `devices` devices.
  virtual std::vector<TFieldRange> SceneRanges(std::int32_t devices) const = 0;
  // Members the dump holds after the root fields, by name, as JSON texts
  // (the window's status line); the reader ignores them.
  virtual std::vector<std::pair<std::string, std::string>> SceneExtraMembers() const { return {}; }
  // A problem of the whole scene that the host cannot take (empty if none),
  // once every field passed.
  virtual std::string SceneProblem(const TScene& scene) const = 0;

protected:
  ~TSceneHost() = default;
};

// Every value a scene sets and the devices it makes, checked. The root values
// go to the host's fields it was read against; the devices, which already
// hold their values, replace the simulation's set. Valid while that host lives.
class TScene {
public:
  struct TValue {
    TFieldRef Field;
    double Value = 0;
  };
  std::vector<TValue> Values;
  // Every root value read, by its path ("SimTime", "Timer1.Enabled").
  std::map<std::string, double> Root;
  std::vector<std::string> Classes;
  std::vector<std::unique_ptr<TRobot>> Devices;
  int Version = 0;

  void Clear() {
    Values.clear();
    Root.clear();
    Classes.clear();
    Devices.clear();
    Version = 0;
  }
};

// A field the format gained after its first version; absent from older files,
// which give it its default.
struct TAddedField {
  const char* Path; // in the root object, or in a device of class Class
  int Since;        // the first version that has it
  double Default;   // what a file of an earlier version gives a root field
  // A device's field takes the value a new device has.
  const char* Class = nullptr;
};
inline constexpr TAddedField kAddedFields[] = {
    {"Devices", 2, 0}, // the program's nine devices
    {"Ticks", 3, 0},   // the tick count starts at the scene
    {"ExternalCommand", 4, 0, "TMSlin"},
};

// A scene larger than this is refused unread; a real one is about 11 kB.
inline constexpr std::size_t kMaxSceneBytes = 4u << 20;

// Parses and checks `text` against `host` (its simulation's context, its
// root fields and their ranges) without changing anything. False with the
// first problem, in French, in `error`; `scene` is then empty.
bool ParseScene(std::string_view text, const TSceneHost& host, TScene& scene, std::string& error);

// Sets what a sound scene holds: the staged root values, then the devices as
// the simulation's set.
void ApplyScene(TScene& scene, TSimulation& sim);

// Reads a scene file (at most kMaxSceneBytes). False with the reason, in French.
bool ReadSceneFile(const std::string& path, std::string& text, std::string& error);

// A system error number said in French, for the messages about files.
std::string FileErrorText(int error_number);
