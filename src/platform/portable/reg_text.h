// The REGEDIT4 text of one registry key: parsing it leniently, editing its values and
// writing it back.
//
// Values are lines `"name"=dword:0000040d` and `"name"="text"`, where the text escapes a
// backslash and a double quote with a backslash; a string holding control characters (a line
// break cannot stand inside quotes) is written as `"name"=hex(1):..,00`. Reading accepts what a
// person typing the file would write: any letter case in `dword:`, 1 to 8 hex digits, spaces
// and tabs around the tokens, CRLF line ends, a byte order mark, value names in any case.
//
// A value of any other form (hex:, a malformed dword) is kept as written and reads as a value
// of another type. Comment lines (;) are kept; other lines (headers, garbage) are dropped when
// the text is written back. Text with a zero byte is binary, not a key: it has no values.
//
// Values after a section header of another key (`[HKEY_...\Other]`, `[-HKEY_...]`) belong to
// that key, not to this one: they are neither read nor written back. Values before the first
// header, as a person may type them, and after a header naming this key (in any letter case)
// are this key's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct RegEntry {
    bool isValue = false;  // false: a comment line, kept verbatim in `data`
    std::string name;      // unescaped value name
    std::string data;      // the value as written after `=`, trimmed
};

struct RegText {
    std::vector<RegEntry> entries;
};

RegText ParseRegText(std::string_view text, std::string_view keyName);

// The whole file: the REGEDIT4 header, the key's section line, then the entries.
std::string FormatRegText(const RegText& regText, std::string_view keyName);

bool DecodeRegDword(std::string_view data, std::uint32_t* value);
// The string and its stored size in bytes (terminating zero included).
bool DecodeRegString(std::string_view data, std::string* text, std::size_t* storedSize);

std::string EncodeRegDword(std::uint32_t value);
std::string EncodeRegString(std::string_view text);

// The last entry of that name (names compare without regard to ASCII case), or null.
const RegEntry* FindRegValue(const RegText& regText, std::string_view name);
// Replaces the value of that name in place (dropping duplicates) or appends it.
void PutRegValue(RegText& regText, std::string_view name, std::string data);
