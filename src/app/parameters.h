// Changing a device's parameters while it runs. The window's instruments
// panel and the command line's param: action both go through this check and
// through TGL_Form::SetParameter, so they accept and refuse the same values.
#pragma once

#include <string>
#include <string_view>

class TGL_Form;

// Empty when `value` may be written to the parameter stored in field `name` of
// device `device`; otherwise the reason, naming the accepted range.
std::string CheckParameter(const TGL_Form& form, long long device, std::string_view name,
                           double value);

// A number as short as it can be written and read back exactly ("0.01", "1e-05").
std::string ShortestText(double value);
