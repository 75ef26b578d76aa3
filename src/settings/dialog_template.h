// The configuration dialog's template: its title, size and every control in tab order, with
// the ids the dialog's behaviour addresses them by. Radio buttons carry the `resolution` and
// `part` values of settings.h as their ids.
#pragma once
#include "base/product.h"
#include "platform/dialog_view.h"

inline constexpr const char* kConfigDialogTitle = "Vostrel ScreenSaver v" VOSTREL_VERSION;

inline constexpr int kIdBrowse = 3;
inline constexpr int kIdHardwareTest = 4;
inline constexpr int kIdDefault = 5;
inline constexpr int kIdColorDepth = 1018;
inline constexpr int kIdMotionBlur = 1019;
inline constexpr int kIdSoundEffects = 1020;
inline constexpr int kIdDepthWarning = 1021;
inline constexpr int kIdMusic = 1022;
inline constexpr int kIdAudioCd = 1023;
inline constexpr int kIdMp3Path = 1025;
inline constexpr int kIdMp3 = 1026;
inline constexpr int kIdRestart = 1029;
inline constexpr int kIdCredits = 1030;
inline constexpr int kIdCaption = 1033;
inline constexpr int kIdCaptionShown = 1034;
inline constexpr int kIdStarfield = 1043;
inline constexpr int kIdEmail = 1045;
inline constexpr int kIdHomePage = 1046;
inline constexpr int kIdNoText = 1047;
inline constexpr int kIdDebug = 1048;

const DialogTemplate& ConfigDialogTemplate();
