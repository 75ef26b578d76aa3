// Keysyms to Windows' virtual-key codes, for every window system whose keyboards speak X's
// keysyms: X11's own and xkbcommon's (Wayland's) are the same numbers, so the table is written
// once here in those numbers, and each backend checks at compile time that its names agree.
//   VirtualKeyForKeysym: the code of an unshifted key's keysym; 0 for a key the saver does not
//   tell apart. IsAltKeysym: whether the keysym is an Alt or Meta key, which makes a system key.
#pragma once
#include <cstdint>

#include "platform/saver_window.h"

namespace keysym {
inline constexpr uint32_t kSpace = 0x20;
inline constexpr uint32_t kDigit0 = 0x30, kDigit9 = 0x39;
inline constexpr uint32_t kLetterA = 0x61, kLetterZ = 0x7A;
inline constexpr uint32_t kBackSpace = 0xFF08, kTab = 0xFF09, kReturn = 0xFF0D;
inline constexpr uint32_t kPause = 0xFF13, kEscape = 0xFF1B;
inline constexpr uint32_t kHome = 0xFF50, kLeft = 0xFF51, kDown = 0xFF54;
inline constexpr uint32_t kPrior = 0xFF55, kNext = 0xFF56, kEnd = 0xFF57, kInsert = 0xFF63;
inline constexpr uint32_t kNumpad0 = 0xFFB0, kNumpad9 = 0xFFB9;
inline constexpr uint32_t kF1 = 0xFFBE, kF24 = 0xFFD5;
inline constexpr uint32_t kShiftL = 0xFFE1, kShiftR = 0xFFE2;
inline constexpr uint32_t kControlL = 0xFFE3, kControlR = 0xFFE4;
inline constexpr uint32_t kMetaL = 0xFFE7, kMetaR = 0xFFE8;
inline constexpr uint32_t kAltL = 0xFFE9, kAltR = 0xFFEA;
inline constexpr uint32_t kDelete = 0xFFFF;
}  // namespace keysym

MessageParam VirtualKeyForKeysym(uint32_t key);
bool IsAltKeysym(uint32_t key);
