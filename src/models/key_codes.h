// Key codes as the keyboard handlers receive them: Windows virtual-key codes,
// which the platform layer produces from its own key events. The devices read
// them for their own keys, so they live with the models.
#pragma once

#include <cstdint>

namespace vk {
constexpr std::uint16_t Return = 0x0D;
constexpr std::uint16_t Space = 0x20;
constexpr std::uint16_t Prior = 0x21; // Page Up
constexpr std::uint16_t Next = 0x22;  // Page Down
constexpr std::uint16_t Left = 0x25;
constexpr std::uint16_t Up = 0x26;
constexpr std::uint16_t Right = 0x27;
constexpr std::uint16_t Down = 0x28;
constexpr std::uint16_t Numpad0 = 0x60; // Numpad0 + d for the keypad digit d
constexpr std::uint16_t F1 = 0x70;      // F1 + n - 1 for Fn
// 'A'..'Z' are their own codes.
constexpr std::uint16_t Letter(char c) {
  return static_cast<std::uint16_t>(c);
}
constexpr std::uint16_t Numpad(int digit) {
  return static_cast<std::uint16_t>(Numpad0 + digit);
}
} // namespace vk
