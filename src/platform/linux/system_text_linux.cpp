// The system's text length on Linux: the kernel's and the file systems' limits count bytes.
#include "platform/system_text.h"

std::size_t SystemTextLength(std::string_view text) {
    return text.size();
}

const char* SystemTextUnit() {
    return "bytes";
}
