// The system's text length on Windows: UTF-16 units, as the wide calls and the registry count
// them, through the same conversion every text takes on its way to the system.
#include "platform/system_text.h"
#include "platform/win32/wide_text.h"

std::size_t SystemTextLength(std::string_view text) {
    return WideFromUtf8(text).size();
}

const char* SystemTextUnit() {
    return "characters";
}
