// The command line of vostrel-render:
//   vostrel-render --frames LIST --size WxH --out DIR [--set NAME=VALUE]... [--state FILE]
//                  [--preview]
// LIST is comma-separated frame numbers and ranges ("0,4995-4999,9499"). Parsing is pure:
// it checks the form of every argument, not whether the show will reach a frame.
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

extern const char* const kRenderUsage;

// False with a one-line reason in `error` when the arguments are not a valid request.
bool ParseRenderArguments(const std::vector<std::string>& arguments, RenderRequest& request,
                          std::string& error);
// "0,4995-4999" gives 0, 4995 ... 4999; false for empty items, signs, reversed ranges or
// numbers above `highest`.
bool ParseFrameList(const std::string& text, int highest, std::vector<int>& frames,
                    std::string& error);
