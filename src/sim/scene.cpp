// The scene reader: the JSON is walked alongside the window's own field lists
// (the visitors), so every field is found by the name the dump gave it and no
// list of fields is kept here. Each value is checked for its type, for being
// finite and, where the program keeps it within bounds, for its range; it is
// staged with the field it belongs to and set only once the whole file passed.
#include "sim/scene.h"

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
#include <memory>
#include <nlohmann/json.hpp>

#include "models/constants.h"
#include "models/device_description.h"
#include "models/linear/rail_shape.h"
#include "sim/device_registry.h"
#include "sim/divergence.h"
#include "sim/simulation.h"
#include "sim/state_json.h"
#include "sim/step_limit.h"

namespace {

using json = nlohmann::json;

constexpr double kIntMax = std::numeric_limits<std::int32_t>::max();

// The rails are drawn and searched sample by sample, one per tooth or magnet
// pitch along their length; beyond this count a scene would stall the program.
constexpr double kMaxRailSamples = 100000;

// The field of the root (class null) or of a device of that class that a
// version after the first added, or null.
const TAddedField* Added(const char* cls, std::string_view path) {
  for (const TAddedField& f : kAddedFields)
    if (path == f.Path && (cls && f.Class ? std::string_view(cls) == f.Class : cls == f.Class))
      return &f;
  return nullptr;
}

// The version that added a field, or 1.
int AddedIn(const char* cls, std::string_view path) {
  const TAddedField* f = Added(cls, path);
  return f ? f->Since : 1;
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
  // `host` for the root object, null for a device's, of class `cls`.
  TObjectReader(const json& object, std::string prefix, const TSceneHost* host, TScene& scene,
                std::string& error, const char* cls = nullptr)
      : prefix_(std::move(prefix)), host_(host), window_(host != nullptr), class_(cls),
        scene_(scene), error_(error) {
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

  // The member of the current object, or null (and a missing field noted,
  // unless the file's version is older than the field).
  const json* Member(const char* name) {
    if (!error_.empty() || !stack_.back()) return nullptr;
    const json& object = *stack_.back();
    const auto it = object.find(name);
    if (it == object.end()) {
      if (AddedIn(class_, Local(name)) <= scene_.Version) Fail("champ manquant : " + Full(name));
      return nullptr;
    }
    return &*it;
  }

  void Leaf(const char* name, TFieldRef::TKind kind, const void* p) override {
    const std::string local = Local(name);
    const TSceneFieldUse use = host_ ? host_->SceneFieldUse(local) : TSceneFieldUse::Restore;
    if (use == TSceneFieldUse::Ignore) return;
    if (const json* j = Member(name)) {
      Value(*j, local, kind, p, use);
    } else if (const TAddedField* added = Added(class_, local);
               error_.empty() && added && added->Since > scene_.Version) {
      // A field of a later version than the file's takes its default: a root
      // field the one documented, a device's field the one it was made with.
      if (!window_) {
        Seen[local] = TFieldRef{kind, p}.Get();
        return;
      }
      Seen[local] = added->Default;
      if (use == TSceneFieldUse::Restore)
        scene_.Values.push_back({TFieldRef{kind, p}, added->Default});
    }
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
            static_cast<const unsigned char*>(p) + i * size, TSceneFieldUse::Restore);
  }

  void Value(const json& j, const std::string& local, TFieldRef::TKind kind, const void* p,
             TSceneFieldUse use) {
    double v = 0;
    if (!Read(j, kind, v, prefix_ + local)) return;
    if (!std::isfinite(v) && !(host_ && host_->SceneFieldMayBeNonFinite(local))) {
      Fail(prefix_ + local + " : valeur non finie (" + Text(v) + ")");
      return;
    }
    // A wheel's angle only accumulates, without bound: no step overflows it.
    const bool wheel_angle = local.ends_with(".Phi");
    if (!window_ && !wheel_angle && kind != TFieldRef::TKind::Int32 &&
        std::fabs(v) > kMaxSceneValue) {
      Fail(prefix_ + local + " : " + Text(v) + " hors de l'intervalle " + Text(-kMaxSceneValue) +
           " … " + Text(kMaxSceneValue));
      return;
    }
    Seen[local] = v;
    if (use != TSceneFieldUse::Restore) return;
    // A device made for the scene takes its value now; the root's are staged.
    if (window_)
      scene_.Values.push_back({TFieldRef{kind, p}, v});
    else
      TFieldRef{kind, p}.Set(v);
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

  std::string prefix_; // "Robots[3]." for a device, "" for the root
  const TSceneHost* host_;
  bool window_;
  const char* class_; // a device's class, null for the root
  TScene& scene_;
  std::string& error_;
  std::vector<const json*> stack_; // the objects entered; null after a problem
  std::vector<std::string> inner_; // "WheelR." inside an owned object
};

// A wheel from 1 mm to 10 m across its radius; teeth and rails from 0.1 mm
// to 1 m wide.
constexpr double kMinWheelRadius = 1e-3, kMaxWheelRadius = 10;
constexpr double kMinSize = 1e-4, kMaxSize = 1;

using TRange = TFieldRange;

// A value outside [Min, Max] is refused; a field the object lacks is not checked.
bool InRange(const std::map<std::string, double>& seen, const std::string& prefix, const TRange& r,
             std::string& error) {
  const auto it = seen.find(r.Path);
  if (it == seen.end() || (it->second >= r.Min && it->second <= r.Max)) return true;
  error = prefix + r.Path + " : " + Text(it->second) + " hors de l'intervalle " + Text(r.Min) +
          " … " + Text(r.Max);
  return false;
}

// Bounds of the fields any device may have, besides those its class's
// registry entry gives: its controller's counters, checked first, then the
// sizes from which masses and inertias follow (the wheels' radii divide
// their turning rates).
const TFieldRange kCounterRanges[] = {{"CtrlPeriod", 0, kIntMax}, {"CtrlCountdown", 0, kIntMax}};
const TFieldRange kSizeRanges[] = {
    {"ToothWidth", kMinSize, kMaxSize},
    {"RailWidth", kMinSize, kMaxSize},
    {"Wheel.R", kMinWheelRadius, kMaxWheelRadius},
    {"WheelR.R", kMinWheelRadius, kMaxWheelRadius},
    {"WheelL.R", kMinWheelRadius, kMaxWheelRadius},
    {"WheelRL.R", kMinWheelRadius, kMaxWheelRadius},
    {"WheelRR.R", kMinWheelRadius, kMaxWheelRadius},
};

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

// Reads device `index` of the scene into a device made for it, of the class
// the device list gives.
bool ReadDevice(const json& object, const TDeviceClass& expected, std::int32_t index,
                std::int32_t rob_sel, const TDeviceContext* context, TScene& scene,
                std::string& error) {
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
  if (name != expected.ClassName) {
    error = "Robots[" + std::to_string(index) + "] : " +
            (FindDeviceClass(name) ? name + " au lieu de " + expected.ClassName
                                   : "classe d'appareil inconnue " + Shown(name));
    return false;
  }

  std::unique_ptr<TRobot> device = expected.Make(0, 0, index, context);
  const TRobot& live = *device;
  TObjectReader reader(object, prefix, nullptr, scene, error, expected.ClassName);
  live.VisitFields(reader);
  if (!error.empty()) return false;
  const auto& seen = reader.Seen;
  // What the device set fixes: its type, its place and the one selected device.
  const struct {
    const char* Path;
    double Expected;
  } fixed[] = {{"TypeCode", static_cast<double>(expected.TypeCode)},
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
  for (const TFieldRange& r : kCounterRanges)
    if (!InRange(seen, prefix, r, error)) return false;
  for (const TFieldRange& r : expected.Ranges)
    if (!InRange(seen, prefix, r, error)) return false;
  for (const TFieldRange& r : kSizeRanges)
    if (!InRange(seen, prefix, r, error)) return false;
  // What the instruments refuse for a parameter, a scene may not set either.
  for (const TParameterDescription& p : live.Description().Parameters)
    if (!InRange(seen, prefix, {p.Field, p.Min, p.Max}, error)) return false;
  if (expected.Pitch && !CheckRail(seen, prefix, expected.Pitch, error)) return false;
  scene.Devices.push_back(std::move(device));
  return true;
}

// The device list: "Devices" from version 2 on, the program's nine before.
bool ReadDeviceList(const json& root, TScene& scene, std::vector<TDevicePlan>& plan,
                    std::string& error) {
  scene.Classes = StandardDeviceSet();
  if (scene.Version >= AddedIn(nullptr, "Devices")) {
    const auto devices = root.find("Devices");
    if (devices == root.end()) {
      error = "champ manquant : Devices";
      return false;
    }
    if (!devices->is_array()) {
      error = "Devices : tableau de noms de classes attendu";
      return false;
    }
    scene.Classes.clear();
    for (const json& name : *devices) {
      if (!name.is_string() || scene.Classes.size() >= kMaxDevices) break;
      scene.Classes.push_back(name.get<std::string>());
    }
    if (scene.Classes.size() != devices->size() && scene.Classes.size() < kMaxDevices) {
      error = "Devices[" + std::to_string(scene.Classes.size()) + "] : texte attendu";
      return false;
    }
    if (devices->size() > kMaxDevices) scene.Classes.resize(kMaxDevices + 1);
  }
  if (const TSetProblem problem = PlanDeviceSet(scene.Classes, plan)) {
    error = "Devices : " + problem.French();
    return false;
  }
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

bool Parse(std::string_view text, const TSceneHost& host, TScene& scene, std::string& error) {
  if (text.empty()) {
    error = "fichier vide";
    return false;
  }
  // The JSON parser takes a NUL byte for the end of its input: what follows
  // would be ignored rather than refused as any other text after the document.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    error = "JSON invalide (" + Where(text, nul) + ")";
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
  scene.Version = static_cast<int>(version->get<std::int64_t>());

  std::vector<TDevicePlan> plan;
  if (!ReadDeviceList(root, scene, plan, error)) return false;
  const auto count = static_cast<std::int32_t>(plan.size());

  TObjectReader window(root, "", &host, scene, error);
  host.VisitSceneFields(window);
  if (!error.empty()) return false;
  const auto& seen = window.Seen;
  if (seen.at("NbRobots") != count) {
    error = "NbRobots : " + Text(seen.at("NbRobots")) + " au lieu de " + std::to_string(count);
    return false;
  }

  for (const TFieldRange& r : host.SceneRanges(count))
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
  if (robots->size() != plan.size()) {
    error = "Robots : " + std::to_string(robots->size()) + " appareils au lieu de " +
            std::to_string(count);
    return false;
  }
  const auto rob_sel = static_cast<std::int32_t>(seen.at("RobSel"));
  const TDeviceContext* context = &host.SceneSimulation();
  for (std::int32_t i = 0; i < count; ++i)
    if (!ReadDevice((*robots)[i], *plan[i].Class, i, rob_sel, context, scene, error)) return false;
  scene.Root = seen;
  error = host.SceneProblem(scene);
  return error.empty();
}

} // namespace

bool ParseScene(std::string_view text, const TSceneHost& host, TScene& scene, std::string& error) {
  scene.Clear();
  error.clear();
  if (Parse(text, host, scene, error)) return true;
  scene.Clear();
  return false;
}

void ApplyScene(TScene& scene, TSimulation& sim) {
  for (const TScene::TValue& v : scene.Values)
    v.Field.Set(v.Value);
  sim.AdoptDevices(std::move(scene.Devices));
  scene.Clear();
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
