// A device lists its fields, by name and in declaration order, to a visitor.
// The headless state dump, the determinism checks and the tests read devices
// through it, so none of them needs to know each class's layout.
#pragma once

#include <cstddef>
#include <cstdint>

class TFieldVisitor {
public:
  virtual ~TFieldVisitor() = default;
  virtual void Field(const char* name, double value) = 0;
  virtual void Field(const char* name, std::int32_t value) = 0;
  virtual void Field(const char* name, bool value) = 0;
  virtual void Array(const char* name, const double* values, std::size_t count) = 0;
  virtual void Array(const char* name, const std::int32_t* values, std::size_t count) = 0;
  virtual void Array(const char* name, const bool* values, std::size_t count) = 0;
  // An owned sub-object (a wheel); a null pointer is reported as absent.
  virtual void BeginObject(const char* name) = 0;
  virtual void EndObject() = 0;
  virtual void Null(const char* name) = 0;
};
