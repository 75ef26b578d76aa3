// The configuration dialog's behaviour: a working copy of the settings with its two validity
// flags, the click rules of every control, and the OK button's checks, writes and boxes. The
// view (platform/dialog_view.h) shows the controls; this side decides what they hold.
//
// The settings key stays open from the dialog's opening to its end, so a failed OK keeps what
// it wrote and a later OK writes through the same key.
#pragma once
#include <string>

#include "platform/dialog_view.h"
#include "settings/settings.h"

// What the dialog asks of the layers above it.
struct ConfigDialogActions {
    std::string homePage;
    std::string mailLink;
    // The "3D Test" button's whole run, verdict box included.
    void (*runHardwareTest)() = nullptr;
};

struct ConfigDialog final : DialogProcedure {
    explicit ConfigDialog(ConfigDialogActions givenActions) : actions(std::move(givenActions)) {}
    void Initialise(DialogView& view) override;
    void Command(DialogView& view, int id) override;

    ConfigDialogActions actions;
    Settings copy;
    bool captionValid = true;
    bool mp3PathValid = true;
    RegistryKey* key = nullptr;

  private:
    void Browse(DialogView& view);
    void Close(DialogView& view);
    void Confirm(DialogView& view);
};

// Shows the dialog modally above owner (0: none) until OK succeeds or CANCEL; false when it
// cannot be shown (no display).
bool RunConfigDialog(WindowId owner, const ConfigDialogActions& actions);
