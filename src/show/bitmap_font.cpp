#include "show/bitmap_font.h"

#include <GL/gl.h>

#include <cstring>

#include "assets/textures.h"

namespace {

constexpr int kBitmapListCount = 96;
constexpr int kFirstCode = 32;
constexpr int kCellsPerRow = 16;
constexpr float kCellWidth = 1.0f / 16.0f;
constexpr float kGlyphSize = 16.0f;
constexpr float kAdvance = 14.0f;
constexpr double kTextWidth = 640.0;
constexpr double kTextHeight = 480.0;
constexpr double kTextDepth = 10.0;

GLuint bitmapListBase = 0;

// The rows are addressed at t = 1.25 to 2.0; repeat wrapping folds that onto the cells' rows.
void CompileGlyph(GLuint list, int i) {
    const float cx = static_cast<float>(i % kCellsPerRow) / kCellsPerRow;
    const float cy = static_cast<float>(i / kCellsPerRow) / kCellsPerRow;
    const float bottom = (1.0f - cy - kCellWidth) * 2.0f;
    const float top = (1.0f - cy) * 2.0f;
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(cx, bottom);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(cx + kCellWidth, bottom);
    glVertex2f(kGlyphSize, 0.0f);
    glTexCoord2f(cx + kCellWidth, top);
    glVertex2f(kGlyphSize, kGlyphSize);
    glTexCoord2f(cx, top);
    glVertex2f(0.0f, kGlyphSize);
    glEnd();
    glTranslatef(kAdvance, 0.0f, 0.0f);
    glEndList();
}

}  // namespace

void BuildBitmapFont() {
    bitmapListBase = glGenLists(kBitmapListCount);
    if (bitmapListBase == 0) return;
    texFont.Bind();
    for (int i = 0; i < kBitmapListCount; ++i) CompileGlyph(bitmapListBase + i, i);
}

void PrintBitmap(int x, int y, const char* text) {
    // Without lists of its own the base would land on other lists (the outline font).
    if (bitmapListBase == 0) return;
    texFont.Bind();
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, kTextWidth, 0.0, kTextHeight, -kTextDepth, kTextDepth);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0.0);
    glListBase(bitmapListBase - kFirstCode);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_BYTE, text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}

void DeleteBitmapFontLists() {
    if (bitmapListBase != 0) glDeleteLists(bitmapListBase, kBitmapListCount);
    bitmapListBase = 0;
}
