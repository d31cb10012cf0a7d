#include "event_stream.h"

#include <unistd.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <vector>

#include "models/constants.h"
#include "models/device_description.h"
#include "models/field_access.h"
#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/parameters.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "texts/number_text.h"
#include "window/gl_form.h"

namespace {

// splitmix64: the same stream on every machine and library, unlike the
// standard distributions.
class TRandom {
public:
  explicit TRandom(std::uint64_t seed) : s_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number in [lo, hi].
  long long Int(long long lo, long long hi) {
    return lo + static_cast<long long>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  double Real(double lo, double hi) { return lo + (hi - lo) * (Next() >> 11) * 0x1p-53; }
  bool Chance(double p) { return Real(0, 1) < p; }
  template <class T, std::size_t N> const T& Pick(const T (&items)[N]) {
    return items[Int(0, N - 1)];
  }
  template <class T> const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Int(0, static_cast<long long>(items.size()) - 1))];
  }

private:
  std::uint64_t s_;
};

// What a user may type into any edit, numbers that are nearly right included.
const std::string kLongText(10000, '7');
const std::string kGarbage[] = {
    "",     "abc",  "1e400", "nan",      "-0",         "1,5",         "1.5",    "inf",      "-inf",
    " 1",   "1 ",   "0x10",  "1e-400",   "2147483648", "-2147483649", "+5",     "--1",      ".5",
    "5.",   "1e",   "\t2",   "\xff\xfe", "0",          "-1",          "3",      "8",        "9",
    "0.01", "0,02", "0.05",  "0.051",    "-0.01",      "1e308",       "-1e308", "4.9e-324", "9e9"};

// Values put in place of a number in a scene file.
const char* const kSceneValues[] = {
    "1e400",      "nan",         "\"nan\"", "\"inf\"", "\"-inf\"", "-0",      "1e308", "-1e308",
    "2147483648", "-2147483649", "1.5",     "true",    "null",     "\"abc\"", "[]",    "{}",
    "1e-320",     "0",           "-1",      "100000",  "3",        "-3.2",    "7",     "1e9"};

const char* const kMenus[] = {
    "SelectRobot1", "Quitter",  "Animate",         "Resetrobots",  "Resetview",
    "ModeDmo1",     "Options1", "OptionsMRVrail1", "View",         "Aide2",
    "Apropos",      "PasAPas1", "EnregistreAVI1",  "OuvrirScene1", "EnregistrerScene1"};

// The keys the key map reads, and a few it does not.
std::vector<std::uint16_t> MappedKeys() {
  std::vector<std::uint16_t> keys = {vk::Up,   vk::Down,  vk::Left,   vk::Right, vk::Prior,
                                     vk::Next, vk::Space, vk::Return, vk::F1,    vk::F1 + 1};
  for (char c : std::string("ABCDEGHMNQRSTWXZ"))
    keys.push_back(vk::Letter(c));
  for (int d = 0; d <= 9; ++d) {
    keys.push_back(vk::Numpad(d));
    keys.push_back(static_cast<std::uint16_t>('0' + d));
  }
  return keys;
}

const char* const kKeyNames[] = {
    "A",    "R",  "Ctrl+D",   "Ctrl+M", "M",     "Num8",    "Num2", "Num5",        "Num4", "Num6",
    "Num0", "Up", "PageDown", "Space",  "Enter", "Shift+Q", "Z",    "Ctrl+Ctrl+W", "X",    "?"};

