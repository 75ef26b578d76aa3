// Text at the edge of the Windows backend: the rest of the program speaks UTF-8, the system's
// wide ("W") calls UTF-16, so every path, title and message is converted here on its way in
// and out. A malformed UTF-8 sequence becomes U+FFFD rather than failing the call it is for.
#pragma once
#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
