// Parameter edits: checked against the device's description, written through
// the field's state-dump name, then the device recomputes what follows from it.
#include "sim/parameters.h"

#include <charconv>
#include <cmath>

#include "models/device_description.h"
#include "models/field_access.h"
#include "sim/simulation.h"

std::string ShortestText(double value) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string TSimulation::CheckParameter(long long device, std::string_view name,
                                        double value) const {
  if (device < 0 || device >= NbRobots)
    return "no device " + std::to_string(device) + " (devices 0 to " +
           std::to_string(NbRobots - 1) + ")";
  const TRobot& robot = Device(static_cast<std::int32_t>(device));
  const TDeviceDescription& d = robot.Description();
  const std::string who = "device " + std::to_string(device) + " (" + robot.ClassName() + ")";
  const TParameterDescription* p = d.FindParameter(name);
  const TFieldRef field = p ? FindField(robot, p->Field) : TFieldRef{};
  if (!p || !field) {
    std::string list;
    for (const TParameterDescription& q : d.Parameters)
      list += (list.empty() ? "" : ", ") + std::string(q.Field);
    return who + " has no parameter " + std::string(name) +
           (list.empty() ? " (it has none)" : " (its parameters: " + list + ")");
  }
  const bool whole = field.Kind == TFieldRef::TKind::Int32;
  const std::string range = std::string(whole ? "a whole number " : "") + "between " +
                            ShortestText(p->Min) + " and " + ShortestText(p->Max) +
                            (*p->Unit ? std::string(" ") + p->Unit : std::string());
  if (!std::isfinite(value) || value < p->Min || value > p->Max ||
      (whole && value != std::trunc(value)))
    return std::string(p->Field) + " of " + who + " must be " + range + ", not " +
           ShortestText(value);
  return {};
}

bool TSimulation::SetParameter(std::int32_t n, std::string_view name, double value,
                               std::string* error) {
  std::string why = CheckParameter(n, name, value);
  if (!why.empty()) {
    if (error) *error = std::move(why);
    return false;
  }
  TRobot& robot = Device(n);
  FindField(robot, robot.Description().FindParameter(name)->Field).Set(value);
  robot.DeriveConstants();
  return true;
}

void TSimulation::RestoreParameters(std::int32_t n) {
  TRobot& robot = Device(n);
  for (const TParameterDescription& p : robot.Description().Parameters)
    FindField(robot, p.Field).Set(p.Default);
  robot.DeriveConstants();
}
