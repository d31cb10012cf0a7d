// Key codes as the keyboard handler receives them (see models/key_codes.h),
// with the modifier set of a key event, of which only Ctrl is consulted.
#pragma once

#include "models/key_codes.h"
#include "window/input.h"
