// The Windows dialog's resource script holds every control of the dialog's one template, each
// with its caption (or picture number), id and rectangle on its own line, and quotes and
// backslashes in texts survive the script's string syntax.
#include <gtest/gtest.h>

#include <string>

#include "dialog_resource/dialog_resource.h"
#include "settings/dialog_template.h"

namespace {

std::string ControlLine(const DialogControl& control) {
    std::string line = "    CONTROL ";
    if (control.kind == ControlKind::Picture) {
        line += control.caption + 1;  // "#140" is the number
    } else {
        line.append("\"").append(control.caption).append("\"");
    }
    return line.append(", ").append(std::to_string(control.id)).append(", ");
}

std::string Rectangle(const DialogControl& control) {
    return ", " + std::to_string(control.x) + ", " + std::to_string(control.y) + ", " +
           std::to_string(control.width) + ", " + std::to_string(control.height) + "\n";
}

TEST(DialogResource, EveryControlOfTheTemplateIsInTheScript) {
    const DialogTemplate& dialog = ConfigDialogTemplate();
    const std::string script = DialogResourceScript(dialog, "res");
    EXPECT_NE(script.find("CAPTION \"" + std::string(dialog.title) + "\"\n"), std::string::npos);
    std::size_t from = 0;
    for (const DialogControl& control : dialog.controls) {
        const std::size_t at = script.find(ControlLine(control), from);
        ASSERT_NE(at, std::string::npos) << "missing or out of tab order: " << control.caption;
        const std::size_t end = script.find('\n', at) + 1;
        EXPECT_NE(script.substr(at, end - at).find(Rectangle(control)), std::string::npos)
            << script.substr(at, end - at);
        from = end;
    }
    EXPECT_EQ(script.find("CONTROL", from), std::string::npos) << "a control not in the template";
}

TEST(DialogResource, TextsKeepTheirQuotesAndBackslashes) {
    const DialogTemplate dialog{
        7, "Say \"hi\"", {"Face", 8}, 0,
        0, 10,           10,          {{9, ControlKind::StaticText, "C:\\a \"b\"", 1, 2, 3, 4}}};
    const std::string script = DialogResourceScript(dialog, "res");
    EXPECT_NE(script.find("CAPTION \"Say \"\"hi\"\"\"\n"), std::string::npos) << script;
    EXPECT_NE(script.find("CONTROL \"C:\\\\a \"\"b\"\"\", 9, "), std::string::npos) << script;
}

}  // namespace
