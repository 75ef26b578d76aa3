// Outline fonts for 3D wire-frame lettering: a private font file, the logical font chosen
// from it, and display lists of glyph outlines in the manner of wglUseFontOutlinesA's lines
// format. Glyph coordinates are in ems (the em square maps to 1.0); each glyph's list ends
// by moving the pen along x by the glyph's advance. Needs a current GL context for the lists.
#pragma once
#include <string>

// Makes the faces of a font file available to CreateOutlineFont in this process only.
// Registrations are counted per path; false when the file cannot be added (missing or
// unreadable).
bool RegisterFontFile(const std::string& path);
// Withdraws one registration of the path; other registered files stay available. A path
// that is not registered is left alone.
void UnregisterFontFile(const std::string& path);

struct LogicalFont {
    const char* faceName;
    int height;  // negative: character (em) height, as a Windows LOGFONT gives it
    int weight;  // 100 to 900
};

struct OutlineFont;

// The font that best matches the request; when the face cannot be had, the closest font
// the system offers, silently. nullptr only when there is no outline font at all.
OutlineFont* CreateOutlineFont(const LogicalFont& request);
void DestroyOutlineFont(OutlineFont* font);
// The family name of the font actually chosen.
std::string OutlineFontFamily(const OutlineFont* font);

// Compiles lists listBase + 0 .. count - 1 for the character codes first .. first + count - 1.
// Curves are flattened to within `deviation` ems (0: one design unit of the font). Each
// contour is a line loop at z = 0 and another at z = -extrusion, joined by an edge at every
// outline point. A code without a glyph gets a list that draws and moves nothing.
bool UseFontOutlines(const OutlineFont* font, int first, int count, unsigned listBase,
                     float deviation, float extrusion);
