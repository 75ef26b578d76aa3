#include "app/command_line.h"

namespace {

constexpr char kBlank = ' ';

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The program path is quoted when it holds spaces; a path in quotes may hold anything.
std::size_t SkipProgramPath(std::string_view text) {
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '"') {
        pos = 1;
        while (pos < text.size() && text[pos] != '"') ++pos;
    } else {
        while (pos < text.size() && text[pos] != kBlank) ++pos;
    }
    if (pos < text.size()) ++pos;  // the closing quote or the separating space
    return pos;
}

std::size_t SkipSpacesAndColons(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (text[pos] == kBlank || text[pos] == ':')) ++pos;
    return pos;
}

void SetNumberedParent(CommandLine& line, std::int32_t number) {
    line.parentNumber = number;
    line.parentSource = number == 0 ? ParentSource::None : ParentSource::Number;
}

bool IsPreviewWindowPlaceholder(std::string_view rest) {
    return rest == "scrprev" || rest == "ScrPrev" || rest == "SCRPREV";
}

}  // namespace

std::int32_t ReadDecimal(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Unsigned arithmetic wraps by definition; the low 32 bits are the value modulo 2^32.
    std::uint64_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        ++pos;
    }
    if (negative) value = 0 - value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

CommandLine ScanCommandLine(std::string_view text) {
    CommandLine line;
    std::size_t pos = SkipProgramPath(text);
    while (pos < text.size() && text[pos] == kBlank) ++pos;
    if (pos >= text.size()) return line;
    if (text[pos] == '-' || text[pos] == '/') ++pos;
    if (pos >= text.size()) return line;

    const char letter = text[pos];
    switch (letter) {
        case 'p':
        case 'P':
        case 'l':
        case 'L': {
            line.mode = RunMode::Preview;
            line.previewFlag = 1;
            std::string_view rest = text.substr(SkipSpacesAndColons(text, pos + 1));
            if (!IsPreviewWindowPlaceholder(rest)) SetNumberedParent(line, ReadDecimal(rest));
            break;
        }
        case 's':
        case 'S':
            line.mode = RunMode::Saver;
            line.parentSource = ParentSource::Desktop;
            break;
        case 'c':
        case 'C': {
            std::size_t restPos = SkipSpacesAndColons(text, pos + 1);
            if (restPos >= text.size()) {
                line.parentSource = ParentSource::Foreground;
            } else {
                SetNumberedParent(line, ReadDecimal(text.substr(restPos)));
            }
            break;
        }
        case 'a':
        case 'A':
            line.mode = RunMode::Password;
            SetNumberedParent(line, ReadDecimal(text.substr(SkipSpacesAndColons(text, pos + 1))));
            break;
        default:
            break;
    }
    return line;
}
