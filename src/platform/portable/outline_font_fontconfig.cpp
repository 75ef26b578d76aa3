// Outline fonts on Linux: fontconfig registers font files and matches the logical font; the
// matched file's face and its glyphs are FreeType's (portable/outline_font_freetype.cpp).
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/data_files.h"
#include "platform/outline_font.h"
#include "platform/portable/freetype_font.h"

namespace {

// The largest font collections (a whole script's faces in one file) hold tens of megabytes.
constexpr std::size_t kLargestFontFile = std::size_t{256} << 20;

// fontconfig can only forget all application fonts at once, so the registered files are
// kept here and the survivors are added again after a clear. Every registration of this
// process goes through this list, so the clear takes nothing that others added.
std::vector<std::string>& RegisteredFiles() {
    static std::vector<std::string> files;
    return files;
}

const FcChar8* FcText(const char* text) {
    return reinterpret_cast<const FcChar8*>(text);
}

FcPattern* MatchLogicalFont(const LogicalFont& request) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, FcText(request.faceName));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(request.weight));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, std::abs(request.height));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

// FreeType would open the file itself, blocking on a FIFO put in the font's place.
bool ReadFontFile(const char* path, std::vector<unsigned char>& bytes) {
    std::vector<char> read;
    if (!ReadRegularFile(path, kLargestFontFile, read) || read.empty()) return false;
    bytes.assign(read.begin(), read.end());
    return true;
}

// The matched file's face, with the family fontconfig gives it.
OutlineFont* OpenMatchedFont(FcPattern* match) {
    FcChar8* file = nullptr;
    int index = 0;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return nullptr;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    std::string familyName;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
        familyName = reinterpret_cast<const char*>(family);
    }
    std::vector<unsigned char> bytes;
    if (!ReadFontFile(reinterpret_cast<const char*>(file), bytes)) return nullptr;
    return OpenFreeTypeFont(std::move(familyName), std::move(bytes), index);
}

}  // namespace

bool RegisterFontFile(const std::string& path) {
    // fontconfig opens the file to read its names; only a regular file may get that far.
    if (!FileOpensForReading(path)) return false;
    if (!FcConfigAppFontAddFile(nullptr, FcText(path.c_str()))) return false;
    RegisteredFiles().push_back(path);
    return true;
}

void UnregisterFontFile(const std::string& path) {
    std::vector<std::string>& files = RegisteredFiles();
    const auto found = std::find(files.begin(), files.end(), path);
    if (found == files.end()) return;
    files.erase(found);
    FcConfigAppFontClear(nullptr);
    for (const std::string& file : files) FcConfigAppFontAddFile(nullptr, FcText(file.c_str()));
}

OutlineFont* CreateOutlineFont(const LogicalFont& request) {
    FcPattern* match = MatchLogicalFont(request);
    if (match == nullptr) return nullptr;
    OutlineFont* font = OpenMatchedFont(match);
    FcPatternDestroy(match);
    return font;
}
