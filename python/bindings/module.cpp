// kinemo._core: the simulation of the program, from Python. A thin layer: it
// converts, checks what Python hands it, releases the GIL for long runs and
// turns refusals into exceptions; everything it does goes through the same
// session, handlers and checks as the command line.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "io/safe_output.h"
#include "models/device_description.h"
#include "models/field_access.h"
#include "platform/headless/session.h"
#include "sim/device_registry.h"
#include "sim/divergence.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "sim/step_limit.h"

namespace py = pybind11;

namespace {

// Runs longer than this many ticks let other Python threads run meanwhile;
// shorter ones are not worth the cost of letting go of the interpreter.
constexpr long long kReleaseTicks = 64;

// A Python-side Simulation: one session, used by one thread at a time.
class TPySimulation {
public:
  TPySimulation() = default;
  explicit TPySimulation(TGL_Form& form) : session_(form) {}

  TSession& Session() { return session_; }
  const TSession& Session() const { return session_; }

  // Marks the simulation in use for the life of the guard; a second thread
  // that comes meanwhile is refused rather than let race.
  class TUse {
  public:
    explicit TUse(const TPySimulation& sim) : busy_(sim.busy_) {
      if (busy_.exchange(true))
        throw std::runtime_error("this Simulation is in use by another thread");
    }
    ~TUse() { busy_ = false; }
    TUse(const TUse&) = delete;
    TUse& operator=(const TUse&) = delete;

  private:
    std::atomic<bool>& busy_;
  };

  // Message boxes the program showed, as Python warnings.
  void WarnMessages() {
    for (const std::string& text : session_.TakeMessages())
      if (PyErr_WarnEx(PyExc_UserWarning, text.c_str(), 1) != 0) throw py::error_already_set();
  }

private:
  TSession session_;
  mutable std::atomic<bool> busy_{false};
};

using TSimPtr = std::shared_ptr<TPySimulation>;

std::vector<std::string> Words(const py::object& actions) {
  std::vector<std::string> words;
  if (py::isinstance<py::str>(actions)) {
    std::istringstream in(actions.cast<std::string>());
    for (std::string w; in >> w;)
      words.push_back(w);
    return words;
  }
  for (const py::handle item : actions) {
    if (!py::isinstance<py::str>(item)) throw py::type_error("actions must be strings");
    std::istringstream in(item.cast<std::string>());
    for (std::string w; in >> w;)
      words.push_back(w);
  }
  return words;
}

// A field of the state dump as Python has it: an int for whole-number fields,
// a bool for flags, a float otherwise.
py::object FieldValue(const TFieldRef& f) {
  switch (f.Kind) {
  case TFieldRef::TKind::Bool:
    return py::bool_(f.Get() != 0);
  case TFieldRef::TKind::Int32:
    return py::int_(static_cast<long long>(f.Get()));
  default:
    return py::float_(f.Get());
  }
}

// One device of a simulation, by its place; stale once the set is made anew.
class TPyDevice {
public:
  TPyDevice(TSimPtr sim, std::int32_t index)
      : sim_(std::move(sim)), index_(index), set_(sim_->Session().Sim().SetVersion()) {}

  TRobot& Robot() const {
    const TSimulation& s = sim_->Session().Sim();
    if (s.SetVersion() != set_ || index_ >= s.NbRobots)
      throw std::runtime_error("the simulation's devices were made anew: this device is gone");
    return s.Device(index_);
  }
  const TDeviceDescription& Description() const { return Robot().Description(); }
  std::int32_t Index() const { return index_; }
  const TSimPtr& Sim() const { return sim_; }

  TFieldRef Field(const std::string& path) const {
    const TRobot& r = Robot();
    const TFieldRef f = FindField(r, path);
    if (!f)
      throw py::key_error("device " + std::to_string(index_) + " (" + r.ClassName() +
                          ") has no field " + path);
    return f;
  }

private:
  TSimPtr sim_;
  std::int32_t index_;
  std::uint64_t set_;
};

// The manual commands of a device, settable every tick within their bounds.
class TPyInputs {
public:
  explicit TPyInputs(TPyDevice device) : device_(std::move(device)) {}

