// The configuration dialog's behaviour, driven through a view without a window: clicks,
// OK's checks and boxes, and what each leaves in the stored settings file.
#include "settings/config_dialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "fake_dialog_view.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "settings/dialog_template.h"
#include "temp_folder.h"
#include "user_root.h"

namespace {

class ConfigDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetMessageBoxSpy([this](const MessageBoxRequest& box) {
            boxes_.push_back(box);
            if (box.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
            if (answers_.empty()) return BoxAnswer::No;
            const BoxAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        dialog_.Initialise(view_);
    }
    void TearDown() override {
        if (dialog_.key != nullptr) CloseRegistryKey(dialog_.key);
    }

    void Click(int id) { dialog_.Command(view_, id); }
    void Press(int id, std::uint32_t times) {
        for (std::uint32_t i = 0; i < times; ++i) Click(id);
    }
    void TypeCaption(const std::string& text) { view_.texts[kIdCaption] = text; }
    std::string KeyFile() const { return userRoot_.KeyFile(kSettingsKeyPath); }
    // Whether OK has written: opening the dialog already makes the key, empty.
    bool Stored() const { return StoredNumber("resolution") != -1; }

    // A value as the store holds it now, read through a key of its own.
    std::string StoredText(const char* name) const {
        RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::User, kSettingsKeyPath);
        char text[kSettingTextSize] = "(absent)";
        if (key != nullptr) QueryRegistryString(key, name, text, sizeof text);
        CloseRegistryKey(key);
        return text;
    }
    std::int64_t StoredNumber(const char* name) const {
        RegistryKey* key = OpenRegistryKeyReadOnly(RegistryRoot::User, kSettingsKeyPath);
        std::uint32_t value = 0;
        const bool found = key != nullptr && QueryRegistryDword(key, name, &value);
        CloseRegistryKey(key);
        return found ? std::int64_t{value} : -1;
    }

    UserRootForTest userRoot_;
    ConfigDialog dialog_{{"https://home.example/", "mailto:x@example.org", nullptr}};
    FakeDialogView view_;
    std::vector<MessageBoxRequest> boxes_;
    std::deque<BoxAnswer> answers_;
};

TEST_F(ConfigDialogTest, CaptionsStoredOrRefusedAsTheRuleSays) {
    struct Case {
        std::uint32_t text;
        const char* typed;
        const char* stored;  // "(absent)": refused
        std::vector<std::string> boxTexts;
    };
    const std::string tooLong = "Text to be displayed\ncan be max 7 char long.";
    const std::string notLetters =
        "Text to be displayed can only contain letters \nand must be at least 1 character "
        "long.\nDo you wish to disable caption displaying?";
    const Case cases[] = {
        {0, "123", "123", {}},
        {1, "hi you", "HI YOU", {}},
        {1, "ABCDEFGHI", "(absent)", {tooLong}},
        {0, "ABCDEFGHI", "(absent)", {tooLong}},
        {1, "", "(absent)", {notLetters}},
        {1, "A-B", "(absent)", {notLetters}},
        // Counted in characters as typed: four two-byte letters are not too long.
        {1, "\xC3\x89\xC3\x89\xC3\x89\xC3\x89", "(absent)", {notLetters}},
        {0, "\xC3\x89\xC3\x89\xC3\x89\xC3\x89", "\xC3\x89\xC3\x89\xC3\x89\xC3\x89", {}},
        {0,
         "\xC3\xA9"
         "ABCDEFG",
         "(absent)",
         {tooLong}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TearDown();
        std::filesystem::remove(KeyFile());
        boxes_.clear();
        view_ = FakeDialogView{};
        dialog_ = ConfigDialog{dialog_.actions};
        SetUp();
        if (c.text == 0) Click(kIdCaptionShown);
        TypeCaption(c.typed);
        Click(kIdOk);
        EXPECT_EQ(StoredText("vostrel"), c.stored);
        EXPECT_EQ(StoredNumber("text"), c.text);  // the other values are written either way
        std::vector<std::string> shown;
        for (const MessageBoxRequest& box : boxes_) {
            shown.push_back(box.text);
            EXPECT_EQ(box.title, "Misc Options");
            EXPECT_EQ(box.icon, BoxIcon::Warning);
            EXPECT_EQ(box.owner, 0u);
        }
        EXPECT_EQ(shown, c.boxTexts);
        EXPECT_EQ(view_.ended, c.boxTexts.empty());
        if (!c.boxTexts.empty()) {
            EXPECT_EQ(view_.focus, kIdCaption);
        }
    }
}

// A file where the settings folder belongs stops the key from being made when the dialog
// opens; a folder where the writer's temporary file belongs lets the key open but no write
// through. Either refuses root as well, which permissions would not.
TEST_F(ConfigDialogTest, OkThatCannotStoreSaysSoAndTheNextOkStoresTheSameChoices) {
    namespace fs = std::filesystem;
    const fs::path settingsFolder = fs::path(KeyFile()).parent_path().parent_path();
    const fs::path tempFile = KeyFile() + ".tmp";
    for (const bool beforeOpening : {true, false}) {
        SCOPED_TRACE(beforeOpening);
        TearDown();
        fs::remove_all(settingsFolder);
        boxes_.clear();
        view_ = FakeDialogView{};
        dialog_ = ConfigDialog{dialog_.actions};
        if (beforeOpening) WriteWholeFile(settingsFolder.string(), "");
        SetUp();
        if (!beforeOpening) fs::create_directory(tempFile);
        Click(static_cast<int>(kResolution800));
        Click(kIdOk);
        EXPECT_FALSE(view_.ended);
        EXPECT_FALSE(Stored());
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].title, "Vostrel ScreenSaver");
        EXPECT_EQ(boxes_[0].icon, BoxIcon::Error);
        EXPECT_EQ(boxes_[0].buttons, BoxButtons::Ok);

        fs::remove(beforeOpening ? settingsFolder : tempFile);
        Click(kIdOk);
        EXPECT_TRUE(view_.ended);
        EXPECT_EQ(StoredNumber("resolution"), kResolution800);
        EXPECT_EQ(StoredText("vostrel"), "VOSTREL");
        EXPECT_EQ(boxes_.size(), 1u);
    }
}

