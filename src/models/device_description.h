// What a device class says about itself, in French, for the people using it:
// its name and purpose, its keys, the quantities worth watching and the
// parameters one may change. The instruments panel, the status of the help
// page, the parameter edits (window and command line) and the plots all read
// this, and it names each field by its path in the state dump ("Kp",
// "WheelR.SpinRate", "State[0]"), so no other list of a device's fields exists.
// Values are stored in SI units; people read angles in degrees (a quantity
// says how it is shown, a parameter in radians is shown in degrees).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Keys that do one thing together, as the legend shows them ("8 / 2").
struct TCommandDescription {
  std::vector<std::uint16_t> Keys; // virtual-key codes
  const char* Action;
  // The flag field the keys depend on, and the value it must have for them
  // to act; null when they always act.
  const char* When = nullptr;
  bool WhenOn = true;
};

// A live value of the device.
struct TQuantityDescription {
  const char* Field;
  const char* Label;
  const char* Unit = "";           // of the stored value; "" for flags, counts, pure numbers
  double Scale = 1;                // shown value = stored value x Scale
  const char* ShownUnit = nullptr; // unit of the shown value; null: Unit
  // The smallest stored value that means something: below it a value is shown
  // as 0 and a plot's axis spans no less. 0: 1 for a count or flag (no unit),
  // a millionth of the unit otherwise.
  double Resolution = 0;

  const char* DisplayUnit() const { return ShownUnit ? ShownUnit : Unit; }
  double StoredResolution() const { return Resolution > 0 ? Resolution : *Unit ? 1e-6 : 1; }
  double ShownResolution() const { return StoredResolution() * Scale; }
};

// A constant of the device that may be changed while it runs.
struct TParameterDescription {
  const char* Field;
  const char* Label;
  const char* Unit; // of the stored value, as scenes, `param:` and programs take it
  double Default;   // as the constructor sets it
  double Min, Max;  // accepted range, bounds included
  double Step;      // a sensible increment for an editor
  // The stored unit in words, where its symbol alone misleads (a gain applied
  // once per controller run, with no factor of time); null: Unit.
  const char* UnitWords = nullptr;

  const char* WordedUnit() const { return UnitWords ? UnitWords : Unit; }
  // How a person is shown the value: an angle in degrees, as the live values
  // show angles; anything else as stored.
  double DisplayScale() const;
  const char* DisplayUnit() const;
};

// A parameter as an editor shows it, in its display unit.
struct TParameterEditing {
  double Scale;    // shown value = stored value x Scale
  double Min, Max; // shown
  double Step;     // shown; a scaled step is rounded to one significant digit
  int Decimals;
  double StoredMin, StoredMax;
  // The stored value of a shown one, held within the parameter's range: a
  // bound rounded to the editor's decimals may fall just outside it.
  double Stored(double shown) const;
};
TParameterEditing EditingOf(const TParameterDescription& p);

// A command a program may set, as the keys set it: held within -B .. B, B the
// value of the field `Bound` (a parameter of the device).
struct TInputDescription {
  const char* Field;
  const char* Label;
  const char* Unit;
  const char* Bound;
};

struct TDeviceDescription {
  const char* Name = "Appareil";
  const char* Text = "";
  std::vector<TCommandDescription> Commands = {};
  std::vector<TQuantityDescription> Quantities = {};
  std::vector<TParameterDescription> Parameters = {};
  std::vector<TInputDescription> Inputs = {};

  // The parameter stored in `field`, or null.
  const TParameterDescription* FindParameter(std::string_view field) const;
  // The input stored in `field`, or null.
  const TInputDescription* FindInput(std::string_view field) const;
};

// The key as the legend writes it: "8" for keypad 8, "G" for letter G.
std::string KeyCaption(std::uint16_t key);
// The keys of a command joined for the legend: "8 / 2".
std::string KeysCaption(const TCommandDescription& command);
// Decimals for an editor: enough for steps of `step`, and for `value` exactly
// or to 5 significant digits if it has more; at most `most`.
int DecimalsFor(double value, double step, int most = 6);