  const TInputDescription& Input(const std::string& name) const {
    const TInputDescription* i = device_.Description().FindInput(name);
    if (!i) {
      std::string names;
      for (const TInputDescription& d : device_.Description().Inputs)
        names += (names.empty() ? "" : ", ") + std::string(d.Field);
      throw py::key_error(std::string(device_.Robot().ClassName()) + " has no input " + name +
                          (names.empty() ? " (it has none)" : " (its inputs: " + names + ")"));
    }
    return *i;
  }
  double Bound(const TInputDescription& i) const { return device_.Field(i.Bound).Get(); }
  double Get(const std::string& name) const { return device_.Field(Input(name).Field).Get(); }
  // Held within the bounds, as the keys hold the command.
  void Set(const std::string& name, double value) const {
    const TInputDescription& i = Input(name);
    if (!std::isfinite(value)) throw py::value_error(name + " must be a finite number");
    TPySimulation::TUse use(*device_.Sim());
    const double b = Bound(i);
    device_.Field(i.Field).Set(std::fmin(std::fmax(value, -b), b));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TInputDescription& i : device_.Description().Inputs)
      names.emplace_back(i.Field);
    return names;
  }

private:
  TPyDevice device_;
};

std::string StepRefusal(double dt) {
  std::ostringstream text;
  text << "dt must be between 0 and " << kMaxDt << " s, not " << dt;
  return text.str();
}

TSimPtr MakeSimulation(const std::optional<std::vector<std::string>>& devices, double dt) {
  auto sim = std::make_shared<TPySimulation>();
  TGL_Form& form = sim->Session().Form();
  if (devices) {
    if (const TSetProblem problem = form.SetDevices(*devices))
      throw py::value_error(problem.English());
  }
  if (!form.SetStep(dt)) throw py::value_error(StepRefusal(dt));
  sim->Session().TakeMessages();
  return sim;
}

TSimPtr FromJson(const std::string& text) {
  auto sim = std::make_shared<TPySimulation>();
  std::string error;
  if (!sim->Session().OpenScene(text, error)) throw py::value_error("not a scene: " + error);
  sim->Session().TakeMessages();
  return sim;
}

// The name of the capsule kinemo._window hands over its window's form in.
constexpr const char* kFormCapsule = "kinemo.window_form";

// A Simulation over the form of the window kinemo._window shows.
TSimPtr BorrowForm(const py::capsule& form) {
  if (form.name() == nullptr || std::string(form.name()) != kFormCapsule)
    throw py::type_error("not a window's form");
  TGL_Form* shown = form;
  return std::make_shared<TPySimulation>(*shown);
}

// Once the window closes, the borrowed Simulation goes on by itself.
void DetachForm(TPySimulation& sim) {
  std::string error;
  if (!sim.Session().Detach(error)) throw py::value_error(error);
}

// "8.PendTheta" -> device 8's field.
TFieldRef Recorded(const TSimPtr& sim, const std::string& name) {
  const auto dot = name.find('.');
  std::size_t used = 0;
  long index = -1;
  try {
    index = std::stol(name.substr(0, dot), &used);
  } catch (const std::exception&) {
  }
  if (dot == std::string::npos || used != dot || index < 0 ||
      index >= sim->Session().Sim().NbRobots)
    throw py::value_error("record names a device's field as INDEX.FIELD (e.g. \"8.PendTheta\"), "
                          "the index within the set: " +
                          name);
  try {
    return TPyDevice(sim, static_cast<std::int32_t>(index)).Field(name.substr(dot + 1));
  } catch (const py::key_error& e) {
    throw py::value_error(std::string(e.what()));
  }
}

