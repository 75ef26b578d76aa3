#include "app/host_arguments.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

namespace {

// An X window id as hosts write it: decimal, or hexadecimal after 0x.
std::optional<WindowId> ParseWindowId(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0) {
        return std::nullopt;
    }
    return WindowId{id};
}

bool IsOption(std::string_view argument, std::string_view name) {
    if (argument.starts_with("--")) argument.remove_prefix(1);
    return argument.size() == name.size() + 1 && argument[0] == '-' && argument.substr(1) == name;
}

HostArguments Invalid(std::string error) {
    HostArguments result;
    result.error = std::move(error);
    return result;
}

}  // namespace

HostArguments ParseHostArguments(const std::vector<std::string_view>& arguments,
                                 const char* environmentWindow) {
    bool root = false;
    std::optional<WindowId> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (IsOption(argument, "root")) {
            root = true;
        } else if (IsOption(argument, "window-id")) {
            if (i + 1 == arguments.size()) return Invalid("-window-id needs a window id");
            given = ParseWindowId(arguments[++i]);
            if (!given) return Invalid("not a window id: " + std::string(arguments[i]));
        } else {
            return Invalid("unknown argument: " + std::string(argument));
        }
    }
    HostArguments result;
    result.valid = true;
    if (given) {
        result.window = *given;
    } else if (environmentWindow != nullptr && *environmentWindow != '\0') {
        const std::optional<WindowId> named = ParseWindowId(environmentWindow);
        if (!named) {
            return Invalid("XSCREENSAVER_WINDOW is not a window id: " +
                           std::string(environmentWindow));
        }
        result.window = *named;
    } else if (root) {
        result.root = true;
    } else {
        return Invalid("no window to draw in: give -root or -window-id");
    }
    return result;
}
