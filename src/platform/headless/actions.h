// The runner's actions, applied through the same handlers as the window's events.
#pragma once

#include <string>

class TGL_Form;
class THeadlessToolkit;

struct TAction {
  std::string Name;  // e.g. "ticks"
  std::string Value; // e.g. "100"
  std::string Text;  // as written
};

TAction ParseAction(const std::string& word);
// Checks one action's syntax before anything runs; false with a one-line reason.
bool ValidateAction(const TAction& a, std::string& error);
void ApplyAction(TGL_Form& form, THeadlessToolkit& tk, const TAction& a);
