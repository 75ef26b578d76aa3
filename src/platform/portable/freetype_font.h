// The outline font's face, read by FreeType from the bytes of the font file that the system
// matched to the logical font (fontconfig on Linux, GDI on Windows). FreeType reads the glyph
// outlines in design units, and outline_font_freetype.cpp flattens them into GL display lists
// the same way on every system.
#pragma once
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

#include "platform/outline_font.h"

struct OutlineFont {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string family;
    std::vector<unsigned char> fileBytes;  // the face reads its outlines from here
};

// A font of the family the system chose, over the whole font file's bytes (`index`: the face
// in a collection); null when FreeType cannot read a scalable face from them.
OutlineFont* OpenFreeTypeFont(std::string family, std::vector<unsigned char> fileBytes, int index);
