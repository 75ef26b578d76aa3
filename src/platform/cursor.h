// The process-wide cursor display counter (ShowCursor's contract): the pointer is hidden over
// our windows while the count is negative. Returns the new count.
#pragma once

int ShowCursor(bool show);
bool CursorHidden();
