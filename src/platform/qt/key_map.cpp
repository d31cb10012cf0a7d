#include "platform/qt/key_map.h"

TShiftState MapModifiers(Qt::KeyboardModifiers modifiers) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  // On macOS Qt swaps Control and Meta; either way the user's Ctrl key is this one.
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  return s;
}

namespace {
// X11 and Wayland key codes (evdev + 8) of the top-row keys 1..9, 0.
constexpr unsigned kTopRowFirst = 10;
constexpr unsigned kTopRowLast = 19;
} // namespace

std::optional<TMappedKey> MapKey(int qt_key, Qt::KeyboardModifiers modifiers,
                                 unsigned native_scan_code) {
  const TShiftState shift = MapModifiers(modifiers);
  auto code = [&](int vk_code) -> std::optional<TMappedKey> {
    if (vk_code == 0) return std::nullopt;
    return TMappedKey{static_cast<std::uint16_t>(vk_code), shift};
  };

  if (!(modifiers & Qt::KeypadModifier) && native_scan_code >= kTopRowFirst &&
      native_scan_code <= kTopRowLast)
    return code(vk::Numpad0 + (native_scan_code - kTopRowFirst + 1) % 10);

  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return code(vk::Numpad0 + (qt_key - Qt::Key_0));
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return code('A' + (qt_key - Qt::Key_A));

  // Without Num Lock the keypad sends navigation keys, as on Windows.
  switch (qt_key) {
  case Qt::Key_Left:
    return code(vk::Left);
  case Qt::Key_Right:
    return code(vk::Right);
  case Qt::Key_Up:
    return code(vk::Up);
  case Qt::Key_Down:
    return code(vk::Down);
  case Qt::Key_PageUp:
    return code(vk::Prior);
  case Qt::Key_PageDown:
    return code(vk::Next);
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return code(vk::Return);
  case Qt::Key_Escape:
    return code(0x1B);
  case Qt::Key_Space:
    return code(0x20);
  case Qt::Key_End:
    return code(0x23);
  case Qt::Key_Home:
    return code(0x24);
  case Qt::Key_Insert:
    return code(0x2D);
  case Qt::Key_Delete:
    return code(0x2E);
  case Qt::Key_Tab:
    return code(0x09);
  case Qt::Key_Backspace:
    return code(0x08);
  case Qt::Key_Asterisk:
    return code((modifiers & Qt::KeypadModifier) ? 0x6A : 0);
  case Qt::Key_Plus:
    return code((modifiers & Qt::KeypadModifier) ? 0x6B : 0xBB);
  case Qt::Key_Minus:
    return code((modifiers & Qt::KeypadModifier) ? 0x6D : 0xBD);
  case Qt::Key_Slash:
    return code((modifiers & Qt::KeypadModifier) ? 0x6F : 0xBF);
  default:
    break;
  }
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return code(0x70 + (qt_key - Qt::Key_F1));
  return std::nullopt;
}
