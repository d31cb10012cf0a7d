// The whole state of a window as one JSON object: the controller's fields, the
// timer, the view dialog, the status bar and every device with all its fields.
// Doubles are written with 17 significant digits so they read back
// bit-identical; non-finite values as the strings "nan", "inf" and "-inf".
// This is also the scene file (see scene.h): it opens with its format name and
// version.
#pragma once

#include <string>

inline constexpr const char* kSceneFormat = "kinemo-scene";
inline constexpr int kSceneVersion = 1;

class TGL_Form;
class TRobot;

std::string StateJson(const TGL_Form& form);
std::string DeviceJson(const TRobot& robot);
