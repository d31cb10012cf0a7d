#include "models/roue.h"

#include "models/field_visitor.h"

void TRoue::VisitFields(TFieldVisitor& v) const {
  v.Field("Mass", Mass);
  v.Field("R", R);
  v.Field("Tube", Tube);
  v.Field("SpinRate", SpinRate);
  v.Field("Phi", Phi);
  v.Field("Delta", Delta);
}

void VisitWheel(TFieldVisitor& v, const char* name, const TRoue* wheel) {
  if (!wheel) {
    v.Null(name);
    return;
  }
  v.BeginObject(name);
  wheel->VisitFields(v);
  v.EndObject();
}
