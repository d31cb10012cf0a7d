#include "sim/divergence.h"

#include "models/field_access.h"
#include "sim/device_registry.h"

bool Diverged(const TRobot& r) {
  if (!runaway::Finite({r.PosX, r.PosY, r.VitX, r.VitY, r.Vit, r.Theta, r.Omega})) return true;
  const TDeviceClass* c = ClassOf(r);
  return c && c->RanAway && c->RanAway(r);
}

namespace {

// Sets every floating-point field beyond the bound or not a number to 0.
class TUndefinedToZero final : public TFieldRefVisitor {
public:
  void BeginObject(const char*) override {}
  void EndObject() override {}
  void Null(const char*) override {}

private:
  void Leaf(const char*, TFieldRef::TKind kind, const void* p) override {
    if (kind != TFieldRef::TKind::Double && kind != TFieldRef::TKind::Float) return;
    const TFieldRef field{kind, p};
    if (!runaway::Bounded(field.Get())) field.Set(0);
  }
  void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                std::size_t size) override {
    for (std::size_t i = 0; i < n; ++i)
      Leaf(name, kind, static_cast<const unsigned char*>(p) + i * size);
  }
};

} // namespace

void ResetRunaway(TRobot& robot) {
  robot.Reset();
  TUndefinedToZero zero;
  robot.VisitFields(zero);
}