TEST_F(ConfigDialogTest, EmptyCaptionYesTurnsTheCaptionOffAndTheNextOkSucceeds) {
    TypeCaption("");
    answers_ = {BoxAnswer::Yes};
    Click(kIdOk);
    EXPECT_FALSE(view_.ended);
    EXPECT_FALSE(view_.checks[kIdCaptionShown]);
    EXPECT_EQ(StoredNumber("text"), 1);  // Yes writes nothing by itself
    Click(kIdOk);
    EXPECT_TRUE(view_.ended);
    EXPECT_EQ(StoredNumber("text"), 0);
    EXPECT_EQ(StoredText("vostrel"), "");
}

TEST_F(ConfigDialogTest, MissingMp3KeepsEverythingButPmp3AcrossCancel) {
    view_.chosenFile = std::nullopt;  // the chooser that the MP3 box opens is cancelled
    Click(kIdMp3);
    view_.RunPosted(dialog_);
    ASSERT_EQ(view_.chooserRequests.size(), 1u);
    view_.texts[kIdMp3Path] = "/no/such/song.mp3";
    Click(static_cast<int>(kResolution800));
    Click(kIdOk);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].title, "Audio Options");
    EXPECT_EQ(boxes_[0].text,
              "Wrong MP3 File Path.\nPlease insert a correct\npath or disable MP3.");
    EXPECT_EQ(view_.focus, kIdBrowse);
    Click(kIdCancel);
    EXPECT_TRUE(view_.ended);
    EXPECT_EQ(StoredNumber("pmp3"), -1);
    EXPECT_EQ(StoredNumber("pmusic"), 0);
    EXPECT_EQ(StoredNumber("resolution"), kResolution800);
    EXPECT_EQ(StoredText("datapath"), "/no/such/song.mp3");
    EXPECT_EQ(StoredText("vostrel"), "VOSTREL");
}

TEST_F(ConfigDialogTest, AudioSourcesStayExclusiveAndMp3OpensTheChooser) {
    struct Step {
        int click;
        bool music, cd, mp3;
        bool chooserOpens;
    };
    const Step steps[] = {
        {kIdMusic, false, false, false, false},  // off turns nothing else on
        {kIdAudioCd, false, true, false, false}, {kIdMusic, true, false, false, false},
        {kIdMp3, false, false, true, true},      {kIdMp3, false, false, false, false},
    };
    TempFolder folder;
    const std::string song = folder.path() + "/song.MP3";
    WriteWholeFile(song, "ID3");
    view_.chosenFile = song;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click);
        const std::size_t opened = view_.chooserRequests.size();
        Click(step.click);
        view_.RunPosted(dialog_);
        EXPECT_EQ(view_.checks[kIdMusic], step.music);
        EXPECT_EQ(view_.checks[kIdAudioCd], step.cd);
        EXPECT_EQ(view_.checks[kIdMp3], step.mp3);
        EXPECT_EQ(view_.chooserRequests.size() - opened, step.chooserOpens ? 1u : 0u);
    }
    const OpenFileRequest& chooser = view_.chooserRequests.at(0);
    EXPECT_EQ(chooser.title, "Open MP3 File");
    ASSERT_EQ(chooser.filters.size(), 2u);
    EXPECT_EQ(chooser.filters[0].name, "MP3 files (*.mp3)");
    EXPECT_EQ(chooser.filters[1].pattern, "*.*");
    EXPECT_EQ(view_.texts[kIdMp3Path], song);

    Click(kIdBrowse);  // a chosen file turns MP3 on again and the path checks out at OK
    Click(kIdOk);
    EXPECT_TRUE(view_.ended);
    EXPECT_EQ(StoredNumber("pmp3"), 1);
    EXPECT_EQ(StoredText("datapath"), song);
}

