#include "texts/help_devices.h"

#include <string_view>
#include <vector>

#include "models/device_description.h"
#include "models/field_access.h"
#include "sim/simulation.h"
#include "texts/number_text.h"

namespace {

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    default:
      out += c;
    }
  }
  return out;
}

// Numbers as a French reader writes them.
std::string Number(double v) {
  return FloatToStrF(v, TFloatFormat::General, 6, 0, ',');
}

std::string Keys(const TCommandDescription& c) {
  std::string out;
  for (std::uint16_t key : c.Keys)
    out += (out.empty() ? "" : " / ") + ("<kbd>" + Escape(KeyCaption(key)) + "</kbd>");
  return out;
}

// "Régulateur : non", from the label the device gives its flag.
std::string Mode(const TDeviceDescription& d, const TCommandDescription& c) {
  if (!c.When) return "toujours";
  std::string label = c.When;
  for (const TQuantityDescription& q : d.Quantities)
    if (std::string_view(q.Field) == c.When) label = q.Label;
  return Escape(label) + (c.WhenOn ? " : oui" : " : non");
}

std::string Unit(const char* unit) {
  return *unit ? Escape(unit) : "—";
}

void Device(std::string& out, const std::vector<int>& numbers, const TRobot& robot) {
  const TDeviceDescription& d = robot.Description();
  std::string which;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    which += (i == 0 ? "" : i + 1 == numbers.size() ? " et " : ", ") + std::to_string(numbers[i]);
  out += "<h3 id=\"appareil-" + std::to_string(numbers[0]) + "\">" + Escape(d.Name) +
         " <small>(n° " + which + ")</small></h3>\n";
  out += "<p>" + Escape(d.Text) + "</p>\n";

  if (!d.Commands.empty()) {
    out += "<table class=\"touches\">\n<tr><th>Touches</th><th>Effet</th><th>Quand</th></tr>\n";
    for (const TCommandDescription& c : d.Commands)
      out += "<tr><td>" + Keys(c) + "</td><td>" + Escape(c.Action) + "</td><td>" + Mode(d, c) +
             "</td></tr>\n";
    out += "</table>\n";
  }

  out +=
      "<table class=\"valeurs\">\n<tr><th>Valeur affichée</th><th>Unité</th><th>Champ</th></tr>\n";
  for (const TQuantityDescription& q : d.Quantities)
    out += "<tr><td>" + Escape(q.Label) + "</td><td>" + Unit(q.DisplayUnit()) + "</td><td><code>" +
           Escape(q.Field) + "</code></td></tr>\n";
  out += "</table>\n";

  if (d.Parameters.empty()) {
    out += "<p class=\"sans\">Aucun paramètre réglable.</p>\n";
    return;
  }
  out += "<table class=\"parametres\">\n<tr><th>Paramètre</th><th>Champ</th><th>Unité</th>"
         "<th>Valeur d'origine</th><th>Plage</th></tr>\n";
  for (const TParameterDescription& p : d.Parameters)
    out += "<tr><td>" + Escape(p.Label) + "</td><td><code>" + Escape(p.Field) + "</code></td><td>" +
           Unit(p.Unit) + "</td><td>" + Number(p.Default) + "</td><td>" + Number(p.Min) + " à " +
           Number(p.Max) + "</td></tr>\n";
  out += "</table>\n";
}

} // namespace

std::string DeviceHelpHtml(const TSimulation& sim) {
  // One section per class, at the place of its first device in the set.
  std::vector<std::pair<std::string, std::vector<int>>> classes;
  for (int i = 0; i < sim.NbRobots; ++i) {
    const std::string name = sim.Robots[static_cast<std::size_t>(i)]->ClassName();
    auto it = classes.begin();
    while (it != classes.end() && it->first != name)
      ++it;
    if (it == classes.end())
      classes.push_back({name, {i}});
    else
      it->second.push_back(i);
  }
  std::string out;
  for (const auto& [name, numbers] : classes)
    Device(out, numbers, *sim.Robots[static_cast<std::size_t>(numbers[0])]);
  return out;
}

bool FillHelpTemplate(const std::string& page_template, const std::string& devices,
                      std::string& page) {
  const std::string marker = kHelpDevicesMarker;
  const auto at = page_template.find(marker);
  if (at == std::string::npos) return false;
  page = page_template.substr(0, at) + devices + page_template.substr(at + marker.size());
  return true;
}
