#include "models/field_access.h"

#include <cstddef>

#include "models/robot.h"

namespace {

// Walks the visit, building each field's path, until `path` is found.
class TLocator : public TFieldRefVisitor {
public:
  explicit TLocator(std::string_view path) : path_(path) {}
  TFieldRef Found;

  void BeginObject(const char* name) override { prefix_ += std::string(name) + "."; }
  void EndObject() override {
    const auto dot = prefix_.rfind('.', prefix_.size() >= 2 ? prefix_.size() - 2 : 0);
    prefix_.erase(dot == std::string::npos ? 0 : dot + 1);
  }
  void Null(const char*) override {}

  std::vector<std::string>* Paths = nullptr;

private:
  void Leaf(const char* name, TFieldRef::TKind kind, const void* p) override {
    Offer(prefix_ + name, kind, p);
  }
  void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                std::size_t size) override {
    for (std::size_t i = 0; i < n; ++i)
      Offer(prefix_ + name + "[" + std::to_string(i) + "]", kind,
            static_cast<const unsigned char*>(p) + i * size);
  }
  void Offer(const std::string& full, TFieldRef::TKind kind, const void* p) {
    if (Paths) Paths->push_back(full);
    if (!Found && full == path_) Found = {kind, p};
  }

  std::string_view path_;
  std::string prefix_;
};

} // namespace

double TFieldRef::Get() const {
  switch (Kind) {
  case TKind::Double:
    return *static_cast<const double*>(Ptr);
  case TKind::Float:
    return *static_cast<const float*>(Ptr);
  case TKind::Int32:
    return *static_cast<const std::int32_t*>(Ptr);
  case TKind::Bool:
    return *static_cast<const bool*>(Ptr) ? 1 : 0;
  case TKind::None:
    break;
  }
  return 0;
}

void TFieldRef::Set(double v) const {
  // Visits list the objects' own (non-const) storage; only a caller holding
  // the object itself reaches this.
  void* p = const_cast<void*>(Ptr);
  switch (Kind) {
  case TKind::Double:
    *static_cast<double*>(p) = v;
    break;
  case TKind::Float:
    *static_cast<float*>(p) = static_cast<float>(v);
    break;
  case TKind::Int32:
    *static_cast<std::int32_t*>(p) = static_cast<std::int32_t>(v);
    break;
  case TKind::Bool:
    *static_cast<bool*>(p) = v != 0;
    break;
  case TKind::None:
    break;
  }
}

TFieldRef FindField(const std::function<void(TFieldVisitor&)>& visit, std::string_view path) {
  TLocator locator(path);
  visit(locator);
  return locator.Found;
}

TFieldRef FindField(const TRobot& robot, std::string_view path) {
  return FindField([&](TFieldVisitor& v) { robot.VisitFields(v); }, path);
}

std::vector<std::string> FieldPaths(const std::function<void(TFieldVisitor&)>& visit) {
  std::vector<std::string> paths;
  TLocator locator("");
  locator.Paths = &paths;
  visit(locator);
  return paths;
}
