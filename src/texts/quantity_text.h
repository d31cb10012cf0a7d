// A live quantity as the instruments show it: flags as "oui" / "non", counts
// as integers, measures in plain notation with 5 significant digits in their
// shown unit, and as 0 below the quantity's resolution (as shown).
#pragma once

#include <string>

#include "models/field_access.h"

std::string QuantityText(const TFieldRef& field, double scale, char decimal_separator,
                         double resolution = 0);
