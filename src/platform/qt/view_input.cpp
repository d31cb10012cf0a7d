#include "platform/qt/view_input.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <optional>

#include "platform/qt/key_map.h"
#include "window/gl_form.h"

namespace {

std::optional<TMouseButton> MapButton(Qt::MouseButton b) {
  switch (b) {
  case Qt::LeftButton:
    return TMouseButton::Left;
  case Qt::RightButton:
    return TMouseButton::Right;
  case Qt::MiddleButton:
    return TMouseButton::Middle;
  default:
    return std::nullopt;
  }
}

TShiftState MouseShift(const QMouseEvent& e) {
  TShiftState s = MapModifiers(e.modifiers());
  if (e.buttons() & Qt::LeftButton) s |= ssLeft;
  if (e.buttons() & Qt::RightButton) s |= ssRight;
  if (e.buttons() & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

int Pixels(double logical, double ratio) {
  return static_cast<int>(std::lround(logical * ratio));
}

} // namespace

TViewInput::TViewInput(TGL_Form& form, TDispatch dispatch)
    : form_(form), dispatch_(std::move(dispatch)) {}

void TViewInput::Key(const QKeyEvent& event) {
  const auto key = MapKey(event.key(), event.modifiers(), event.nativeScanCode());
  if (!key) return;
  dispatch_([this, key] {
    std::uint16_t code = key->Key;
    form_.FormKeyDown(code, key->Shift);
  });
  if (AfterKey) AfterKey(key->Key, key->Shift);
}

void TViewInput::Press(const QMouseEvent& event, double ratio) {
  const auto button = MapButton(event.button());
  if (!button) return;
  const int x = Pixels(event.position().x(), ratio), y = Pixels(event.position().y(), ratio);
  const TShiftState shift = MouseShift(event);
  dispatch_([&] { form_.FormMouseDown(*button, shift, x, y); });
}

void TViewInput::Release(const QMouseEvent& event, double ratio) {
  const auto button = MapButton(event.button());
  if (!button) return;
  const int x = Pixels(event.position().x(), ratio), y = Pixels(event.position().y(), ratio);
  const TShiftState shift = MouseShift(event);
  dispatch_([&] { form_.FormMouseUp(*button, shift, x, y); });
}

void TViewInput::Move(const QMouseEvent& event, double ratio) {
  const int x = Pixels(event.position().x(), ratio), y = Pixels(event.position().y(), ratio);
  const TShiftState shift = MouseShift(event);
  dispatch_([&] { form_.FormMouseMove(shift, x, y); });
}

void TViewInput::Wheel(const QWheelEvent& event, double ratio) {
  // Qt's angle delta is already in eighths of a degree: 120 per notch.
  const int delta = event.angleDelta().y();
  if (delta == 0) return;
  const TPoint pos{Pixels(event.position().x(), ratio), Pixels(event.position().y(), ratio)};
  const TShiftState shift = MapModifiers(event.modifiers());
  dispatch_([&] { form_.FormMouseWheel(shift, delta, pos); });
}
