// A device's field found by the name it has in the state dump: "Kp",
// "WheelR.SpinRate" (a field of an owned wheel) or "State[0]" (an array
// element). The instruments, the parameter edits and the scene reader reach
// fields through this, so no list of a device's fields is written twice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "models/field_visitor.h"

class TRobot;

struct TFieldRef {
  enum class TKind { None, Double, Float, Int32, Bool };
  TKind Kind = TKind::None;
  const void* Ptr = nullptr;

  explicit operator bool() const { return Kind != TKind::None; }
  // The value as a double (false and true as 0 and 1).
  double Get() const;
  // Writes v, converted to the field's type; the caller owns the object and
  // has checked that v suits the field (integers and flags take whole values).
  void Set(double v) const;
};

// Finds `path` among the fields that `visit` lists; an empty ref if absent.
TFieldRef FindField(const std::function<void(TFieldVisitor&)>& visit, std::string_view path);
TFieldRef FindField(const TRobot& robot, std::string_view path);

// Every field path that `visit` lists, in order (arrays element by element).
std::vector<std::string> FieldPaths(const std::function<void(TFieldVisitor&)>& visit);
