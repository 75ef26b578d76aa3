// The credits' bitmap font: 96 display lists, one textured 16 x 16 quad per character code 32
// to 127, cut from the font texture's grid of 16 x 8 cells. Each glyph advances the pen by
// 14 units, so neighbours overlap by 2.
#pragma once

// Needs `texFont` loaded and a current context.
void BuildBitmapFont();
// Draws text with the current colour at (x, y) of a 640 x 480 space (origin lower left, y
// up), with depth testing off; switches depth testing on again and leaves the modelview
// matrix current.
void PrintBitmap(int x, int y, const char* text);
// Deletes the 96 lists; safe when none were built.
void DeleteBitmapFontLists();
