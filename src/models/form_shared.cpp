#include "models/form_shared.h"

TFormShared* GL_Form = nullptr;
