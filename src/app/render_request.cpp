#include "app/render_request.h"

#include <algorithm>
#include <charconv>
#include <string_view>

const char* const kRenderUsage =
    "usage: vostrel-render --frames LIST --size WxH --out DIR [--set NAME=VALUE]...\n"
    "                      [--state FILE] [--preview]\n"
    "  --frames LIST     frames to write, numbers and ranges: 0,4995-4999,9499; they\n"
    "                    count on past the restart (9500 opens the second cycle)\n"
    "  --size WxH        picture size in pixels, e.g. 640x480\n"
    "  --out DIR         folder for frame-NNNNN.png (made when missing)\n"
    "  --set NAME=VALUE  overrides a stored setting by its value name (part, useblur,\n"
    "                    matrox, restart, text, vostrel, showcred, starfield, psound, ...)\n"
    "  --state FILE      writes the show state after each listed frame, one JSON line each\n"
    "  --preview         runs the show as the preview does\n";

namespace {

constexpr int kHighestSide = 1 << 16;

// A plain decimal number (digits only) no larger than `highest`.
bool ReadNumber(std::string_view text, int highest, int& value) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    return status == std::errc() && end == text.data() + text.size() && value <= highest;
}

bool ParseFrameItem(std::string_view item, int highest, std::vector<int>& frames) {
    const std::size_t dash = item.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string_view::npos) {
        if (!ReadNumber(item, highest, first)) return false;
        last = first;
    } else if (!ReadNumber(item.substr(0, dash), highest, first) ||
               !ReadNumber(item.substr(dash + 1), highest, last) || last < first) {
        return false;
    }
    for (int frame = first; frame <= last; ++frame) frames.push_back(frame);
    return true;
}

bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    return cross != std::string_view::npos &&
           ReadNumber(text.substr(0, cross), kHighestSide, width) &&
           ReadNumber(text.substr(cross + 1), kHighestSide, height) && width > 0 && height > 0;
}

bool ParseSet(const std::string& text, RenderRequest& request) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    request.sets.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    return true;
}

// Applies one option that takes a value; false with `error` set when the value is bad.
bool ApplyValueOption(const std::string& option, const std::string& value, RenderRequest& request,
                      std::string& error) {
    if (option == "--frames")
        return ParseFrameList(value, kHighestRenderFrame, request.frames, error);
    if (option == "--size") {
        if (ParseSize(value, request.width, request.height)) return true;
        error = "--size wants WIDTHxHEIGHT in pixels, such as 640x480, not \"" + value + "\"";
        return false;
    }
    if (option == "--out") {
        request.outDir = value;
    } else if (option == "--state") {
        request.statePath = value;
    } else if (!ParseSet(value, request)) {
        error = "--set wants NAME=VALUE, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool TakesValue(const std::string& option) {
    return option == "--frames" || option == "--size" || option == "--out" || option == "--state" ||
           option == "--set";
}

}  // namespace

bool ParseFrameList(const std::string& text, int highest, std::vector<int>& frames,
                    std::string& error) {
    std::vector<int> parsed;
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        if (!ParseFrameItem(rest.substr(0, comma), highest, parsed)) {
            error = "--frames wants numbers 0 to " + std::to_string(highest) +
                    " and ranges A-B separated by commas, not \"" + text + "\"";
            return false;
        }
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    std::sort(parsed.begin(), parsed.end());
    parsed.erase(std::unique(parsed.begin(), parsed.end()), parsed.end());
    frames = std::move(parsed);
    return true;
}

bool ParseRenderArguments(const std::vector<std::string>& arguments, RenderRequest& request,
                          std::string& error) {
    request = RenderRequest{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            request.helpWanted = true;
            return true;
        }
        if (option == "--preview") {
            request.preview = true;
        } else if (!TakesValue(option)) {
            error = "unknown argument \"" + option + "\"";
            return false;
        } else if (i + 1 == arguments.size()) {
            error = option + " needs a value";
            return false;
        } else if (!ApplyValueOption(option, arguments[++i], request, error)) {
            return false;
        }
    }
    if (request.frames.empty() || request.width == 0 || request.outDir.empty()) {
        error = "--frames, --size and --out are all required";
        return false;
    }
    return true;
}
