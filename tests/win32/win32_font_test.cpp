// The Windows outline font: GDI matches the logical font against the files registered for this
// process, and FreeType reads the font GDI chose.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/outline_font.h"

namespace {

// A file of the data folder the build made: the test runs from build-win/tests/win32/.
std::string DataFile(const char* name) {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string build = program;
    for (int level = 0; level < 3; ++level) build.erase(build.find_last_of('\\'));
    return build + "\\data\\data\\" + name;
}

// Withdrawing the file is not tested: Wine goes on matching a private font it has used once,
// which Windows does not.
TEST(Win32OutlineFont, TheRegisteredFileIsMatchedAndAMissingFaceFallsBack) {
    const std::string file = DataFile("Vostrel.ttf");
    ASSERT_TRUE(RegisterFontFile(file)) << file;
    EXPECT_FALSE(RegisterFontFile(DataFile("missing.ttf")));
    struct Case {
        LogicalFont request;
        bool matched;
    };
    const Case cases[] = {
        {{"Vostrel", -24, 900}, true},
        {{"No Such Face", -24, 900}, false},
    };
    for (const Case& c : cases) {
        OutlineFont* font = CreateOutlineFont(c.request);
        ASSERT_NE(font, nullptr) << c.request.faceName;
        EXPECT_EQ(OutlineFontFamily(font) == c.request.faceName, c.matched) << c.request.faceName;
        DestroyOutlineFont(font);
    }
    UnregisterFontFile(file);
}

}  // namespace
