#include "texts/help_devices.h"

#include <string_view>
#include <vector>

#include "models/device_description.h"
#include "models/field_access.h"
#include "sim/simulation.h"
#include "texts/number_text.h"

namespace {

// The page's language: French (the descriptions' own) unless a catalogue
// gives their English.
struct TWords {
  const TCatalogue* English = nullptr;
  // A text of the page or of a description, in the page's language.
  std::string operator()(const char* french, const char* english) const {
    return English ? english : french;
  }
  std::string operator()(const char* description) const {
    return English ? Translated(*English, description) : description;
  }
};

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

// Numbers as the reader writes them.
std::string Number(double v, const TWords& w) {
  return FloatToStrF(v, TFloatFormat::General, 6, 0, w.English ? '.' : ',');
}

std::string Keys(const TCommandDescription& c, const TWords& w) {
  std::string out;
  for (std::uint16_t key : c.Keys)
    out += (out.empty() ? "" : " / ") + ("<kbd>" + Escape(w(KeyCaption(key).c_str())) + "</kbd>");
  return out;
}

// "Régulateur : non", from the label the device gives its flag.
std::string Mode(const TDeviceDescription& d, const TCommandDescription& c, const TWords& w) {
  if (!c.When) return w("toujours", "always");
  std::string label = c.When;
  for (const TQuantityDescription& q : d.Quantities)
    if (std::string_view(q.Field) == c.When) label = w(q.Label);
  return Escape(label) + (c.WhenOn ? w(" : oui", ": yes") : w(" : non", ": no"));
}

std::string Unit(const char* unit, const TWords& w) {
  return *unit ? Escape(w(unit)) : "—";
}

void Device(std::string& out, const std::vector<int>& numbers, const TRobot& robot,
            const TWords& w) {
  const TDeviceDescription& d = robot.Description();
  std::string which;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    which += (i == 0                    ? ""
              : i + 1 == numbers.size() ? w(" et ", " and ")
                                        : ", ") +
             std::to_string(numbers[i]);
  out += "<h3 id=\"appareil-" + std::to_string(numbers[0]) + "\">" + Escape(w(d.Name)) +
         " <small>(" + w("n° ", "no. ") + which + ")</small></h3>\n";
  out += "<p>" + Escape(w(d.Text)) + "</p>\n";

  if (!d.Commands.empty()) {
    out += "<table class=\"touches\">\n<tr><th>" + w("Touches", "Keys") + "</th><th>" +
           w("Effet", "Effect") + "</th><th>" + w("Quand", "When") + "</th></tr>\n";
    for (const TCommandDescription& c : d.Commands)
      out += "<tr><td>" + Keys(c, w) + "</td><td>" + Escape(w(c.Action)) + "</td><td>" +
             Mode(d, c, w) + "</td></tr>\n";
    out += "</table>\n";
  }

  out += "<table class=\"valeurs\">\n<tr><th>" + w("Valeur affichée", "Value shown") + "</th><th>" +
         w("Unité", "Unit") + "</th><th>" + w("Champ", "Field") + "</th></tr>\n";
  for (const TQuantityDescription& q : d.Quantities)
    out += "<tr><td>" + Escape(w(q.Label)) + "</td><td>" + Unit(q.DisplayUnit(), w) +
           "</td><td><code>" + Escape(q.Field) + "</code></td></tr>\n";
  out += "</table>\n";

  if (d.Parameters.empty()) {
    out += "<p class=\"sans\">" + w("Aucun paramètre réglable.", "No adjustable parameter.") +
           "</p>\n";
    return;
  }
  out += "<table class=\"parametres\">\n<tr><th>" + w("Paramètre", "Parameter") + "</th><th>" +
         w("Champ", "Field") + "</th><th>" + w("Unité", "Unit") + "</th><th>" +
         w("Valeur d'origine", "Original value") + "</th><th>" + w("Plage", "Range") +
         "</th></tr>\n";
  for (const TParameterDescription& p : d.Parameters)
    out += "<tr><td>" + Escape(w(p.Label)) + "</td><td><code>" + Escape(p.Field) +
           "</code></td><td>" + Unit(p.WordedUnit(), w) + "</td><td>" + Number(p.Default, w) +
           "</td><td>" + Number(p.Min, w) + w(" à ", " to ") + Number(p.Max, w) + "</td></tr>\n";
  out += "</table>\n";
}

} // namespace

std::string DeviceHelpHtml(const TSimulation& sim, const TCatalogue* english) {
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
    Device(out, numbers, *sim.Robots[static_cast<std::size_t>(numbers[0])], TWords{english});
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
