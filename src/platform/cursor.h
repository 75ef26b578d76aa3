// The process-wide cursor display counter: each call with show raises it by one, each without
// lowers it by one, and the pointer is hidden over our windows while the count is negative.
// Returns the new count. Named apart from the Windows call of the same contract, which a Windows
// backend will call to realise it.
#pragma once

int ChangeCursorCount(bool show);
bool CursorHidden();
