#include "show/outline_font.h"

#include <GL/gl.h>

#include <cstring>
#include <string>

#include "base/data_manifest.h"
#include "base/run_flags.h"
#include "platform/outline_font.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/show_state.h"

namespace {

constexpr const char* kOutlineFontFile = DataName(DataRole::OutlineFont);
constexpr LogicalFont kShowFont = {"Vostrel", -24, 900};
constexpr int kOutlineListCount = 92;
constexpr int kOutlineGlyphCount = 91;
constexpr unsigned char kLastListedCode = kOutlineListCount - 1;
constexpr float kLowDetailDeviation = 0.01f;
constexpr float kExtrusion = 0.1f;

GLuint outlineListBase = 0;
OutlineFont* outlineFont = nullptr;

}  // namespace

void BuildOutlineFont() {
    if (!installFolderFound) return;
    RegisterFontFile(DataPath(kOutlineFontFile));
    DestroyOutlineFont(outlineFont);
    outlineFont = CreateOutlineFont(kShowFont);
    outlineListBase = glGenLists(kOutlineListCount);
    const float deviation = showState.detailLevel == kDetailLow ? kLowDetailDeviation : 0.0f;
    UseFontOutlines(outlineFont, 0, kOutlineGlyphCount, outlineListBase, deviation, kExtrusion);
}

void PrintOutline(const char* text) {
    if (settings.matrox != 0 && previewFlag == 0) return;
    if (outlineListBase == 0) return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(outlineListBase);
    // Codes above the reserved list would reach whatever lists follow (the bitmap font), so
    // the text is called in runs that skip them.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    std::size_t start = 0;
    while (start < length) {
        std::size_t end = start;
        while (end < length && bytes[end] <= kLastListedCode) ++end;
        if (end > start)
            glCallLists(static_cast<GLsizei>(end - start), GL_UNSIGNED_BYTE, bytes + start);
        start = end + 1;
    }
    glPopAttrib();
}

void DeleteOutlineFontLists() {
    if (outlineListBase != 0) glDeleteLists(outlineListBase, kOutlineListCount);
    outlineListBase = 0;
    DestroyOutlineFont(outlineFont);
    outlineFont = nullptr;
}

void UnregisterOutlineFontFile() {
    if (installFolderFound) UnregisterFontFile(DataPath(kOutlineFontFile));
}
