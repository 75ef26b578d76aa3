// The Windows dialog: the resource made from the configuration dialog's own table opens above
// its owner, which it disables until it ends; its controls answer by id, and a posted command
// arrives after the current one, all without a person.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog_view.h"
#include "settings/dialog_template.h"

namespace {

constexpr int kPosted = 4242;
// "Grü😀e": the edit box counts UTF-16 units, six here; a cut after four would fall between
// the two halves of the face.
constexpr const char* kUtf8Caption =
    "Gr\xc3\xbc\xf0\x9f\x98\x80"
    "e";

class ScriptedProcedure : public DialogProcedure {
  public:
    void Initialise(DialogView& view) override {
        view.SetText(kIdCaption, kUtf8Caption);
        view.SetCheck(kIdDebug, true);
        view.PostCommand(kPosted);
        commands.push_back(0);
    }
    void Command(DialogView& view, int id) override {
        commands.push_back(id);
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        ownedByOwner = GetWindow(FindWindowA(nullptr, kConfigDialogTitle), GW_OWNER) == owner;
        whole = view.Text(kIdCaption, 64);
        cut = view.Text(kIdCaption, 4);
        pair = view.Text(kIdCaption, 5);
        view.End();
    }
    HWND owner = nullptr;
    std::vector<int> commands;
    std::string whole, cut, pair;
    bool ownerEnabled = true;
    bool ownedByOwner = false;
};

TEST(Win32DialogView, TheConfigurationDialogRunsItsScriptAboveItsOwner) {
    ScriptedProcedure procedure;
    procedure.owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(procedure.owner, nullptr);
    ASSERT_TRUE(RunModalDialog(ConfigDialogTemplate(), reinterpret_cast<WindowId>(procedure.owner),
                               procedure));
    EXPECT_FALSE(procedure.ownerEnabled);
    EXPECT_TRUE(procedure.ownedByOwner);
    EXPECT_TRUE(IsWindowEnabled(procedure.owner));
    DestroyWindow(procedure.owner);
    EXPECT_EQ(procedure.commands, (std::vector<int>{0, kPosted}));
    EXPECT_EQ(procedure.whole, kUtf8Caption);
    EXPECT_EQ(procedure.cut, "Gr\xc3\xbc");
    EXPECT_EQ(procedure.pair, "Gr\xc3\xbc\xf0\x9f\x98\x80");
}

// A stale handle from the display settings, or a negative number: the dialog opens without one.
TEST(Win32DialogView, AnOwnerThatIsNoWindowGivesADialogWithoutOne) {
    for (const WindowId notAWindow : {WindowId{0xFFFFFFFB}, WindowId{65544}}) {
        ScriptedProcedure procedure;
        ASSERT_FALSE(IsWindow(reinterpret_cast<HWND>(notAWindow)));
        ASSERT_TRUE(RunModalDialog(ConfigDialogTemplate(), notAWindow, procedure));
        EXPECT_EQ(procedure.commands, (std::vector<int>{0, kPosted}));
        EXPECT_TRUE(procedure.ownedByOwner);  // its owner is null: the dialog has none
    }
}

}  // namespace
