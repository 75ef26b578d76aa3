// What every Windows program of the project carries, checked on this one: the version the
// file's properties show, and the manifest that makes it DPI-aware with the current common
// controls. And the system's own measure of texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/product.h"
#include "platform/system_text.h"

namespace {

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
}

TEST(Win32Program, CarriesItsVersionAndAManifestThatMakesItDpiAware) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    EXPECT_EQ(VersionString(block, L"ProductName"), Wide(kProductName));
    EXPECT_EQ(VersionString(block, L"CompanyName"), Wide(kTeamName));
    EXPECT_EQ(VersionString(block, L"ProductVersion"), Wide(VOSTREL_VERSION));

    HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                           SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_TRUE(IsProcessDPIAware());
}

TEST(Win32SystemText, CountsUtf16UnitsAndEndsLinesWithCarriageReturns) {
    EXPECT_EQ(SystemTextLength("abc"), 3u);
    EXPECT_EQ(SystemTextLength("\xd0\x96\xd0\xb6"), 2u);              // two Cyrillic letters
    EXPECT_EQ(SystemTextLength("\xf0\x9f\x98\x80"), 2u);              // one face, a surrogate pair
    EXPECT_EQ(WithSystemLineEnds("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");  // never a second CR
}

}  // namespace
