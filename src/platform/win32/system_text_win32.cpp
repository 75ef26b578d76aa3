// Texts on Windows: lengths in UTF-16 units, as the wide calls and the registry count them
// (through the same conversion every text takes on its way to the system), and lines ended
// with a carriage return and a line feed.
#include "platform/system_text.h"
#include "platform/win32/wide_text.h"

std::size_t SystemTextLength(std::string_view text) {
    return WideFromUtf8(text).size();
}

const char* SystemTextUnit() {
    return "characters";
}

std::string WithSystemLineEnds(std::string_view text) {
    std::string ended;
    ended.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ended += '\r';
        ended += text[i];
    }
    return ended;
}