// Writes one value of a device's state as a scene may hold it: a flag 0 or 1,
// a number finite and within what the scene reader accepts for that field;
// counters and codes are not written this way.
void SetStateField(const TPyDevice& d, const std::string& field, double value) {
  const TFieldRef f = d.Field(field);
  const TRobot& robot = d.Robot();
  for (const TParameterDescription& p : robot.Description().Parameters)
    if (field == p.Field)
      throw py::value_error(field + " is a parameter: set it with device[\"" + field + "\"]");
  if (f.Kind == TFieldRef::TKind::Int32)
    throw py::value_error(field + " is a counter or a code, which only the model sets");
  if (f.Kind == TFieldRef::TKind::Bool && value != 0 && value != 1)
    throw py::value_error(field + " is a flag: 0 or 1, not " +
                          py::repr(py::float_(value)).cast<std::string>());
  if (!std::isfinite(value) || std::fabs(value) > kMaxSceneValue)
    throw py::value_error(field + " must be finite and within ±1e18");
  if (const TDeviceClass* cls = FindDeviceClass(robot.ClassName()))
    for (const TFieldRange& r : cls->Ranges)
      if (field == r.Path && !(value >= r.Min && value <= r.Max)) {
        std::ostringstream text;
        text << field << " must be within " << r.Min << " .. " << r.Max << ", not " << value;
        throw py::value_error(text.str());
      }
  TPySimulation::TUse use(*d.Sim());
  f.Set(value);
}

// Many simulations stepped together from arrays: for each, its inputs set
// from one row of actions (held within their bounds, as the keys hold them),
// `ticks` ticks of the simulation alone (no frame counted, no log or
// recording: what a program needs of a tick), then its observed fields read.
class TPyBatch {
public:
  TPyBatch(std::vector<TSimPtr> sims, const std::vector<std::string>& inputs,
           const std::vector<std::string>& observe, long long ticks)
      : sims_(std::move(sims)), ticks_(ticks) {
    if (sims_.empty()) throw py::value_error("a batch needs at least one simulation");
    if (ticks_ < 1) throw py::value_error("ticks must be 1 or more");
    for (const TSimPtr& sim : sims_) {
      if (!sim) throw py::value_error("a batch holds simulations, not None");
      std::vector<TInput> in;
      for (const std::string& name : inputs) {
        const TFieldRef f = Recorded(sim, name);
        const auto dot = name.find('.');
        const TPyDevice device(sim, std::stoi(name.substr(0, dot)));
        const TInputDescription* i = device.Description().FindInput(name.substr(dot + 1));
        if (!i) throw py::value_error(name + " is not an input of its device");
        in.push_back({f, device.Field(i->Bound)});
      }
      inputs_.push_back(std::move(in));
      std::vector<TFieldRef> obs;
      for (const std::string& name : observe)
        obs.push_back(Recorded(sim, name));
      observed_.push_back(std::move(obs));
    }
    a_ = inputs.size();
    o_ = observe.size();
  }

  std::size_t Size() const { return sims_.size(); }

  py::array_t<double>
  Step(const py::array_t<double, py::array::c_style | py::array::forcecast>& actions,
       const std::optional<py::array_t<bool, py::array::c_style | py::array::forcecast>>& mask) {
    const std::size_t n = sims_.size();
    if (mask && mask->size() != static_cast<py::ssize_t>(n))
      throw py::value_error("mask: " + std::to_string(n) + " flags expected");
    const bool* stepped = mask ? mask->data() : nullptr;
    if (actions.size() != static_cast<py::ssize_t>(n * a_))
      throw py::value_error("actions: " + std::to_string(n) + " x " + std::to_string(a_) +
                            " values expected, not " + std::to_string(actions.size()));
    const double* a = actions.data();
    CheckFinite(a, n * a_);
    py::array_t<double> out({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(o_)});
    double* o = out.mutable_data();
    std::vector<std::unique_ptr<TPySimulation::TUse>> uses;
    uses.reserve(n);
    for (const TSimPtr& sim : sims_)
      uses.push_back(std::make_unique<TPySimulation::TUse>(*sim));
    {
      std::optional<py::gil_scoped_release> free;
      if (n * static_cast<std::size_t>(ticks_) >= static_cast<std::size_t>(kReleaseTicks))
        free.emplace();
      for (std::size_t s = 0; s < n; ++s) {
        if (!stepped || stepped[s]) Advance(s, a + s * a_);
        Read(s, o + s * o_);
      }
    }
    return out;
  }

