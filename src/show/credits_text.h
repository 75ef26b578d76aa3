// The 110 lines of the credits roll, top line first. Blank lines are " " (never empty) and
// every row of dashes is exactly as long as the heading above it.
#pragma once
#include "show/show_state.h"

extern const char* const kCreditsText[kCreditLineCount];
