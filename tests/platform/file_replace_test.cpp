#include "platform/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "temp_folder.h"

namespace {

TEST(WriteFileAtomically, KeepsPermissionsFollowsLinksAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string page = folder.File("page.htm");
    WriteWholeFile(page, "old");
    chmod(page.c_str(), 0640);
    std::filesystem::create_symlink(page, folder.File("link.htm"));

    ASSERT_TRUE(WriteFileAtomically(folder.File("link.htm"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.htm")));
    EXPECT_EQ(ReadWholeFile(page), "new");
    struct stat info{};
    ASSERT_EQ(stat(page.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(WriteFileAtomically, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
    TempFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/page.htm"), "text"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
