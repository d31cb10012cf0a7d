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
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "io/safe_output.h"
#include "models/constants.h"
#include "models/device_description.h"
#include "models/field_access.h"
#include "platform/headless/session.h"
#include "sim/device_registry.h"
#include "sim/divergence.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "sim/step_limit.h"
#include "sim/workers.h"

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

  // The flag a use holds (see TUse).
  std::atomic<bool>& Busy() const { return busy_; }

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

// What a batch or an environment reads and writes of one simulation, looked up
// once: its inputs with their bounds and its observed fields. The addresses
// hold while the simulation keeps its set; a step checks that first.
class TSimIo {
public:
  TSimIo(TSimPtr sim, const std::vector<std::string>& inputs,
         const std::vector<std::string>& observe)
      : owner_(std::move(sim)) {
    if (!owner_) throw py::value_error("a batch holds simulations, not None");
    sim_ = &owner_->Session().Sim();
    set_ = sim_->SetVersion();
    for (const std::string& name : inputs) {
      const TFieldRef f = Recorded(owner_, name);
      const auto dot = name.find('.');
      const TPyDevice device(owner_, std::stoi(name.substr(0, dot)));
      const TInputDescription* i = device.Description().FindInput(name.substr(dot + 1));
      if (!i) throw py::value_error(name + " is not an input of its device");
      inputs_.push_back({f, device.Field(i->Bound)});
    }
    for (const std::string& name : observe)
      observed_.push_back(Recorded(owner_, name));
  }

  const TPySimulation& Owner() const { return *owner_; }
  // Refused once the set was made anew (a scene opened, the devices chosen
  // again): the fields looked up are gone with the devices.
  void CheckSet() const {
    if (&owner_->Session().Sim() != sim_ || sim_->SetVersion() != set_)
      throw std::runtime_error("the simulation's devices were made anew since this batch was "
                               "made: make it again");
  }
  // The inputs from `actions`, held within their bounds as the keys hold
  // them, then `ticks` ticks of the simulation alone.
  void Advance(const double* actions, long long ticks) const {
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
      const double b = inputs_[i].Bound.Get();
      inputs_[i].Field.Set(std::fmin(std::fmax(actions[i], -b), b));
    }
    for (long long t = 0; t < ticks; ++t)
      sim_->Tick();
  }
  void Read(double* out) const {
    for (std::size_t j = 0; j < observed_.size(); ++j)
      out[j] = observed_[j].Get();
  }
  std::size_t Inputs() const { return inputs_.size(); }
  double Bound(std::size_t i) const { return inputs_[i].Bound.Get(); }
  std::size_t Observed() const { return observed_.size(); }

private:
  struct TInput {
    TFieldRef Field, Bound;
  };
  TSimPtr owner_;
  TSimulation* sim_ = nullptr;
  std::uint64_t set_ = 0;
  std::vector<TInput> inputs_;
  std::vector<TFieldRef> observed_;
};

// Marks simulations in use for the life of the guard, all or none: a second
// thread that comes meanwhile is refused rather than let race.
class TUseAll {
public:
  template <class TGet> TUseAll(std::size_t n, TGet sim) {
    flags_.reserve(n);
    for (std::size_t s = 0; s < n; ++s) {
      std::atomic<bool>& busy = sim(s).Busy();
      if (busy.exchange(true)) {
        Release();
        throw std::runtime_error("a Simulation of the batch is in use by another thread");
      }
      flags_.push_back(&busy);
    }
  }
  ~TUseAll() { Release(); }
  TUseAll(const TUseAll&) = delete;
  TUseAll& operator=(const TUseAll&) = delete;

private:
  // A release store: the flags only order each simulation's own uses, and a
  // full fence per simulation would cost as much as reading its fields.
  void Release() {
    for (std::atomic<bool>* busy : flags_)
      busy->store(false, std::memory_order_release);
    flags_.clear();
  }
  std::vector<std::atomic<bool>*> flags_;
};

void CheckFinite(const double* values, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k)
    if (!std::isfinite(values[k])) throw py::value_error("actions must be finite numbers");
}

