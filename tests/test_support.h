// Shared helpers for the tests: a window on the scripted toolkit, and devices
// that record what the tick shows them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_toolkit.h"
#include "scratch.h"
#include "window/gl_form.h"

struct TFormFixture {
  THeadlessToolkit tk;
  std::unique_ptr<TGL_Form> form = std::make_unique<TGL_Form>(tk);

  TFormFixture() { form->UseDataFolder(KINEMO_BUILD_DATA_DIR); }
  TRobot& Device(int i) { return *form->Sim.Robots[i]; }
  // Puts `robot` in slot i of the device set in place of the device there.
  template <class T> T* Replace(int i, T* robot) {
    form->Sim.ReplaceDevice(i, std::unique_ptr<TRobot>(robot));
    return robot;
  }
  // Answers the next modal dialog with `fill` then OK.
  void AnswerOk(std::function<void(TGL_Form&)> fill) {
    tk.AnswerDialog = [this, fill](TDialogId) {
      fill(*form);
      return TModalResult::OK;
    };
  }
  // Presses `key` `times` times.
  void Key(std::uint16_t key, TShiftState shift = 0, int times = 1) {
    for (int k = 0; k < times; ++k) {
      std::uint16_t copy = key;
      form->FormKeyDown(copy, shift);
      EXPECT_EQ(copy, key); // the handler leaves the key as it is
    }
  }
  // Runs n ticks, starting the timer first if it is off.
  void Ticks(int n) {
    if (!form->Timer1.Enabled) form->AnimateClick();
    for (int t = 0; t < n; ++t)
      form->Timer1Timer();
  }
};

// A device that logs every call the tick makes, with what it saw.
class TRecorder : public TRobot {
public:
  struct TEvent {
    std::string What;
    int Device;
    double Value; // AutoPilot: t; Step: h
    bool InContact;
    std::vector<double> SeenX; // PosX of every device at the time of the call
  };

  TRecorder(double x, double y, int index, std::vector<TEvent>& log, const TRobotArray* set)
      : TRobot(x, y, index), log_(log), set_(set) {
    TypeCode = 99;
  }
  void AutoPilot(double t) override { Record("AutoPilot", t); }
  void Step(double h) override {
    Record("Step", h);
    PosX += Move;
    if (CollisionPending && RecoilOnStep) {
      CollisionPending = false;
      Recoiling = true;
    }
  }
  void OnCollision() override { Record("OnCollision", 0); }

  double Move = 0;
  bool RecoilOnStep = false;

private:
  void Record(const char* what, double value) {
    std::vector<double> xs;
    for (const TRobot* r : *set_)
      xs.push_back(r->PosX);
    log_.push_back({what, Index, value, InContact, xs});
  }
  std::vector<TEvent>& log_;
  const TRobotArray* set_;
};
