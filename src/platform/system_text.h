// Texts as the system measures and ends them.
//
// How long the system counts a text, for the limits it sets on names and typed texts: Windows
// counts UTF-16 units (a registry value or an edit box of 255 characters, whatever the script),
// Linux bytes (a file name of 255 bytes). Texts are UTF-8 on our side, so a limit in the
// system's units needs a buffer of up to kMostUtf8BytesPerSystemUnit bytes a unit.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// A UTF-16 unit takes at most 3 bytes in UTF-8 (a pair of them, 4); a byte takes 1.
inline constexpr std::size_t kMostUtf8BytesPerSystemUnit = 3;

// The length of a UTF-8 text in the system's units.
std::size_t SystemTextLength(std::string_view text);

// The unit's name for a message that gives a length in it: "characters" or "bytes".
const char* SystemTextUnit();

// The text with the system's line ends, as a file written in text mode has them: on Windows
// each line feed not already after a carriage return gets one; elsewhere the text as it is.
std::string WithSystemLineEnds(std::string_view text);
