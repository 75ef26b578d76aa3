// The Windows backends over the registry and the file system, run on Windows or under Wine:
// UTF-8 from the program reaches the system's wide calls intact, and what each seam promises
// (the capacity rule, the safe open, the whole-file replacement) holds on the real system.
#include <gtest/gtest.h>
#include <process.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/data_files.h"
#include "platform/file_replace.h"
#include "platform/registry.h"

namespace {

namespace fs = std::filesystem;

// "Grüße ✓": two-byte and three-byte UTF-8 sequences.
constexpr const char* kUtf8Text =
    "Gr\xc3\xbc\xc3\x9f"
    "e \xe2\x9c\x93";
constexpr const char* kTestKey = "Software\\VostrelTests\\\xc3\xa9t\xc3\xa9";
constexpr const char* kUtf8ValueName = "caption \xc3\xa9";
// No process has this id: Windows hands out multiples of four below it for a long while yet.
constexpr const char* kDeadWriter = "999999";

// A fresh folder under the user's temporary folder, removed when the test ends.
class TestFolder {
  public:
    TestFolder() : path_(fs::temp_directory_path() / ("vostrel-" + std::to_string(_getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return path_.string() + "\\" + name; }
    std::string Path() const { return path_.string(); }

  private:
    fs::path path_;
};

std::string ReadAll(const std::string& path) {
    std::vector<char> bytes;
    return ReadRegularFile(path, 1 << 20, bytes) ? std::string(bytes.begin(), bytes.end())
                                                 : "<unreadable>";
}

TEST(Win32Registry, Utf8RoundTripsAndTheCapacityRuleHolds) {
    RegistryKey* key = CreateRegistryKey(RegistryRoot::User, kTestKey);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(SetRegistryString(key, kUtf8ValueName, kUtf8Text, 256));
    ASSERT_TRUE(SetRegistryDword(key, "count", 0x40d));
    CloseRegistryKey(key);

    key = OpenRegistryKeyReadOnly(RegistryRoot::User, kTestKey);
    ASSERT_NE(key, nullptr);
    const std::size_t needed = std::strlen(kUtf8Text) + 1;
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(QueryRegistryString(key, kUtf8ValueName, buffer, needed - 1));
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(QueryRegistryString(key, kUtf8ValueName, buffer, needed));
    EXPECT_STREQ(buffer, kUtf8Text);
    std::uint32_t value = 7;
    EXPECT_FALSE(QueryRegistryDword(key, kUtf8ValueName, &value));
    EXPECT_EQ(value, 7u);
    EXPECT_TRUE(QueryRegistryDword(key, "count", &value));
    EXPECT_EQ(value, 0x40du);
    EXPECT_FALSE(SetRegistryDword(key, "count", 1)) << "a read-only key took a write";
    CloseRegistryKey(key);

    EXPECT_EQ(CreateRegistryKey(RegistryRoot::Machine, "Software\\VostrelTests"), nullptr);
    EXPECT_EQ(OpenRegistryKeyReadOnly(RegistryRoot::User, "Software\\VostrelTests\\Missing"),
              nullptr);
}

TEST(Win32DataFiles, OnlyRegularFilesOpenAndTheSizeLimitIsExact) {
    TestFolder folder;
    const std::string picture = folder.File("caf\xc3\xa9.jpg");
    ASSERT_TRUE(WriteFileAtomically(picture, "12345"));
    ASSERT_TRUE(WriteFileAtomically(folder.File("front.jpg"), "front"));
    struct Case {
        std::string path;
        bool opens;
    };
    const Case cases[] = {
        {picture, true},
        {NativeDataPath(folder.Path(), "\\FRONT.JPG"), true},
        {folder.Path(), false},
        {"NUL", false},
        {folder.File("missing.jpg"), false},
    };
    for (const Case& c : cases) EXPECT_EQ(FileOpensForReading(c.path), c.opens) << c.path;

    std::vector<char> bytes;
    EXPECT_TRUE(ReadRegularFile(picture, 5, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "12345");
    EXPECT_FALSE(ReadRegularFile(picture, 4, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(Win32FileReplace, ReplacesWholeKeepsReadOnlyFilesAndClearsDeadWritersFiles) {
    TestFolder folder;
    const std::string page = folder.File("page.htm");
    ASSERT_TRUE(WriteFileAtomically(page, "old"));
    ASSERT_TRUE(WriteFileAtomically(page, "new"));
    EXPECT_EQ(ReadAll(page), "new");

    const std::string locked = folder.File("locked.htm");
    ASSERT_TRUE(WriteFileAtomically(locked, "kept"));
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteFileAtomically(locked, "lost"));
    EXPECT_EQ(ReadAll(locked), "kept");
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);

    const std::string dead = folder.File(std::string(".page.htm.") + kDeadWriter + ".0");
    const std::string live = folder.File(".page.htm." + std::to_string(_getpid()) + ".0");
    std::ofstream(dead) << "torn";
    std::ofstream(live) << "in progress";
    RemoveStaleReplacements(page);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(FileFolderWritable(page));
}

}  // namespace
