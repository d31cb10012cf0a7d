#include "platform/headless/actions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <map>

#include "io/stop_signals.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/progress.h"
#include "sim/parameters.h"
#include "window/gl_form.h"

bool ParseInt(const std::string& s, long long& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

// A decimal number with '.', nothing around it; "nan" and "inf" read as such,
// for the caller to refuse by name.
bool ParseReal(const std::string& s, double& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

// What an entry's parser makes of a value.
enum class TActionCheck { Ok, Invalid, Unknown };

struct TActionRun {
  TGL_Form& Form;
  THeadlessToolkit& Tk;
  const TCaptureAnswer* Capture;
  TProgressLine* Progress;
};

// One action (or one setting of set:): its name, the check and parse of its
// value, and what it does. Validation and execution read the same entry.
struct TActionEntry {
  const char* Name;
  TActionCheck (*Parse)(const TGL_Form& form, const std::string& value, TAction& a);
  void (*Apply)(TActionRun& run, const TAction& a);
  // For --help: the word as written ("ticks:N") and what it does.
  const char* Usage = "";
  const char* Help = "";
};

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
      {"PasAPas1", &TGL_Form::PasAPas1Click},
      {"EnregistreAVI1", &TGL_Form::EnregistreAVI1Click},
      {"OuvrirScene1", &TGL_Form::OuvrirScene1Click},
      {"EnregistrerScene1", &TGL_Form::EnregistrerScene1Click},
  };
  return commands;
}

