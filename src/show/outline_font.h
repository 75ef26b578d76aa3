// The show's 3D wire-frame lettering, built once from the show's own font file into 92
// display lists: list base + c draws character code c (0 to 90, up to "Z"); list base + 91
// is reserved and empty. Glyphs are in ems and each moves the pen by its advance.
#pragma once

// Needs the install folder, a current context and `detailLevel`; does nothing without the
// install folder. Low detail flattens the curves more coarsely.
void BuildOutlineFont();
// Draws text at the current modelview transform and leaves the pen moved by its width.
// Draws nothing (and moves nothing) when `matrox` is on outside preview.
void PrintOutline(const char* text);
// Deletes the 92 lists; safe when none were built.
void DeleteOutlineFontLists();
// Withdraws the font file registered by the build (only with an install folder).
void UnregisterOutlineFontFile();
