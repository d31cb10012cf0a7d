// The scene reader: the JSON is walked alongside the window's own field lists
// (the visitors), so every field is found by the name the dump gave it and no
// list of fields is kept here. Each value is checked for its type, for being
// finite and, where the program keeps it within bounds, for its range; it is
// staged with the field it belongs to and set only once the whole file passed.
#include "app/scene.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>

#include "app/divergence.h"
#include "app/gl_form.h"
#include "app/state_json.h"
#include "app/step_limit.h"
#include "models/constants.h"
#include "models/device_description.h"
#include "models/linear/rail_shape.h"
#include "models/robots/robot2.h"

namespace {

using json = nlohmann::json;

constexpr double kIntMax = std::numeric_limits<std::int32_t>::max();

// The rails are drawn and searched sample by sample, one per tooth or magnet
// pitch along their length; beyond this count a scene would stall the program.
constexpr double kMaxRailSamples = 100000;

// What the reader does with a field of the window.
enum class TUse { Restore, Check, Ignore };

TUse WindowFieldUse(std::string_view path) {
  // The device set is the program's own: a scene must agree with it.
  if (path == "NbRobots") return TUse::Check;
  // The log and the recording write files of the window that opens the scene;
  // the mouse and the frame-rate count are that window's too.
  constexpr std::string_view kNotRestored =
      " LogOn RightDrag LeftDrag LastMouseX LastMouseY FrameCount FrameWindowStart Recording"
      " CaptureFps CaptureDuration CaptureStartTime CaptureFramesDue CaptureFramesDone"
      " CaptureResult ";
  if (kNotRestored.find(" " + std::string(path) + " ") != std::string_view::npos)
    return TUse::Ignore;
  return TUse::Restore;
}

// The camera may go anywhere, even to infinity (W enlarges its step without
// bound); every other number of a scene is kept finite by the program.
bool MayBeNonFinite(std::string_view path) {
  static constexpr std::string_view kCamera[] = {"xv",   "zv",         "yv",   "zpos",
                                                 "yrot", "yrotSmooth", "xrot", "CamStep"};
  for (std::string_view name : kCamera)
    if (path == name) return true;
  return false;
}

std::string Text(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

// A text taken from the file, made safe to show in a message.
std::string Shown(const std::string& s) {
  std::string out;
  for (char c : s.substr(0, 40))
    out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  return "« " + out + (s.size() > 40 ? "…" : "") + " »";
}

// Reads one object of the file (the window's or one device's) along the
// visit of the live object's fields, staging the values to restore.
class TObjectReader final : public TFieldRefVisitor {
public:
  TObjectReader(const json& object, std::string prefix, bool window, TScene& scene,
                std::string& error)
      : prefix_(std::move(prefix)), window_(window), scene_(scene), error_(error) {
    stack_.push_back(&object);
  }

  // Every value read, by its path in the object, for the checks that follow.
  std::map<std::string, double> Seen;

  void BeginObject(const char* name) override {
    const json* o = Member(name);
    if (o && !o->is_object()) {
      Fail(Full(name) + " : objet attendu");
      o = nullptr;
    }
    stack_.push_back(o);
    inner_.push_back(inner_.empty() ? std::string(name) + "." : inner_.back() + name + ".");
  }
  void EndObject() override {
    stack_.pop_back();
    inner_.pop_back();
  }
  void Null(const char* name) override {
    const json* o = Member(name);
    if (o && !o->is_null()) Fail(Full(name) + " : null attendu");
  }

private:
  std::string Local(const char* name) const { return (inner_.empty() ? "" : inner_.back()) + name; }
  std::string Full(const char* name) const { return prefix_ + Local(name); }
  void Fail(const std::string& problem) {
    if (error_.empty()) error_ = problem;
  }

  // The member of the current object, or null (and a missing field noted).
  const json* Member(const char* name) {
    if (!error_.empty() || !stack_.back()) return nullptr;
    const json& object = *stack_.back();
    const auto it = object.find(name);
    if (it == object.end()) {
      Fail("champ manquant : " + Full(name));
      return nullptr;
    }
    return &*it;
  }

  void Leaf(const char* name, TFieldRef::TKind kind, const void* p) override {
    const std::string local = Local(name);
    const TUse use = window_ ? WindowFieldUse(local) : TUse::Restore;
    if (use == TUse::Ignore) return;
    if (const json* j = Member(name)) Value(*j, local, kind, p, use);
  }

  void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                std::size_t size) override {
    const json* a = Member(name);
    if (!a) return;
    if (!a->is_array() || a->size() != n) {
      Fail(Full(name) + " : tableau de " + std::to_string(n) + " valeurs attendu");
      return;
    }
    for (std::size_t i = 0; i < n && error_.empty(); ++i)
      Value((*a)[i], Local(name) + "[" + std::to_string(i) + "]", kind,
            static_cast<const unsigned char*>(p) + i * size, TUse::Restore);
  }

  void Value(const json& j, const std::string& local, TFieldRef::TKind kind, const void* p,
             TUse use) {
    double v = 0;
    if (!Read(j, kind, v, prefix_ + local)) return;
    if (!std::isfinite(v) && !(window_ && MayBeNonFinite(local))) {
      Fail(prefix_ + local + " : valeur non finie (" + Text(v) + ")");
      return;
    }
    // A wheel's angle only accumulates, without bound: no step overflows it.
    const bool wheel_angle = local.ends_with(".Phi");
    if (!window_ && !wheel_angle && kind != TFieldRef::TKind::Int32 &&
        std::fabs(v) > kMaxDeviceValue) {
      Fail(prefix_ + local + " : " + Text(v) + " hors de l'intervalle " + Text(-kMaxDeviceValue) +
           " … " + Text(kMaxDeviceValue));
      return;
    }
    Seen[local] = v;
    if (use == TUse::Restore) scene_.Values.push_back({TFieldRef{kind, p}, v});
  }

  bool Read(const json& j, TFieldRef::TKind kind, double& v, const std::string& path) {
    switch (kind) {
    case TFieldRef::TKind::Double:
    case TFieldRef::TKind::Float:
      if (j.is_number()) {
        v = j.get<double>();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "nan") {
        v = std::numeric_limits<double>::quiet_NaN();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "inf") {
        v = std::numeric_limits<double>::infinity();
      } else if (j.is_string() && j.get_ref<const std::string&>() == "-inf") {
        v = -std::numeric_limits<double>::infinity();
      } else {
        Fail(path + " : nombre attendu");
        return false;
      }
      if (kind == TFieldRef::TKind::Float && std::isfinite(v) && std::fabs(v) > FLT_MAX) {
        Fail(path + " : nombre trop grand");
        return false;
      }
      return true;
    case TFieldRef::TKind::Int32:
      if (j.is_number_unsigned() && j.get<std::uint64_t>() <= static_cast<std::uint64_t>(kIntMax)) {
        v = static_cast<double>(j.get<std::uint64_t>());
        return true;
      }
      if (j.is_number_integer() && !j.is_number_unsigned() &&
          j.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
          j.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max()) {
        v = static_cast<double>(j.get<std::int64_t>());
        return true;
      }
      Fail(path + " : entier de 32 bits attendu");
      return false;
    case TFieldRef::TKind::Bool:
      if (j.is_boolean()) {
        v = j.get<bool>() ? 1 : 0;
        return true;
      }
      Fail(path + " : true ou false attendu");
      return false;
    case TFieldRef::TKind::None:
      break;
    }
    return false;
  }

  std::string prefix_; // "Robots[3]." for a device, "" for the window
  bool window_;
  TScene& scene_;
  std::string& error_;
  std::vector<const json*> stack_; // the objects entered; null after a problem
  std::vector<std::string> inner_; // "WheelR." inside an owned object
};

// The largest angle below a whole turn.
const double kBelowTwoPi = std::nextafter(2 * kPi, 0.0);

// A wheel from 1 mm to 10 m across its radius; teeth and rails from 0.1 mm
// to 1 m wide.
constexpr double kMinWheelRadius = 1e-3, kMaxWheelRadius = 10;
constexpr double kMinSize = 1e-4, kMaxSize = 1;

struct TRange {
  const char* Path;
  double Min, Max;
};

// A value outside [Min, Max] is refused; a field the object lacks is not checked.
bool InRange(const std::map<std::string, double>& seen, const std::string& prefix, const TRange& r,
             std::string& error) {
  const auto it = seen.find(r.Path);
  if (it == seen.end() || (it->second >= r.Min && it->second <= r.Max)) return true;
  error = prefix + r.Path + " : " + Text(it->second) + " hors de l'intervalle " + Text(r.Min) +
          " … " + Text(r.Max);
  return false;
}

// Bounds of device fields that index, count or select something: outside
// them a device would read past a table, overflow a counter or stall.
struct TDeviceRange {
  const char* Class; // null: any device with the field
  TRange Range;
};
const TDeviceRange kDeviceRanges[] = {
    {"TRail", {"RailType", kRailStraight, kRailLoop}},
    {"TRailAimant", {"RailType", kRailStraight, kRailLoop}},
    {"TMRVlin", {"ForceModel", 1, 3}},
    {"TMRVlin", {"Phase", 0, 2}},
    {nullptr, {"CtrlPeriod", 0, kIntMax}},
    {nullptr, {"CtrlCountdown", 0, kIntMax}},
    // Angles where each step's single wrap keeps them (a reset returns the
    // robots' headings to Theta0); the tick takes one outside for a runaway.
    {"TRobot4", {"Theta", -kPi, kPi}},
    {"TRobot4", {"Theta0", -kPi, kPi}},
    {"TRobotK", {"Theta", -kPi, kPi}},
    {"TRobotK", {"Theta0", -kPi, kPi}},
    {"TMonocycle", {"State[0]", -kPi, kPi}},
    {"TMonocycle", {"Wheel.Phi", -kBelowTwoPi, kBelowTwoPi}},
    {"TBicycle", {"State[0]", -kPi, kPi}},
    {"TBicycle", {"State[2]", -kPi, kPi}},
    {"TMSlin", {"PendTheta", -kPi, kPi}},
    {"TMRVlin", {"Theta", 0, kBelowTwoPi}},
    {"TMRVlin", {"ToothTheta", 0, kBelowTwoPi}},
    {"TMSlin", {"Theta", 0, kBelowTwoPi}},
    {"TMSlin", {"MagnetTheta", 0, kBelowTwoPi}},
    // The carriages' sizes, from which their masses and inertias follow.
    {nullptr, {"ToothWidth", kMinSize, kMaxSize}},
    {nullptr, {"RailWidth", kMinSize, kMaxSize}},
    // The wheels' radii divide their turning rates.
    {nullptr, {"Wheel.R", kMinWheelRadius, kMaxWheelRadius}},
    {nullptr, {"WheelR.R", kMinWheelRadius, kMaxWheelRadius}},
    {nullptr, {"WheelL.R", kMinWheelRadius, kMaxWheelRadius}},
    {nullptr, {"WheelRL.R", kMinWheelRadius, kMaxWheelRadius}},
    {nullptr, {"WheelRR.R", kMinWheelRadius, kMaxWheelRadius}},
};

// The pitch of each rail's teeth or magnets.
const std::pair<const char*, const char*> kRailPitches[] = {{"TRail", "ToothPitch"},
                                                            {"TRailAimant", "MagnetPitch"}};

bool CheckRail(const std::map<std::string, double>& seen, const std::string& prefix,
               const char* pitch_name, std::string& error) {
  const double radius = seen.at("CurveRadius");
  const double pitch = seen.at(pitch_name);
  if (!(radius > 0)) {
    error = prefix + "CurveRadius : " + Text(radius) + " n'est pas positif";
    return false;
  }
  const double samples = RailLength(static_cast<std::int32_t>(seen.at("RailType")), radius) / pitch;
  if (!(pitch > 0) || !(samples <= kMaxRailSamples)) {
    error = prefix + pitch_name + " : " + Text(pitch) + " donne plus de " + Text(kMaxRailSamples) +
            " pas sur le rail";
    return false;
  }
  return true;
}

bool CheckDevice(const json& object, const TRobot& live, std::int32_t index, std::int32_t rob_sel,
                 const std::vector<std::string>& known_classes, TScene& scene, std::string& error) {
  const std::string prefix = "Robots[" + std::to_string(index) + "].";
  if (!object.is_object()) {
    error = "Robots[" + std::to_string(index) + "] : objet attendu";
    return false;
  }
  const auto cls = object.find("class");
  if (cls == object.end()) {
    error = "champ manquant : " + prefix + "class";
    return false;
  }
  if (!cls->is_string()) {
    error = prefix + "class : texte attendu";
    return false;
  }
  const std::string& name = cls->get_ref<const std::string&>();
  if (name != live.ClassName()) {
    bool known = false;
    for (const std::string& k : known_classes)
      known = known || k == name;
    error = "Robots[" + std::to_string(index) + "] : " +
            (known ? name + " au lieu de " + live.ClassName()
                   : "classe d'appareil inconnue " + Shown(name));
    return false;
  }

  TObjectReader reader(object, prefix, false, scene, error);
  live.VisitFields(reader);
  if (!error.empty()) return false;
  const auto& seen = reader.Seen;
  // What the device set fixes: its type, its place and the one selected device.
  const struct {
    const char* Path;
    double Expected;
  } fixed[] = {{"TypeCode", static_cast<double>(live.TypeCode)},
               {"Index", static_cast<double>(index)},
               {"Selected", index == rob_sel ? 1.0 : 0.0}};
  for (const auto& f : fixed) {
    const double v = seen.at(f.Path);
    if (v != f.Expected) {
      error =
          prefix + f.Path + " : " + Text(v) + " au lieu de " + Text(f.Expected) +
          (std::string(f.Path) == "Selected" ? " (RobSel " + std::to_string(rob_sel) + ")" : "");
      return false;
    }
  }
  for (const TDeviceRange& r : kDeviceRanges)
    if ((!r.Class || name == r.Class) && !InRange(seen, prefix, r.Range, error)) return false;
  // What the instruments refuse for a parameter, a scene may not set either.
  for (const TParameterDescription& p : live.Description().Parameters)
    if (!InRange(seen, prefix, {p.Field, p.Min, p.Max}, error)) return false;
  for (const auto& [rail_class, pitch] : kRailPitches)
    if (name == rail_class && !CheckRail(seen, prefix, pitch, error)) return false;
  return true;
}

// "ligne L, colonne C" of the byte at `offset` (counted from 1).
std::string Where(std::string_view text, std::size_t offset) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i + 1 < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "ligne " + std::to_string(line) + ", colonne " + std::to_string(column);
}

