// The registry-style store: Win32 query semantics, hand-edited and damaged files, and the
// guarantees against kills and concurrent writers.
#include "platform/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "platform_spies.h"
#include "temp_folder.h"
#include "user_root.h"

using namespace std::string_literals;

namespace {

constexpr const char* kKeyPath = "Software\\StoreTest";
constexpr std::size_t kTextCapacity = 256;

class RegistryTest : public ::testing::Test {
  protected:
    RegistryKey* Create() { return CreateRegistryKey(RegistryRoot::User, kKeyPath); }
    std::string KeyFile() const { return userRoot_.KeyFile(kKeyPath); }

    std::string QueryText(RegistryKey* key, const char* name,
                          std::size_t capacity = kTextCapacity) {
        std::string buffer(capacity, '#');
        if (!QueryRegistryString(key, name, buffer.data(), capacity)) return "<unreadable>";
        return buffer.c_str();
    }
    // The number stored under `name`, or -1 where none can be read.
    static std::int64_t QueryNumber(RegistryKey* key, const char* name) {
        std::uint32_t value = 0;
        return QueryRegistryDword(key, name, &value) ? std::int64_t{value} : -1;
    }
    // What stands in the key file's folder: a writer's temporary files must not pile up there.
    std::ptrdiff_t FilesBesideTheKey() const {
        return std::distance(
            std::filesystem::directory_iterator(std::filesystem::path(KeyFile()).parent_path()),
            std::filesystem::directory_iterator());
    }

    UserRootForTest userRoot_;
};

TEST_F(RegistryTest, ValuesOfEveryKindReadBackThroughAnotherHandle) {
    const std::string longest(kTextCapacity - 1, 'x');
    const char* texts[] = {"",
                           "VOSTREL",
                           "C:\\music\\\"quoted\" name.mp3",
                           "line\nbreak\tand\r\x7f",
                           "/home/p\xC3\xA9ter/a.mp3",
                           longest.c_str()};
    const std::uint32_t numbers[] = {0, 1, 1037, 0xFFFFFFFFu};

    RegistryKey* writer = Create();
    ASSERT_NE(writer, nullptr);
    for (std::uint32_t n : numbers) {
        const std::string name = "n" + std::to_string(n);
        ASSERT_TRUE(SetRegistryDword(writer, name.c_str(), n));
    }
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::string name = "t" + std::to_string(i);
        ASSERT_TRUE(SetRegistryString(writer, name.c_str(), texts[i], std::strlen(texts[i]) + 1));
    }
    CloseRegistryKey(writer);

    RegistryKey* reader = OpenRegistryKeyReadOnly(RegistryRoot::User, kKeyPath);
    ASSERT_NE(reader, nullptr);
    for (std::uint32_t n : numbers) {
        EXPECT_EQ(QueryNumber(reader, ("n" + std::to_string(n)).c_str()), n);
    }
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(QueryText(reader, ("t" + std::to_string(i)).c_str()), texts[i]) << i;
    }
    CloseRegistryKey(reader);
}

TEST_F(RegistryTest, QueryNeedsTheRightTypeAndRoomForTheTerminator) {
    RegistryKey* key = Create();
    ASSERT_NE(key, nullptr);
    const std::string fits(kTextCapacity - 1, 'a');
    const std::string tooLong(kTextCapacity, 'b');
    SetRegistryString(key, "fits", fits.c_str(), fits.size() + 1);
    SetRegistryString(key, "tooLong", tooLong.c_str(), tooLong.size() + 1);
    SetRegistryDword(key, "number", 5);

    EXPECT_EQ(QueryText(key, "fits"), fits);
    EXPECT_EQ(QueryText(key, "fits", kTextCapacity - 1), "<unreadable>");
    EXPECT_EQ(QueryText(key, "tooLong"), "<unreadable>");
    EXPECT_EQ(QueryText(key, "number"), "<unreadable>");
    EXPECT_EQ(QueryText(key, "absent"), "<unreadable>");

    std::uint32_t value = 42;
    EXPECT_FALSE(QueryRegistryDword(key, "fits", &value));
    EXPECT_FALSE(QueryRegistryDword(key, "absent", &value));
    EXPECT_EQ(value, 42u);
    CloseRegistryKey(key);
}

