// A device lists its fields, by name and in declaration order, to a visitor.
// The headless state dump, the determinism checks and the tests read devices
// through it, so none of them needs to know each class's layout. Fields are
// passed by reference to the device's own storage, so that a field can also be
// found by its name (see field_access.h); temporaries are refused at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

class TFieldVisitor {
public:
  virtual ~TFieldVisitor() = default;
  virtual void Field(const char* name, const double& value) = 0;
  virtual void Field(const char* name, const std::int32_t& value) = 0;
  virtual void Field(const char* name, const bool& value) = 0;
  // Single-precision fields (the frame counter) read as doubles unless a visitor cares.
  virtual void Field(const char* name, const float& value) {
    const double wide = value;
    Field(name, wide);
  }
  virtual void Array(const char* name, const double* values, std::size_t count) = 0;
  virtual void Array(const char* name, const std::int32_t* values, std::size_t count) = 0;
  virtual void Array(const char* name, const bool* values, std::size_t count) = 0;
  // An owned sub-object (a wheel); a null pointer is reported as absent.
  virtual void BeginObject(const char* name) = 0;
  virtual void EndObject() = 0;
  virtual void Null(const char* name) = 0;

  void Field(const char*, const double&&) = delete;
  void Field(const char*, const std::int32_t&&) = delete;
  void Field(const char*, const bool&&) = delete;
  void Field(const char*, const float&&) = delete;
};