// Many simulations stepped together from arrays: for each, its inputs set
// from one row of actions (held within their bounds, as the keys hold them),
// `ticks` ticks of the simulation alone (no frame counted, no log or
// recording: what a program needs of a tick), then its observed fields read.
class TPyBatch {
public:
  TPyBatch(const std::vector<TSimPtr>& sims, const std::vector<std::string>& inputs,
           const std::vector<std::string>& observe, long long ticks)
      : ticks_(ticks), a_(inputs.size()), o_(observe.size()) {
    if (sims.empty()) throw py::value_error("a batch needs at least one simulation");
    if (ticks_ < 1) throw py::value_error("ticks must be 1 or more");
    io_.reserve(sims.size());
    for (const TSimPtr& sim : sims)
      io_.emplace_back(sim, inputs, observe);
  }

  std::size_t Size() const { return io_.size(); }

  py::array_t<double>
  Step(const py::array_t<double, py::array::c_style | py::array::forcecast>& actions,
       const std::optional<py::array_t<bool, py::array::c_style | py::array::forcecast>>& mask) {
    const std::size_t n = io_.size();
    if (mask && mask->size() != static_cast<py::ssize_t>(n))
      throw py::value_error("mask: " + std::to_string(n) + " flags expected");
    const bool* stepped = mask ? mask->data() : nullptr;
    if (actions.size() != static_cast<py::ssize_t>(n * a_))
      throw py::value_error("actions: " + std::to_string(n) + " x " + std::to_string(a_) +
                            " values expected, not " + std::to_string(actions.size()));
    const double* a = actions.data();
    CheckFinite(a, n * a_);
    for (const TSimIo& io : io_)
      io.CheckSet();
    py::array_t<double> out({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(o_)});
    double* o = out.mutable_data();
    const TUseAll use(n, [&](std::size_t s) -> const TPySimulation& { return io_[s].Owner(); });
    std::optional<py::gil_scoped_release> free;
    if (n * static_cast<std::size_t>(ticks_) >= static_cast<std::size_t>(kReleaseTicks))
      free.emplace();
    for (std::size_t s = 0; s < n; ++s) {
      if (!stepped || stepped[s]) io_[s].Advance(a + s * a_, ticks_);
      io_[s].Read(o + s * o_);
    }
    return out;
  }

  // A batch of one, in lists: for one simulation stepped from Python, where
  // arrays of a few values cost more than the tick.
  std::vector<double> StepOne(const std::vector<double>& actions) {
    if (io_.size() != 1) throw py::value_error("step_one is for a batch of one simulation");
    if (actions.size() != a_)
      throw py::value_error("actions: " + std::to_string(a_) + " values expected, not " +
                            std::to_string(actions.size()));
    CheckFinite(actions.data(), a_);
    io_[0].CheckSet();
    const TPySimulation::TUse use(io_[0].Owner());
    io_[0].Advance(actions.data(), ticks_);
    std::vector<double> out(o_);
    io_[0].Read(out.data());
    return out;
  }

  py::array_t<double> Observe() const {
    const std::size_t n = io_.size();
    for (const TSimIo& io : io_)
      io.CheckSet();
    py::array_t<double> out({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(o_)});
    for (std::size_t s = 0; s < n; ++s)
      io_[s].Read(out.mutable_data() + s * o_);
    return out;
  }

private:
  std::vector<TSimIo> io_;
  long long ticks_;
  std::size_t a_, o_;
};

// A fresh numpy array, made straight through numpy's API: pybind11's
// general constructor costs as much as a tick for a few values.
template <class T> py::array_t<T> NewArray(py::ssize_t rows, py::ssize_t columns = 0) {
  const auto& api = py::detail::npy_api::get();
  int type = api.NPY_DOUBLE_;
  if constexpr (std::is_same_v<T, float>) type = api.NPY_FLOAT_;
  if constexpr (std::is_same_v<T, bool>) type = api.NPY_BOOL_;
  Py_intptr_t dims[2] = {rows, columns};
  PyObject* made =
      api.PyArray_NewFromDescr_(api.PyArray_Type_, api.PyArray_DescrFromType_(type),
                                columns > 0 ? 2 : 1, dims, nullptr, nullptr, 0, nullptr);
  if (!made) throw py::error_already_set();
  return py::reinterpret_steal<py::array_t<T>>(made);
}

// numpy's remainder: the sign of the divisor, as Python's %.
double Remainder(double a, double b) {
  double mod = std::fmod(a, b);
  if (mod != 0) {
    if ((b < 0) != (mod < 0)) mod += b;
  } else {
    mod = std::copysign(0.0, b);
  }
  return mod;
}

