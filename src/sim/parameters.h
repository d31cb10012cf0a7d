// Changing a device's parameters while it runs: the window's instruments panel
// and the command line's param: action both go through
// TSimulation::CheckParameter and SetParameter, so they accept and refuse the
// same values, and the messages name the range with this number text.
#pragma once

#include <string>

// A number as short as it can be written and read back exactly ("0.01", "1e-05").
std::string ShortestText(double value);
