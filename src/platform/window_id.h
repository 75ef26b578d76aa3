// Native window handles as the rest of the system sees them: a plain number that the
// platform layer interprets (an X window id, an HWND).
// 0 means "no window".
#pragma once
#include <cstdint>

using WindowId = std::uint64_t;