// What an environment of kinemo.envs makes of its fields: the observation (an
// origin taken off each value, one column turned into the error to a target
// heading within ±pi), the reward and the end of an episode (a value outside
// its interval), all judged on the float32 observation as Python reads it.
struct TEnvRules {
  std::vector<double> Origin, Low, High;
  std::int32_t Heading = -1;    // the column made (target − value), or -1
  std::int32_t RewardFrom = -1; // a reward 1 − |value|/pi of that column; 1 when -1
  long long MaxSteps = 0;
  bool Discrete = false; // actions 0 and 1: the full command towards −1 and +1
};

// One environment of kinemo.envs stepped in one call: its action clamped to
// [-1, 1] and scaled to its inputs' bounds, its ticks, its observation,
// reward, termination and truncation.
class TPyEnv {
public:
  TPyEnv(const TSimPtr& sim, const std::vector<std::string>& inputs,
         const std::vector<std::string>& observe, long long ticks, TEnvRules rules)
      : io_(sim, inputs, observe), rules_(std::move(rules)), ticks_(ticks) {
    const std::size_t o = io_.Observed();
    if (ticks_ < 1) throw py::value_error("ticks must be 1 or more");
    if (io_.Inputs() == 0 || o == 0)
      throw py::value_error("an environment has at least one input and one observed field");
    if (rules_.Origin.size() != o || rules_.Low.size() != o || rules_.High.size() != o)
      throw py::value_error("origin, low and high: one value per observed field");
    if (rules_.Heading >= static_cast<std::int32_t>(o) ||
        rules_.RewardFrom >= static_cast<std::int32_t>(o))
      throw py::value_error("heading and reward name observed columns or -1");
    if (rules_.Discrete && io_.Inputs() != 1)
      throw py::value_error("a discrete environment has one input");
    // Scaled by the bounds as they are now, as the environment was made.
    for (std::size_t i = 0; i < io_.Inputs(); ++i)
      bounds_.push_back(io_.Bound(i));
    values_.resize(io_.Inputs());
    fields_.resize(o);
    integer_ = py::module_::import("numpy").attr("integer");
  }

  const TSimIo& Io() const { return io_; }
  const TEnvRules& Rules() const { return rules_; }
  void SetMaxSteps(long long steps) {
    if (steps < 1) throw py::value_error("max_steps must be 1 or more");
    rules_.MaxSteps = steps;
  }
  long long Ticks() const { return ticks_; }
  // The heading to reach, when a column is the error to it.
  double Target = 0;
  // Steps since the episode began.
  long long Steps = 0;

  // Reads the action as values in [-1, 1] from a float64 or float32 array, a
  // float (one input) or, when discrete, an int 0 or 1; false for anything
  // else, which Python converts and checks itself.
  bool PlainAction(py::handle action, double* values) const {
    const std::size_t n = io_.Inputs();
    if (rules_.Discrete) {
      if (!PyLong_CheckExact(action.ptr()) && !py::isinstance(action, integer_)) return false;
      const auto k = py::reinterpret_steal<py::object>(PyNumber_Index(action.ptr()));
      const long long v = k ? PyLong_AsLongLong(k.ptr()) : -1;
      if (PyErr_Occurred()) PyErr_Clear();
      if (v != 0 && v != 1) return false;
      values[0] = v == 1 ? 1.0 : -1.0;
      return true;
    }
    if (PyFloat_CheckExact(action.ptr())) {
      values[0] = PyFloat_AS_DOUBLE(action.ptr());
      return n == 1 && std::isfinite(values[0]);
    }
    const auto& api = py::detail::npy_api::get();
    if (!api.PyArray_Check_(action.ptr())) return false;
    const auto* a = py::detail::array_proxy(action.ptr());
    const auto* d = py::detail::array_descriptor_proxy(a->descr);
    const bool wide = d->type_num == api.NPY_DOUBLE_;
    if ((!wide && d->type_num != api.NPY_FLOAT_) || d->byteorder != '=') return false;
    Py_intptr_t size = 1;
    for (int k = 0; k < a->nd; ++k)
      size *= a->dimensions[k];
    if (size != static_cast<Py_intptr_t>(n)) return false;
    Py_intptr_t stride = d->elsize;
    if (a->nd == 1)
      stride = a->strides[0];
    else if ((a->flags & api.NPY_ARRAY_C_CONTIGUOUS_) == 0)
      return false;
    for (std::size_t i = 0; i < n; ++i) {
      const char* p = a->data + static_cast<Py_intptr_t>(i) * stride;
      if (wide) {
        std::memcpy(&values[i], p, sizeof(double));
      } else {
        float f = 0;
        std::memcpy(&f, p, sizeof f);
        values[i] = f;
      }
      if (!std::isfinite(values[i])) return false;
    }
    return true;
  }

