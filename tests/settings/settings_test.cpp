// The saver's settings load, the debug-only read and the values derived from the settings.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/registry.h"
#include "settings/mode_size.h"
#include "temp_folder.h"
#include "user_root.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { settings = Settings{}; }
    std::string KeyFile() const { return userRoot_.KeyFile(kSettingsKeyPath); }

    UserRootForTest userRoot_;
};

// Every field, whatever it held before, takes its default from the table (whose values the
// dialog's test pins as they are stored).
TEST_F(SettingsTest, FreshUserGetsTheDefaultsAndAnEmptyKey) {
    for (const SettingEntry& entry : kSettingTable) {
        if (entry.kind == SettingKind::Number) settings.*entry.number = 0x5A5A;
        if (entry.kind == SettingKind::Text) std::strcpy(settings.*entry.text, "left over");
    }
    LoadSaverSettings();
    for (const SettingEntry& entry : kSettingTable) {
        if (entry.kind == SettingKind::Number) {
            EXPECT_EQ(settings.*entry.number, entry.numberDefault) << entry.name;
        } else {
            EXPECT_STREQ(settings.*entry.text, entry.textDefault) << entry.name;
        }
    }
    EXPECT_TRUE(std::filesystem::exists(KeyFile()));
}

TEST_F(SettingsTest, EveryStoredValueReachesItsField) {
    WriteWholeFile(KeyFile(),
                   "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n"
                   "\"resolution\"=dword:00000400\n\"part\"=dword:0000040b\n"
                   "\"useblur\"=dword:00000001\n\"datapath\"=\"/music/a \\\"b\\\".mp3\"\n"
                   "\"bpp\"=dword:00000001\n\"psound\"=dword:00000000\n\"pmusic\"=dword:00000000\n"
                   "\"pcd\"=dword:00000001\n\"pmp3\"=dword:00000001\n\"restart\"=dword:00000000\n"
                   "\"showcred\"=dword:00000000\n\"text\"=dword:00000000\n\"vostrel\"=\"HI YOU\"\n"
                   "\"starfield\"=dword:00000000\n\"matrox\"=dword:00000001\n"
                   "\"debug\"=dword:00000001\n");
    LoadSaverSettings();
    EXPECT_EQ(settings.resolution, 1024u);
    EXPECT_EQ(settings.part, kPartLow);
    EXPECT_STREQ(settings.datapath, "/music/a \"b\".mp3");
    EXPECT_STREQ(settings.vostrel, "HI YOU");
    const std::uint32_t flags[] = {settings.useblur, settings.bpp,    settings.pcd,
                                   settings.pmp3,    settings.matrox, settings.debug};
    for (std::uint32_t flag : flags) EXPECT_EQ(flag, 1u);
    const std::uint32_t cleared[] = {settings.psound,   settings.pmusic, settings.restart,
                                     settings.showcred, settings.text,   settings.starfield};
    for (std::uint32_t flag : cleared) EXPECT_EQ(flag, 0u);
}

TEST_F(SettingsTest, WrongTypeOrTooLongValueKeepsTheDefault) {
    WriteWholeFile(KeyFile(), "\"part\"=\"1037\"\n\"vostrel\"=dword:1\n\"datapath\"=\"" +
                                  std::string(kSettingTextMaxLength + 1, 'x') +
                                  "\"\n\"debug\"=hex:01\n");
    LoadSaverSettings();
    EXPECT_EQ(settings.part, kPartMedium);
    EXPECT_STREQ(settings.vostrel, "VOSTREL");
    EXPECT_STREQ(settings.datapath, "");
    EXPECT_EQ(settings.debug, 0u);
}

TEST_F(SettingsTest, SecondLoadDoesNotKeepWhatAnEarlierRunChanged) {
    LoadSaverSettings();
    settings.psound = 0;  // as a preview run's set-up does
    settings.resolution = kResolutionDesktop;
    LoadSaverSettings();
    EXPECT_EQ(settings.psound, 1u);
    EXPECT_EQ(settings.resolution, kResolution640);
}

