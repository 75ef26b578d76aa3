// The command line of vostrel-render:
//   vostrel-render --frames LIST --size WxH --out DIR [--set NAME=VALUE]... [--state FILE]
//                  [--preview]
// LIST is comma-separated frame numbers and ranges ("0,4995-4999,9499"), counted from the
// start frame on past the restart, up to kHighestRenderFrame. Parsing is pure: it checks the
// form of every argument, not whether the show starts early enough to reach a frame.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct RenderRequest {
    std::vector<int> frames;  // ascending, each once
    int width = 0;
    int height = 0;
    std::string outDir;
    std::vector<std::pair<std::string, std::string>> sets;  // in command-line order
    std::string statePath;                                  // empty: no state file
    bool preview = false;
    bool helpWanted = false;
};

// About a hundred cycles of the show; it keeps a mistyped number from starting a run of days.
inline constexpr int kHighestRenderFrame = 1'000'000;

extern const char* const kRenderUsage;

// False with a one-line reason in `error` when the arguments are not a valid request.
bool ParseRenderArguments(const std::vector<std::string>& arguments, RenderRequest& request,
                          std::string& error);
// "0,4995-4999" gives 0, 4995 ... 4999; false for empty items, signs, reversed ranges or
// numbers above `highest`.
bool ParseFrameList(const std::string& text, int highest, std::vector<int>& frames,
                    std::string& error);
