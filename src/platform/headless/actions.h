// The runner's actions, applied through the same handlers as the window's events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window/input.h"

class TGL_Form;
class THeadlessToolkit;
class TProgressLine;
struct TActionEntry;

// How the runner answers the capture and compression dialogs (--record).
struct TCaptureAnswer {
  std::string File;
  std::string Fps = "25";
  std::string Duration = "10";
  int Codec = 0; // item of the compression dialog: 0 uncompressed, 1 Motion-JPEG
};

// One word of --do, checked and parsed by its entry in the actions table.
struct TAction {
  std::string Text;  // as written, e.g. "ticks:100"
  std::string Name;  // e.g. "ticks"
  std::string Value; // e.g. "100"
  const TActionEntry* Entry = nullptr;
  const TActionEntry* Setting = nullptr; // set: the setting named
  std::string SettingValue;              // set: the text after '='
  long long Number = 0;
  double Real = 0;    // param: the value
  std::string Field;  // param: the parameter's field name
  std::string Reason; // why the value was refused, when the check can say
  std::uint16_t Key = 0;
  TShiftState Shift = 0;
  void (TGL_Form::*Command)() = nullptr; // menu: the handler
};

// A whole decimal integer, nothing around it.
bool ParseInt(const std::string& s, long long& v);

// Checks one word's syntax against `form` (e.g. its device count) before
// anything runs; false with a one-line reason.
bool ParseAction(const std::string& word, const TGL_Form& form, TAction& action,
                 std::string& error);
// The actions, settings, menu commands and key names as --help lists them,
// read from the tables that parse them.
std::string ActionsHelp();
// Every action and "set:NAME" setting those tables know.
std::vector<std::string> ActionNames();
// Ticks a run may deliver while its timer runs. Each one is real work, so a
// mistyped count must not run for days; ticks while the timer is paused or
// its period is 0 cost nothing and do not count.
constexpr long long kMaxRunningTicks = 10'000'000;
// The ticks `a` would deliver to the timer as it is now: 0 unless it is a
// ticks action and the timer runs.
long long RunningTicks(const TGL_Form& form, const TAction& a);
// `capture` answers menu:EnregistreAVI1; without it the dialog is cancelled.
// `progress` is told of every tick.
void ApplyAction(TGL_Form& form, THeadlessToolkit& tk, const TAction& a,
                 const TCaptureAnswer* capture = nullptr, TProgressLine* progress = nullptr);
// The recording chosen from the menu, its dialogs answered with `capture`.
void StartRecording(TGL_Form& form, THeadlessToolkit& tk, const TCaptureAnswer& capture);
