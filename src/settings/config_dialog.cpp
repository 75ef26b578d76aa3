#include "settings/config_dialog.h"

#include <algorithm>
#include <cstring>

#include "base/product.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_text.h"
#include "settings/dialog_settings.h"
#include "settings/dialog_template.h"

namespace {

constexpr const char* kMiscTitle = "Misc Options";
constexpr const char* kAudioTitle = "Audio Options";
constexpr const char* kPowerfulSystemQuestion =
    "NOTICE: The configuration you entered requires a very powerful system.\nDo you wish to "
    "continue?";
constexpr const char* kCaptionTooLong = "Text to be displayed\ncan be max 7 char long.";
constexpr const char* kCaptionNotLetters =
    "Text to be displayed can only contain letters \nand must be at least 1 character "
    "long.\nDo you wish to disable caption displaying?";
constexpr const char* kWrongMp3Path =
    "Wrong MP3 File Path.\nPlease insert a correct\npath or disable MP3.";
constexpr const char* kNotStored =
    "The settings could not be saved:\nthe settings folder cannot be written.\nThe dialog "
    "stays open so that you can try again.";
constexpr const char* kChooserTitle = "Open MP3 File";
constexpr const char* kChosenPathTooLong = "The chosen file's full path is longer\nthan ";
constexpr const char* kChosenPathTooLongEnd = ".\nPlease choose a file\nwith a shorter path.";
// In the system's text units, which the view reads and the chooser takes.
constexpr std::size_t kEditTextMax = kSettingTextMaxLength;

using Field = std::uint32_t Settings::*;

struct CheckBoxField {
    int id;
    Field field;
};

// The check boxes that only flip their field.
constexpr CheckBoxField kPlainCheckBoxes[] = {
    {kIdColorDepth, &Settings::bpp},      {kIdMotionBlur, &Settings::useblur},
    {kIdSoundEffects, &Settings::psound}, {kIdRestart, &Settings::restart},
    {kIdCredits, &Settings::showcred},    {kIdStarfield, &Settings::starfield},
    {kIdNoText, &Settings::matrox},       {kIdDebug, &Settings::debug},
};

// At most one audio source is on: turning one on turns the other two off.
constexpr CheckBoxField kAudioSources[] = {
    {kIdMusic, &Settings::pmusic}, {kIdAudioCd, &Settings::pcd}, {kIdMp3, &Settings::pmp3}};

constexpr std::uint32_t kResolutionButtons[] = {kResolution640,  kResolution800,
                                                kResolution1024, kResolution1152,
                                                kResolution1280, kResolutionDesktop};
constexpr std::uint32_t kDetailButtons[] = {kPartLow, kPartMedium, kPartHigh};

template <std::size_t N>
const CheckBoxField* FindField(const CheckBoxField (&table)[N], int id) {
    for (const CheckBoxField& entry : table) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

template <std::size_t N>
bool IsButtonOf(const std::uint32_t (&group)[N], int id) {
    for (std::uint32_t button : group) {
        if (static_cast<int>(button) == id) return true;
    }
    return false;
}

template <std::size_t N>
void ShowRadioGroup(DialogView& view, const std::uint32_t (&group)[N], std::uint32_t chosen) {
    for (std::uint32_t button : group) view.SetCheck(static_cast<int>(button), button == chosen);
}

void ShowAudioSources(DialogView& view, const Settings& copy) {
    for (const CheckBoxField& source : kAudioSources)
        view.SetCheck(source.id, copy.*source.field != 0);
}

void ShowCopy(DialogView& view, const Settings& copy) {
    ShowRadioGroup(view, kResolutionButtons, copy.resolution);
    ShowRadioGroup(view, kDetailButtons, copy.part);
    for (const CheckBoxField& box : kPlainCheckBoxes) view.SetCheck(box.id, copy.*box.field != 0);
    ShowAudioSources(view, copy);
    view.SetCheck(kIdCaptionShown, copy.text != 0);
    view.SetText(kIdCaption, copy.vostrel);
}

void CopyText(char (&field)[kSettingTextSize], const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

bool FitsSetting(const std::string& text) {
    return SystemTextLength(text) <= kEditTextMax;
}

BoxAnswer Ask(const char* title, BoxIcon icon, const char* text, BoxButtons buttons) {
    return ShowMessageBox({0, title, text, icon, buttons});
}

bool NeedsPowerfulSystem(const Settings& copy) {
    return copy.bpp == 1 && copy.part == kPartHigh && copy.resolution >= kResolution1024;
}

}  // namespace

void ConfigDialog::Initialise(DialogView& view) {
    key = CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath);
    LoadDialogSettings(key, copy);
    ShowCopy(view, copy);
    view.SetText(kIdMp3Path, copy.datapath);
    view.Focus(kIdOk);
}

void ConfigDialog::Command(DialogView& view, int id) {
    if (IsButtonOf(kResolutionButtons, id)) {
        copy.resolution = static_cast<std::uint32_t>(id);
        ShowRadioGroup(view, kResolutionButtons, copy.resolution);
    } else if (IsButtonOf(kDetailButtons, id)) {
        copy.part = static_cast<std::uint32_t>(id);
        ShowRadioGroup(view, kDetailButtons, copy.part);
    } else if (const CheckBoxField* box = FindField(kPlainCheckBoxes, id)) {
        copy.*box->field = copy.*box->field != 0 ? 0 : 1;
        view.SetCheck(id, copy.*box->field != 0);
    } else if (const CheckBoxField* source = FindField(kAudioSources, id)) {
        copy.*source->field = copy.*source->field != 0 ? 0 : 1;
        if (copy.*source->field == 1) {
            for (const CheckBoxField& other : kAudioSources) {
                if (other.id != id) copy.*other.field = 0;
            }
        }
        ShowAudioSources(view, copy);
        if (id == kIdMp3 && copy.pmp3 == 1) view.PostCommand(kIdBrowse);
    } else if (id == kIdCaptionShown) {
        copy.text = copy.text != 0 ? 0 : 1;
        view.SetCheck(kIdCaptionShown, copy.text != 0);
        if (copy.text == 1) view.Focus(kIdCaption);
    } else if (id == kIdBrowse) {
        Browse(view);
    } else if (id == kIdHardwareTest) {
        if (actions.runHardwareTest != nullptr) actions.runHardwareTest();
    } else if (id == kIdDefault) {
        RestoreDefaultSettings(copy);
        ShowCopy(view, copy);
    } else if (id == kIdHomePage) {
        ShellOpen(actions.homePage);
    } else if (id == kIdEmail) {
        ShellOpen(actions.mailLink);
    } else if (id == kIdCancel) {
        Close(view);
    } else if (id == kIdOk) {
        Confirm(view);
    }
}

void ConfigDialog::Browse(DialogView& view) {
    const std::optional<std::string> chosen =
        view.ChooseFileToOpen({kChooserTitle,
                               {{"MP3 files (*.mp3)", "*.mp3"}, {"All files (*.*)", "*.*"}},
                               true,
                               kEditTextMax});
    if (!chosen) return;
    // The chooser's buffer holds kEditTextMax units and the zero; a longer path is the
    // chooser's own error, which changes nothing, rather than a cut path that names no file.
    if (!FitsSetting(*chosen)) {
        const std::string text = std::string(kChosenPathTooLong) + std::to_string(kEditTextMax) +
                                 " " + SystemTextUnit() + kChosenPathTooLongEnd;
        Ask(kAudioTitle, BoxIcon::Warning, text.c_str(), BoxButtons::Ok);
        return;
    }
    view.SetText(kIdMp3Path, *chosen);
    copy.pmp3 = 1;
    copy.pmusic = 0;
    copy.pcd = 0;
    ShowAudioSources(view, copy);
}

void ConfigDialog::Close(DialogView& view) {
    CloseRegistryKey(key);
    key = nullptr;
    view.End();
}

// OK: every value but the caption and an unreadable MP3 choice is written before any check
// can fail, and stays written when the dialog stays open. A store that takes nothing keeps the
// dialog open too, since closing would tell the user the settings were kept; a key that could
// not be made when the dialog opened is tried again, so a repaired folder takes the next OK.
void ConfigDialog::Confirm(DialogView& view) {
    if (NeedsPowerfulSystem(copy) && Ask(kProductName, BoxIcon::Question, kPowerfulSystemQuestion,
                                         BoxButtons::YesNo) != BoxAnswer::Yes) {
        return;
    }
    // A typed path too long to store is a wrong path, whether or not MP3 is on: cut, it would
    // name another file. The field keeps what it held, so nothing cut is written.
    const std::string path = view.Text(kIdMp3Path, kEditTextMax + 1);
    const bool pathFits = FitsSetting(path);
    if (pathFits) CopyText(copy.datapath, path);
    captionValid = true;
    mp3PathValid = pathFits && (copy.pmp3 != 1 || Mp3PathReadable(copy.datapath));
    CopyText(copy.vostrel, view.Text(kIdCaption, kEditTextMax));
    if (key == nullptr) key = CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath);
    bool stored = StoreDialogSettings(key, copy, mp3PathValid);