  // A batch of one, in lists: for one environment stepped from Python, where
  // arrays of a few values cost more than the tick.
  std::vector<double> StepOne(const std::vector<double>& actions) {
    if (sims_.size() != 1) throw py::value_error("step_one is for a batch of one simulation");
    if (actions.size() != a_)
      throw py::value_error("actions: " + std::to_string(a_) + " values expected, not " +
                            std::to_string(actions.size()));
    CheckFinite(actions.data(), a_);
    const TPySimulation::TUse use(*sims_[0]);
    Advance(0, actions.data());
    std::vector<double> out(o_);
    Read(0, out.data());
    return out;
  }

  py::array_t<double> Observe() const {
    const std::size_t n = sims_.size();
    py::array_t<double> out({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(o_)});
    for (std::size_t s = 0; s < n; ++s)
      Read(s, out.mutable_data() + s * o_);
    return out;
  }

private:
  struct TInput {
    TFieldRef Field, Bound;
  };

  static void CheckFinite(const double* values, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k)
      if (!std::isfinite(values[k])) throw py::value_error("actions must be finite numbers");
  }
  // Simulation s's inputs from its actions, held within their bounds as the
  // keys hold them, then its ticks.
  void Advance(std::size_t s, const double* actions) {
    for (std::size_t i = 0; i < a_; ++i) {
      const TInput& in = inputs_[s][i];
      const double b = in.Bound.Get();
      in.Field.Set(std::fmin(std::fmax(actions[i], -b), b));
    }
    TSimulation& sim = sims_[s]->Session().Sim();
    for (long long t = 0; t < ticks_; ++t)
      sim.Tick();
  }
  void Read(std::size_t s, double* out) const {
    for (std::size_t j = 0; j < o_; ++j)
      out[j] = observed_[s][j].Get();
  }
  std::vector<TSimPtr> sims_;
  std::vector<std::vector<TInput>> inputs_;
  std::vector<std::vector<TFieldRef>> observed_;
  std::size_t a_ = 0, o_ = 0;
  long long ticks_;
};

} // namespace