const std::map<std::string, std::uint16_t>& NamedKeys() {
  static const std::map<std::string, std::uint16_t> named = {
      {"Up", vk::Up},        {"Down", vk::Down},     {"Left", vk::Left},    {"Right", vk::Right},
      {"PageUp", vk::Prior}, {"PageDown", vk::Next}, {"Enter", vk::Return}, {"Space", vk::Space}};
  return named;
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
  if (auto it = NamedKeys().find(rest); it != NamedKeys().end()) {
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

void Ticks(TGL_Form& form, THeadlessToolkit& tk, long long n, TProgressLine* progress) {
  // A paused timer, or one with a period of 0, delivers nothing: no need to
  // count through the events that would not come.
  // A stop signal ends the run at the next tick.
  for (long long k = 0; k < n && form.Timer1.Running() && TStopSignals::Received() == 0; ++k) {
    tk.NowMs += static_cast<std::uint32_t>(form.Timer1.Interval);
    form.Timer1Timer();
    if (progress) progress->Tick(k + 1);
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

namespace {

template <std::size_t N>
const TActionEntry* Find(const TActionEntry (&table)[N], const std::string& name) {
  for (const TActionEntry& e : table)
    if (name == e.Name) return &e;
  return nullptr;
}

TActionCheck Check(bool ok) {
  return ok ? TActionCheck::Ok : TActionCheck::Invalid;
}

// A command the set lacks devices for is refused, saying which.
TActionCheck Needs(const TGL_Form& form, TSetNeed need, TAction& a) {
  const std::vector<std::string> lack = form.Lacks(need);
  if (lack.empty()) return TActionCheck::Ok;
  std::string list;
  for (const std::string& c : lack)
    list += (list.empty() ? "" : " and a ") + c;
  a.Reason = (need == TSetNeed::Demonstration ? "the demonstration needs a "
                                              : "the motor and rail options need a ") +
             list + ", which the set lacks";
  return TActionCheck::Invalid;
}

// A scroll-bar position: any 32-bit number, which the bar clamps to its range
// as it would a dragged thumb. A wider one is refused rather than cut to 32
// bits, which would wrap it around to a position inside the range.
TActionCheck ParseBarPosition(const TGL_Form&, const std::string& v, TAction& a) {
  return Check(ParseInt(v, a.Number) && a.Number >= std::numeric_limits<std::int32_t>::min() &&
               a.Number <= std::numeric_limits<std::int32_t>::max());
}

// A camera value typed into the view dialog's edit and entered.
template <std::string TFormDlgViewModel::*Edit, void (TGL_Form::*Enter)(char)>
TActionEntry ViewEdit(const char* name, const char* usage) {
  return {name, [](const TGL_Form&, const std::string&, TAction&) { return TActionCheck::Ok; },
          [](TActionRun& run, const TAction& a) {
            run.Form.FormDlgView.*Edit = a.SettingValue;
            (run.Form.*Enter)('\r');
          },
          usage, "the view dialog's edit typed and entered (refused as the dialog refuses it)"};
}

// set:NAME=VALUE: the dialog or control each setting answers.
const TActionEntry kSettings[] = {
    // The view dialog's edits (the dialog itself accepts or refuses the text).
    ViewEdit<&TFormDlgViewModel::IDC_EDITxv, &TGL_Form::IDC_EDITxvKeyPress>("xv", "set:xv=X"),
    ViewEdit<&TFormDlgViewModel::IDC_EDITyv, &TGL_Form::IDC_EDITyvKeyPress>("yv", "set:yv=X"),
    ViewEdit<&TFormDlgViewModel::IDC_EDITzv, &TGL_Form::IDC_EDITzvKeyPress>("zv", "set:zv=X"),
    ViewEdit<&TFormDlgViewModel::IDC_EDITzpos, &TGL_Form::IDC_EDITzposKeyPress>("zpos",
                                                                                "set:zpos=X"),
    ViewEdit<&TFormDlgViewModel::IDC_EDITyrot, &TGL_Form::IDC_EDITyrotKeyPress>("yrot",
                                                                                "set:yrot=X"),
    ViewEdit<&TFormDlgViewModel::IDC_EDITxrot, &TGL_Form::IDC_EDITxrotKeyPress>("xrot",
                                                                                "set:xrot=X"),
    {"Dt", // the dialog itself accepts or refuses the text
     [](const TGL_Form&, const std::string&, TAction&) { return TActionCheck::Ok; },
     [](TActionRun& run, const TAction& a) {
       WithDialog(run.Form, run.Tk, &TGL_Form::Options1Click,
                  [v = a.SettingValue](TGL_Form& f) { f.DialogOptions.Editdt = v; });
     },
     "set:Dt=X",
     "the options dialog answered with the time step X in s (refused as the dialog refuses it)"},
    {"SBfs", ParseBarPosition,
     [](TActionRun& run, const TAction& a) {
       run.Form.SBfs.SetPosition(static_cast<int>(a.Number));
     },
     "set:SBfs=N", "the supply-frequency scroll bar moved to N, held within 1-100"},
    {"SBtimer", ParseBarPosition,
     [](TActionRun& run, const TAction& a) {
       run.Form.SBtimer.SetPosition(static_cast<int>(a.Number));
     },
     "set:SBtimer=N", "the timer scroll bar moved to N, held within 0-100 (0 stops the timer)"},
    {"RailType",
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       if (Needs(form, TSetNeed::RailOptions, a) != TActionCheck::Ok) return TActionCheck::Invalid;
       return Check(ParseInt(v, a.Number) && a.Number >= 0 && a.Number <= 3);
     },
     [](TActionRun& run, const TAction& a) {
       WithDialog(run.Form, run.Tk, &TGL_Form::OptionsMRVrail1Click, [n = a.Number](TGL_Form& f) {
         f.DialogOptionsMRV.RGTypeRail = static_cast<int>(n);
       });
     },
     "set:RailType=N", "the motor/rail dialog answered with rail shape N (0-3)"},
    {"ForceModel",
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       if (Needs(form, TSetNeed::RailOptions, a) != TActionCheck::Ok) return TActionCheck::Invalid;
       return Check(ParseInt(v, a.Number) && a.Number >= 1 && a.Number <= 3);
     },
     [](TActionRun& run, const TAction& a) {
       WithDialog(run.Form, run.Tk, &TGL_Form::OptionsMRVrail1Click, [n = a.Number](TGL_Form& f) {
         f.DialogOptionsMRV.RBModelePhysiqueSimple = n == 1;
         f.DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = n == 2;
         f.DialogOptionsMRV.RBModelePhysiqueDistance = n == 3;
       });
     },
     "set:ForceModel=N", "the motor/rail dialog answered with force model N (1-3)"},
};

const TActionEntry kActions[] = {
    {"ticks",
     [](const TGL_Form&, const std::string& v, TAction& a) {
       return Check(ParseInt(v, a.Number) && a.Number >= 0);
     },
     [](TActionRun& run, const TAction& a) { Ticks(run.Form, run.Tk, a.Number, run.Progress); },
     "ticks:N", "N timer events; none while the timer is paused or its period is 0"},
    {"select", [](const TGL_Form&, const std::string& v, TAction&) { return Check(!v.empty()); },
     [](TActionRun& run, const TAction& a) {
       WithDialog(run.Form, run.Tk, &TGL_Form::SelectRobot1Click,
                  [v = a.Value](TGL_Form& f) { f.DialogRobSel.IDC_EDITRobSel = v; });
     },
     "select:N", "the robot-selection dialog answered with N"},
    {"paint", [](const TGL_Form&, const std::string& v, TAction&) { return Check(v.empty()); },
     [](TActionRun& run, const TAction&) { run.Form.FormPaint(); }, "paint",
     "one redraw, as when the window is uncovered"},
    {"step", // one tick, as "Pas à pas" runs it
     [](const TGL_Form&, const std::string& v, TAction&) { return Check(v.empty()); },
     [](TActionRun& run, const TAction&) { run.Form.PasAPas1Click(); }, "step",
     "one tick even while paused, as \"Pas à pas\""},
    {"param", // N.Name=V: a device's parameter, checked as the window's panel checks it
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       const auto dot = v.find('.');
       const auto eq = v.find('=');
       if (dot == std::string::npos || eq == std::string::npos || eq < dot ||
           !ParseInt(v.substr(0, dot), a.Number) || !ParseReal(v.substr(eq + 1), a.Real))
         return TActionCheck::Invalid;
       a.Field = v.substr(dot + 1, eq - dot - 1);
       a.Reason = form.Sim.CheckParameter(a.Number, a.Field, a.Real);
       return Check(a.Reason.empty());
     },
     [](TActionRun& run, const TAction& a) {
       run.Form.SetParameter(static_cast<std::int32_t>(a.Number), a.Field, a.Real);
     },
     "param:N.Name=V", "parameter Name of device N set to V, checked as the panel checks it"},
    {"menu",
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       const auto it = MenuCommands().find(v);
       if (it != MenuCommands().end()) a.Command = it->second;
       if (a.Command == &TGL_Form::ModeDmo1Click) return Needs(form, TSetNeed::Demonstration, a);
       if (a.Command == &TGL_Form::OptionsMRVrail1Click)
         return Needs(form, TSetNeed::RailOptions, a);
       return Check(a.Command != nullptr);
     },
     [](TActionRun& run, const TAction& a) {
       if (a.Command == &TGL_Form::EnregistreAVI1Click && run.Capture)
         StartRecording(run.Form, run.Tk, *run.Capture);
       else
         (run.Form.*a.Command)();
     },
     "menu:NAME", "a menu command by its item name (its dialogs cancelled)"},
    {"key",
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       if (!ParseKey(v, a.Key, a.Shift)) return TActionCheck::Invalid;
       // Ctrl+D is the demonstration's key.
       if (a.Key == vk::Letter('D') && (a.Shift & ssCtrl))
         return Needs(form, TSetNeed::Demonstration, a);
       return TActionCheck::Ok;
     },
     [](TActionRun& run, const TAction& a) {
       std::uint16_t key = a.Key;
       run.Form.FormKeyDown(key, a.Shift);
     },
     "key:NAME", "a key press: a letter, NumN, Ctrl+ or Shift+ before it, or a named key"},
    {"combo", // an item of the toolbar's list: one per device of the set
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       return Check(ParseInt(v, a.Number) && a.Number >= 0 && a.Number < form.Sim.NbRobots);
     },
     [](TActionRun& run, const TAction& a) {
       run.Form.CBListe.ItemIndex = static_cast<int>(a.Number);
       run.Form.CBListeSelect();
       run.Form.CBListeCloseUp();
     },
     "combo:N", "device N chosen in the toolbar's device list"},
    {"set",
     [](const TGL_Form& form, const std::string& v, TAction& a) {
       const auto eq = v.find('=');
       if (eq == std::string::npos || eq == 0)
         return TActionCheck::Unknown; // "set:Dt" names nothing
       a.Setting = Find(kSettings, v.substr(0, eq));
       a.SettingValue = v.substr(eq + 1);
       return a.Setting ? a.Setting->Parse(form, a.SettingValue, a) : TActionCheck::Invalid;
     },
     [](TActionRun& run, const TAction& a) { a.Setting->Apply(run, a); }, "set:NAME=VALUE",
     "a dialog or control answered, as below"},
};

} // namespace

