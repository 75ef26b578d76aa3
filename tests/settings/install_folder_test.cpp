// The install folder lookup, the data file check and the case-insensitive path layer.
#include "settings/install_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/cursor.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "temp_folder.h"

namespace {

int CursorCount() {
    const int count = ChangeCursorCount(true) - 1;
    ChangeCursorCount(false);
    return count;
}

class InstallFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetMachineRoot(machineRoot_.path().c_str());
        LookUpDataFolder();  // no key yet: forgets any folder an earlier test found
        ChangeCursorCount(false);
    }

    void RecordInstallFolder(const std::string& folder) {
        WriteWholeFile(machineRoot_.path() + "/Software/Calimor/VostrelSaver1.1.reg",
                       "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n"
                       "\"Path\"=\"" +
                           folder + "\"\n");
    }
    void RemoveMachineKey() {
        std::filesystem::remove(machineRoot_.path() + "/Software/Calimor/VostrelSaver1.1.reg");
    }

    // Every data file, spelled as in the check or in lower case.
    static void FillDataFolder(const std::string& folder, bool lowerCase) {
        for (const DataFileEntry& file : kDataManifest) {
            std::string name = file.name;
            for (char& c : name) {
                if (c == '\\') c = '/';
                if (lowerCase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            WriteWholeFile(folder + name, "x");
        }
    }

    TempFolder machineRoot_;
    TempFolder install_;
};

TEST_F(InstallFolderTest, MissingKeyLeavesNoFolderAndShowsTheCursor) {
    const int before = CursorCount();
    LookUpDataFolder();
    EXPECT_FALSE(installFolderFound);
    EXPECT_EQ(InstallFolder(), nullptr);
    EXPECT_EQ(DataPath("\\debug.htm"), "");
    EXPECT_FALSE(CheckDataFiles());
    EXPECT_EQ(CursorCount(), before + 1);
}

TEST_F(InstallFolderTest, FoundFolderIsKeptWhenALaterLookupFails) {
    RecordInstallFolder(install_.path());
    LookUpDataFolder();
    ASSERT_TRUE(installFolderFound);
    EXPECT_STREQ(InstallFolder(), install_.path().c_str());

    RemoveMachineKey();
    const int before = CursorCount();
    LookUpDataFolder();
    EXPECT_TRUE(installFolderFound);
    EXPECT_STREQ(InstallFolder(), install_.path().c_str());
    EXPECT_EQ(CursorCount(), before);
}

TEST_F(InstallFolderTest, LookupAfterAFailedOneCanStillSucceed) {
    LookUpDataFolder();
    RecordInstallFolder(install_.path());
    LookUpDataFolder();
    EXPECT_TRUE(installFolderFound);
    EXPECT_STREQ(InstallFolder(), install_.path().c_str());
}

TEST_F(InstallFolderTest, PathTooLongForItsBufferIsNotFound) {
    RecordInstallFolder("/" + std::string(255, 'p'));
    LookUpDataFolder();
    EXPECT_FALSE(installFolderFound);
}

TEST_F(InstallFolderTest, CheckPassesOnlyWithEveryFileAndIgnoresLetterCase) {
    RecordInstallFolder(install_.path());
    LookUpDataFolder();
    FillDataFolder(install_.path(), true);
    EXPECT_TRUE(CheckDataFiles());

    for (const DataFileEntry& file : kDataManifest) {
        const std::string path = DataPath(file.name);
        std::filesystem::rename(path, path + ".away");
        EXPECT_FALSE(CheckDataFiles()) << file.name;
        std::filesystem::create_directory(path);  // a folder of that name is no file either
        EXPECT_FALSE(CheckDataFiles()) << file.name;
        std::filesystem::remove(path);
        std::filesystem::rename(path + ".away", path);
    }
    EXPECT_TRUE(CheckDataFiles());
}

TEST_F(InstallFolderTest, DataPathMatchesEachNameWithoutRegardToCase) {
    RecordInstallFolder(install_.path());
    LookUpDataFolder();
    WriteWholeFile(install_.path() + "/DATA/Front.jpg", "x");
    WriteWholeFile(install_.path() + "/DATA/gz2.xm", "x");
    WriteWholeFile(install_.path() + "/DATA/gz2.XM", "x");
    WriteWholeFile(install_.path() + "/DATA/GZ2.xm", "x");

    EXPECT_EQ(DataPath("\\data\\front.jpg"), install_.path() + "/DATA/Front.jpg");
    EXPECT_EQ(DataPath("\\DATA\\gz2.XM"), install_.path() + "/DATA/gz2.XM");
    EXPECT_EQ(DataPath("\\data\\Gz2.Xm"), install_.path() + "/DATA/GZ2.xm");
    EXPECT_EQ(DataPath("\\data\\none.jpg"), install_.path() + "/data/none.jpg");
}

TEST_F(InstallFolderTest, LongestFolderWithLongestFileWorks) {
    constexpr std::size_t kLongestFolder = 255;
    std::string folder = install_.path();
    while (folder.size() + 1 < kLongestFolder) {
        folder.push_back('/');
        folder.append(std::min<std::size_t>(60, kLongestFolder - folder.size()), 'f');
    }
    ASSERT_EQ(folder.size(), kLongestFolder);
    std::filesystem::create_directories(folder);
    RecordInstallFolder(folder);
    LookUpDataFolder();
    ASSERT_TRUE(installFolderFound);
    EXPECT_STREQ(InstallFolder(), folder.c_str());
    FillDataFolder(folder, false);
    EXPECT_TRUE(CheckDataFiles());
    EXPECT_EQ(DataPath("\\data\\VostrelGS1.gif"), folder + "/data/VostrelGS1.gif");
}

// The test executable lives in build/tests, so the real machine root is build/etc/vostrel,
// found one folder above it as an installed tree's would be.
TEST(BuildTreeMachineKeyTest, NamesTheBuildsDataFolder) {
    installFolderFound = false;
    LookUpDataFolder();
    ASSERT_TRUE(installFolderFound);
    EXPECT_STREQ(InstallFolder(), VOSTREL_BUILD_DIR "/data");
}

}  // namespace