    const CaptionCheck caption = CheckCaption(copy);
    captionValid = caption == CaptionCheck::Valid;
    if (caption == CaptionCheck::TooLong) {
        Ask(kMiscTitle, BoxIcon::Warning, kCaptionTooLong, BoxButtons::Ok);
        view.Focus(kIdCaption);
    }
    if (captionValid && stored) stored = StoreCaption(key, copy);
    if (captionValid && mp3PathValid) {
        if (stored) {
            Close(view);
        } else {
            Ask(kProductName, BoxIcon::Error, kNotStored, BoxButtons::Ok);
        }
        return;
    }
    if (caption == CaptionCheck::NotLetters) {
        if (Ask(kMiscTitle, BoxIcon::Warning, kCaptionNotLetters, BoxButtons::YesNo) ==
            BoxAnswer::Yes) {
            copy.text = 0;
            view.SetCheck(kIdCaptionShown, false);
        } else {
            view.Focus(kIdCaption);
        }
    }
    if (!mp3PathValid) {
        Ask(kAudioTitle, BoxIcon::Warning, kWrongMp3Path, BoxButtons::Ok);
        view.Focus(kIdBrowse);
    }
}

bool RunConfigDialog(WindowId owner, const ConfigDialogActions& actions) {
    ConfigDialog dialog(actions);
    return RunModalDialog(ConfigDialogTemplate(), owner, dialog);
}