  // Values in [-1, 1] (clamped there as min(1.0, max(-1.0, v)) in Python)
  // times the inputs' bounds.
  void Scale(const double* values, double* scaled) const {
    for (std::size_t i = 0; i < io_.Inputs(); ++i) {
      double v = values[i] > -1.0 ? values[i] : -1.0;
      v = v < 1.0 ? v : 1.0;
      scaled[i] = v * bounds_[i];
    }
  }

  // The observation made of `fields`; true if the episode ends there.
  bool Judge(const double* fields, float* obs, double& reward) const {
    bool ended = false;
    double rewarded = 0;
    for (std::size_t j = 0; j < io_.Observed(); ++j) {
      const auto column = static_cast<std::int32_t>(j);
      double v = fields[j] - rules_.Origin[j];
      if (column == rules_.Heading) v = Remainder(Target - v + kPi, 2 * kPi) - kPi;
      obs[j] = static_cast<float>(v);
      const double seen = obs[j];
      if (seen < rules_.Low[j] || seen > rules_.High[j]) ended = true;
      if (column == rules_.RewardFrom) rewarded = seen;
    }
    reward = rules_.RewardFrom < 0 ? 1.0 : 1.0 - std::fabs(rewarded) / kPi;
    return ended;
  }

  // One step from values in [-1, 1]: (obs, reward, terminated, truncated, {}).
  py::object StepValues(const double* values) {
    io_.CheckSet();
    Scale(values, values_.data());
    {
      const TPySimulation::TUse use(io_.Owner());
      io_.Advance(values_.data(), ticks_);
      io_.Read(fields_.data());
    }
    auto obs = NewArray<float>(static_cast<py::ssize_t>(io_.Observed()));
    double reward = 0;
    const bool terminated = Judge(fields_.data(), obs.mutable_data(), reward);
    ++Steps;
    return Outcome(std::move(obs), py::float_(reward), py::bool_(terminated),
                   py::bool_(Steps >= rules_.MaxSteps));
  }

  py::object Step(py::handle action) {
    double values[1];
    if (io_.Inputs() == 1) {
      if (!PlainAction(action, values)) return py::none();
      return StepValues(values);
    }
    std::vector<double> many(io_.Inputs());
    if (!PlainAction(action, many.data())) return py::none();
    return StepValues(many.data());
  }

  py::object StepList(const std::vector<double>& values) {
    if (values.size() != io_.Inputs())
      throw py::value_error("actions: " + std::to_string(io_.Inputs()) + " values expected, not " +
                            std::to_string(values.size()));
    CheckFinite(values.data(), values.size());
    return StepValues(values.data());
  }

  // The observation now (after a reset), as a step makes it.
  py::array_t<float> Observe() {
    io_.CheckSet();
    io_.Read(fields_.data());
    auto obs = NewArray<float>(static_cast<py::ssize_t>(io_.Observed()));
    double reward = 0;
    Judge(fields_.data(), obs.mutable_data(), reward);
    return obs;
  }

  // Gymnasium's five values, the info an empty dict.
  static py::object Outcome(py::object obs, py::object reward, py::object terminated,
                            py::object truncated) {
    return py::make_tuple(std::move(obs), std::move(reward), std::move(terminated),
                          std::move(truncated), py::dict());
  }

private:
  TSimIo io_;
  TEnvRules rules_;
  long long ticks_;
  std::vector<double> bounds_, values_, fields_;
  py::object integer_;
};

using TEnvPtr = std::shared_ptr<TPyEnv>;

