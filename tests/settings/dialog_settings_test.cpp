// The dialog's working copy: load, defaults, caption rule and the OK button's writes.
#include "settings/dialog_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "temp_folder.h"
#include "user_root.h"

namespace {

class DialogSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { key_ = CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath); }
    void TearDown() override { CloseRegistryKey(key_); }
    std::string KeyFile() const { return userRoot_.KeyFile(kSettingsKeyPath); }

    // The value lines of the key file, in file order.
    std::vector<std::string> StoredLines() const {
        std::istringstream in(ReadWholeFile(KeyFile()));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("\"")) lines.push_back(line);
        }
        return lines;
    }

    UserRootForTest userRoot_;
    RegistryKey* key_ = nullptr;
};

Settings WithCaption(const char* caption, std::uint32_t text) {
    Settings copy;
    std::memset(copy.vostrel, 0, sizeof copy.vostrel);
    std::strncpy(copy.vostrel, caption, sizeof copy.vostrel - 1);
    copy.text = text;
    return copy;
}

TEST_F(DialogSettingsTest, EmptyOrAbsentMp3PathShowsThePlaceholder) {
    Settings copy;
    LoadDialogSettings(key_, copy);
    EXPECT_STREQ(copy.datapath, kNoMp3PathText);
    EXPECT_STREQ(copy.vostrel, "VOSTREL");

    SetRegistryString(key_, "datapath", "", 1);
    LoadDialogSettings(key_, copy);
    EXPECT_STREQ(copy.datapath, kNoMp3PathText);

    SetRegistryString(key_, "datapath", "/m/a.mp3", 9);
    SetRegistryDword(key_, "resolution", kResolution1280);
    LoadDialogSettings(key_, copy);
    EXPECT_STREQ(copy.datapath, "/m/a.mp3");
    EXPECT_EQ(copy.resolution, kResolution1280);
}

TEST_F(DialogSettingsTest, OkWritesInOrderWithPmp3OnlyForAValidPath) {
    Settings copy;
    std::strcpy(copy.datapath, "/m/b.mp3");
    StoreDialogSettings(key_, copy, false);
    StoreCaption(key_, copy);
    const std::vector<std::string> expected = {
        "\"resolution\"=dword:000003f5", "\"part\"=dword:0000040c",  "\"useblur\"=dword:00000000",
        "\"datapath\"=\"/m/b.mp3\"",     "\"bpp\"=dword:00000000",   "\"pmusic\"=dword:00000001",
        "\"psound\"=dword:00000001",     "\"pcd\"=dword:00000000",   "\"restart\"=dword:00000001",
        "\"showcred\"=dword:00000001",   "\"text\"=dword:00000001",  "\"starfield\"=dword:00000001",
        "\"matrox\"=dword:00000000",     "\"debug\"=dword:00000000", "\"vostrel\"=\"VOSTREL\""};
    EXPECT_EQ(StoredLines(), expected);

    copy.pmp3 = 1;
    StoreDialogSettings(key_, copy, true);
    std::uint32_t pmp3 = 0;
    EXPECT_TRUE(QueryRegistryDword(key_, "pmp3", &pmp3));
    EXPECT_EQ(pmp3, 1u);
}

TEST_F(DialogSettingsTest, WholeBufferIsWrittenAndReadsBackWithoutItsLeftovers) {
    Settings copy;  // vostrel holds "VOSTREL"; typing "AB" over it leaves "STREL" behind
    std::memcpy(copy.vostrel, "AB", 3);
    std::memset(copy.datapath, 'p', kSettingTextMaxLength);
    StoreDialogSettings(key_, copy, true);
    StoreCaption(key_, copy);

    Settings loaded;
    LoadDialogSettings(key_, loaded);
    EXPECT_STREQ(loaded.vostrel, "AB");
    EXPECT_EQ(std::strlen(loaded.datapath), kSettingTextMaxLength);
}

// Letters and spaces, upper-cased, when the caption is shown; only the length (seven
// characters) counts when it is off.
TEST(CaptionRuleTest, ShownCaptionNeedsLettersAndAnyNeedsTheLength) {
    const struct {
        const char* typed;
        std::uint32_t text;
        CaptionCheck check;
        const char* kept;
    } cases[] = {
        {"hi you", 1, CaptionCheck::Valid, "HI YOU"},
        {"ABCDEFG", 1, CaptionCheck::Valid, "ABCDEFG"},
        {"", 1, CaptionCheck::NotLetters, ""},
        {"A1", 1, CaptionCheck::NotLetters, "A1"},
        {"ab-c", 1, CaptionCheck::NotLetters, "AB-C"},
        {"\xC3\x84", 1, CaptionCheck::NotLetters, "\xC3\x84"},
        {"A\tB", 1, CaptionCheck::NotLetters, "A\tB"},
        {"ab1cd", 1, CaptionCheck::NotLetters, "AB1CD"},
        {"123", 0, CaptionCheck::Valid, "123"},
        {"", 0, CaptionCheck::Valid, ""},
        {"abc", 0, CaptionCheck::Valid, "abc"},
        {"ABCDEFGHI", 0, CaptionCheck::TooLong, "ABCDEFGHI"},
        {"ABCDEFGHI", 1, CaptionCheck::TooLong, "ABCDEFGHI"},
    };
    for (const auto& c : cases) {
        Settings copy = WithCaption(c.typed, c.text);
        EXPECT_EQ(CheckCaption(copy), c.check) << c.typed << " text " << c.text;
        EXPECT_STREQ(copy.vostrel, c.kept) << c.typed << " text " << c.text;
    }
}

TEST(DialogDefaultsTest, DefaultsKeepTheMp3Path) {
    Settings copy = WithCaption("X", 0);
    std::strcpy(copy.datapath, "/m/c.mp3");
    copy.resolution = kResolution1280;
    copy.pmp3 = 1;
    copy.pmusic = 0;
    RestoreDefaultSettings(copy);
    EXPECT_STREQ(copy.datapath, "/m/c.mp3");
    EXPECT_EQ(copy.resolution, kResolution640);
    EXPECT_EQ(copy.pmp3, 0u);
    EXPECT_EQ(copy.pmusic, 1u);
    EXPECT_EQ(copy.text, 1u);
    EXPECT_STREQ(copy.vostrel, "VOSTREL");
}

TEST(Mp3PathTest, OnlyAReadableFileCounts) {
    TempFolder folder;
    const std::string file = folder.path() + "/song.mp3";
    WriteWholeFile(file, "ID3");
    EXPECT_TRUE(Mp3PathReadable(file.c_str()));
    EXPECT_FALSE(Mp3PathReadable((folder.path() + "/none.mp3").c_str()));
    EXPECT_FALSE(Mp3PathReadable(folder.path().c_str()));
    EXPECT_FALSE(Mp3PathReadable(kNoMp3PathText));
}

}  // namespace
