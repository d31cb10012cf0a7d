// The whole state of a simulation and its host (the window) as one JSON object:
// the device list, the root fields (the simulation's, then the host's: the
// timer, the view dialog, the status line), and every device with all its
// fields.
// Doubles are written with 17 significant digits so they read back
// bit-identical; non-finite values as the strings "nan", "inf" and "-inf".
// This is also the scene file (see scene.h): it opens with its format name and
// version.
#pragma once

#include <string>

inline constexpr const char* kSceneFormat = "kinemo-scene";
inline constexpr int kSceneVersion = 4;

class TRobot;
class TSceneHost;

std::string StateJson(const TSceneHost& host);
std::string DeviceJson(const TRobot& robot);
// A text as a JSON string.
std::string JsonString(const std::string& s);
