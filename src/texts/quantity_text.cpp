#include "texts/quantity_text.h"

#include "texts/number_text.h"

std::string QuantityText(const TFieldRef& field, double scale, char sep, double resolution) {
  switch (field.Kind) {
  case TFieldRef::TKind::Bool:
    return field.Get() != 0 ? "oui" : "non";
  case TFieldRef::TKind::Int32:
    return IntToStr(static_cast<std::int64_t>(field.Get()));
  case TFieldRef::TKind::Double:
  case TFieldRef::TKind::Float:
    return ReadableNumber(field.Get() * scale, resolution, sep);
  case TFieldRef::TKind::None:
    break;
  }
  return "?";
}