// A path the chooser's buffer cannot hold is refused whole, never stored cut.
TEST_F(ConfigDialogTest, ChosenPathTooLongChangesNothing) {
    const std::string pathBefore = view_.texts[kIdMp3Path];
    view_.chosenFile = "/" + std::string(kSettingTextMaxLength, 'a') + ".mp3";
    Click(kIdBrowse);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].title, "Audio Options");
    Click(kIdOk);
    EXPECT_TRUE(view_.ended);
    EXPECT_EQ(StoredText("datapath"), pathBefore);
    EXPECT_EQ(StoredNumber("pmp3"), 0);
    EXPECT_EQ(StoredNumber("pmusic"), 1);
    EXPECT_EQ(StoredNumber("pcd"), 0);
}

// Typed, such a path is a wrong path whether or not MP3 is on, and what the field held stays.
TEST_F(ConfigDialogTest, TypedPathTooLongIsAWrongPathNeverStoredCut) {
    const std::string pathBefore = view_.texts[kIdMp3Path];
    view_.texts[kIdMp3Path] = "/" + std::string(kSettingTextMaxLength, 'a');
    Click(kIdOk);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].title, "Audio Options");
    EXPECT_FALSE(view_.ended);
    Click(kIdCancel);
    EXPECT_EQ(StoredText("datapath"), pathBefore);
}

TEST_F(ConfigDialogTest, NoticeOnlyForHighDetailDeepColourAndLargeModes) {
    using Choice =
        std::tuple<bool, std::uint32_t, std::uint32_t, bool>;  // 32 bit, part, res, asked
    const Choice choices[] = {
        {true, kPartHigh, kResolution1024, true},   {true, kPartHigh, kResolutionDesktop, true},
        {true, kPartHigh, kResolution1280, true},   {true, kPartHigh, kResolution800, false},
        {false, kPartHigh, kResolution1280, false}, {true, kPartMedium, kResolution1280, false},
    };
    for (const auto& [deep, part, resolution, asked] : choices) {
        SCOPED_TRACE(resolution);
        boxes_.clear();
        std::filesystem::remove(KeyFile());
        if (dialog_.key == nullptr) dialog_.Initialise(view_);  // a successful OK closed it
        dialog_.copy.bpp = deep ? 1 : 0;
        dialog_.copy.part = part;
        dialog_.copy.resolution = resolution;
        Click(kIdOk);  // No to the notice, when asked
        ASSERT_EQ(boxes_.size(), asked ? 1u : 0u);
        EXPECT_EQ(Stored(), !asked);
        if (asked) {
            EXPECT_EQ(boxes_[0].icon, BoxIcon::Question);
            EXPECT_EQ(boxes_[0].title, "Vostrel ScreenSaver");
            EXPECT_EQ(boxes_[0].buttons, BoxButtons::YesNo);
        }
    }
}

TEST_F(ConfigDialogTest, DefaultsKeepThePathAndWriteNothing) {
    view_.texts[kIdMp3Path] = "/m/a.mp3";
    Click(kIdDebug);
    Click(static_cast<int>(kPartHigh));
    TypeCaption("x");
    Click(kIdDefault);
    EXPECT_FALSE(Stored());
    EXPECT_FALSE(view_.checks[kIdDebug]);
    EXPECT_TRUE(view_.checks[static_cast<int>(kPartMedium)]);
    EXPECT_FALSE(view_.checks[static_cast<int>(kPartHigh)]);
    EXPECT_EQ(view_.texts[kIdCaption], "VOSTREL");
    EXPECT_EQ(view_.texts[kIdMp3Path], "/m/a.mp3");
}

}  // namespace