TEST_F(RegistryTest, StringBufferIsStoredUpToItsZeroAndNoFurtherThanItsSize) {
    RegistryKey* key = Create();
    char buffer[kTextCapacity] = "VOSTREL";
    std::memcpy(buffer, "AB", 3);  // leaves "STREL" behind the new zero, as a reused buffer does
    ASSERT_TRUE(SetRegistryString(key, "caption", buffer, sizeof buffer));
    EXPECT_EQ(QueryText(key, "caption"), "AB");

    ASSERT_TRUE(SetRegistryString(key, "cut", "ABCDEFG", 4));
    EXPECT_EQ(QueryText(key, "cut"), "ABCD");
    CloseRegistryKey(key);
}

TEST_F(RegistryTest, CreateLeavesAnEmptyKeyAndReadOnlyOpenCreatesNothing) {
    EXPECT_EQ(OpenRegistryKeyReadOnly(RegistryRoot::User, kKeyPath), nullptr);
    EXPECT_FALSE(std::filesystem::exists(KeyFile()));

    RegistryKey* key = Create();
    ASSERT_NE(key, nullptr);
    CloseRegistryKey(key);
    EXPECT_EQ(ReadWholeFile(KeyFile()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\StoreTest]\n");

    RegistryKey* readOnly = OpenRegistryKeyReadOnly(RegistryRoot::User, kKeyPath);
    ASSERT_NE(readOnly, nullptr);
    EXPECT_FALSE(SetRegistryDword(readOnly, "debug", 1));
    CloseRegistryKey(readOnly);
}

TEST_F(RegistryTest, MachineRootIsOnlyRead) {
    TempFolder machine;
    SetMachineRoot(machine.path().c_str());
    WriteWholeFile(machine.path() + "/Software/Maker/Product.reg",
                   "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Maker\\Product]\n"
                   "\"Path\"=\"/opt/product\"\n");

    EXPECT_EQ(CreateRegistryKey(RegistryRoot::Machine, "Software\\Maker\\Product"), nullptr);
    EXPECT_EQ(OpenRegistryKeyReadOnly(RegistryRoot::Machine, "Software\\Maker\\Other"), nullptr);
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::Machine, "Software\\Maker\\Product");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(QueryText(key, "path"), "/opt/product");
    EXPECT_FALSE(SetRegistryString(key, "Path", "/elsewhere", 11));
    CloseRegistryKey(key);
}

TEST_F(RegistryTest, KeyPathsCannotLeaveTheRoot) {
    for (const char* path :
         {"", "..\\escape", "Software\\..\\..\\x", "a\\\\b", "a/b", "a\\", "."}) {
        EXPECT_EQ(CreateRegistryKey(RegistryRoot::User, path), nullptr) << path;
        EXPECT_EQ(OpenRegistryKeyReadOnly(RegistryRoot::User, path), nullptr) << path;
    }
    EXPECT_EQ(CreateRegistryKey(RegistryRoot::User, nullptr), nullptr);
}

TEST_F(RegistryTest, HandEditedFileIsReadAndItsOtherLinesSurviveAWrite) {
    WriteWholeFile(KeyFile(),
                   "\xEF\xBB\xBFREGEDIT4\r\n\r\n"
                   "; chosen by hand\r\n"
                   "  \"Part\" =  DWORD: 40d \r\n"
                   "\"resolution\"=dword:3F9\r\n"
                   "\"datapath\"=\"C:\\\\My Music\\\\a.mp3\"\r\n"
                   "\"blob\"=hex:01,02,\\\r\n  03,04\r\n"
                   "\"bad\"=dword:123456789\r\n"
                   "\"gone\"=dword:1\r\n"
                   "\"gone\"=-\r\n"
                   "\"twice\"=dword:1\r\n"
                   "\"twice\"=dword:2");
    RegistryKey* key = Create();
    ASSERT_NE(key, nullptr);
    const std::pair<const char*, std::int64_t> numbers[] = {{"part", 1037}, {"resolution", 1017},
                                                            {"twice", 2},   {"bad", -1},
                                                            {"gone", -1},   {"blob", -1}};
    for (const auto& [name, number] : numbers) EXPECT_EQ(QueryNumber(key, name), number) << name;
    EXPECT_EQ(QueryText(key, "datapath"), "C:\\My Music\\a.mp3");

    ASSERT_TRUE(SetRegistryDword(key, "twice", 3));
    EXPECT_EQ(ReadWholeFile(KeyFile()),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\StoreTest]\n"
              "; chosen by hand\n"
              "\"Part\"=DWORD: 40d\n"
              "\"resolution\"=dword:3F9\n"
              "\"datapath\"=\"C:\\\\My Music\\\\a.mp3\"\n"
              "\"blob\"=hex:01,02,03,04\n"
              "\"bad\"=dword:123456789\n"
              "\"twice\"=dword:00000003\n");
    CloseRegistryKey(key);
}

