// Key codes as the keyboard handler receives them: Windows virtual-key codes,
// which the platform layer produces from its own key events.
#pragma once

#include <cstdint>

#include "platform/input.h" // TShiftState: of a key event only Ctrl is consulted

namespace vk {
constexpr std::uint16_t Return = 0x0D;
constexpr std::uint16_t Prior = 0x21; // Page Up
constexpr std::uint16_t Next = 0x22;  // Page Down
constexpr std::uint16_t Left = 0x25;
constexpr std::uint16_t Up = 0x26;
constexpr std::uint16_t Right = 0x27;
constexpr std::uint16_t Down = 0x28;
constexpr std::uint16_t Numpad0 = 0x60; // Numpad0 + d for the keypad digit d
// 'A'..'Z' are their own codes.
constexpr std::uint16_t Letter(char c) {
  return static_cast<std::uint16_t>(c);
}
} // namespace vk
