// Texts on POSIX systems: the kernel's and the file systems' limits count bytes, and a line ends
// with a line feed alone.
#include "platform/system_text.h"

std::size_t SystemTextLength(std::string_view text) {
    return text.size();
}

const char* SystemTextUnit() {
    return "bytes";
}

std::string WithSystemLineEnds(std::string_view text) {
    return std::string(text);
}
