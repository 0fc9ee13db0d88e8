// Virtual-key codes of the keys the game gives a meaning, as the key messages carry them.
#pragma once

#include <cstdint>

constexpr uint32_t vk_back = 0x08;
constexpr uint32_t vk_tab = 0x09;
constexpr uint32_t vk_return = 0x0D;
constexpr uint32_t vk_shift = 0x10;
constexpr uint32_t vk_control = 0x11;
constexpr uint32_t vk_menu = 0x12; // Alt
constexpr uint32_t vk_escape = 0x1B;
constexpr uint32_t vk_space = 0x20;
constexpr uint32_t vk_prior = 0x21; // Page Up
constexpr uint32_t vk_next = 0x22;  // Page Down
constexpr uint32_t vk_end = 0x23;
constexpr uint32_t vk_home = 0x24;
constexpr uint32_t vk_f1 = 0x70;
constexpr uint32_t vk_f2 = 0x71;
constexpr uint32_t vk_f5 = 0x74;
constexpr uint32_t vk_f7 = 0x76;
constexpr uint32_t vk_f8 = 0x77;
constexpr uint32_t vk_f10 = 0x79;
constexpr uint32_t vk_f11 = 0x7A;
constexpr uint32_t vk_f12 = 0x7B;
constexpr uint32_t vk_letter(char upper) {
    return static_cast<uint32_t>(upper);
}

// A key message's lparam: one stroke, the whole set-1 scan code in bits 16 to 23 (its top bit
// marking an E0-prefixed key, which bit 24 flags again), bit 30 when the key was already down
// (a release, or a press the keyboard repeats), bit 31 for a release.
constexpr uint32_t key_lparam(uint32_t scan, bool released, bool repeated = false) {
    return 1 | scan << 16 | ((scan & 0x80) != 0 ? 1u << 24 : 0) |
           (released || repeated ? 1u << 30 : 0) | (released ? 1u << 31 : 0);
}

// Bits of a key message's lparam.
constexpr uint32_t scan_code_of(uint32_t lparam) {
    return (lparam >> 16) & 0xFF;
}
constexpr bool key_is_going_up(uint32_t lparam) {
    return (lparam >> 31) != 0;
}
