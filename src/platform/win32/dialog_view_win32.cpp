// The modal dialog on Windows: DialogBoxParamW over the DIALOGEX resource that the build writes
// from the program's one table of controls (tools/dialog_resource), so the dialog manager itself
// gives the tab order, the default button, Return, Escape, automatic check boxes and radio
// groups, and the owner is disabled while the dialog runs.
//
// Realised here: every BN_CLICKED goes to the procedure's command, and posted commands arrive
// as a private message after the current one returns; the title bar shows the program's icon.
// Texts cross as UTF-8 and meet the wide calls. The open-file chooser is GetOpenFileNameW,
// modal above the dialog, with room for the request's longest path.
// Left out: help ids, and notifications other than clicks.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <commdlg.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_view.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr UINT kPostedCommand = WM_APP + 1;

std::wstring FilterText(const std::vector<FileFilter>& filters) {
    std::wstring text;
    for (const FileFilter& filter : filters) {
        text += WideFromUtf8(filter.name) + L'\0' + WideFromUtf8(filter.pattern) + L'\0';
    }
    return text + L'\0';
}

// The longest prefix of text, at most maxLength UTF-16 units, that ends between two
// characters: a surrogate pair is kept whole or left out.
std::wstring WidePrefix(std::wstring text, std::size_t maxLength) {
    if (text.size() <= maxLength) return text;
    std::size_t end = maxLength;
    if (end > 0 && IS_HIGH_SURROGATE(text[end - 1])) --end;
    text.resize(end);
    return text;
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
        return Utf8FromWide(WidePrefix(std::move(text), maxLength));
    }
    void Focus(int id) override {
        SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)),
                     TRUE);
        focusSet_ = true;
    }
    void PostCommand(int id) override { PostMessageW(dialog_, kPostedCommand, id, 0); }
    void End() override { EndDialog(dialog_, IDOK); }
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;

    void ShowProgramIcon() {
        const auto icon =
            LoadImageW(GetModuleHandleW(nullptr), WideFromUtf8(kProgramIconResource).c_str(),
                       IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
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
    std::wstring chosen(request.maxPathLength + 1, L'\0');
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
        view->ShowProgramIcon();
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

// An owner that is no window (a stale handle from the display settings, a mistyped number)
// would make the dialog fail: it opens without one instead. Windows always has a display, so
// this never answers the false that means none.
bool RunModalDialog(const DialogTemplate& dialog, WindowId owner, DialogProcedure& procedure) {
    HWND ownerWindow = reinterpret_cast<HWND>(owner);
    if (!IsWindow(ownerWindow)) ownerWindow = nullptr;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.resourceId), ownerWindow,
                    DialogThunk, reinterpret_cast<LPARAM>(&procedure));
    return true;
}