// A model angle and the interval its device keeps it in while it is finite.
struct TAngleRule {
  const char* Class;
  const char* Field;
  double Lo, Hi;
  bool HiIncluded;
};
constexpr double kTwoPi = 2 * kPi;
const TAngleRule kAngleRules[] = {
    {"TRobot4", "Theta", -kPi, kPi, true},
    {"TRobotK", "Theta", -kPi, kPi, true},
    {"TMonocycle", "State[0]", -kPi, kPi, true},
    {"TBicycle", "State[0]", -kPi, kPi, true},
    {"TBicycle", "State[2]", -kPi, kPi, true},
    {"TMRVlin", "Theta", 0, kTwoPi, false},
    {"TMRVlin", "ToothTheta", 0, kTwoPi, false},
    {"TMSlin", "Theta", 0, kTwoPi, false},
    {"TMSlin", "MagnetTheta", 0, kTwoPi, false},
    {"TMSlin", "PendTheta", -kPi, kPi, true},
    {"TMonocycle", "Wheel.Phi", -kTwoPi, kTwoPi, false},
};

// The camera may go anywhere, even to infinity; every other number of the
// window and its devices is kept finite.
bool MayBeNonFinite(const std::string& path) {
  for (const char* name : {"xv", "zv", "yv", "zpos", "yrot", "yrotSmooth", "xrot", "CamStep"})
    if (path == name) return true;
  return false;
}

// Every floating-point field of an object, by path.
class TFloatCollector final : public TFieldRefVisitor {
public:
  struct TEntry {
    std::string Path;
    TFieldRef Field;
  };
  std::vector<TEntry> Entries;

  void BeginObject(const char* name) override { prefix_.push_back(Prefix() + name + "."); }
  void EndObject() override { prefix_.pop_back(); }
  void Null(const char*) override {}

private:
  std::string Prefix() const { return prefix_.empty() ? "" : prefix_.back(); }
  void Leaf(const char* name, TFieldRef::TKind kind, const void* p) override {
    if (kind == TFieldRef::TKind::Double || kind == TFieldRef::TKind::Float)
      Entries.push_back({Prefix() + name, TFieldRef{kind, p}});
  }
  void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                std::size_t size) override {
    for (std::size_t i = 0; i < n; ++i)
      Leaf((std::string(name) + "[" + std::to_string(i) + "]").c_str(), kind,
           static_cast<const unsigned char*>(p) + i * size);
  }
  std::vector<std::string> prefix_;
};

std::string Shown(double v) {
  std::ostringstream s;
  s.precision(17);
  s << v;
  return s.str();
}

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

class TStream {
public:
  TStream(std::uint64_t seed, std::string scratch, std::string data)
      : rnd_(seed), scratch_(std::move(scratch)), data_(std::move(data)), keys_(MappedKeys()) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(data_ + "/scenes", ec))
      scenes_.push_back(ReadAll(entry.path()));
    OpenWindow();
  }

  TEventStreamResult Run(long long events) {
    TEventStreamResult result;
    for (long long n = 0; n < events; ++n) {
      rewind_ = Rewind::None;
      const std::string kind = Event();
      ++result.Counts[kind];
      ++result.Events;
      if (std::string why = Broken(n); !why.empty()) {
        std::string log;
        for (const std::string& e : recent_)
          log += "\n  " + e;
        result.Failure =
            "event " + std::to_string(n) + " (" + kind + "): " + why + "\nlast events:" + log;
        return result;
      }
      if (tk_.CloseRequested) {
        // The window closes, as its close box would; a new one opens.
        form_->FormClose();
        OpenWindow();
        ++result.Counts["window reopened"];
      }
    }
    if (std::string why = SceneRoundTrip(); !why.empty()) result.Failure = "at the end: " + why;
    form_->FormClose();
    return result;
  }

