#include "files/csv_export.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>

#include "models/device_description.h"
#include "sim/scope_history.h"
#include "sim/simulation.h"

namespace {

constexpr std::string_view kEnd = "\r\n";
// Rows are gathered and written in blocks of about this size.
constexpr std::size_t kBlock = 1 << 16;

void AppendNumber(std::string& s, double v) {
  char text[32];
  // Without a format, to_chars writes the shortest round-trip form, and never
  // consults the locale.
  const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
  s.append(text, ec == std::errc() ? end : text);
}

std::string DeviceHeader(const TRobot& robot) {
  std::string line = CsvColumnName("t", "s");
  for (const TQuantityDescription& q : robot.Description().Quantities)
    line += "," + CsvField(CsvColumnName(q.Field, q.Unit));
  return line += kEnd;
}

} // namespace

std::string CsvNumber(double v) {
  std::string s;
  AppendNumber(s, v);
  return s;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted += '"';
}

std::string CsvColumnName(std::string_view name, std::string_view unit) {
  std::string s(name);
  if (!unit.empty()) s.append(" [").append(unit).append("]");
  return s;
}

bool TCsvRecorder::Open(const std::string& path, std::uint64_t every, std::string& error) {
  every_ = every ? every : 1;
  if (const int e = out_.Open(path)) {
    error = "cannot write " + path + ": " + std::strerror(e);
    return false;
  }
  return true;
}

void TCsvRecorder::Start(const TSimulation& sim) {
  started_ = true;
  device_ = sim.RobSel;
  const TRobot& robot = sim.Selected();
  class_ = robot.ClassName();
  buffer_ = DeviceHeader(robot);
  for (const TQuantityDescription& q : robot.Description().Quantities)
    columns_.push_back(FindField(robot, q.Field)); // every described field exists
}

void TCsvRecorder::AfterSetChanged(const TSimulation& sim) {
  if (!started_) return;
  const bool same = device_ < sim.NbRobots && class_ == sim.Device(device_).ClassName();
  const TRobot* robot = same ? &sim.Device(device_) : nullptr;
  std::size_t k = 0;
  for (const TQuantityDescription& q :
       robot ? robot->Description().Quantities : std::vector<TQuantityDescription>{})
    columns_[k++] = FindField(*robot, q.Field);
  for (; k < columns_.size(); ++k)
    columns_[k] = {};
}

void TCsvRecorder::Flush() {
  errno = 0;
  if (!failed_ && !out_.Write(buffer_)) {
    failed_ = true;
    error_ = errno ? errno : EIO;
    out_.Discard(); // nothing more goes to a file that cannot be whole
  }
  buffer_.clear();
}

void TCsvRecorder::BeforeTick(const TSimulation& sim) {
  if (started_ || failed_) return;
  Start(sim);
  Row(sim);
}

void TCsvRecorder::AfterTick(const TSimulation& sim) {
  if (failed_ || ++ticks_ % every_ != 0) return;
  if (!started_) Start(sim);
  Row(sim);
}

void TCsvRecorder::Row(const TSimulation& sim) {
  AppendNumber(buffer_, sim.SimTime);
  for (const TFieldRef& ref : columns_) {
    buffer_ += ',';
    AppendNumber(buffer_, ref ? ref.Get() : std::numeric_limits<double>::quiet_NaN());
  }
  buffer_ += kEnd;
  if (buffer_.size() >= kBlock) Flush();
}

bool TCsvRecorder::Finish(const TSimulation& sim, std::string& error) {
  if (!started_ && !failed_) BeforeTick(sim);
  Flush();
  const int e = failed_ ? error_ : out_.Commit();
  if (e) {
    error = "cannot write " + out_.Target() + ": " + std::strerror(e);
    return false;
  }
  return true;
}

int WriteHistoryCsv(const TScopeHistory& history, const std::vector<int>& channels,
                    const std::string& path, double from, double to) {
  const auto& all = history.Channels();
  bool one_device = true;
  for (int c : channels)
    one_device = one_device && all[c].Device == all[channels.front()].Device;
  std::string text = CsvColumnName("t", "s");
  for (int c : channels) {
    const TScopeHistory::TChannel& ch = all[c];
    const std::string name = one_device ? std::string(ch.Quantity->Field)
                                        : std::to_string(ch.Device) + "." + ch.Quantity->Field;
    text += "," + CsvField(CsvColumnName(name, ch.Quantity->Unit));
  }
  std::vector<int> shown; // the channels a plot shows scaled
  for (int c : channels)
    if (all[c].Quantity->Scale != 1) {
      shown.push_back(c);
      const std::string label =
          one_device ? std::string(all[c].Quantity->Label)
                     : std::to_string(all[c].Device) + " · " + all[c].Quantity->Label;
      text += "," + CsvField(CsvColumnName(label, all[c].Quantity->DisplayUnit()));
    }
  text += kEnd;
  for (std::size_t k = 0; k < history.Count(); ++k) {
    if (!(history.Time(k) >= from && history.Time(k) <= to)) continue;
    AppendNumber(text, history.Time(k));
    for (int c : channels) {
      text += ',';
      AppendNumber(text, history.Value(static_cast<std::size_t>(c), k));
    }
    for (int c : shown) {
      text += ',';
      AppendNumber(text, history.Value(static_cast<std::size_t>(c), k) * all[c].Quantity->Scale);
    }
    text += kEnd;
  }
  return WriteFileSafely(path, text);
}