TEST_F(SettingsTest, DebugAloneIsReadWithoutCreatingTheKey) {
    ReadDebugSetting();
    EXPECT_FALSE(std::filesystem::exists(KeyFile()));
    EXPECT_EQ(settings.debug, 0u);

    WriteWholeFile(KeyFile(), "\"debug\"=dword:00000001\n\"part\"=dword:0000040b\n");
    ReadDebugSetting();
    EXPECT_EQ(settings.debug, 1u);
    EXPECT_EQ(settings.part, kPartMedium);
}

// A hand-edited file may hold the sections of other keys; only this key's values count, however
// its section line is typed.
TEST_F(SettingsTest, ValuesUnderAnotherKeysSectionAreNotRead) {
    const struct {
        const char* text;
        std::uint32_t part;
    } cases[] = {
        {"[HKEY_CURRENT_USER\\Software\\VostrelSaver\\Other]\n\"part\"=dword:0000040b\n",
         kPartMedium},
        {"[-HKEY_CURRENT_USER\\Software\\VostrelSaver]\n\"part\"=dword:0000040b\n", kPartMedium},
        {"\"part\"=dword:0000040b\n[HKEY_LOCAL_MACHINE\\Software]\n\"part\"=dword:0000040d\n",
         kPartLow},
        {"[HKEY_CURRENT_USER\\Other]\n\"part\"=dword:0000040b\n"
         "[hkey_current_user\\software\\vostrelsaver]\n\"part\"=dword:0000040d\n",
         kPartHigh},
        {"[HKEY_CURRENT_USER\\Software\\VostrelSaver]\r\n  \"part\" = dword:40d\r\n", kPartHigh},
    };
    for (const auto& c : cases) {
        WriteWholeFile(KeyFile(), std::string("REGEDIT4\n\n") + c.text);
        LoadSaverSettings();
        EXPECT_EQ(settings.part, c.part) << c.text;
    }
}

TEST(DerivedSettingsTest, DetailLevelIsHighForAnyPartButLowAndMedium) {
    EXPECT_EQ(DetailLevelFromPart(kPartLow), 0);
    EXPECT_EQ(DetailLevelFromPart(kPartMedium), 1);
    for (std::uint32_t part : {kPartHigh, 0u, 1034u, 1038u, 0xFFFFFFFFu}) {
        EXPECT_EQ(DetailLevelFromPart(part), 2) << part;
    }
}

TEST(DerivedSettingsTest, ResolutionPicksTheModeSize) {
    const ModeSize desktop{1920, 1080};
    const ModeSize current{0, 0};
    const std::uint32_t table[][3] = {{kResolution640, 640, 480},
                                      {kResolution800, 800, 600},
                                      {kResolution1024, 1024, 768},
                                      {kResolution1152, 1152, 864},
                                      {kResolution1280, 1280, 1024},
                                      {kResolutionDesktop, 1920, 1080},
                                      {0, 1920, 1080}};
    for (const auto& row : table) {
        std::uint32_t resolution = row[0];
        const ModeSize size = ModeSizeFromResolution(resolution, desktop, current, false);
        EXPECT_EQ(size.width, static_cast<std::int32_t>(row[1])) << row[0];
        EXPECT_EQ(size.height, static_cast<std::int32_t>(row[2])) << row[0];
        EXPECT_EQ(resolution, row[0] == 0 ? kResolutionDesktop : row[0]);
    }

    std::uint32_t unknown = 1015;
    const ModeSize kept = ModeSizeFromResolution(unknown, desktop, {800, 600}, false);
    EXPECT_EQ(kept.width, 800);
    EXPECT_EQ(unknown, 1015u);

    std::uint32_t previewed = kResolution1280;
    const ModeSize preview = ModeSizeFromResolution(previewed, {152, 112}, current, true);
    EXPECT_EQ(preview.width, 152);
    EXPECT_EQ(previewed, kResolutionDesktop);
}

TEST(DerivedSettingsTest, ColorDepthLooksAtTheLowByteOfBpp) {
    EXPECT_EQ(ColorDepthFromBpp(0), 16);
    EXPECT_EQ(ColorDepthFromBpp(1), 32);
    EXPECT_EQ(ColorDepthFromBpp(0x100), 16);
}

}  // namespace