private:
  // How far an event may move simulated time back.
  enum class Rewind { None, ToZero, Any };

  void OpenWindow() {
    form_.reset();
    tk_ = THeadlessToolkit{};
    form_ = std::make_unique<TGL_Form>(tk_);
    form_->UseDataFolder(data_);
    form_->FormResize(640, 480);
    form_->Sim.TickObservers.push_back(&set_watch_);
    Collect();
    last_time_ = form_->Sim.SimTime;
  }

  // The fields the invariants read; again whenever a scene makes the set anew.
  void Collect() {
    floats_.clear();
    TFloatCollector window;
    form_->VisitFields(window);
    for (auto& e : window.Entries)
      if (!MayBeNonFinite(e.Path)) floats_.push_back({"", std::move(e.Path), e.Field});
    angles_.clear();
    for (const TRobot* r : form_->Sim.Robots) {
      TFloatCollector device;
      r->VisitFields(device);
      const std::string who = "Robots[" + std::to_string(r->Index) + "].";
      for (auto& e : device.Entries)
        floats_.push_back({who, std::move(e.Path), e.Field});
      for (const TAngleRule& rule : kAngleRules)
        if (std::string(r->ClassName()) == rule.Class)
          angles_.push_back({&rule, r->Index, FindField(*r, rule.Field)});
    }
  }
  struct TSetWatch : TTickObserver {
    explicit TSetWatch(std::function<void()> changed) : Changed(std::move(changed)) {}
    void AfterTick(const TSimulation&) override {}
    void AfterSetChanged(const TSimulation&) override { Changed(); }
    std::function<void()> Changed;
  };
  TSetWatch set_watch_{[this] { Collect(); }};

  void Note(std::string what) {
    if (recent_.size() == 24) recent_.pop_front();
    recent_.push_back(std::move(what));
  }

  std::string Garbage() { return rnd_.Chance(0.03) ? kLongText : rnd_.Pick(kGarbage); }

  // Answers every dialog with garbage, OK most of the time.
  void AnswerDialogs() {
    tk_.AnswerDialog = [this](TDialogId id) {
      TGL_Form& f = *form_;
      switch (id) {
      case TDialogId::Options:
        f.DialogOptions.Editdt = Garbage();
        break;
      case TDialogId::OptionsMRV:
        f.DialogOptionsMRV.RGTypeRail = static_cast<int>(rnd_.Int(-2, 5));
        f.DialogOptionsMRV.RBModelePhysiqueSimple = rnd_.Chance(0.4);
        f.DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = rnd_.Chance(0.4);
        f.DialogOptionsMRV.RBModelePhysiqueDistance = rnd_.Chance(0.4);
        break;
      case TDialogId::RobSel:
        f.DialogRobSel.IDC_EDITRobSel =
            rnd_.Chance(0.5) ? std::to_string(rnd_.Int(-2, 10)) : Garbage();
        break;
      case TDialogId::Capture:
        f.DialogCapture.LEfilename = scratch_ + "/fuzz.avi";
        f.DialogCapture.LEfps = Garbage();
        f.DialogCapture.LEtime = Garbage();
        break;
      case TDialogId::Compression:
        f.DialogCompression.Codec = static_cast<int>(rnd_.Int(-1, 2));
        f.DialogCompression.Quality = static_cast<int>(rnd_.Int(-5, 200));
        break;
      default:
        break;
      }
      return rnd_.Chance(0.8) ? TModalResult::OK : TModalResult::Cancel;
    };
    tk_.AnswerQuestion = [this](const std::string&) { return rnd_.Chance(0.5); };
    tk_.AnswerFile = [this](TFileChoice choice, std::string& path) {
      if (rnd_.Chance(0.1)) return false;
      if (choice == TFileChoice::SaveScene)
        path = scratch_ + (rnd_.Chance(0.5) ? "/saved.json"
                                            : "/saved-" + std::to_string(rnd_.Int(0, 3)) + ".json");
      else
        path = WriteScene();
      return true;
    };
    tk_.OpenDocumentFails = rnd_.Chance(0.5);
  }

  // A scene file: an example, a state saved during the run, or one of them
  // damaged; now and then no file, a folder or a device.
  std::string WriteScene() {
    const int pick = static_cast<int>(rnd_.Int(0, 19));
    if (pick == 0) return scratch_ + "/missing.json";
    if (pick == 1) return scratch_;
    if (pick == 2) return "/dev/null";
    if (pick == 3) return data_ + "/scenes/" + "pendule-en-equilibre.json";
    std::string text = rnd_.Chance(0.3) || scenes_.empty() ? StateJson(*form_) : rnd_.Pick(scenes_);
    if (rnd_.Chance(0.6)) Damage(text);
    const std::string path = scratch_ + "/scene.json";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path;
  }

  void Damage(std::string& text) {
    if (text.empty()) return;
    const auto at = [&] { return static_cast<std::size_t>(rnd_.Int(0, text.size() - 1)); };
    switch (rnd_.Int(0, 5)) {
    case 0: // cut short
      text.resize(at());
      break;
    case 1: // bytes changed
      for (long long k = rnd_.Int(1, 4); k > 0; --k)
        text[at()] = static_cast<char>(rnd_.Int(0, 255));
      break;
    case 2: // a line removed
    {
      const std::size_t start = text.rfind('\n', at());
      const std::size_t end = text.find('\n', start == std::string::npos ? 0 : start + 1);
      if (start != std::string::npos && end != std::string::npos) text.erase(start, end - start);
      break;
    }
    case 3: // a chunk repeated
    {
      const std::size_t from = at();
      text.insert(at(), text.substr(from, static_cast<std::size_t>(rnd_.Int(1, 200))));
      break;
    }
    default: // numbers replaced by hostile values
      for (long long k = rnd_.Int(1, 3); k > 0; --k) {
        std::size_t p = text.find_first_of("-0123456789", at());
        if (p == std::string::npos || p == 0 ||
            std::string(" :[,").find(text[p - 1]) == std::string::npos)
          continue;
        const std::size_t e = text.find_first_of(",]}\n", p);
        if (e == std::string::npos) continue;
        text.replace(p, e - p, rnd_.Pick(kSceneValues));
      }
      break;
    }
  }

  std::string ActionWord() {
    switch (rnd_.Int(0, 9)) {
    case 0:
      return "ticks:" + std::to_string(rnd_.Int(-1, 20));
    case 1:
      return "select:" + Garbage();
    case 2: {
      const long long n = rnd_.Int(-1, form_->Sim.NbRobots);
      std::string field = "Nope";
      if (n >= 0 && n < form_->Sim.NbRobots) {
        const auto& params =
            form_->Sim.Robots[static_cast<std::size_t>(n)]->Description().Parameters;
        if (!params.empty() && rnd_.Chance(0.9)) field = rnd_.Pick(params).Field;
      }
      return "param:" + std::to_string(n) + "." + field + "=" + Garbage();
    }
    case 3:
      return "set:" +
             std::string(rnd_.Pick({"Dt", "SBfs", "SBtimer", "RailType", "ForceModel", "xv", "yv",
                                    "zv", "zpos", "yrot", "xrot", "Nope"})) +
             "=" + Garbage();
    case 4:
      return "combo:" + Garbage();
    case 5:
      return std::string("key:") + rnd_.Pick(kKeyNames);
    case 6:
      return std::string("menu:") + rnd_.Pick(kMenus);
    case 7:
      return rnd_.Chance(0.5) ? "step" : "paint";
    default:
      return Garbage() + (rnd_.Chance(0.5) ? ":" + Garbage() : "");
    }
  }

  // A parameter of a device set as the instruments panel does: within its
  // range mostly, at the bounds, or anything at all (which must be refused).
  void EditParameter() {
    const auto n = static_cast<std::int32_t>(rnd_.Int(0, form_->Sim.NbRobots - 1));
    const auto& params = form_->Sim.Robots[static_cast<std::size_t>(n)]->Description().Parameters;
    if (params.empty() || rnd_.Chance(0.05)) {
      form_->RestoreParameters(n);
      Note("restore parameters of " + std::to_string(n));
      return;
    }
    const TParameterDescription& p = rnd_.Pick(params);
    double v = 0;
    switch (rnd_.Int(0, 5)) {
    case 0:
      v = p.Min;
      break;
    case 1:
      v = p.Max;
      break;
    case 2:
    case 3:
      v = rnd_.Real(p.Min, p.Max);
      break;
    case 4:
      v = p.Default + p.Step * static_cast<double>(rnd_.Int(-3, 3));
      break;
    default: {
      const auto text = StrToFloat(Garbage(), '.');
      v = text ? *text : std::nan("");
    }
    }
    const bool accepted = form_->SetParameter(n, p.Field, v);
    Note("parameter " + std::to_string(n) + "." + p.Field + "=" + Shown(v) +
         (accepted ? "" : " (refused)"));
  }

  TShiftState Shift() {
    TShiftState s = 0;
    if (rnd_.Chance(0.35)) s |= ssCtrl;
    if (rnd_.Chance(0.15)) s |= ssShift;
    if (rnd_.Chance(0.05)) s |= ssAlt;
    return s;
  }

  int Coordinate() {
    return static_cast<int>(rnd_.Chance(0.02) ? rnd_.Int(-32768, 32767) : rnd_.Int(-200, 1500));
  }

  // One event; returns its kind.
  std::string Event() {
    TGL_Form& f = *form_;
    tk_.Messages.clear();
    tk_.Questions.clear();
    tk_.ShownDialogs.clear();
    tk_.VisibilityChanges.clear();
    tk_.OpenedDocuments.clear();
    tk_.FileChoiceStarts.clear();
    AnswerDialogs();
    const int roll = static_cast<int>(rnd_.Int(0, 999));
    if (roll < 300) {
      // Timer events come only while it runs; a paused window is started now and then.
      if (f.Timer1.Running()) {
        tk_.NowMs += static_cast<std::uint32_t>(f.Timer1.Interval);
        f.Timer1Timer();
        Note("tick");
      } else if (rnd_.Chance(0.2)) {
        f.AnimateClick();
        Note("Animate");
      }
      return "tick";
    }
    if (roll < 500) {
      std::uint16_t key =
          rnd_.Chance(0.8) ? rnd_.Pick(keys_) : static_cast<std::uint16_t>(rnd_.Int(0, 0xFFFF));
      const TShiftState shift = Shift();
      if (key == vk::Letter('R')) rewind_ = Rewind::ToZero;
      Note("key " + std::to_string(key) + " shift " + std::to_string(shift));
      const std::uint16_t pressed = key;
      f.FormKeyDown(key, shift);
      if (key != pressed) failure_ = "the key handler changed the key to " + std::to_string(key);
      return "key";
    }
    if (roll < 640) {
      const auto button = static_cast<TMouseButton>(rnd_.Int(0, 2));
      const int x = Coordinate(), y = Coordinate();
      switch (rnd_.Int(0, 4)) {
      case 0:
        f.FormMouseDown(button, Shift(), x, y);
        Note("mouse down " + std::to_string(static_cast<int>(button)));
        break;
      case 1:
        f.FormMouseUp(button, Shift(), x, y);
        Note("mouse up " + std::to_string(static_cast<int>(button)));
        break;
      case 2: {
        const int delta =
            static_cast<int>(rnd_.Chance(0.9) ? 120 * rnd_.Int(-5, 5) : rnd_.Int(-100000, 100000));
        f.FormMouseWheel(Shift(), delta, TPoint{x, y});
        Note("wheel " + std::to_string(delta));
        break;
      }
      default:
        f.FormMouseMove(Shift(), x, y);
        Note("mouse move " + std::to_string(x) + "," + std::to_string(y));
      }
      return "mouse";
    }
    if (roll < 720) {
      const char* menu = rnd_.Pick(kMenus);
      const std::string name = menu;
      if (name == "Resetrobots") rewind_ = Rewind::ToZero;
      if (name == "OuvrirScene1") rewind_ = Rewind::Any;
      Note(std::string("menu ") + menu);
      TAction a;
      std::string error;
      if (!ParseAction("menu:" + name, f, a, error)) return "menu unknown: " + name;
      (f.*a.Command)();
      return "menu";
    }
    if (roll < 760) {
      f.CBListe.ItemIndex = static_cast<int>(rnd_.Int(-2, f.Sim.NbRobots + 1));
      Note("combo " + std::to_string(f.CBListe.ItemIndex));
      f.CBListeSelect();
      f.CBListeCloseUp();
      return "combo";
    }
    if (roll < 820) {
      const int p =
          static_cast<int>(rnd_.Chance(0.1) ? rnd_.Int(INT32_MIN, INT32_MAX) : rnd_.Int(-20, 200));
      TScrollBar* bars[] = {&f.SBtimer, &f.SBfs, &f.FormDlgView.ScrollBarzpos,
                            &f.FormDlgView.ScrollBaryrot, &f.FormDlgView.ScrollBarxrot};
      const auto b = static_cast<std::size_t>(rnd_.Int(0, 4));
      Note("bar " + std::to_string(b) + " to " + std::to_string(p));
      bars[b]->SetPosition(p);
      if (b == 0) f.SBtimerKeyUp();
      if (b == 1) f.SBfsKeyUp();
      return "scroll bar";
    }
    if (roll < 870) {
      using TEdit = std::string TFormDlgViewModel::*;
      using TEnter = void (TGL_Form::*)(char);
      const std::pair<TEdit, TEnter> edits[] = {
          {&TFormDlgViewModel::IDC_EDITxv, &TGL_Form::IDC_EDITxvKeyPress},
          {&TFormDlgViewModel::IDC_EDITyv, &TGL_Form::IDC_EDITyvKeyPress},
          {&TFormDlgViewModel::IDC_EDITzv, &TGL_Form::IDC_EDITzvKeyPress},
          {&TFormDlgViewModel::IDC_EDITzpos, &TGL_Form::IDC_EDITzposKeyPress},
          {&TFormDlgViewModel::IDC_EDITyrot, &TGL_Form::IDC_EDITyrotKeyPress},
          {&TFormDlgViewModel::IDC_EDITxrot, &TGL_Form::IDC_EDITxrotKeyPress}};
      if (rnd_.Chance(0.1)) {
        f.ButtonResetClick();
        Note("view dialog reset");
        return "view dialog";
      }
      const auto& [edit, enter] = rnd_.Pick(edits);
      f.FormDlgView.*edit = Garbage();
      const char key = rnd_.Chance(0.8) ? '\r' : static_cast<char>(rnd_.Int(0, 127));
      Note("view edit '" + (f.FormDlgView.*edit).substr(0, 12) + "' key " + std::to_string(key));
      (f.*enter)(key);
      return "view dialog";
    }
    if (roll < 920) {
      EditParameter();
      return "parameter";
    }
    if (roll < 960) {
      const std::string word = ActionWord();
      TAction a;
      std::string error;
      Note("action " + word.substr(0, 40));
      if (!ParseAction(word, f, a, error)) return "action refused";
      rewind_ = Rewind::Any; // key:R, menu:Resetrobots, menu:OuvrirScene1
      ApplyAction(f, tk_, a);
      return "action";
    }
    if (roll < 975) {
      rewind_ = Rewind::Any;
      const std::string path = WriteScene();
      const bool opened = f.OpenScene(path);
      Note("scene " + path + (opened ? "" : " (refused)"));
      return opened ? "scene loaded" : "scene refused";
    }
    if (roll < 978) {
      const bool saved = f.SaveScene(scratch_ + "/saved.json");
      Note(std::string("scene saved") + (saved ? "" : " (failed)"));
      if (saved && scenes_.size() < 12) scenes_.push_back(ReadAll(scratch_ + "/saved.json"));
      return "scene saved";
    }
    if (roll < 988) {
      const int w = static_cast<int>(rnd_.Int(0, 3000)), h = static_cast<int>(rnd_.Int(0, 3000));
      Note("resize " + std::to_string(w) + "x" + std::to_string(h));
      f.FormResize(w, h);
      return "resize";
    }
    if (roll < 996) {
      f.FormPaint();
      Note("paint");
      return "paint";
    }
    tk_.Separator = rnd_.Chance(0.5) ? ',' : '.';
    Note(std::string("decimal separator ") + tk_.Separator);
    return "decimal separator";
  }

  // The first broken invariant after event n, or "".
  std::string Broken(long long n) {
    if (!failure_.empty()) return failure_;
    const TGL_Form& f = *form_;
    int selected = 0;
    for (const TRobot* r : f.Sim.Robots)
      selected += r->Selected ? 1 : 0;
    if (f.Sim.RobSel < 0 || f.Sim.RobSel >= f.Sim.NbRobots || selected != 1 ||
        !f.Sim.Robots[static_cast<std::size_t>(f.Sim.RobSel)]->Selected)
      return "selection: RobSel " + std::to_string(f.Sim.RobSel) + ", " + std::to_string(selected) +
             " devices selected";
    if (!(f.Sim.SimTime >= 0) || !std::isfinite(f.Sim.SimTime))
      return "SimTime " + Shown(f.Sim.SimTime);
    if (f.Sim.SimTime < last_time_ && !(rewind_ == Rewind::Any) &&
        !(rewind_ == Rewind::ToZero && f.Sim.SimTime == 0))
      return "SimTime went back from " + Shown(last_time_) + " to " + Shown(f.Sim.SimTime);
    last_time_ = f.Sim.SimTime;
    for (const auto& [who, path, field] : floats_)
      if (!std::isfinite(field.Get())) return who + path + " is " + Shown(field.Get());
    for (const auto& [rule, index, field] : angles_) {
      const double v = field.Get();
      if (v < rule->Lo || v > rule->Hi || (v == rule->Hi && !rule->HiIncluded))
        return "Robots[" + std::to_string(index) + "]." + rule->Field + " = " + Shown(v) +
               " outside its range";
    }
    // Now and then the whole state: what the window saves, it opens again.
    if (n % 97 == 0) return SceneRoundTrip();
    return {};
  }

  std::string SceneRoundTrip() {
    TScene scene;
    std::string error;
    if (!ParseScene(StateJson(*form_), *form_, scene, error))
      return "the window's own state does not open as a scene: " + error;
    return {};
  }

  struct TNamedFloat {
    std::string Who, Path;
    TFieldRef Field;
  };
  struct TAngle {
    const TAngleRule* Rule;
    std::int32_t Index;
    TFieldRef Field;
  };

  TRandom rnd_;
  std::string scratch_, data_;
  std::vector<std::uint16_t> keys_;
  std::vector<std::string> scenes_;
  THeadlessToolkit tk_;
  std::unique_ptr<TGL_Form> form_;
  std::vector<TNamedFloat> floats_;
  std::vector<TAngle> angles_;
  std::deque<std::string> recent_;
  double last_time_ = 0;
  Rewind rewind_ = Rewind::None;
  std::string failure_; // found while the event was played
};

// The run's working directory is its scratch folder (the data log lands there).
class TWorkingDirectory {
public:
  explicit TWorkingDirectory(const std::string& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~TWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
  }
  TWorkingDirectory(const TWorkingDirectory&) = delete;
  TWorkingDirectory& operator=(const TWorkingDirectory&) = delete;

private:
  std::filesystem::path old_;
};

} // namespace

TEventStreamResult RunEventStream(std::uint64_t seed, long long events,
                                  const std::string& scratch_folder,
                                  const std::string& data_folder) {
  TWorkingDirectory cwd(scratch_folder);
  TStream stream(seed, scratch_folder, data_folder);
  return stream.Run(events);
}
