// Outline fonts on Windows: a font file is made available to this process alone with
// AddFontResourceExW(FR_PRIVATE); GDI matches the logical font as CreateFontIndirectW does
// (the face asked for, or silently the closest TrueType font it has), and the matched font's
// own file, as GetFontData hands it out, goes to FreeType, whose glyphs are flattened as on
// every system (portable/outline_font_freetype.cpp). Not wglUseFontOutlinesA itself: Wine's
// ignores the extrusion, and one flattening keeps the letters of both systems alike.
// Left out: a font from a collection (.ttc) is read as the collection's first face.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/data_files.h"
#include "platform/outline_font.h"
#include "platform/portable/freetype_font.h"
#include "platform/win32/wide_text.h"

namespace {

// GetFontData's table tag of a whole collection file ("ttcf", byte-reversed as GDI wants it).
constexpr DWORD kCollectionTag = 0x66637474;

// Registrations per path: the system counts them too, and each takes one removal.
std::map<std::string, int>& Registrations() {
    static std::map<std::string, int> registrations;
    return registrations;
}

LOGFONTW LogicalFontFor(const LogicalFont& request) {
    LOGFONTW logical{};
    logical.lfHeight = request.height;
    logical.lfWeight = request.weight;
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    const std::wstring face = WideFromUtf8(request.faceName);
    face.copy(logical.lfFaceName, LF_FACESIZE - 1);
    return logical;
}

// The file of the font selected into the device context: the font file itself, or else the
// collection that holds it.
std::vector<unsigned char> SelectedFontFile(HDC context) {
    DWORD table = 0;
    DWORD size = GetFontData(context, table, 0, nullptr, 0);
    if (size == GDI_ERROR) {
        table = kCollectionTag;
        size = GetFontData(context, table, 0, nullptr, 0);
    }
    if (size == GDI_ERROR || size == 0) return {};
    std::vector<unsigned char> bytes(size);
    if (GetFontData(context, table, 0, bytes.data(), size) != size) return {};
    return bytes;
}

}  // namespace

bool RegisterFontFile(const std::string& path) {
    // GDI opens the file to read its names; only a regular file may get that far.
    if (!FileOpensForReading(path)) return false;
    if (AddFontResourceExW(WideFromUtf8(path).c_str(), FR_PRIVATE, nullptr) == 0) return false;
    ++Registrations()[path];
    return true;
}

void UnregisterFontFile(const std::string& path) {
    std::map<std::string, int>& registrations = Registrations();
    const auto found = registrations.find(path);
    if (found == registrations.end()) return;
    RemoveFontResourceExW(WideFromUtf8(path).c_str(), FR_PRIVATE, nullptr);
    if (--found->second == 0) registrations.erase(found);
}

OutlineFont* CreateOutlineFont(const LogicalFont& request) {
    const LOGFONTW logical = LogicalFontFor(request);
    HFONT font = CreateFontIndirectW(&logical);
    HDC context = CreateCompatibleDC(nullptr);
    if (font == nullptr || context == nullptr) {
        if (font != nullptr) DeleteObject(font);
        if (context != nullptr) DeleteDC(context);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(context, font);
    wchar_t family[LF_FACESIZE] = {};
    GetTextFaceW(context, LF_FACESIZE, family);
    std::vector<unsigned char> file = SelectedFontFile(context);
    SelectObject(context, previous);
    DeleteDC(context);
    DeleteObject(font);
    return OpenFreeTypeFont(Utf8FromWide(family), std::move(file), 0);
}
