// Steps of the tick whose subsystems are not in the program yet. Each lands
// with its own file and leaves this one.
#include "app/gl_form.h"

std::string TGL_Form::HelpPagePath() const { return "index.html"; }
