// The Windows dialog: the configuration dialog's own table makes a dialog the system accepts,
// its controls answer by id, and a posted command arrives after the current one, all without
// a person.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialog_view.h"
#include "settings/dialog_template.h"

namespace {

constexpr int kPosted = 4242;
// "Grüße": a cut after four bytes would fall inside the "ü" of a careless reader.
constexpr const char* kUtf8Caption =
    "Gr\xc3\xbc\xc3\x9f"
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
        whole = view.Text(kIdCaption, 64);
        cut = view.Text(kIdCaption, 3);
        view.End();
    }
    std::vector<int> commands;
    std::string whole, cut;
};

TEST(Win32DialogView, TheConfigurationTableMakesADialogThatRunsItsScript) {
    ScriptedProcedure procedure;
    ASSERT_TRUE(RunModalDialog(ConfigDialogTemplate(), 0, procedure));
    EXPECT_EQ(procedure.commands, (std::vector<int>{0, kPosted}));
    EXPECT_EQ(procedure.whole, kUtf8Caption);
    EXPECT_EQ(procedure.cut, "Gr");
}

}  // namespace