TEST_F(RegistryTest, DamagedFilesReadAsAbsentAndTheNextWriteReplacesThem) {
    const std::string valid = "REGEDIT4\n\n[x]\n\"keep\"=dword:00000001\n\"text\"=\"abc\"\n";
    const std::string damaged[] = {
        "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s,
        valid + "\"keep\"=\0dword:2\n"s,
        "garbage \"\"\"=== dword: [[[ \\\\\\",
        "REGEDIT4\n\n[x]\n\"keep\"=dwo",
        "REGEDIT4\n\"text\"=\"no end quote\n\"keep\"=dword:\n",
        valid + std::string((1 << 20) + 1, ' '),
    };
    for (const std::string& text : damaged) {
        WriteWholeFile(KeyFile(), text);
        RegistryKey* key = Create();
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(QueryNumber(key, "keep"), -1);
        EXPECT_EQ(QueryText(key, "text"), "<unreadable>");
        ASSERT_TRUE(SetRegistryDword(key, "fresh", 4));
        EXPECT_EQ(QueryNumber(key, "fresh"), 4);
        CloseRegistryKey(key);
    }
}

TEST_F(RegistryTest, KeyFileThatIsNoRegularFileNeitherHangsNorCrashes) {
    std::filesystem::create_directories(std::filesystem::path(KeyFile()).parent_path());
    ASSERT_EQ(mkfifo(KeyFile().c_str(), 0600), 0);
    RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::User, kKeyPath);
    EXPECT_EQ(key, nullptr);
    std::filesystem::remove(KeyFile());

    std::filesystem::create_directories(KeyFile());
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(FilesBesideTheKey(), 1) << "a temporary file was left beside the folder";
    std::filesystem::remove(KeyFile());

    // A key file replaced by something unreadable while the key is open: the write is refused
    // rather than replacing values it cannot see.
    key = Create();
    ASSERT_NE(key, nullptr);
    std::filesystem::remove(KeyFile());
    ASSERT_EQ(mkfifo(KeyFile().c_str(), 0600), 0);
    EXPECT_FALSE(SetRegistryDword(key, "keep", 2));
    EXPECT_TRUE(std::filesystem::is_fifo(KeyFile()));
    EXPECT_EQ(FilesBesideTheKey(), 1);
    CloseRegistryKey(key);
    std::filesystem::remove(KeyFile());

    if (geteuid() != 0) {  // permissions do not stop root
        WriteWholeFile(KeyFile(), "\"keep\"=dword:1\n\"other\"=dword:7\n");
        chmod(KeyFile().c_str(), 0);
        key = Create();
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(QueryNumber(key, "keep"), -1);
        EXPECT_FALSE(SetRegistryDword(key, "keep", 2));
        chmod(KeyFile().c_str(), 0600);
        EXPECT_EQ(QueryNumber(key, "other"), 7);
        CloseRegistryKey(key);
    }
}

TEST_F(RegistryTest, WriteThatWouldMakeAnUnreadableFileIsRefused) {
    RegistryKey* key = Create();
    ASSERT_TRUE(SetRegistryDword(key, "first", 1));
    const std::string big(200 * 1000, 'z');
    int stored = 0;
    for (int i = 0; i < 8; ++i) {
        if (SetRegistryString(key, ("big" + std::to_string(i)).c_str(), big.c_str(), big.size()))
            ++stored;
    }
    EXPECT_EQ(stored, 5);
    EXPECT_EQ(QueryNumber(key, "first"), 1);
    CloseRegistryKey(key);
}

