// CSV export: exact numbers whatever the locale, the command line's rows
// against the state dump, and failed writes that leave no file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale>
#include <nlohmann/json.hpp>
#include <sstream>

#include "files/csv_export.h"
#include "models/device_description.h"
#include "platform/headless/runner.h"
#include "sim/scope_history.h"
#include "sim/state_json.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

std::uint64_t Bits(double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

double Read(const std::string& s) {
  double v = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  EXPECT_TRUE(ec == std::errc() && p == s.data() + s.size()) << s;
  return v;
}

std::vector<std::vector<std::string>> Rows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "a line without CRLF";
    if (end == std::string::npos) break;
    std::vector<std::string> row;
    std::istringstream line(text.substr(at, end - at));
    for (std::string cell; std::getline(line, cell, ',');)
      row.push_back(cell);
    rows.push_back(row);
    at = end + 2;
  }
  return rows;
}

struct TRun {
  int code;
  std::string err;
};

TRun RunKinemo(std::vector<std::string> args) {
  std::ostringstream out, err;
  args.insert(args.begin(), "--headless");
  return {RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, err), err.str()};
}

// A locale writing "3,5", as streams and printf would under a French desktop.
struct TCommaLocale {
  struct TComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  std::locale saved = std::locale::global(std::locale(std::locale::classic(), new TComma));
  // The C library's too, where the system has such a locale.
  std::string saved_c = std::setlocale(LC_NUMERIC, nullptr);
  TCommaLocale() {
    for (const char* name : {"fr_FR.UTF-8", "de_DE.UTF-8", "fr_FR", "de_DE"})
      if (std::setlocale(LC_NUMERIC, name)) break;
  }
  ~TCommaLocale() {
    std::locale::global(saved);
    std::setlocale(LC_NUMERIC, saved_c.c_str());
  }
};

TEST(CsvText, NumbersAreShortestRoundTripAndFieldsQuotedOnlyWhenNeeded) {
  const TCommaLocale comma;
  for (double v : {0.1, 0.1 + 0.2, -0.0, 5e-324, 1e-5, 1e300, -2.5, std::nextafter(1.0, 2.0),
                   std::numeric_limits<double>::max()}) {
    const std::string s = CsvNumber(v);
    EXPECT_EQ(Bits(Read(s)), Bits(v)) << s;
    EXPECT_EQ(s.find(','), std::string::npos) << s;
  }
  EXPECT_EQ(CsvNumber(0.1), "0.1");
  EXPECT_EQ(CsvNumber(2.0), "2");
  const struct {
    const char *In, *Out;
  } fields[] = {{"PosX [m]", "PosX [m]"},
                {"a,b", "\"a,b\""},
                {"say \"hi\"", "\"say \"\"hi\"\"\""},
                {"two\nlines", "\"two\nlines\""}};
  for (const auto& f : fields)
    EXPECT_EQ(CsvField(f.In), f.Out);
  EXPECT_EQ(CsvColumnName("PosX", "m"), "PosX [m]");
  EXPECT_EQ(CsvColumnName("Phase", ""), "Phase");
}

// The field at a state-dump path ("State[0]", "WheelL.SpinRate") of a device's JSON.
double DumpValue(const nlohmann::json& device, const std::string& path) {
  std::string pointer = "/";
  for (char c : path)
    pointer += c == '.' || c == '[' ? '/' : c == ']' ? '\0' : c;
  pointer.erase(std::remove(pointer.begin(), pointer.end(), '\0'), pointer.end());
  const nlohmann::json& v = device.at(nlohmann::json::json_pointer(pointer));
  if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
  if (v.is_string()) return Read(v.get<std::string>());
  return v.get<double>();
}

