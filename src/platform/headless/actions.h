// The runner's actions, applied through the same handlers as the window's events.
#pragma once

#include <string>

class TGL_Form;
class THeadlessToolkit;

// How the runner answers the capture and compression dialogs (--record).
struct TCaptureAnswer {
  std::string File;
  std::string Fps = "25";
  std::string Duration = "10";
  int Codec = 0; // item of the compression dialog: 0 uncompressed, 1 Motion-JPEG
};

struct TAction {
  std::string Name;  // e.g. "ticks"
  std::string Value; // e.g. "100"
  std::string Text;  // as written
};

// A whole decimal integer, nothing around it.
bool ParseInt(const std::string& s, long long& v);

TAction ParseAction(const std::string& word);
// Checks one action's syntax before anything runs; false with a one-line reason.
bool ValidateAction(const TAction& a, std::string& error);
// `capture` answers menu:EnregistreAVI1; without it the dialog is cancelled.
void ApplyAction(TGL_Form& form, THeadlessToolkit& tk, const TAction& a,
                 const TCaptureAnswer* capture = nullptr);
// The recording chosen from the menu, its dialogs answered with `capture`.
void StartRecording(TGL_Form& form, THeadlessToolkit& tk, const TCaptureAnswer& capture);
