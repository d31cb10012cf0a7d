// The few settings of the main window that device code reads. TGL_Form derives
// from this, and GL_Form points at the one window, so the models depend only on
// this small header and never on the window itself.
#pragma once

class TRobot2;
class TRail;
class TMRVlin;
class TRailAimant;
class TMSlin;

struct TFormShared {
  double Fs = 1.0;         // supply frequency of the linear motors, Hz
  double MotorScale = 1.0; // copied into the carriages' Scale at construction
  TRobot2* RefRobot = nullptr;
  TRail* RailPtr = nullptr;
  TMRVlin* MrvPtr = nullptr;
  TRailAimant* AimantPtr = nullptr;
  TMSlin* MsPtr = nullptr;
  // Texture names, 0 until the view has loaded them.
  unsigned TexRipple = 0;
  unsigned TexPicture = 0;
  unsigned TexGreen = 0;
};

// The one main window; null while none exists.
extern TFormShared* GL_Form;
