// Opens a web address, a mailto: link or a file with the desktop's default handler.
// Linux: xdg-open, started with an argument vector (never through a shell) and not waited
// for. Returns false only when the handler could not be started at all.
#pragma once
#include <string>

bool ShellOpen(const std::string& target);
