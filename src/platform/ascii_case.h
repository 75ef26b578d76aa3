// Letter case of plain ASCII, the same on every system and in every locale: key and value
// names, data file names and the caption compare and convert only A-Z and a-z, and leave every
// other byte (including those of UTF-8 sequences) as it is.
#pragma once
#include <cstddef>
#include <string_view>

constexpr char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}
