// The telemetry line and the number texts it is built from.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "test_support.h"
#include "texts/number_text.h"

TEST(StatusText, RatioPart) {
  struct TCase {
    int interval;
    double dt;
    const char* text;
  };
  const TCase cases[] = {
      {10, 0.01, ", dt:Tmr 1:1"},     {100, 0.1, ", dt:Tmr 1:1"},     {100, 0.01, ", dt:Tmr 1:10"},
      {100, 0.3, ", dt:Tmr 3.000:1"}, {100, 0.2, ", dt:Tmr 2.000:1"}, {0, 0.01, ", dt:Tmr 1:0"},
      {10, 0.0, ", dt:Tmr 1:\u221e"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TFormFixture f;
    f.form->Timer1.Interval = c.interval;
    f.form->Sim.Dt = c.dt;
    EXPECT_EQ(f.form->StatusRatioText(), c.text);
    f.form->UpdateStatusText(); // must not fail for any of them
  }
}

TEST(StatusText, CommaSeparatorAndTheOtherDeviceKinds) {
  TFormFixture f;
  f.tk.Separator = ',';
  f.form->Sim.SimTime = 2.25;
  f.form->SelectDevice(6);
  f.form->UpdateStatusText();
  EXPECT_EQ(f.form->StatusText(),
            "Fps:0, t:2,25, timer:0,01, dt:Tmr 1:1, fs:1, DemoPhase:0, DemoStep:0");
  f.form->SelectDevice(5); // the rail: only the common head
  f.form->UpdateStatusText();
  EXPECT_EQ(f.form->StatusText(), "Fps:0, t:2,25, timer:0,01, dt:Tmr 1:1");
  f.form->SelectDevice(1);
  f.form->UpdateStatusText();
  EXPECT_EQ(
      f.form->StatusText(),
      "Fps:0, t:2,25, timer:0,01, dt:Tmr 1:1, RobSel:1, PosX:-1, PosY:-1,5, WD:0, WG:0, Vit:0");
}

TEST(NumberText, GeneralAndFixedFormats) {
  struct TCase {
    double v;
    const char* general15;
  };
  const TCase cases[] = {{0, "0"},
                         {1.5, "1.5"},
                         {-1, "-1"},
                         {0.1 + 0.2, "0.3"},
                         {1e-5, "1E-5"},
                         {1.5e20, "1.5E20"},
                         {1e15, "1E15"},
                         {1e14, "100000000000000"},
                         {0.0001, "0.0001"},
                         {25, "25"},
                         {999999999999999, "999999999999999"},
                         {-123456789012345, "-123456789012345"}};
  for (const TCase& c : cases)
    EXPECT_EQ(FloatToStr(c.v, '.'), c.general15) << c.v;
  EXPECT_EQ(FloatToStrF(2.0, TFloatFormat::Fixed, 7, 3, ','), "2,000");
  EXPECT_EQ(FloatToStrF(3.14159, TFloatFormat::General, 6, 6, '.'), "3.14159");
  EXPECT_EQ(FloatToStrF(2.96 + 0.06, TFloatFormat::General, 6, 6, '.'), "3.02");
  EXPECT_EQ(FloatToStrF(-0.0001, TFloatFormat::Fixed, 7, 3, '.'), "0.000");
}

TEST(NumberText, ReadableMeasuresArePlainWithTheDigitsThatMatter) {
  const double deg = 57.29577951308232 * 1e-6; // a micro-radian, in degrees
  struct TCase {
    double v, resolution;
    const char* text;
  };
  const TCase cases[] = {{4.8661e-172, deg, "0"},
                         {-4.3502e-172, 1e-6, "0"},
                         {-0.0, 1e-6, "0"},
                         {-0.4e-6, 1e-6, "0"},
                         {12.000001, deg, "12"},
                         {0.0123456789, 1e-6, "0.012346"},
                         {0.00001234, 1e-6, "0.000012"},
                         {-1234.5678, 1e-6, "-1234.6"},
                         {123456.7, 1e-6, "123457"},
                         {0.5, 0, "0.5"},
                         {2.5e13, 1e-6, "2.5E13"},
                         {HUGE_VAL, 1e-6, "INF"}};
  for (const TCase& c : cases)
    EXPECT_EQ(ReadableNumber(c.v, c.resolution, '.'), c.text) << c.v;
  EXPECT_EQ(ReadableNumber(-0.25, 1e-6, ','), "-0,25");
}

TEST(NumberText, ReadingTakesTheSeparatorAndTheKeypadPointButNeverGuessesAGroup) {
  const struct {
    const char* text;
    char sep;
    std::optional<double> want;
  } cases[] = {
      {"0.02", '.', 0.02},
      {"0,02", ',', 0.02},
      {"0.02", ',', 0.02}, // the keypad's point where the comma is the separator
      {"0,02", '.', {}},   // a comma where the point is: refused
      {"1,000", '.', {}},  // a thousand or one: neither is guessed
      {"1,000.5", '.', {}},
      {"1.000,5", ',', {}},
      {"1 000", ',', {}},
      {"1 000", ',', {}}, // the French thousands space
      {"1,5,2", ',', {}},
      {"1.5,2", ',', {}},
      {" -2,5E-3 ", ',', -2.5e-3},
      {"+1e3", '.', 1000},
      {"-0.5", ',', -0.5},
      {"+-1", '.', {}},
      {"--1", '.', {}},
      {"-", '.', {}},
      {"1e", '.', {}},
      {",", ',', {}},
      {"", '.', {}},
      {" ", ',', {}},
      {"abc", '.', {}},
      {"1.5x", '.', {}},
      {"0x10", '.', {}},
      {"inf", '.', {}},
      {"nan", ',', {}},
      {"1e999", '.', {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrToFloat(c.text, c.sep), c.want) << "'" << c.text << "' with " << c.sep;
  EXPECT_EQ(StrToInt("8"), 8);
  EXPECT_EQ(StrToInt("-1"), -1);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_FALSE(StrToInt("3.5"));
  EXPECT_FALSE(StrToInt("99999999999"));
  EXPECT_FALSE(StrToInt(""));
}