TEST(CsvCommandLine, OneRowPerTickSteppingByDtAndTheLastRowIsTheStateDump) {
  const TCommaLocale comma; // the file is the same under any locale
  TScratchDir dir;
  // Devices with a controller, a key-driven motor, a kinematic robot.
  for (int device : {8, 6, 3, 1}) {
    SCOPED_TRACE(device);
    const std::string csv = dir / "run.csv", state = dir / "state.json";
    const std::string actions = "select:" + std::to_string(device) +
                                " key:G key:Num8 key:Num9 menu:Animate ticks:12 key:E ticks:9";
    const TRun r = RunKinemo({"--do", actions, "--csv", csv, "--state", state});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(ReadFile(csv));
    const auto dump = nlohmann::json::parse(ReadFile(state));
    const auto& quantities = TFormFixture().Device(device).Description().Quantities;
    ASSERT_EQ(rows.size(), 2u + 21u); // the header, the start, the ticks
    ASSERT_EQ(rows[0].size(), 1 + quantities.size());
    EXPECT_EQ(rows[0][0], "t [s]");
    for (std::size_t q = 0; q < quantities.size(); ++q)
      EXPECT_EQ(rows[0][1 + q], CsvColumnName(quantities[q].Field, quantities[q].Unit));
    double t = 0;
    for (std::size_t k = 1; k < rows.size(); ++k) {
      ASSERT_EQ(rows[k].size(), rows[0].size()) << "row " << k;
      ASSERT_EQ(Bits(Read(rows[k][0])), Bits(t)) << "row " << k;
      t = t + 0.01; // as the tick adds Dt
    }
    const auto& last = rows.back();
    EXPECT_EQ(Bits(Read(last[0])), Bits(dump["SimTime"].get<double>()));
    for (std::size_t q = 0; q < quantities.size(); ++q)
      EXPECT_EQ(Bits(Read(last[1 + q])),
                Bits(DumpValue(dump["Robots"][device], quantities[q].Field)))
          << quantities[q].Field;
  }
}

TEST(CsvCommandLine, EveryNthTickAfterTheStartAndNoTickGivesTheStartAlone) {
  TScratchDir dir;
  const std::string csv = dir / "every.csv";
  ASSERT_EQ(RunKinemo({"--do", "menu:Animate ticks:50", "--csv", csv, "--csv-every", "7"}).code, 0);
  const auto rows = Rows(ReadFile(csv));
  ASSERT_EQ(rows.size(), 2u + 7u); // the start, ticks 7, 14, ... 49
  EXPECT_EQ(rows[1][0], "0");
  double t = 0;
  for (int k = 1; k <= 49; ++k) {
    t = t + 0.01;
    if (k % 7 == 0) {
      EXPECT_EQ(Bits(Read(rows[1 + k / 7][0])), Bits(t)) << k;
    }
  }
  ASSERT_EQ(RunKinemo({"--do", "ticks:5", "--csv", csv}).code, 0); // paused: no tick
  const auto still = Rows(ReadFile(csv));
  ASSERT_EQ(still.size(), 2u); // the header and the state it stayed in
  EXPECT_EQ(still[1][0], "0");

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--csv-every", "3"},
                                              {"--csv", csv, "--csv-every", "0"},
                                              {"--csv", csv, "--csv-every", "x"},
                                              {"--csv", ""}})
    EXPECT_EQ(RunKinemo(bad).code, 2) << bad[0] << " " << bad[1];
}

TEST(CsvHistory, ExportsTheChosenChannelsOldestFirst) {
  TFormFixture f;
  TScopeHistory history(f.form->Sim);
  f.form->Sim.TickObservers.push_back(&history);
  f.Ticks(5);
  TScratchDir dir;
  const int a = history.Find(8, "PosX"), b = history.Find(8, "Fx"), c = history.Find(3, "Ce");
  ASSERT_EQ(WriteHistoryCsv(history, {a, b}, dir / "one.csv"), 0);
  auto rows = Rows(ReadFile(dir / "one.csv"));
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"t [s]", "PosX [m]", "Fx [N]"}));
  EXPECT_EQ(Bits(Read(rows[5][1])), Bits(f.Device(8).PosX));
  ASSERT_EQ(WriteHistoryCsv(history, {c, a}, dir / "two.csv"), 0);
  rows = Rows(ReadFile(dir / "two.csv"));
  EXPECT_EQ(rows[0], (std::vector<std::string>{"t [s]", "3.Ce [N·m]", "8.PosX [m]"}));
  EXPECT_EQ(rows[1][0], "0.01");
  EXPECT_NE(WriteHistoryCsv(history, {a}, dir / "none/x.csv"), 0);
}

} // namespace KINEMO_UNITY_ID
} // namespace
