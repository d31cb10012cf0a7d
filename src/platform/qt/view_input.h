// Keys, buttons and the wheel of the view, turned into the form's handlers:
// virtual-key codes, and positions in device pixels (the GL viewport's unit).
#pragma once

#include <cstdint>
#include <functional>

#include "window/input.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class TGL_Form;

class TViewInput {
public:
  // `dispatch` runs a handler with the GL context current and mirrors the
  // controls afterwards.
  using TDispatch = std::function<void(const std::function<void()>&)>;
  TViewInput(TGL_Form& form, TDispatch dispatch);

  void Key(const QKeyEvent& event);
  void Press(const QMouseEvent& event, double pixel_ratio);
  void Release(const QMouseEvent& event, double pixel_ratio);
  void Move(const QMouseEvent& event, double pixel_ratio);
  void Wheel(const QWheelEvent& event, double pixel_ratio);

  // Called with each key after the key map had it (the window's own keys).
  std::function<void(std::uint16_t key, TShiftState shift)> AfterKey;

private:
  TGL_Form& form_;
  TDispatch dispatch_;
};
