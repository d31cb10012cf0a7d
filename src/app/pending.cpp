// Steps of the tick whose subsystems are not in the program yet. Each lands
// with its own file and leaves this one.
#include "app/gl_form.h"

void TGL_Form::CaptureStep() {}
void TGL_Form::EnregistreAVI1Click() {}
