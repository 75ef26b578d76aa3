#include "dialog_resource/dialog_resource.h"

#include <cstdlib>
#include <sstream>

namespace {

struct ResourceFile {
    const char* number;  // "#140", as the program names it
    const char* type;
    const char* file;
};
constexpr ResourceFile kResourceFiles[] = {
    {kDialogPictureResource, "BITMAP", "dialog-picture.bmp"},
    {kProgramIconResource, "ICON", "vostrel.ico"},
};

// Styles by their names in windows.h, which windres reads before the script.
constexpr const char* kDialogStyle =
    "DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU";

// The font's weight, italic flag and character set: normal, upright, the system's default.
// Numbers, since windows.h leaves the font constants out of a resource script's reading.
constexpr const char* kFontLook = "400, 0, 1";

struct ControlClass {
    const char* name;
    const char* style;
};

// Every control that takes the focus is a tab stop and, but for the radio buttons after the
// first of a group, starts a group, so that arrows move only within a radio group. Of a
// group's radio buttons the selected one is the tab stop: checking a radio button gives it
// the style and takes it from the others.
ControlClass ClassOf(const DialogControl& control) {
    switch (control.kind) {
        case ControlKind::Picture:
            return {"Static", "SS_BITMAP | WS_GROUP"};
        case ControlKind::GroupBox:
            return {"Button", "BS_GROUPBOX | WS_GROUP"};
        case ControlKind::RadioButton:
            return {"Button", control.startsGroup ? "BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP"
                                                  : "BS_AUTORADIOBUTTON"};
        case ControlKind::CheckBox:
            return {"Button", "BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP"};
        case ControlKind::StaticText:
            return {"Static", "SS_LEFT | WS_GROUP"};
        case ControlKind::EditBox:
            return {"Edit", "ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP"};
        case ControlKind::PushButton:
            return {"Button", control.id == kIdOk ? "BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP"
                                                  : "BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP"};
        case ControlKind::FlatButton:
            return {"Button", "BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP | WS_GROUP"};
    }
    return {"Static", "SS_LEFT"};
}

// A script's string: quotes doubled, backslashes escaped; UTF-8 by the script's code page.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        if (c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// "#140" names resource 140; a picture's caption in the script is that number.
int ResourceNumber(const char* name) {
    return std::atoi(name + 1);
}

void WriteControl(std::ostream& out, const DialogControl& control) {
    const ControlClass kind = ClassOf(control);
    out << "    CONTROL ";
    if (control.kind == ControlKind::Picture) {
        out << ResourceNumber(control.caption);
    } else {
        out << Quoted(control.caption);
    }
    out << ", " << control.id << ", " << Quoted(kind.name) << ", " << kind.style << ", "
        << control.x << ", " << control.y << ", " << control.width << ", " << control.height
        << "\n";
}

}  // namespace

std::string DialogResourceScript(const DialogTemplate& dialog, const std::string& resourceFolder) {
    std::ostringstream out;
    out << "// Made by the build from the program's dialog template; edit that, not this.\n"
        << "#include <windows.h>\n"
        << "#pragma code_page(65001)\n\n";
    out << dialog.resourceId << " DIALOGEX " << dialog.x << ", " << dialog.y << ", " << dialog.width
        << ", " << dialog.height << "\n"
        << "STYLE " << kDialogStyle << "\n"
        << "CAPTION " << Quoted(dialog.title) << "\n"
        << "FONT " << dialog.font.points << ", " << Quoted(dialog.font.face) << ", " << kFontLook
        << "\n"
        << "BEGIN\n";
    for (const DialogControl& control : dialog.controls) WriteControl(out, control);
    out << "END\n\n";
    for (const ResourceFile& file : kResourceFiles) {
        out << ResourceNumber(file.number) << " " << file.type << " "
            << Quoted(resourceFolder + "/" + file.file) << "\n";
    }
    return out.str();
}
