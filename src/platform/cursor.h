// The process-wide cursor display counter, ShowCursor's contract: each call with show raises it
// by one, each without lowers it by one, and the pointer is hidden over our windows while the
// count is negative. Returns the new count. Each system keeps the count where it applies it
// (Windows itself; on X, where there is no process-wide cursor switch, the window layer).
#pragma once

int ChangeCursorCount(bool show);
