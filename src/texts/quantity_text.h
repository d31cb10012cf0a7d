// A live quantity as the instruments show it: flags as "oui" / "non", counts
// as integers, measures with 5 significant digits in their shown unit.
#pragma once

#include <string>

#include "models/field_access.h"

std::string QuantityText(const TFieldRef& field, double scale, char decimal_separator);
