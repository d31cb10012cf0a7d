#include "platform/headless/actions.h"

#include <cctype>
#include <charconv>
#include <map>

#include "app/gl_form.h"
#include "platform/headless/headless_toolkit.h"

bool ParseInt(const std::string& s, long long& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

namespace {

using TMenuHandler = void (TGL_Form::*)();

// Menu commands by their item names.
const std::map<std::string, TMenuHandler>& MenuCommands() {
  static const std::map<std::string, TMenuHandler> commands = {
      {"SelectRobot1", &TGL_Form::SelectRobot1Click},
      {"Quitter", &TGL_Form::Quitter},
      {"Animate", &TGL_Form::AnimateClick},
      {"Resetrobots", &TGL_Form::ResetrobotsClick},
      {"Resetview", &TGL_Form::ResetviewClick},
      {"ModeDmo1", &TGL_Form::ModeDmo1Click},
      {"Options1", &TGL_Form::Options1Click},
      {"OptionsMRVrail1", &TGL_Form::OptionsMRVrail1Click},
      {"View", &TGL_Form::ViewClick},
      {"Aide2", &TGL_Form::Aide2Click},
      {"Apropos", &TGL_Form::AproposClick},
      {"EnregistreAVI1", &TGL_Form::EnregistreAVI1Click},
  };
  return commands;
}

// "A", "Ctrl+D", "Num8", "Up", "PageDown" -> virtual-key code and modifiers.
bool ParseKey(const std::string& name, std::uint16_t& key, TShiftState& shift) {
  shift = 0;
  std::string rest = name;
  while (true) {
    if (rest.rfind("Ctrl+", 0) == 0) {
      shift |= ssCtrl;
      rest.erase(0, 5);
    } else if (rest.rfind("Shift+", 0) == 0) {
      shift |= ssShift;
      rest.erase(0, 6);
    } else {
      break;
    }
  }
  static const std::map<std::string, std::uint16_t> named = {
      {"Up", vk::Up},        {"Down", vk::Down},     {"Left", vk::Left},   {"Right", vk::Right},
      {"PageUp", vk::Prior}, {"PageDown", vk::Next}, {"Enter", vk::Return}};
  if (auto it = named.find(rest); it != named.end()) {
    key = it->second;
    return true;
  }
  if (rest.size() == 4 && rest.rfind("Num", 0) == 0 &&
      std::isdigit(static_cast<unsigned char>(rest[3]))) {
    key = static_cast<std::uint16_t>(vk::Numpad0 + (rest[3] - '0'));
    return true;
  }
  if (rest.size() == 1 && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    key = vk::Letter(static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
    return true;
  }
  return false;
}

// "Dt=0.02" -> ("Dt", "0.02").
bool SplitSetting(const std::string& v, std::string& name, std::string& value) {
  const auto eq = v.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = v.substr(0, eq);
  value = v.substr(eq + 1);
  return true;
}

void Ticks(TGL_Form& form, THeadlessToolkit& tk, long long n) {
  for (long long k = 0; k < n; ++k) {
    // A timer event only comes while the timer runs with a non-zero period.
    if (!form.Timer1.Enabled || form.Timer1.Interval <= 0) continue;
    tk.NowMs += static_cast<std::uint32_t>(form.Timer1.Interval);
    form.Timer1Timer();
  }
}

// Runs a dialog handler with the dialog answered OK after `fill`.
template <class F>
void WithDialog(TGL_Form& form, THeadlessToolkit& tk, void (TGL_Form::*handler)(), F fill) {
  tk.AnswerDialog = [&form, fill](TDialogId) {
    fill(form);
    return TModalResult::OK;
  };
  (form.*handler)();
  tk.AnswerDialog = nullptr;
}

} // namespace

void StartRecording(TGL_Form& form, THeadlessToolkit& tk, const TCaptureAnswer& capture) {
  tk.AnswerDialog = [&form, &capture](TDialogId id) {
    if (id == TDialogId::Capture) {
      form.DialogCapture.LEfilename = capture.File;
      form.DialogCapture.LEfps = capture.Fps;
      form.DialogCapture.LEtime = capture.Duration;
    } else if (id == TDialogId::Compression) {
      form.DialogCompression.Codec = capture.Codec;
    }
    return TModalResult::OK;
  };
  // The command line names its output: an existing file is replaced.
  tk.AnswerQuestion = [](const std::string&) { return true; };
  form.EnregistreAVI1Click();
  tk.AnswerDialog = nullptr;
  tk.AnswerQuestion = nullptr;
}

TAction ParseAction(const std::string& word) {
  const auto colon = word.find(':');
  return {word.substr(0, colon), colon == std::string::npos ? "" : word.substr(colon + 1), word};
}

bool ValidateAction(const TAction& a, std::string& error) {
  long long n = 0;
  std::uint16_t key = 0;
  TShiftState shift = 0;
  std::string name, value;
  bool ok = false;
  if (a.Name == "ticks")
    ok = ParseInt(a.Value, n) && n >= 0;
  else if (a.Name == "select")
    ok = !a.Value.empty();
  else if (a.Name == "paint")
    ok = a.Value.empty();
  else if (a.Name == "menu")
    ok = MenuCommands().count(a.Value) > 0;
  else if (a.Name == "key")
    ok = ParseKey(a.Value, key, shift);
  else if (a.Name == "combo")
    ok = ParseInt(a.Value, n) && n >= 0 && n < 9;
  else if (a.Name == "set" && SplitSetting(a.Value, name, value)) {
    if (name == "Dt")
      ok = true; // the dialog itself accepts or refuses the text
    else if (name == "SBfs" || name == "SBtimer")
      ok = ParseInt(value, n);
    else if (name == "RailType")
      ok = ParseInt(value, n) && n >= 0 && n <= 3;
    else if (name == "ForceModel")
      ok = ParseInt(value, n) && n >= 1 && n <= 3;
  } else {
    error = "unknown action: " + a.Text;
    return false;
  }
  if (!ok) error = "invalid action: " + a.Text;
  return ok;
}

void ApplyAction(TGL_Form& form, THeadlessToolkit& tk, const TAction& a,
                 const TCaptureAnswer* capture) {
  long long n = 0;
  if (a.Name == "ticks") {
    ParseInt(a.Value, n);
    Ticks(form, tk, n);
  } else if (a.Name == "select") {
    WithDialog(form, tk, &TGL_Form::SelectRobot1Click,
               [v = a.Value](TGL_Form& f) { f.DialogRobSel.IDC_EDITRobSel = v; });
  } else if (a.Name == "menu") {
    if (a.Value == "EnregistreAVI1" && capture)
      StartRecording(form, tk, *capture);
    else
      (form.*MenuCommands().at(a.Value))();
  } else if (a.Name == "paint") {
    form.FormPaint();
  } else if (a.Name == "key") {
    std::uint16_t key = 0;
    TShiftState shift = 0;
    ParseKey(a.Value, key, shift);
    form.FormKeyDown(key, shift);
  } else if (a.Name == "combo") {
    ParseInt(a.Value, n);
    form.CBListe.ItemIndex = static_cast<int>(n);
    form.CBListeSelect();
    form.CBListeCloseUp();
  } else if (a.Name == "set") {
    std::string name, value;
    SplitSetting(a.Value, name, value);
    if (name == "Dt") {
      WithDialog(form, tk, &TGL_Form::Options1Click,
                 [value](TGL_Form& f) { f.DialogOptions.Editdt = value; });
    } else if (name == "SBfs" || name == "SBtimer") {
      ParseInt(value, n);
      TScrollBar& bar = name == "SBfs" ? form.SBfs : form.SBtimer;
      bar.SetPosition(static_cast<int>(n));
    } else if (name == "RailType") {
      ParseInt(value, n);
      WithDialog(form, tk, &TGL_Form::OptionsMRVrail1Click,
                 [n](TGL_Form& f) { f.DialogOptionsMRV.RGTypeRail = static_cast<int>(n); });
    } else if (name == "ForceModel") {
      ParseInt(value, n);
      WithDialog(form, tk, &TGL_Form::OptionsMRVrail1Click, [n](TGL_Form& f) {
        f.DialogOptionsMRV.RBModelePhysiqueSimple = n == 1;
        f.DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = n == 2;
        f.DialogOptionsMRV.RBModelePhysiqueDistance = n == 3;
      });
    }
  }
}