bool ParseAction(const std::string& word, const TGL_Form& form, TAction& a, std::string& error) {
  const auto colon = word.find(':');
  a = TAction{};
  a.Text = word;
  a.Name = word.substr(0, colon);
  a.Value = colon == std::string::npos ? "" : word.substr(colon + 1);
  a.Entry = Find(kActions, a.Name);
  const TActionCheck check = a.Entry ? a.Entry->Parse(form, a.Value, a) : TActionCheck::Unknown;
  if (check == TActionCheck::Unknown) error = "unknown action: " + word;
  if (check == TActionCheck::Invalid)
    error = "invalid action: " + word + (a.Reason.empty() ? "" : " (" + a.Reason + ")");
  return check == TActionCheck::Ok;
}

long long RunningTicks(const TGL_Form& form, const TAction& a) {
  return a.Entry == Find(kActions, "ticks") && form.Timer1.Running() ? a.Number : 0;
}

void ApplyAction(TGL_Form& form, THeadlessToolkit& tk, const TAction& a,
                 const TCaptureAnswer* capture, TProgressLine* progress) {
  TActionRun run{form, tk, capture, progress};
  a.Entry->Apply(run, a);
}

std::string ActionsHelp() {
  std::string text;
  auto line = [&text](const TActionEntry& e) {
    std::string usage = e.Usage;
    usage.resize(std::max<std::size_t>(usage.size() + 1, 18), ' ');
    text += "  " + usage + e.Help + "\n";
  };
  for (const TActionEntry& e : kActions)
    line(e);
  text += "menu names:";
  for (const auto& [name, handler] : MenuCommands())
    text += " " + name;
  text += "\nnamed keys:";
  for (const auto& [name, key] : NamedKeys())
    text += " " + name;
  text += "\nsettings of set:\n";
  for (const TActionEntry& e : kSettings)
    line(e);
  return text;
}

std::vector<std::string> ActionNames() {
  std::vector<std::string> names;
  for (const TActionEntry& e : kActions)
    names.emplace_back(e.Name);
  for (const TActionEntry& e : kSettings)
    names.push_back(std::string("set:") + e.Name);
  return names;
}