bool Parse(std::string_view text, const TGL_Form& form, TScene& scene, std::string& error) {
  if (text.empty()) {
    error = "fichier vide";
    return false;
  }
  json root;
  try {
    root = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& e) {
    error = "JSON invalide (" + Where(text, e.byte) + ")";
    return false;
  } catch (const json::exception&) {
    error = "JSON invalide (nombre hors des limites)";
    return false;
  }

  const auto format = root.is_object() ? root.find("format") : root.end();
  if (!root.is_object() || format == root.end() || *format != kSceneFormat) {
    error = std::string("ce fichier n'est pas une scène Kinemo (\"format\" doit valoir \"") +
            kSceneFormat + "\")";
    return false;
  }
  const auto version = root.find("version");
  if (version == root.end() || !version->is_number_integer()) {
    error = "version : entier attendu";
    return false;
  }
  // Fields a later version adds would be read from files of that version
  // only, and take their defaults in older ones.
  if (version->is_number_unsigned() ? version->get<std::uint64_t>() > kSceneVersion
                                    : version->get<std::int64_t>() > kSceneVersion) {
    error = "scène de version " + version->dump() + ", plus récente que ce programme (version " +
            std::to_string(kSceneVersion) + ")";
    return false;
  }
  if (version->get<std::int64_t>() < 1) {
    error = "version de scène inconnue : " + version->dump();
    return false;
  }

  TObjectReader window(root, "", true, scene, error);
  form.VisitFields(window);
  if (!error.empty()) return false;
  const auto& seen = window.Seen;
  if (seen.at("NbRobots") != form.NbRobots) {
    error =
        "NbRobots : " + Text(seen.at("NbRobots")) + " au lieu de " + std::to_string(form.NbRobots);
    return false;
  }
  const TFormDlgViewModel& view = form.FormDlgView;
  const TRange window_ranges[] = {
      {"SimTime", 0, DBL_MAX},
      {"Dt", 0, kMaxDt},
      // As the toolbar's bars set them.
      {"Fs", form.SBfs.Min * 0.1, form.SBfs.Max * 0.1},
      {"Timer1.Interval", static_cast<double>(form.SBtimer.Min),
       static_cast<double>(form.SBtimer.Max)},
      {"RobSel", 0, form.NbRobots - 1.0},
      {"DemoPhase", 0, 9},
      {"ToothWidth", kMinSize, kMaxSize},
      {"RailWidth", kMinSize, kMaxSize},
      {"DemoStep", 0, kIntMax},
      {"DemoLen1", 1, kIntMax},
      {"DemoLen2", 1, kIntMax},
      {"DemoLen3", 1, kIntMax},
      {"FormDlgView.ScrollBarzpos", static_cast<double>(view.ScrollBarzpos.Min),
       static_cast<double>(view.ScrollBarzpos.Max)},
      {"FormDlgView.ScrollBaryrot", static_cast<double>(view.ScrollBaryrot.Min),
       static_cast<double>(view.ScrollBaryrot.Max)},
      {"FormDlgView.ScrollBarxrot", static_cast<double>(view.ScrollBarxrot.Min),
       static_cast<double>(view.ScrollBarxrot.Max)},
  };
  for (const TRange& r : window_ranges)
    if (!InRange(seen, "", r, error)) return false;

  const auto robots = root.find("Robots");
  if (robots == root.end()) {
    error = "champ manquant : Robots";
    return false;
  }
  if (!robots->is_array()) {
    error = "Robots : tableau attendu";
    return false;
  }
  if (robots->size() != static_cast<std::size_t>(form.NbRobots)) {
    error = "Robots : " + std::to_string(robots->size()) + " appareils au lieu de " +
            std::to_string(form.NbRobots);
    return false;
  }
  std::vector<std::string> known_classes;
  for (const TRobot* r : *form.Robots)
    known_classes.emplace_back(r->ClassName());
  if (form.RefRobot) known_classes.emplace_back(form.RefRobot->ClassName());
  const auto rob_sel = static_cast<std::int32_t>(seen.at("RobSel"));
  for (std::int32_t i = 0; i < form.NbRobots; ++i)
    if (!CheckDevice((*robots)[i], *(*form.Robots)[i], i, rob_sel, known_classes, scene, error))
      return false;
  return true;
}

} // namespace

