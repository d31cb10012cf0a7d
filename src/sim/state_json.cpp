#include "sim/state_json.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "sim/scene.h"
#include "sim/simulation.h"

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\t':
      out += "\\t";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      if (c < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out += buf;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  return out + "\"";
}

namespace {

std::string Quote(const std::string& s) {
  return JsonString(s);
}

std::string Number(double v) {
  if (std::isnan(v)) return "\"nan\"";
  if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
  // "-0" would read back as the integer 0 in many parsers.
  if (v == 0 && std::signbit(v)) return "-0.0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// Writes visited fields as members of the JSON object being built.
class TJsonFields : public TFieldVisitor {
public:
  explicit TJsonFields(std::string& out) : out_(out) {}

  void Field(const char* name, const double& v) override { Member(name, Number(v)); }
  void Field(const char* name, const std::int32_t& v) override { Member(name, std::to_string(v)); }
  void Field(const char* name, const bool& v) override { Member(name, v ? "true" : "false"); }
  void Array(const char* name, const double* v, std::size_t n) override {
    Member(name, Join(n, [&](std::size_t i) { return Number(v[i]); }));
  }
  void Array(const char* name, const std::int32_t* v, std::size_t n) override {
    Member(name, Join(n, [&](std::size_t i) { return std::to_string(v[i]); }));
  }
  void Array(const char* name, const bool* v, std::size_t n) override {
    Member(name, Join(n, [&](std::size_t i) { return std::string(v[i] ? "true" : "false"); }));
  }
  void BeginObject(const char* name) override {
    Key(name);
    out_ += "{";
    first_ = true;
  }
  void EndObject() override {
    out_ += "}";
    first_ = false;
  }
  void Null(const char* name) override { Member(name, "null"); }

  void Member(const char* name, const std::string& value) {
    Key(name);
    out_ += value;
  }

private:
  void Key(const char* name) {
    if (!first_) out_ += ",";
    first_ = false;
    out_ += Quote(name) + ":";
  }
  template <class F> static std::string Join(std::size_t n, F item) {
    std::string s = "[";
    for (std::size_t i = 0; i < n; ++i)
      s += (i ? "," : "") + item(i);
    return s + "]";
  }

  std::string& out_;
  bool first_ = true;
};

} // namespace

std::string DeviceJson(const TRobot& robot) {
  std::string out = "{";
  TJsonFields fields(out);
  fields.Member("class", Quote(robot.ClassName()));
  robot.VisitFields(fields);
  return out + "}";
}

std::string StateJson(const TSceneHost& host) {
  const TSimulation& sim = host.SceneSimulation();
  std::string out = "{";
  TJsonFields fields(out);
  fields.Member("format", Quote(kSceneFormat));
  fields.Member("version", std::to_string(kSceneVersion));
  std::string devices = "[";
  for (const TRobot* r : sim.Robots)
    devices += (devices.size() > 1 ? "," : "") + Quote(r->ClassName());
  fields.Member("Devices", devices + "]");
  host.VisitSceneFields(fields);
  for (const auto& [name, json] : host.SceneExtraMembers())
    fields.Member(name.c_str(), json);
  std::string robots = "[";
  for (std::size_t i = 0; i < sim.Robots.size(); ++i)
    robots += (i ? ",\n" : "\n") + DeviceJson(*sim.Robots[i]);
  fields.Member("Robots", robots + "\n]");
  return out + "}\n";
}
