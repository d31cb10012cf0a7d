#include "models/device_description.h"

#include <algorithm>
#include <cmath>

#include "models/constants.h"
#include "models/key_codes.h"

const TParameterDescription* TDeviceDescription::FindParameter(std::string_view field) const {
  for (const TParameterDescription& p : Parameters)
    if (field == p.Field) return &p;
  return nullptr;
}

const TInputDescription* TDeviceDescription::FindInput(std::string_view field) const {
  for (const TInputDescription& i : Inputs)
    if (field == i.Field) return &i;
  return nullptr;
}

double TParameterDescription::DisplayScale() const {
  return std::string_view(Unit) == "rad" ? kDeg : 1;
}

const char* TParameterDescription::DisplayUnit() const {
  return DisplayScale() != 1 ? "°" : WordedUnit();
}

double TParameterEditing::Stored(double shown) const {
  return std::clamp(shown / Scale, StoredMin, StoredMax);
}

TParameterEditing EditingOf(const TParameterDescription& p) {
  const double scale = p.DisplayScale();
  double step = p.Step;
  if (scale != 1) {
    // 0.05 rad is 2.8648°: steps of 3° read better.
    const double unit = std::pow(10.0, std::floor(std::log10(p.Step * scale)));
    step = std::round(p.Step * scale / unit) * unit;
  }
  return {scale, p.Min * scale, p.Max * scale, step, DecimalsFor(p.Default * scale, step),
          p.Min, p.Max};
}

std::string KeyCaption(std::uint16_t key) {
  if (key >= vk::Numpad0 && key <= vk::Numpad(9))
    return std::string(1, char('0' + key - vk::Numpad0));
  if (key >= 'A' && key <= 'Z') return std::string(1, char(key));
  if (key == vk::Space) return "Espace";
  return "?";
}

std::string KeysCaption(const TCommandDescription& command) {
  std::string text;
  for (std::uint16_t key : command.Keys)
    text += (text.empty() ? "" : " / ") + KeyCaption(key);
  return text;
}

int DecimalsFor(double value, double step, int most) {
  auto exact = [](double v, int d) {
    const double scaled = v * std::pow(10.0, d);
    return std::fabs(scaled - std::round(scaled)) <= 1e-9 * std::fmax(1.0, std::fabs(scaled));
  };
  int step_decimals = 0;
  while (step_decimals < most && !exact(step, step_decimals))
    ++step_decimals;
  // A value with endless decimals (pi / 3) shows 5 significant digits.
  int cap = step_decimals;
  if (value != 0)
    cap = std::max(cap, 4 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
  cap = std::min(cap, most);
  int d = step_decimals;
  while (d < cap && !exact(value, d))
    ++d;
  return d;
}
