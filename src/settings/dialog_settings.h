// The configuration dialog's working copy of the settings: loading it, the caption rule,
// the defaults button and storing it, in the order and with the conditions of the dialog's
// OK button.
//
// The dialog opens the settings key with CreateRegistryKey(RegistryRoot::User,
// kSettingsKeyPath) when it opens and closes it when it ends; these functions work through it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

// What the MP3 path box shows when no path is stored.
inline constexpr const char* kNoMp3PathText = "MP3 Path Here";
inline constexpr std::size_t kCaptionMaxLength = 7;

// Loads the stored values over the defaults; an empty or absent `datapath` becomes
// kNoMp3PathText.
void LoadDialogSettings(RegistryKey* key, Settings& copy);

// The DEFAULT button: every field to its default except `datapath`.
void RestoreDefaultSettings(Settings& copy);

enum class CaptionCheck {
    Valid,
    TooLong,     // more than kCaptionMaxLength characters (UTF-8), whether or not `text` is on
    NotLetters,  // with `text` on: empty, or a character other than A-Z, a-z and space
};

// Applies the caption rule to copy.vostrel; with `text` on, lower-case letters are made upper
// case in the copy (all of them, even when another character makes the caption invalid).
CaptionCheck CheckCaption(Settings& copy);

// The MP3 path check: true when the file opens for reading.
bool Mp3PathReadable(const char* path);

// Writes every value but `vostrel`, in the OK button's order; `pmp3` only when the MP3 path
// is valid. Strings are handed to the store as their whole 256-byte buffers. False, with the
// writes after it left undone, when the store refuses one (no key, a folder it cannot write).
bool StoreDialogSettings(RegistryKey* key, const Settings& copy, bool mp3PathValid);

// Writes `vostrel`; the OK button calls it only for a valid caption. False when not stored.
bool StoreCaption(RegistryKey* key, const Settings& copy);
