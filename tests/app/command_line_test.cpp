// The screen-saver switches as the system's control panel and users type them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

struct Expect {
    const char* text;
    RunMode mode;
    std::uint8_t previewFlag;
    ParentSource source;
    std::int32_t number;
};

void ExpectScan(const Expect& e) {
    CommandLine line = ScanCommandLine(e.text);
    EXPECT_EQ(line.mode, e.mode) << '"' << e.text << '"';
    EXPECT_EQ(line.previewFlag, e.previewFlag) << '"' << e.text << '"';
    EXPECT_EQ(line.parentSource, e.source) << '"' << e.text << '"';
    if (e.source == ParentSource::Number) {
        EXPECT_EQ(line.parentNumber, e.number) << '"' << e.text << '"';
    }
}

}  // namespace

TEST(CommandLine, SaverFromQuotedAndUnquotedPaths) {
    for (const char* text :
         {"\"C:\\Program Files\\My Saver\\vostrel.scr\" /s", "vostrel.scr s", "vostrel.scr -S",
          "/usr/bin/vostrel   /s", "vostrel /s 99", "\"path with spaces\"/s"}) {
        ExpectScan({text, RunMode::Saver, 0, ParentSource::Desktop, 0});
    }
}

TEST(CommandLine, PreviewTakesTheWindowNumberAfterSpacesAndColons) {
    for (const char* text : {"vostrel /p 1234", "vostrel -P:1234", "vostrel /l1234",
                             "vostrel /L : :1234xyz", "\"my saver\" /p    1234"}) {
        ExpectScan({text, RunMode::Preview, 1, ParentSource::Number, 1234});
    }
}

TEST(CommandLine, PreviewWithoutAWindow) {
    for (const char* text : {"vostrel /p scrprev", "vostrel /p ScrPrev", "vostrel /p:SCRPREV",
                             "vostrel /p", "vostrel /p 0", "vostrel /p abc"}) {
        ExpectScan({text, RunMode::Preview, 1, ParentSource::None, 0});
    }
    // Only the three exact spellings are the placeholder; others read as a number (0).
    ExpectScan({"vostrel /p SCRprev", RunMode::Preview, 1, ParentSource::None, 0});
    ExpectScan({"vostrel /p scrprev 12", RunMode::Preview, 1, ParentSource::None, 0});
}

TEST(CommandLine, ConfigOwnedByForegroundOrNumberedWindow) {
    ExpectScan({"vostrel /c", RunMode::Config, 0, ParentSource::Foreground, 0});
    ExpectScan({"vostrel /c :: ", RunMode::Config, 0, ParentSource::Foreground, 0});
    ExpectScan({"vostrel /c:1234", RunMode::Config, 0, ParentSource::Number, 1234});
    ExpectScan({"vostrel -C 77", RunMode::Config, 0, ParentSource::Number, 77});
    ExpectScan({"vostrel /c:junk", RunMode::Config, 0, ParentSource::None, 0});
}

TEST(CommandLine, EverythingElseIsConfigWithoutOwner) {
    for (const char* text :
         {"", "vostrel", "vostrel ", "\"unterminated quote /s", "vostrel /x", "vostrel //s",
          "vostrel /", "vostrel -", "vostrel\t/s", "vostrel /\ts", "vostrel /5"}) {
        ExpectScan({text, RunMode::Config, 0, ParentSource::None, 0});
    }
}

TEST(CommandLine, PasswordWithAndWithoutOwner) {
    ExpectScan({"vostrel /a", RunMode::Password, 0, ParentSource::None, 0});
    ExpectScan({"vostrel -A:555", RunMode::Password, 0, ParentSource::Number, 555});
}

TEST(CommandLine, NumbersReadAsAtoiWithDefinedOverflow) {
    EXPECT_EQ(ReadDecimal("  \t+42abc"), 42);
    EXPECT_EQ(ReadDecimal("-17"), -17);
    EXPECT_EQ(ReadDecimal("- 17"), 0);
    EXPECT_EQ(ReadDecimal(""), 0);
    EXPECT_EQ(ReadDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ReadDecimal("2147483648"), -2147483647 - 1);  // wraps like common atoi
    EXPECT_EQ(ReadDecimal("4294967297"), 1);
    // 10^40 mod 2^32, computed without overflow by the reader's own wrap rule.
    std::string forty = "1" + std::string(40, '0');
    std::uint32_t expected = 1;
    for (int i = 0; i < 40; ++i) expected *= 10u;
    EXPECT_EQ(ReadDecimal(forty), static_cast<std::int32_t>(expected));
}

TEST(CommandLine, NeverReadsPastTheTextOnAnyBytes) {
    // Each text lives in its own exactly-sized heap block, so AddressSanitizer flags any read
    // past its end; the alphabet favours the characters the scanner reacts to.
    const char alphabet[] = {' ', '"', '/', '-',  ':',  'p', 'P', 'l', 's',    'c',
                             'a', '0', '9', '\t', '\0', '+', 'S', 'r', '\xff', 'x'};
    std::mt19937 random(20261207);
    for (int round = 0; round < 200000; ++round) {
        std::size_t length = random() % 24;
        std::vector<char> bytes(length);
        for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
        char* block = length > 0 ? new char[length] : nullptr;
        if (length > 0) std::memcpy(block, bytes.data(), length);
        CommandLine line = ScanCommandLine(std::string_view(block, length));
        EXPECT_EQ(line.previewFlag, line.mode == RunMode::Preview ? 1 : 0);
        EXPECT_FALSE(line.parentSource == ParentSource::Number && line.parentNumber == 0);
        delete[] block;
        if (HasFailure()) break;
    }
}
