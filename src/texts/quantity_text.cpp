#include "texts/quantity_text.h"

#include "texts/number_text.h"

std::string QuantityText(const TFieldRef& field, double scale, char sep) {
  switch (field.Kind) {
  case TFieldRef::TKind::Bool:
    return field.Get() != 0 ? "oui" : "non";
  case TFieldRef::TKind::Int32:
    return IntToStr(static_cast<std::int64_t>(field.Get()));
  case TFieldRef::TKind::Double:
  case TFieldRef::TKind::Float:
    return FloatToStrF(field.Get() * scale, TFloatFormat::General, 5, 0, sep);
  case TFieldRef::TKind::None:
    break;
  }
  return "?";
}