PYBIND11_MODULE(_core, m) {
  m.doc() = "Kinemo's simulation core (see the kinemo package for the documented API).";

  py::class_<TQuantityDescription>(m, "Quantity", "A live value of a device.")
      .def_property_readonly(
          "field", [](const TQuantityDescription& q) { return q.Field; },
          "Its field in the state dump.")
      .def_property_readonly(
          "label", [](const TQuantityDescription& q) { return q.Label; },
          "What the instruments call it (in French).")
      .def_property_readonly(
          "unit", [](const TQuantityDescription& q) { return q.Unit; },
          "The unit of the stored value (SI), '' for flags and counts.")
      .def("__repr__", [](const TQuantityDescription& q) {
        return "Quantity(" + std::string(q.Field) + " [" + q.Unit + "])";
      });

  py::class_<TParameterDescription>(m, "Parameter",
                                    "A constant of a device that may be changed while it runs.")
      .def_property_readonly(
          "field", [](const TParameterDescription& p) { return p.Field; },
          "Its field in the state dump.")
      .def_property_readonly(
          "label", [](const TParameterDescription& p) { return p.Label; },
          "What the instruments call it (in French).")
      .def_property_readonly(
          "unit", [](const TParameterDescription& p) { return std::string(p.Unit ? p.Unit : ""); },
          "Its unit (SI), '' for pure numbers.")
      .def_readonly("default", &TParameterDescription::Default, "The value a new device has.")
      .def_readonly("min", &TParameterDescription::Min, "The smallest value accepted.")
      .def_readonly("max", &TParameterDescription::Max, "The largest value accepted.")
      .def("__repr__", [](const TParameterDescription& p) {
        return "Parameter(" + std::string(p.Field) + " in [" + std::to_string(p.Min) + ", " +
               std::to_string(p.Max) + "] " + p.Unit + ")";
      });

  py::class_<TPyInputs>(m, "Inputs",
                        "A device's manual commands by field name: read them, or set them (each "
                        "held within plus or minus its bound, as the keys hold it).")
      .def("__getitem__", &TPyInputs::Get, py::arg("name"))
      .def("__setitem__", &TPyInputs::Set, py::arg("name"), py::arg("value"))
      .def("__contains__",
           [](const TPyInputs& in, const std::string& name) {
             const auto names = in.Names();
             return std::find(names.begin(), names.end(), name) != names.end();
           })
      .def("__iter__", [](const TPyInputs& in) { return py::iter(py::cast(in.Names())); })
      .def("__len__", [](const TPyInputs& in) { return in.Names().size(); })
      .def("keys", &TPyInputs::Names, "The inputs' field names.")
      .def(
          "bound",
          [](const TPyInputs& in, const std::string& name) { return in.Bound(in.Input(name)); },
          py::arg("name"), "The bound B of an input, held within -B .. B (a parameter).");

  py::class_<TPyDevice>(m, "Device", "One device of a simulation.")
      .def_property_readonly("index", &TPyDevice::Index, "Its place in the set.")
      .def_property_readonly(
          "class_name", [](const TPyDevice& d) { return d.Robot().ClassName(); },
          "Its class, as scenes and --devices name it (e.g. 'TMSlin').")
      .def_property_readonly(
          "name", [](const TPyDevice& d) { return d.Description().Name; },
          "What it is called in the window (in French).")
      .def_property_readonly(
          "description", [](const TPyDevice& d) { return d.Description().Text; },
          "What it is and does (in French).")
      .def_property_readonly(
          "quantities", [](const TPyDevice& d) { return d.Description().Quantities; },
          "Its live values worth watching.")
      .def_property_readonly(
          "parameters", [](const TPyDevice& d) { return d.Description().Parameters; },
          "Its constants that may be changed, with their ranges.")
      .def_property_readonly(
          "inputs", [](const TPyDevice& d) { return TPyInputs(d); },
          "Its manual commands (current, torques, traction, steering, wheel speeds).")
      .def(
          "__getitem__",
          [](const TPyDevice& d, const std::string& field) { return FieldValue(d.Field(field)); },
          py::arg("field"),
          "Any field of its state dump, by path ('PosX', 'WheelR.SpinRate', 'State[0]').")
      .def(
          "__setitem__",
          [](const TPyDevice& d, const std::string& field, double value) {
            TPySimulation::TUse use(*d.Sim());
            std::string why;
            if (!d.Sim()->Session().Form().SetParameter(d.Index(), field, value, &why))
              throw py::value_error(why);
          },
          py::arg("field"), py::arg("value"),
          "Sets a parameter with the instruments' checks (ValueError naming the range).")
      .def("set_state", &SetStateField, py::arg("field"), py::arg("value"),
           "Writes one value of the device's state as a scene may hold it (a start state "
           "of your own): numbers finite and within the reader's bounds, flags 0 or 1; "
           "parameters go through device[field] = value. ValueError otherwise.")
      .def(
          "press",
          [](const TPyDevice& d, const std::string& key) {
            TSession& s = d.Sim()->Session();
            std::vector<TAction> actions;
            std::string error;
            if (!s.ParseActions({"combo:" + std::to_string(d.Index()), "key:" + key}, actions,
                                error))
              throw py::value_error(error);
            {
              TPySimulation::TUse use(*d.Sim());
              if (s.Sim().RobSel != d.Index()) s.ApplyActions({actions[0]});
              s.ApplyActions({actions[1]});
            }
            d.Sim()->WarnMessages();
          },
          py::arg("key"),
          "Presses a key with this device selected (it is chosen in the device list first), "
          "as in the window: 'Num8', 'G', 'Ctrl+M', 'Space'.")
      .def("__repr__", [](const TPyDevice& d) {
        return "<Device " + std::to_string(d.Index()) + " " + d.Robot().ClassName() + ">";
      });

  py::class_<TPySimulation, TSimPtr>(m, "Simulation",
                                     "One simulation of a set of devices, as the window runs it.")
      .def(py::init(&MakeSimulation), py::arg("devices") = py::none(), py::arg("dt") = 0.01,
           "devices: None for the program's nine, paused, the synchronous carriage selected; "
           "else a list of class names (e.g. ['TRailAimant', 'TMSlin']). dt: the step in "
           "seconds, as the options dialog takes it. ValueError for a set or step refused.")
      .def(
          "apply",
          [](TPySimulation& sim, const py::object& actions) {
            TSession& s = sim.Session();
            std::vector<TAction> checked;
            std::string error;
            if (!s.ParseActions(Words(actions), checked, error)) throw py::value_error(error);
            {
              TPySimulation::TUse use(sim);
              py::gil_scoped_release free;
              s.ApplyActions(checked);
            }
            sim.WarnMessages();
          },
          py::arg("actions"),
          "Applies actions in the grammar of the command line's --do ('menu:Animate "
          "ticks:100'), all checked first: ValueError, and nothing applied, if one is refused.")
      .def(
          "step",
          [](TPySimulation& sim, long long ticks) {
            if (ticks < 0) throw py::value_error("ticks must be 0 or more");
            TPySimulation::TUse use(sim);
            if (ticks < kReleaseTicks) {
              sim.Session().Step(ticks);
            } else {
              py::gil_scoped_release free;
              sim.Session().Step(ticks);
            }
          },
          py::arg("ticks") = 1,
          "Runs exactly `ticks` ticks, each as 'Pas à pas' does (the timer is paused first).")
      .def_property_readonly(
          "time", [](const TPySimulation& sim) { return sim.Session().Sim().SimTime; },
          "Simulated time, seconds.")
      .def_property_readonly(
          "ticks",
          [](const TPySimulation& sim) {
            return static_cast<long long>(sim.Session().Sim().Ticks);
          },
          "Ticks run since the set was made or reset.")
      .def_property(
          "dt", [](const TPySimulation& sim) { return sim.Session().Sim().Dt; },
          [](TPySimulation& sim, double dt) {
            TPySimulation::TUse use(sim);
            if (!sim.Session().Form().SetStep(dt)) throw py::value_error(StepRefusal(dt));
          },
          "The integration step of a tick, seconds (0 to 0.05, as the options dialog takes it).")
      .def_property_readonly(
          "devices",
          [](const TSimPtr& sim) {
            std::vector<TPyDevice> devices;
            for (std::int32_t i = 0; i < sim->Session().Sim().NbRobots; ++i)
              devices.emplace_back(sim, i);
            return devices;
          },
          "The devices of the set, in order.")
      .def_property_readonly(
          "selected", [](const TPySimulation& sim) { return sim.Session().Sim().RobSel; },
          "The index of the selected device (the keys' device).")
      .def(
          "select",
          [](TPySimulation& sim, std::int32_t index) {
            std::vector<TAction> actions;
            std::string error;
            if (!sim.Session().ParseActions({"combo:" + std::to_string(index)}, actions, error))
              throw py::value_error("no device " + std::to_string(index) + " (devices 0 to " +
                                    std::to_string(sim.Session().Sim().NbRobots - 1) + ")");
            TPySimulation::TUse use(sim);
            sim.Session().ApplyActions(actions);
          },
          py::arg("index"), "Selects a device, as the device list of the toolbar does.")
      .def(
          "to_json",
          [](const TPySimulation& sim) {
            TPySimulation::TUse use(sim);
            return sim.Session().SceneJson();
          },
          "The whole state as a scene (JSON text), as --state writes it.")
      .def(
          "open_json",
          [](TPySimulation& sim, const std::string& text) {
            std::string error;
            {
              TPySimulation::TUse use(sim);
              if (!sim.Session().OpenScene(text, error))
                throw py::value_error("not a scene: " + error);
            }
            sim.WarnMessages();
          },
          py::arg("text"),
          "Opens a scene's text in this simulation, as the window opens a file (ValueError "
          "with the reason, and the state as it was, if it is refused).")
      .def_static("from_json", &FromJson, py::arg("text"),
                  "A simulation from a scene's text, checked as the window checks it "
                  "(ValueError with the reason).")
      .def(
          "run",
          [](const TSimPtr& sim, long long ticks, const std::vector<std::string>& record,
             long long every) {
            if (ticks < 0) throw py::value_error("ticks must be 0 or more");
            if (every < 1) throw py::value_error("every must be 1 or more");
            std::vector<TFieldRef> fields;
            for (const std::string& name : record)
              fields.push_back(Recorded(sim, name));
            std::vector<double> time;
            std::vector<std::vector<double>> values;
            {
              TPySimulation::TUse use(*sim);
              py::gil_scoped_release free;
              sim->Session().Run(ticks, every, fields, time, values);
            }
            py::dict out;
            out["time"] = py::array_t<double>(static_cast<py::ssize_t>(time.size()), time.data());
            for (std::size_t c = 0; c < record.size(); ++c)
              out[py::str(record[c])] =
                  py::array_t<double>(static_cast<py::ssize_t>(values[c].size()), values[c].data());
            return out;
          },
          py::arg("ticks"), py::arg("record") = std::vector<std::string>{}, py::arg("every") = 1,
          "Runs `ticks` ticks (as step) and returns {'time': ..., name: ...}: float64 arrays "
          "with a sample after every `every`-th tick of each recorded field ('8.PendTheta').")
      .def(
          "render",
          [](TPySimulation& sim, int width, int height) {
            if (width < 1 || height < 1 || width > 16384 || height > 16384)
              throw py::value_error("width and height must be between 1 and 16384");
            std::vector<std::uint8_t> rgb;
            std::string error;
            bool ok = false;
            {
              TPySimulation::TUse use(sim);
              py::gil_scoped_release free;
              ok = sim.Session().Render(width, height, rgb, error);
            }
            if (!ok) throw std::runtime_error("no OpenGL context: " + error);
            py::array_t<std::uint8_t> image({height, width, 3});
            std::copy(rgb.begin(), rgb.end(), image.mutable_data());
            return image;
          },
          py::arg("width") = 640, py::arg("height") = 480,
          "The 3D view of the current state as a (height, width, 3) uint8 array, drawn off "
          "screen (no display needed): the pixels --screenshot writes. Changes nothing.")
      .def(
          "record",
          [](TPySimulation& sim, const std::string& path, long long ticks, int fps,
             std::pair<int, int> size, const std::string& codec, const py::object& on_ticks) {
            if (codec != "mjpeg" && codec != "raw")
              throw py::value_error("codec must be 'mjpeg' or 'raw'");
            if (ticks < 0) throw py::value_error("ticks must be 0 or more");
            std::string error;
            bool ok = false;
            // What the callback raises (Ctrl+C among others) ends the
            // recording there, its file closed, and is raised after.
            std::function<bool(long long)> done;
            std::optional<py::error_already_set> raised;
            if (!on_ticks.is_none())
              done = [&](long long k) {
                py::gil_scoped_acquire held;
                try {
                  on_ticks(k);
                  return true;
                } catch (py::error_already_set& e) {
                  raised = std::move(e);
                  return false;
                }
              };
            {
              TPySimulation::TUse use(sim);
              py::gil_scoped_release free;
              ok = sim.Session().Record(path, ticks, fps, size.first, size.second, codec == "mjpeg",
                                        error, done);
            }
            sim.Session().TakeMessages();
            if (raised) throw std::move(*raised);
            if (!ok) throw std::runtime_error("the recording to " + path + " failed: " + error);
          },
          py::arg("path"), py::arg("ticks"), py::arg("fps") = 25,
          py::arg("size") = std::pair<int, int>(1280, 720), py::arg("codec") = "mjpeg",
          py::arg("on_ticks") = py::none(),
          "Records `ticks` ticks (as step) of the view into an AVI file, as --record does. "
          "on_ticks(n), if given, hears the ticks recorded so far every few ticks; what it "
          "raises ends the recording there (the file closed) and is raised.")
      .def(
          "state",
          [](const TPySimulation& sim) {
            std::string text;
            {
              TPySimulation::TUse use(sim);
              text = sim.Session().SceneJson();
            }
            return py::module_::import("json").attr("loads")(text);
          },
          "The whole state as a dict: --state's dump, parsed.")
      .def(
          "save",
          [](const TPySimulation& sim, const std::string& path) {
            std::string text;
            {
              TPySimulation::TUse use(sim);
              text = sim.Session().SceneJson();
            }
            if (const int e = WriteFileSafely(path, text); e != 0) {
              errno = e;
              PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
              throw py::error_already_set();
            }
          },
          py::arg("path"),
          "Writes the scene to a file, whole or not at all (OSError; an earlier file stays).")
      .def(py::pickle([](const TPySimulation& sim) { return sim.Session().SceneJson(); },
                      [](const std::string& text) { return FromJson(text); }));

  m.def(
      "load",
      [](const std::string& path) {
        std::string text, error;
        errno = 0;
        if (!ReadSceneFile(path, text, error)) {
          // OSError(errno, text, path): Python makes it FileNotFoundError,
          // PermissionError, ... as its own open() would.
          const int code = errno;
          PyErr_SetObject(PyExc_OSError,
                          py::make_tuple(code, "cannot read " + path + ": " + error, path).ptr());
          throw py::error_already_set();
        }
        try {
          return FromJson(text);
        } catch (const py::value_error& e) {
          throw py::value_error(path + ": " + std::string(e.what()));
        }
      },
      py::arg("path"), "A simulation from a scene file (ValueError if it is not a sound scene).");
  m.attr("SCENE_VERSION") = kSceneVersion;

  py::class_<TPyBatch>(m, "Batch",
                       "Simulations stepped together from arrays, the loop in C++: the fast "
                       "path of environments and of controllers run over many simulations.")
      .def(py::init<std::vector<TSimPtr>, const std::vector<std::string>&,
                    const std::vector<std::string>&, long long>(),
           py::arg("sims"), py::arg("inputs"), py::arg("observe"), py::arg("ticks") = 1,
           "`inputs` and `observe` name fields as INDEX.FIELD (\"1.CurrentCmd\"); the inputs "
           "must be inputs of their devices.")
      .def("step", &TPyBatch::Step, py::arg("actions"), py::arg("mask") = py::none(),
           "Sets each simulation's inputs from its row of `actions` (held within their "
           "bounds), runs `ticks` ticks of each and returns the observed fields, one row "
           "a simulation. The ticks are those of the window without its frame, log and "
           "recording. With `mask`, only the simulations flagged are stepped.")
      .def("step_one", &TPyBatch::StepOne, py::arg("actions"),
           "As step, for a batch of one simulation, in lists of floats (quicker for a few "
           "values).")
      .def("observe", &TPyBatch::Observe, "The observed fields now, one row a simulation.")
      .def("__len__", &TPyBatch::Size);
  m.def(
      "device_classes",
      [] {
        std::vector<std::string> names;
        for (const TDeviceClass& c : DeviceClasses())
          names.emplace_back(c.ClassName);
        return names;
      },
      "The class names a set may hold.");
  m.def("_borrow_form", &BorrowForm, py::arg("form"));
  m.def("_detach_form", &DetachForm, py::arg("sim"));
  m.def(
      "standard_devices", [] { return StandardDeviceSet(); },
      "The program's own nine devices, in order.");
}
