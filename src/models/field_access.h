// A device's field found by the name it has in the state dump: "Kp",
// "WheelR.SpinRate" (a field of an owned wheel) or "State[0]" (an array
// element). The instruments, the parameter edits and the scene reader reach
// fields through this, so no list of a device's fields is written twice.
#pragma once

#include <cstddef>
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

// A visitor that takes every field as a kind and an address: the typed
// overloads funnel into Leaf, arrays into Elements (`size` bytes apart).
class TFieldRefVisitor : public TFieldVisitor {
public:
  using TFieldVisitor::Field;
  void Field(const char* name, const double& v) override {
    Leaf(name, TFieldRef::TKind::Double, &v);
  }
  void Field(const char* name, const float& v) override { Leaf(name, TFieldRef::TKind::Float, &v); }
  void Field(const char* name, const std::int32_t& v) override {
    Leaf(name, TFieldRef::TKind::Int32, &v);
  }
  void Field(const char* name, const bool& v) override { Leaf(name, TFieldRef::TKind::Bool, &v); }
  void Array(const char* name, const double* v, std::size_t n) override {
    Elements(name, TFieldRef::TKind::Double, v, n, sizeof *v);
  }
  void Array(const char* name, const std::int32_t* v, std::size_t n) override {
    Elements(name, TFieldRef::TKind::Int32, v, n, sizeof *v);
  }
  void Array(const char* name, const bool* v, std::size_t n) override {
    Elements(name, TFieldRef::TKind::Bool, v, n, sizeof *v);
  }

protected:
  virtual void Leaf(const char* name, TFieldRef::TKind kind, const void* p) = 0;
  virtual void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                        std::size_t size) = 0;
};

// Finds `path` among the fields that `visit` lists; an empty ref if absent.
TFieldRef FindField(const std::function<void(TFieldVisitor&)>& visit, std::string_view path);
TFieldRef FindField(const TRobot& robot, std::string_view path);

// Every field path that `visit` lists, in order (arrays element by element).
std::vector<std::string> FieldPaths(const std::function<void(TFieldVisitor&)>& visit);
