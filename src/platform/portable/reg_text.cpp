#include "platform/portable/reg_text.h"

#include <algorithm>
#include <cstdio>

#include "platform/ascii_case.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kStringHexPrefix = "hex(1):";
constexpr std::string_view kHexPrefix = "hex";
constexpr std::size_t kDwordMaxDigits = 8;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualIgnoringAsciiCase(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads a quoted, .reg-escaped text starting at s[0] == '"'; `end` gets the index after the
// closing quote. A backslash before anything but \ or " stands for itself, as a person
// typing a Windows path unescaped would mean it.
bool ReadQuoted(std::string_view s, std::string* text, std::size_t* end) {
    text->clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            *end = i + 1;
            return true;
        }
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) ++i;
        text->push_back(s[i]);
    }
    return false;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

bool ReadHexBytes(std::string_view list, std::string* bytes) {
    bytes->clear();
    list = Trim(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view token = Trim(list.substr(0, comma));
        if (token.empty() || token.size() > 2) return false;
        int byte = 0;
        for (char c : token) {
            const int digit = HexDigit(c);
            if (digit < 0) return false;
            byte = byte * 16 + digit;
        }
        bytes->push_back(static_cast<char>(byte));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return true;
}

// A section header `[name]` (trimmed) that names keyName; `[-name]` deletes a key, so it never
// names this one.
bool NamesKey(std::string_view header, std::string_view keyName) {
    if (header.back() != ']') return false;
    return EqualIgnoringAsciiCase(Trim(header.substr(1, header.size() - 2)), keyName);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(Trim(text.substr(0, end)));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A value line is `"name"=data` or `@=data`; hex data may go on over lines ending in '\'.
bool ParseValueLine(const std::vector<std::string_view>& lines, std::size_t* index,
                    RegEntry* entry) {
    std::string_view line = lines[*index];
    std::size_t pos = 1;
    entry->name.clear();
    if (line.front() == '"' && !ReadQuoted(line, &entry->name, &pos)) return false;
    line = Trim(line.substr(pos));
    if (line.empty() || line.front() != '=') return false;
    std::string data(Trim(line.substr(1)));
    if (StartsWithNoCase(data, kHexPrefix)) {
        while (!data.empty() && data.back() == '\\' && *index + 1 < lines.size()) {
            data.pop_back();
            data += lines[++*index];
        }
    }
    if (data.empty()) return false;
    entry->isValue = true;
    entry->data = std::move(data);
    return true;
}

void EraseValues(RegText& regText, std::string_view name) {
    std::erase_if(regText.entries, [&](const RegEntry& e) {
        return e.isValue && EqualIgnoringAsciiCase(e.name, name);
    });
}

}  // namespace

RegText ParseRegText(std::string_view text, std::string_view keyName) {
    RegText regText;
    if (text.find('\0') != std::string_view::npos) return regText;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    const std::vector<std::string_view> lines = SplitLines(text);
    bool inThisKey = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        if (line.front() == '[') {
            inThisKey = NamesKey(line, keyName);
            continue;
        }
        if (!inThisKey) continue;
        if (line.front() == ';') {
            regText.entries.push_back({false, {}, std::string(line)});
            continue;
        }
        if (line.front() != '"' && line.front() != '@') continue;
        RegEntry entry;
        if (!ParseValueLine(lines, &i, &entry)) continue;
        // "-" deletes the value, as when the file is imported.
        if (entry.data == "-") {
            EraseValues(regText, entry.name);
        } else {
            regText.entries.push_back(std::move(entry));
        }
    }
    return regText;
}

std::string FormatRegText(const RegText& regText, std::string_view keyName) {
    std::string out = "REGEDIT4\n\n[";
    out += keyName;
    out += "]\n";
    for (const RegEntry& entry : regText.entries) {
        if (entry.isValue) {
            out += entry.name.empty() ? std::string("@") : Quote(entry.name);
            out += '=';
        }
        out += entry.data;
        out += '\n';
    }
    return out;
}

bool DecodeRegDword(std::string_view data, std::uint32_t* value) {
    if (!StartsWithNoCase(data, kDwordPrefix)) return false;
    const std::string_view digits = Trim(data.substr(kDwordPrefix.size()));
    if (digits.empty() || digits.size() > kDwordMaxDigits) return false;
    std::uint32_t result = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        result = result * 16 + static_cast<std::uint32_t>(digit);
    }
    *value = result;
    return true;
}

bool DecodeRegString(std::string_view data, std::string* text, std::size_t* storedSize) {
    if (!data.empty() && data.front() == '"') {
        std::size_t end = 0;
        if (!ReadQuoted(data, text, &end) || !Trim(data.substr(end)).empty()) return false;
        *storedSize = text->size() + 1;
        return true;
    }
    if (!StartsWithNoCase(data, kStringHexPrefix)) return false;
    std::string bytes;
    if (!ReadHexBytes(data.substr(kStringHexPrefix.size()), &bytes)) return false;
    *text = bytes.substr(0, bytes.find('\0'));
    *storedSize = std::max(bytes.size(), text->size() + 1);
    return true;
}

std::string EncodeRegDword(std::uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", value);
    return std::string(kDwordPrefix) + digits;
}

std::string EncodeRegString(std::string_view text) {
    const bool quotable = std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (quotable) return Quote(text);
    std::string out(kStringHexPrefix);
    char pair[4];
    for (char c : text) {
        std::snprintf(pair, sizeof pair, "%02x,", static_cast<unsigned char>(c));
        out += pair;
    }
    out += "00";
    return out;
}

const RegEntry* FindRegValue(const RegText& regText, std::string_view name) {
    const auto found = std::find_if(
        regText.entries.rbegin(), regText.entries.rend(),
        [&](const RegEntry& e) { return e.isValue && EqualIgnoringAsciiCase(e.name, name); });
    return found == regText.entries.rend() ? nullptr : &*found;
}

void PutRegValue(RegText& regText, std::string_view name, std::string data) {
    auto& entries = regText.entries;
    const auto first = std::find_if(entries.begin(), entries.end(), [&](const RegEntry& e) {
        return e.isValue && EqualIgnoringAsciiCase(e.name, name);
    });
    if (first == entries.end()) {
        entries.push_back({true, std::string(name), std::move(data)});
        return;
    }
    const std::size_t index = static_cast<std::size_t>(first - entries.begin());
    EraseValues(regText, name);
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(index),
                   {true, std::string(name), std::move(data)});
}
