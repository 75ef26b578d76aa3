#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/render_request.h"
#include "app/render_settings.h"

namespace {

bool Parse(const std::vector<std::string>& arguments, RenderRequest& request, std::string& error) {
    return ParseRenderArguments(arguments, request, error);
}

TEST(RenderArguments, ReadsEveryOptionInAnyOrder) {
    RenderRequest request;
    std::string error;
    ASSERT_TRUE(
        Parse({"--set", "useblur=1", "--out", "pictures", "--frames", "9499,0,4995-4997",
               "--preview", "--size", "1280x720", "--state", "s.jsonl", "--set", "vostrel=A=B"},
              request, error))
        << error;
    EXPECT_EQ(request.frames, (std::vector<int>{0, 4995, 4996, 4997, 9499}));
    EXPECT_EQ(request.width, 1280);
    EXPECT_EQ(request.height, 720);
    EXPECT_EQ(request.outDir, "pictures");
    EXPECT_EQ(request.statePath, "s.jsonl");
    EXPECT_TRUE(request.preview);
    ASSERT_EQ(request.sets.size(), 2u);
    EXPECT_EQ(request.sets[0], std::make_pair(std::string("useblur"), std::string("1")));
    EXPECT_EQ(request.sets[1], std::make_pair(std::string("vostrel"), std::string("A=B")));
}

TEST(RenderArguments, RefusesMalformedRequestsWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--frames", "1", "--size", "64x48"},
        {"--frames", "1", "--out", "d"},
        {"--size", "64x48", "--out", "d"},
        {"--frames", "1", "--size", "64x48", "--out"},
        {"--frames", "1", "--size", "64x48", "--out", "d", "--bogus"},
        {"--frames", "1", "--size", "64x48", "--out", "d", "--set", "useblur"},
        {"--frames", "1", "--size", "64x48", "--out", "d", "--set", "=1"},
        {"--frames", "1", "--size", "0x48", "--out", "d"},
        {"--frames", "1", "--size", "64x", "--out", "d"},
        {"--frames", "1", "--size", "64*48", "--out", "d"},
        {"--frames", "1", "--size", "-64x48", "--out", "d"},
        {"--frames", "1", "--size", "99999999999x48", "--out", "d"},
    };
    for (const auto& arguments : bad) {
        RenderRequest request;
        std::string error;
        EXPECT_FALSE(Parse(arguments, request, error)) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

TEST(RenderArguments, HelpNeedsNothingElse) {
    RenderRequest request;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, request, error));
    EXPECT_TRUE(request.helpWanted);
}

TEST(FrameList, RefusesEmptyItemsSignsReversedRangesAndFramesBeyondTheLast) {
    for (const char* text : {"", ",", "1,", ",1", "1,,2", "-1", "+1", "5-3", "1-", "-", "a", "1 ",
                             "9502", "0-9502", "1.5", "99999999999"}) {
        std::vector<int> frames = {7};
        std::string error;
        EXPECT_FALSE(ParseFrameList(text, 9501, frames, error)) << '"' << text << '"';
        EXPECT_EQ(frames, std::vector<int>{7}) << "untouched on failure";
    }
}

TEST(FrameList, SortsAndMergesRepeats) {
    std::vector<int> frames;
    std::string error;
    ASSERT_TRUE(ParseFrameList("9501,3-5,4,0,0-1", 9501, frames, error));
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 3, 4, 5, 9501}));
}

TEST(SettingByName, SetsNumbersAndTextsByTheirValueNames) {
    Settings target;
    std::string error;
    ASSERT_TRUE(SetSettingByName(target, "part", "1035", error));
    ASSERT_TRUE(SetSettingByName(target, "matrox", "1", error));
    ASSERT_TRUE(SetSettingByName(target, "restart", "0", error));
    ASSERT_TRUE(SetSettingByName(target, "vostrel", "HELLO", error));
    EXPECT_EQ(target.part, 1035u);
    EXPECT_EQ(target.matrox, 1u);
    EXPECT_EQ(target.restart, 0u);
    EXPECT_STREQ(target.vostrel, "HELLO");
    ASSERT_TRUE(SetSettingByName(target, "vostrel", "", error));
    EXPECT_STREQ(target.vostrel, "");
}

TEST(SettingByName, RefusesUnknownNamesAndUnfittingValuesAndChangesNothing) {
    Settings target;
    std::string error;
    EXPECT_FALSE(SetSettingByName(target, "Useblur", "1", error));
    EXPECT_FALSE(SetSettingByName(target, "useblur", "yes", error));
    EXPECT_FALSE(SetSettingByName(target, "useblur", "-1", error));
    EXPECT_FALSE(SetSettingByName(target, "useblur", "", error));
    EXPECT_FALSE(SetSettingByName(target, "useblur", "4294967296", error));
    EXPECT_FALSE(SetSettingByName(target, "vostrel", std::string(256, 'x'), error));
    EXPECT_FALSE(error.empty());
    const Settings defaults;
    EXPECT_EQ(target.useblur, defaults.useblur);
    EXPECT_STREQ(target.vostrel, defaults.vostrel);
    EXPECT_TRUE(SetSettingByName(target, "vostrel", std::string(255, 'x'), error));
}

}  // namespace