// Environments of one layout stepped together from an action array, with
// Gymnasium's autoreset: one that ended is reset (by its own reset, in
// Python) at the next step, which gives its start observation, reward 0 and
// neither flag.
class TPyEnvBatch {
public:
  TPyEnvBatch(std::vector<TEnvPtr> envs, std::vector<py::object> resets, int threads)
      : envs_(std::move(envs)), resets_(std::move(resets)) {
    if (envs_.empty()) throw py::value_error("a batch needs at least one environment");
    if (threads < 1) throw py::value_error("threads must be 1 or more");
    if (resets_.size() != envs_.size()) throw py::value_error("one reset for every environment");
    for (const TEnvPtr& e : envs_) {
      if (!e) throw py::value_error("a batch holds environments, not None");
      if (e->Io().Inputs() != First().Io().Inputs() ||
          e->Io().Observed() != First().Io().Observed() ||
          e->Rules().Discrete != First().Rules().Discrete)
        throw py::value_error("the environments of a batch have the same inputs and fields");
    }
    ended_.assign(envs_.size(), 0);
    // No more threads than environments: each takes a whole part.
    workers_ = std::make_unique<TWorkers>(
        static_cast<unsigned>(std::min<std::size_t>(static_cast<std::size_t>(threads), Size())));
  }

  unsigned Threads() const { return workers_->Threads(); }

  std::size_t Size() const { return envs_.size(); }
  // Forgets the ends: every environment was just reset.
  void ClearEnds() { std::fill(ended_.begin(), ended_.end(), 0); }

  py::tuple Step(const py::handle actions) {
    const std::size_t n = envs_.size(), a = First().Io().Inputs(), o = First().Io().Observed();
    std::vector<double> values = Actions(actions, n, a);
    for (const TEnvPtr& e : envs_)
      e->Io().CheckSet();
    // Checked before anything changes; those that ended start again.
    for (std::size_t s = 0; s < n; ++s)
      if (ended_[s]) resets_[s]();
    auto obs = NewArray<float>(static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(o));
    auto rewards = NewArray<double>(static_cast<py::ssize_t>(n));
    auto terminated = NewArray<bool>(static_cast<py::ssize_t>(n));
    auto truncated = NewArray<bool>(static_cast<py::ssize_t>(n));
    float* ob = obs.mutable_data();
    double* rw = rewards.mutable_data();
    bool* te = terminated.mutable_data();
    bool* tr = truncated.mutable_data();
    const TUseAll use(
        n, [&](std::size_t s) -> const TPySimulation& { return envs_[s]->Io().Owner(); });
    std::optional<py::gil_scoped_release> free;
    if (n * static_cast<std::size_t>(First().Ticks()) >= static_cast<std::size_t>(kReleaseTicks))
      free.emplace();
    // Each environment only touches its own simulation and its own row, so
    // the parts need nothing from one another (nor from Python).
    workers_->Run(n, [&](std::size_t begin, std::size_t end) {
      std::vector<double> scaled(a), fields(o);
      for (std::size_t s = begin; s < end; ++s) {
        TPyEnv& e = *envs_[s];
        const bool reset = ended_[s] != 0;
        if (!reset) {
          e.Scale(values.data() + s * a, scaled.data());
          e.Io().Advance(scaled.data(), e.Ticks());
        }
        e.Io().Read(fields.data());
        double reward = 0;
        const bool ends = e.Judge(fields.data(), ob + s * o, reward);
        e.Steps = reset ? 0 : e.Steps + 1;
        rw[s] = reset ? 0.0 : reward;
        te[s] = !reset && ends;
        tr[s] = !reset && e.Steps >= e.Rules().MaxSteps;
        ended_[s] = te[s] || tr[s] ? 1 : 0;
      }
    });
    free.reset();
    return py::make_tuple(std::move(obs), std::move(rewards), std::move(terminated),
                          std::move(truncated), py::dict());
  }

private:
  const TPyEnv& First() const { return *envs_[0]; }

