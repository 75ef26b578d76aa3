// Carrying out the run mode that the command line chose. Every path returns 0.
#pragma once
#include <string>
#include <string_view>

#include "platform/window_id.h"

// The whole program after start-up: scan the command line text, run its mode.
int RunProgram(std::string_view commandLineText);

// The answer to a password-change request: two questions and, on Yes, a mail link.
void RunPasswordMode(WindowId owner);

// The mail link for a subject, percent-encoded so that it is a valid mailto URI.
std::string MailLink(std::string_view subject);
