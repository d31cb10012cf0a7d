// Qt key events to the Windows virtual-key codes the key handler expects.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

#include "window/virtual_keys.h"

struct TMappedKey {
  std::uint16_t Key = 0;
  TShiftState Shift = 0;
};

// The virtual-key code of a Qt key, or nothing for keys without one. Keypad
// digits give 0x60..0x69 only with Qt::KeypadModifier (Num Lock on); the
// top-row digits also give the keypad codes, since the key map has no use for
// them and laptops have no keypad. The top row is recognised by its X11/evdev
// key code as well, so that layouts whose top row types symbols (AZERTY: & é "
// ' ( - è _ ç à) behave as on Windows, where the code follows the key's place.
std::optional<TMappedKey> MapKey(int qt_key, Qt::KeyboardModifiers modifiers,
                                 unsigned native_scan_code = 0);

// The handlers' modifier set for Qt's modifiers.
TShiftState MapModifiers(Qt::KeyboardModifiers modifiers);
