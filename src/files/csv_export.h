// Device quantities as CSV (RFC 4180): a header row of names with their units
// ("t [s]", "PosX [m]"), then numbers in the shortest text that reads back to
// the same double, always with '.', whatever the locale. Lines end in CRLF.
// Files are written through TSafeOutput: a failed write leaves no file that
// looks complete, and an existing file is replaced only by a complete one.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/safe_output.h"
#include "models/field_access.h"
#include "sim/tick_observer.h"

class TScopeHistory;
class TSimulation;
class TRobot;

// The shortest decimal text of v that reads back to v ("0.1", "1e-05", "nan").
std::string CsvNumber(double v);
// A field as RFC 4180 writes it: quoted, quotes doubled, when it holds a
// comma, a quote or a line break.
std::string CsvField(std::string_view text);
// "PosX [m]", or "Phase" for a quantity without a unit.
std::string CsvColumnName(std::string_view name, std::string_view unit);

// Writes a row per tick (or per `every` ticks) of the selected device: the
// simulated time, then each of its described quantities as stored.
class TCsvRecorder : public TTickObserver {
public:
  // Prepares the output; the columns are those of the device selected when
  // the first tick begins. False, with the reason, when the file cannot be
  // started.
  bool Open(const std::string& path, std::uint64_t every, std::string& error);
  // The first row is the state the run starts from, before its first tick.
  void BeforeTick(const TSimulation& sim) override;
  void AfterTick(const TSimulation& sim) override;
  // The columns follow their device into a new set while it has the same
  // place and class; otherwise they read "nan" from there on.
  void AfterSetChanged(const TSimulation& sim) override;
  // Completes the file (without a tick, the header and the state as it is);
  // false, with the reason, if any write failed, the file then not written.
  bool Finish(const TSimulation& sim, std::string& error);

private:
  void Start(const TSimulation& sim);
  void Row(const TSimulation& sim);
  void Flush();

  TSafeOutput out_;
  std::uint64_t every_ = 1, ticks_ = 0;
  bool started_ = false, failed_ = false;
  int error_ = 0;            // errno of the failed write
  std::int32_t device_ = -1; // the device of the columns
  std::string class_;
  std::vector<TFieldRef> columns_;
  std::string buffer_;
};

// The history's samples of `channels` (indices into its channels) taken from
// `from` to `to` seconds, oldest first, with the time column; names carry the
// device index ("3.Ce [N·m]") unless all the channels belong to one device.
// After the stored values come those of the channels a plot shows otherwise
// (degrees for radians), named by label and shown unit ("Angle du pendule [°]"),
// so that scripts keep reading the first columns by name.
// 0 or the errno of the failure.
int WriteHistoryCsv(const TScopeHistory& history, const std::vector<int>& channels,
                    const std::string& path, double from = -HUGE_VAL, double to = HUGE_VAL);
