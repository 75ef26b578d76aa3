// The modal dialog on Windows: DialogBoxIndirectParamW over a DIALOGEX template written in
// memory from the program's one table of controls, so the dialog manager itself gives the tab
// order, the default button, Return, Escape, automatic check boxes and radio groups.
//
// Realised here: each control kind as the system's own class and style (pictures are static
// bitmaps from the program's resources, flat buttons BS_FLAT push buttons); every BN_CLICKED
// goes to the procedure's command, and posted commands arrive as a private message after the
// current one returns. Texts cross as UTF-8 and meet the wide calls. The open-file chooser is
// GetOpenFileNameW, modal above the dialog.
// Left out: the dialog font's own choice (the system's "MS Shell Dlg" at 8 points), help ids,
// and notifications other than clicks.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <commdlg.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_view.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kOrdinal = 0xFFFF;
constexpr WORD kFontPoints = 8;
constexpr const wchar_t* kFontFace = L"MS Shell Dlg";
constexpr UINT kPostedCommand = WM_APP + 1;
constexpr INT_PTR kDialogFailed = -1;

// The DIALOGEX template, written word by word as the system reads it.
class TemplateWriter {
  public:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const std::wstring& text) {
        words_.insert(words_.end(), text.begin(), text.end());
        Word(0);
    }
    // Items begin on a DWORD boundary.
    void Align() {
        if (words_.size() % 2 != 0) Word(0);
    }
    const WORD* data() const { return words_.data(); }

  private:
    std::vector<WORD> words_;
};

struct ControlClass {
    WORD atom;
    DWORD style;
};

ControlClass ClassOf(const DialogControl& control) {
    const DWORD group = control.startsGroup ? WS_GROUP : 0;
    switch (control.kind) {
        case ControlKind::Picture:
            return {kStaticClass, SS_BITMAP | WS_GROUP};
        case ControlKind::GroupBox:
            return {kButtonClass, BS_GROUPBOX | WS_GROUP};
        case ControlKind::RadioButton:
            return {kButtonClass, BS_AUTORADIOBUTTON | WS_TABSTOP | group};
        case ControlKind::CheckBox:
            return {kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP};
        case ControlKind::StaticText:
            return {kStaticClass, SS_LEFT | WS_GROUP};
        case ControlKind::EditBox:
            return {kEditClass, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP};
        case ControlKind::PushButton: {
            const auto push =
                static_cast<DWORD>(control.id == kIdOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            return {kButtonClass, push | WS_TABSTOP | WS_GROUP};
        }
        case ControlKind::FlatButton:
            return {kButtonClass, BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP | WS_GROUP};
    }
    return {kStaticClass, SS_LEFT};
}

void WriteControl(TemplateWriter& out, const DialogControl& control) {
    const ControlClass kind = ClassOf(control);
    out.Align();
    out.Dword(0);  // help id
    out.Dword(0);  // extended style
    out.Dword(WS_CHILD | WS_VISIBLE | kind.style);
    for (int value : {control.x, control.y, control.width, control.height}) {
        out.Word(static_cast<WORD>(value));
    }
    out.Dword(static_cast<DWORD>(control.id));
    out.Word(kOrdinal);
    out.Word(kind.atom);
    // A picture names its resource by number, as "#140" does.
    if (control.kind == ControlKind::Picture && control.caption[0] == '#') {
        out.Word(kOrdinal);
        out.Word(static_cast<WORD>(std::atoi(control.caption + 1)));
    } else {
        out.Text(WideFromUtf8(control.caption));
    }
    out.Word(0);  // no creation data
}

TemplateWriter WriteTemplate(const DialogTemplate& dialog) {
    TemplateWriter out;
    out.Word(1);  // DIALOGEX version
    out.Word(kOrdinal);
    out.Dword(0);  // help id
    out.Dword(0);  // extended style
    out.Dword(DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION |
              WS_SYSMENU);
    out.Word(static_cast<WORD>(dialog.controls.size()));
    for (int value : {0, 0, dialog.width, dialog.height}) out.Word(static_cast<WORD>(value));
    out.Word(0);  // no menu
    out.Word(0);  // the system's dialog class
    out.Text(WideFromUtf8(dialog.title));
    out.Word(kFontPoints);
    out.Word(FW_NORMAL);
    out.Word(0);  // not italic, default character set
    out.Text(kFontFace);
    for (const DialogControl& control : dialog.controls) WriteControl(out, control);
    return out;
}

std::wstring FilterText(const std::vector<FileFilter>& filters) {
    std::wstring text;
    for (const FileFilter& filter : filters) {
        text += WideFromUtf8(filter.name) + L'\0' + WideFromUtf8(filter.pattern) + L'\0';
    }
    return text + L'\0';
}

// The longest prefix of text, at most maxLength bytes, that ends between two characters.
std::string Utf8Prefix(const std::string& text, std::size_t maxLength) {
    if (text.size() <= maxLength) return text;
    std::size_t end = maxLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

class Win32DialogView final : public DialogView {
  public:
    Win32DialogView(HWND dialog, DialogProcedure& procedure)
        : dialog_(dialog), procedure_(procedure) {}

    void SetCheck(int id, bool checked) override {
        CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    void SetText(int id, const std::string& text) override {
        SetDlgItemTextW(dialog_, id, WideFromUtf8(text).c_str());
    }
    std::string Text(int id, std::size_t maxLength) override {
        HWND control = GetDlgItem(dialog_, id);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return Utf8Prefix(Utf8FromWide(text), maxLength);
    }
    void Focus(int id) override {
        SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)),
                     TRUE);
        focusSet_ = true;
    }
    void PostCommand(int id) override { PostMessageW(dialog_, kPostedCommand, id, 0); }
    void End() override { EndDialog(dialog_, IDOK); }
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;

    void Initialise() { procedure_.Initialise(*this); }
    void Command(int id) { procedure_.Command(*this, id); }
    bool FocusSet() const { return focusSet_; }

  private:
    HWND dialog_;
    DialogProcedure& procedure_;
    bool focusSet_ = false;
};

std::optional<std::string> Win32DialogView::ChooseFileToOpen(const OpenFileRequest& request) {
    const std::wstring filters = FilterText(request.filters);
    const std::wstring title = WideFromUtf8(request.title);
    std::wstring chosen(MAX_PATH, L'\0');
    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = dialog_;
    chooser.lpstrFilter = filters.c_str();
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = chosen.data();
    chooser.nMaxFile = static_cast<DWORD>(chosen.size());
    chooser.lpstrTitle = title.c_str();
    chooser.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                    (request.mustExist ? OFN_FILEMUSTEXIST : 0);
    if (!GetOpenFileNameW(&chooser)) return std::nullopt;
    chosen.resize(wcsnlen(chosen.c_str(), chosen.size()));
    return Utf8FromWide(chosen);
}

INT_PTR CALLBACK DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* view = new Win32DialogView(dialog, *reinterpret_cast<DialogProcedure*>(lParam));
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
        view->Initialise();
        // FALSE: the procedure placed the focus itself.
        return view->FocusSet() ? FALSE : TRUE;
    }
    auto* view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (view == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            view->Command(LOWORD(wParam));
            return TRUE;
        case kPostedCommand:
            view->Command(static_cast<int>(wParam));
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            delete view;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

bool RunModalDialog(const DialogTemplate& dialog, WindowId owner, DialogProcedure& procedure) {
    const TemplateWriter layout = WriteTemplate(dialog);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()),
        reinterpret_cast<HWND>(owner), DialogThunk, reinterpret_cast<LPARAM>(&procedure));
    return result != kDialogFailed && result != 0;
}
