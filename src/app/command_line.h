// The screen-saver command line: "<program path> [switch][letter][argument]".
//
// ScanCommandLine is a pure function of the text. It never reads outside the text, whatever
// bytes it holds. Only the ASCII space is a blank; one switch character ('-' or '/') is
// skipped; the letter picks the mode (p/l preview, s saver, c configure, a password, anything
// else configure); numbers are read as atoi reads them, with overflow wrapping to 32 bits.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/run_flags.h"

// Where the parent window comes from; the entry point resolves Desktop and Foreground.
enum class ParentSource { None, Number, Desktop, Foreground };

struct CommandLine {
    RunMode mode = RunMode::Config;
    std::uint8_t previewFlag = 0;
    ParentSource parentSource = ParentSource::None;
    std::int32_t parentNumber = 0;  // meaningful when parentSource is Number; never 0 then
};

CommandLine ScanCommandLine(std::string_view text);

// atoi's reading of a decimal number: leading white space, an optional sign, digits; the
// value wraps modulo 2^32 instead of overflowing. Text without digits reads as 0.
std::int32_t ReadDecimal(std::string_view text);