// Seeded random mutations of a valid key file: whatever the bytes, queries must not crash or
// overrun their buffer, and a write must leave a file that reads back.
TEST_F(RegistryTest, MutatedFilesNeverCrashAndAreRepairedByAWrite) {
    const std::string original =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\StoreTest]\n"
        "\"resolution\"=dword:000003f5\n\"part\"=dword:0000040c\n"
        "\"datapath\"=\"C:\\\\a\\\\\\\"b\\\".mp3\"\n\"vostrel\"=\"VOSTREL\"\n"
        "\"raw\"=hex(1):41,42,00\n\"blob\"=hex:01,\\\n  02\n; note\n";
    const std::string tokens[] = {
        "\"", "\\", "=",          "dword:", "hex(1):",           "\n", "\r\n", ",",
        "@",  "-",  "ffffffffff", "[",      std::string(1, '\0')};
    const char* names[] = {"resolution", "part", "datapath", "vostrel", "raw", "blob", ""};
    std::mt19937 rng(20261207);
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : rng() % n; };

    RegistryKey* key = Create();
    ASSERT_NE(key, nullptr);
    for (int round = 0; round < 2000; ++round) {
        std::string text = original;
        for (int m = 1 + static_cast<int>(pick(4)); m > 0; --m) {
            const std::size_t at = pick(text.size() + 1);
            switch (pick(5)) {
                case 0:
                    text.insert(at, tokens[pick(std::size(tokens))]);
                    break;
                case 1:
                    text.erase(at, pick(12));
                    break;
                case 2:
                    if (at < text.size()) text[at] = static_cast<char>(rng());
                    break;
                case 3:
                    text.resize(at);
                    break;
                case 4:
                    text.insert(at, text.substr(pick(text.size()), pick(40)));
                    break;
            }
        }
        WriteWholeFile(KeyFile(), text);
        for (const char* name : names) {
            std::uint32_t value = 0;
            QueryRegistryDword(key, name, &value);
            for (std::size_t capacity : {std::size_t{1}, std::size_t{4}, kTextCapacity}) {
                std::string buffer(capacity + 1, '#');
                if (QueryRegistryString(key, name, buffer.data(), capacity)) {
                    ASSERT_LE(std::strlen(buffer.c_str()) + 1, capacity);
                }
                ASSERT_EQ(buffer.back(), '#') << "overran a " << capacity << "-byte buffer";
            }
        }
        if (round % 10 == 0) {
            ASSERT_TRUE(SetRegistryString(key, "vostrel", "REPAIR", 7)) << text;
            EXPECT_EQ(QueryText(key, "vostrel"), "REPAIR") << text;
        }
    }
    CloseRegistryKey(key);
}

[[noreturn]] void WriteForever(const std::string& a, const std::string& b) {
    RegistryKey* key = CreateRegistryKey(RegistryRoot::User, kKeyPath);
    for (std::uint32_t i = 0;; ++i) {
        const std::string& text = i % 2 == 0 ? a : b;
        SetRegistryDword(key, "number", i % 2);
        SetRegistryString(key, "text", text.c_str(), text.size() + 1);
    }
}

TEST_F(RegistryTest, KilledWriterLeavesTheOldOrTheNewFile) {
    const std::string a(200, 'a');
    const std::string b(200, 'b');
    RegistryKey* key = Create();
    ASSERT_TRUE(SetRegistryDword(key, "number", 1));
    ASSERT_TRUE(SetRegistryString(key, "text", b.c_str(), b.size() + 1));
    CloseRegistryKey(key);

    std::mt19937 rng(7);
    for (int round = 0; round < 100; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) WriteForever(a, b);
        usleep(200 + rng() % 3000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        // The writer sets number then text, so the file is in one of four whole states.
        key = OpenRegistryKeyReadOnly(RegistryRoot::User, kKeyPath);
        ASSERT_NE(key, nullptr);
        ASSERT_NE(QueryNumber(key, "number"), -1) << ReadWholeFile(KeyFile());
        const std::string text = QueryText(key, "text");
        ASSERT_TRUE(text == a || text == b) << ReadWholeFile(KeyFile());
        CloseRegistryKey(key);
    }
    EXPECT_LE(FilesBesideTheKey(), 2) << "a killed writer's temporary file is reused";
}

TEST_F(RegistryTest, TwoWritingProcessesLoseNoValue) {
    constexpr int kValuesEach = 60;
    RegistryKey* key = Create();
    ASSERT_NE(key, nullptr);
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        children[writer] = fork();
        ASSERT_GE(children[writer], 0);
        if (children[writer] == 0) {
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name = std::to_string(writer) + "-" + std::to_string(i);
                if (!SetRegistryDword(key, name.c_str(), static_cast<std::uint32_t>(i))) _exit(1);
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = std::to_string(writer) + "-" + std::to_string(i);
            EXPECT_EQ(QueryNumber(key, name.c_str()), i) << name;
        }
    }
    CloseRegistryKey(key);
}

}  // namespace