  // The rows of actions in [-1, 1], checked: one 0 or 1 an environment when
  // discrete, else n rows of a finite values (any array of that many).
  std::vector<double> Actions(const py::handle actions, std::size_t n, std::size_t a) const {
    std::vector<double> values(n * a);
    if (First().Rules().Discrete) {
      const py::array given = py::array::ensure(actions);
      const char kind = given ? given.dtype().kind() : 'O';
      const bool numbers = kind == 'b' || kind == 'i' || kind == 'u' || kind == 'f';
      const auto as_double =
          numbers ? py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(given)
                  : py::array_t<double, py::array::c_style | py::array::forcecast>();
      if (!as_double || as_double.ndim() != 1 || as_double.shape(0) != static_cast<py::ssize_t>(n))
        throw py::value_error("actions: one 0 or 1 per environment");
      for (std::size_t s = 0; s < n; ++s) {
        const double v = as_double.data()[s];
        if (v != 0 && v != 1) throw py::value_error("actions: one 0 or 1 per environment");
        values[s] = v == 1 ? 1.0 : -1.0;
      }
      return values;
    }
    const auto given =
        py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(actions);
    if (!given || given.size() != static_cast<py::ssize_t>(n * a))
      throw py::value_error("actions: " + std::to_string(n) + " rows of " + std::to_string(a) +
                            " finite values");
    std::copy(given.data(), given.data() + n * a, values.begin());
    if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); }))
      throw py::value_error("actions: " + std::to_string(n) + " rows of " + std::to_string(a) +
                            " finite values");
    return values;
  }

  std::vector<TEnvPtr> envs_;
  std::vector<py::object> resets_;
  std::vector<char> ended_; // a flag an environment: ended at the last step
  std::unique_ptr<TWorkers> workers_;
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
      .def(py::init<const std::vector<TSimPtr>&, const std::vector<std::string>&,
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

  py::class_<TPyEnv, TEnvPtr>(m, "EnvCore",
                              "The step of one environment of kinemo.envs in one call: its "
                              "action scaled to its inputs' bounds, its ticks, observation, "
                              "reward, termination and truncation.")
      .def(
          py::init([](const TSimPtr& sim, const std::vector<std::string>& inputs,
                      const std::vector<std::string>& observe, long long ticks, long long max_steps,
                      std::vector<double> origin, std::vector<double> low, std::vector<double> high,
                      std::int32_t heading, std::int32_t reward, bool discrete) {
            return std::make_shared<TPyEnv>(sim, inputs, observe, ticks,
                                            TEnvRules{std::move(origin), std::move(low),
                                                      std::move(high), heading, reward, max_steps,
                                                      discrete});
          }),
          py::arg("sim"), py::arg("inputs"), py::arg("observe"), py::arg("ticks"),
          py::arg("max_steps"), py::arg("origin"), py::arg("low"), py::arg("high"),
          py::arg("heading") = -1, py::arg("reward") = -1, py::arg("discrete") = false,
          "Observation column j is field j minus origin[j] (column `heading`: the target "
          "minus it, within ±pi), as float32; the episode ends when one lies outside "
          "[low[j], high[j]]; the reward is 1, or 1 - |column `reward`|/pi; truncated after "
          "max_steps steps. Actions in [-1, 1] scale to the inputs' bounds as they are now; "
          "a discrete one takes 0 or 1.")
      .def("step", &TPyEnv::Step, py::arg("action"),
           "(obs, reward, terminated, truncated, {}) for an action given as a float64 or "
           "float32 array, a float or (discrete) an int 0 or 1; None, with nothing done, for "
           "an action of another kind.")
      .def("step_values", &TPyEnv::StepList, py::arg("values"),
           "As step, from the action's values in order (finite; clamped to [-1, 1]).")
      .def("observe", &TPyEnv::Observe, "The observation now.")
      .def_readwrite("target", &TPyEnv::Target, "The heading the heading column measures from.")
      .def_readwrite("steps", &TPyEnv::Steps, "Steps since the episode began.")
      .def_property(
          "max_steps", [](const TPyEnv& e) { return e.Rules().MaxSteps; },
          [](TPyEnv& e, long long steps) { e.SetMaxSteps(steps); },
          "Steps after which an episode is truncated (1 or more).");

  py::class_<TPyEnvBatch>(m, "EnvBatch",
                          "Environments of one layout stepped together from an action array, "
                          "with Gymnasium's autoreset.")
      .def(py::init<std::vector<TEnvPtr>, std::vector<py::object>, int>(), py::arg("envs"),
           py::arg("resets"), py::arg("threads") = 1,
           "`resets`: for each environment, what starts its next episode (its reset). "
           "`threads`: how many threads share a step's environments (the caller's "
           "included; at most one an environment); the results do not depend on it.")
      .def_property_readonly("threads", &TPyEnvBatch::Threads,
                             "How many threads share a step (the caller's included).")
      .def("step", &TPyEnvBatch::Step, py::arg("actions"),
           "(obs, rewards, terminated, truncated, {}) as arrays, one row an environment. "
           "Those that ended at the previous step are reset first, and give their start "
           "observation, reward 0 and neither flag. ValueError, with nothing done, for "
           "actions that are not one row of finite values (discrete: one 0 or 1) each.")
      .def("clear_ends", &TPyEnvBatch::ClearEnds,
           "Forgets which ended (every environment was just reset).")
      .def("__len__", &TPyEnvBatch::Size);
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