bool ParseScene(std::string_view text, const TGL_Form& form, TScene& scene, std::string& error) {
  scene.Values.clear();
  error.clear();
  if (Parse(text, form, scene, error)) return true;
  scene.Values.clear();
  return false;
}

bool ReadSceneFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  // Without waiting: a FIFO would block until a writer came, deaf to a stop
  // signal. Only a regular file is read; a pipe or a device is refused at once.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error = FileErrorText(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = st.st_mode == 0       ? FileErrorText(errno)
            : S_ISDIR(st.st_mode) ? FileErrorText(EISDIR)
                                  : "ce n'est pas un fichier ordinaire (un tube, un périphérique)";
    ::close(fd);
    return false;
  }
  char buf[65536];
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = FileErrorText(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > kMaxSceneBytes) {
      error = "fichier trop grand pour une scène (plus de " + std::to_string(kMaxSceneBytes >> 20) +
              " Mo)";
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  return true;
}

std::string FileErrorText(int e) {
  switch (e) {
  case ENOENT:
    return "fichier ou dossier introuvable";
  case EACCES:
  case EPERM:
    return "accès refusé";
  case EISDIR:
    return "c'est un dossier";
  case ENOTDIR:
    return "un élément du chemin n'est pas un dossier";
  case ENOSPC:
    return "plus de place sur le disque";
  case EDQUOT:
    return "quota disque dépassé";
  case EFBIG:
    return "fichier trop grand pour le système";
  case EROFS:
    return "système de fichiers en lecture seule";
  case ENAMETOOLONG:
    return "nom de fichier trop long";
  case EIO:
    return "erreur d'entrée-sortie";
  case ENXIO: // a FIFO opened without waiting, while no program reads it
    return "aucun programme ne lit ce tube ou ce périphérique";
  default:
    return std::string(std::strerror(e)) + " (errno " + std::to_string(e) + ")";
  }
}
