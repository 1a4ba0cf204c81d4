#pragma once

// Virtual-key codes and the keyboard's character rules.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_MENU = 0x12; // Alt
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_PRIOR = 0x21; // Page Up
constexpr uint8_t VK_NEXT = 0x22; // Page Down
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A.
constexpr uint8_t VK_F1 = 0x70; // F1..F12 are 0x70..0x7B
constexpr uint8_t VK_F12 = 0x7B;

// The virtual key of a key name: Enter, Escape, Tab, Backspace, Insert, Delete, Home, End,
// PageUp, PageDown, Left, Up, Right, Down, Shift, Ctrl, Alt, F1..F12, A..Z, 0..9 (any case).
std::optional<uint8_t> virtualKeyNamed(std::string_view name);

// The name of a virtual key (for tools and messages); "0x.." for keys without a name.
std::string_view virtualKeyName(uint8_t vk, char (&scratch)[8]);

// The character a key press makes by itself: 8, 9, 13 and 27 for Backspace, Tab, Enter and
// Escape; with Control held, 1..26 for the letters, 10 for Enter and 127 for Backspace (Tab
// makes none). Nothing for other keys, whose characters come from the typed text.
std::optional<uint8_t> keyCharacter(uint8_t vk, bool control);

} // namespace platform
