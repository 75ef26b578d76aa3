// Texts the user typed or chose arrive as UTF-8. Counting what the user sees as characters
// needs no decoding: every byte but a sequence's continuation bytes starts a character.
#pragma once
#include <cstddef>
#include <string_view>

constexpr bool ContinuesUtf8Character(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

constexpr std::size_t Utf8CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if (!ContinuesUtf8Character(c)) ++count;
    }
    return count;
}
