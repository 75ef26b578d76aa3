// Opens a web address, a mailto: link or a file with the desktop's default handler, without
// waiting for it. False only when the handler could not be started at all.
#pragma once
#include <string>

bool ShellOpen(const std::string& target);
