// A modal dialog made from a template of controls, with the contract of the Win32 dialog box
// and its dialog procedure, as far as the configuration dialog uses them.
//
//   - The template lists every control in tab order with its id, kind, caption and rectangle
//     in dialog units (a quarter of the dialog font's average character width across, an
//     eighth of its height down). Group boxes, static texts and pictures never take the focus;
//     a picture's caption names one of the program's picture resources by its number, as
//     Windows' templates do ("#140"); each system's backend finds its own copy of it.
//   - RunModalDialog shows the dialog above its owner (none for 0 or a handle that names no
//     window), calls the procedure's initialise once before the user can act, then
//     command(id) for each control the user clicks: push buttons, check boxes and the radio
//     button that becomes selected. Return presses OK (id 1) unless the focus is on a push
//     button, which it then presses; Escape and the window's close request are CANCEL (id 2).
//     It returns when the procedure calls End, and false at once when no display can be
//     opened.
//   - Every control stays enabled. Check boxes and radio buttons change their look when
//     clicked, as automatic buttons do, and the procedure sets them from its own state after
//     every click: SetCheck never reports a click back. Clearing the selected radio button of
//     a group leaves the group with none selected.
//   - PostCommand queues a command that runs after the current one has returned.
//   - ChooseFileToOpen is the system's open-file chooser, modal above the dialog: the chosen
//     file's full path, or nothing when the user cancels or the chooser fails.
//   - Text reads at most maxLength of the system's text units (platform/system_text.h) of an
//     edit box.
//
// Limits: one dialog at a time, on the thread that runs it.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_id.h"

enum class ControlKind {
    Picture,
    GroupBox,
    RadioButton,
    CheckBox,
    StaticText,
    EditBox,
    PushButton,
    FlatButton
};

struct DialogControl {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;   // dialog units
    bool startsGroup = false;  // the first radio button of a group
};

struct DialogFont {
    const char* face;
    int points;
};

// Windows builds the dialog from a resource made from this template at build time, found by
// its number; other systems build it from the template itself. The dialog units are those of
// Windows' font; another system measures them with its own dialog font.
struct DialogTemplate {
    int resourceId;
    const char* title;
    DialogFont font;
    int x, y;           // dialog units from the owner's corner (the screen's, without one)
    int width, height;  // dialog units
    std::vector<DialogControl> controls;
};

// The program's picture resources, by the numbers templates name them with.
inline constexpr const char* kDialogPictureResource = "#140";
// The program's icon: Windows lists the program by it and the dialog's title bar shows it.
inline constexpr const char* kProgramIconResource = "#1";

// The ids Windows gives the OK and CANCEL buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

struct FileFilter {
    std::string name;     // as shown, "MP3 files (*.mp3)"
    std::string pattern;  // "*.mp3"
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;  // the first is selected
    bool mustExist = true;
    // The longest full path, in characters, the caller can take: Windows' chooser gets room
    // for that many and reports a longer choice as its own error.
    std::size_t maxPathLength = 0;
};

class DialogView {
  public:
    virtual void SetCheck(int id, bool checked) = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual std::string Text(int id, std::size_t maxLength) = 0;
    virtual void Focus(int id) = 0;
    virtual void PostCommand(int id) = 0;
    virtual void End() = 0;
    virtual std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) = 0;

  protected:
    ~DialogView() = default;
};

class DialogProcedure {
  public:
    virtual void Initialise(DialogView& view) = 0;
    virtual void Command(DialogView& view, int id) = 0;

  protected:
    ~DialogProcedure() = default;
};

bool RunModalDialog(const DialogTemplate& dialog, WindowId owner, DialogProcedure& procedure);
