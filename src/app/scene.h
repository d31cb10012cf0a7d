// Scenes: the state dump (state_json.h) read back, so that a saved simulation
// reopens exactly. A scene text is parsed and checked whole against a window
// before anything is set; only a sound scene is then applied, in one step, by
// TGL_Form::ApplyScene. A bad file therefore never leaves a half-loaded
// simulation.
//
// What a scene does not restore: the data log and a recording (files being
// written by the window that opens the scene stay its own), the mouse buttons
// and pointer, and the frame-rate count (restarted, like the status line that
// shows it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "models/field_access.h"

class TGL_Form;

// Every value a scene sets, checked, each with the field of the window it was
// read against that it goes to. Valid while that window lives.
class TScene {
public:
  struct TValue {
    TFieldRef Field;
    double Value = 0;
  };
  std::vector<TValue> Values;
};

// A scene larger than this is refused unread; a real one is about 11 kB.
inline constexpr std::size_t kMaxSceneBytes = 4u << 20;

// Parses and checks `text` against `form` (its device set, its controls'
// ranges) without changing it. False with the first problem, in French, in
// `error`; `scene` is then empty.
bool ParseScene(std::string_view text, const TGL_Form& form, TScene& scene, std::string& error);

// Reads a scene file (at most kMaxSceneBytes). False with the reason, in French.
bool ReadSceneFile(const std::string& path, std::string& text, std::string& error);

// A system error number said in French, for the messages about files.
std::string FileErrorText(int error_number);
