#include "settings/dialog_template.h"

#include "settings/settings.h"

namespace {

// Controls the dialog never addresses share this id.
constexpr int kUnaddressed = 65535;
constexpr int kDialogResource = 2003;
constexpr DialogFont kDialogFont{"MS Sans Serif", 9};
constexpr int kDialogX = 28;
constexpr int kDialogY = 25;
constexpr int kDialogWidth = 396;
constexpr int kDialogHeight = 191;

int Id(std::uint32_t settingValue) {
    return static_cast<int>(settingValue);
}

}  // namespace

const DialogTemplate& ConfigDialogTemplate() {
    using K = ControlKind;
    static const DialogTemplate dialog{
        kDialogResource,
        kConfigDialogTitle,
        kDialogFont,
        kDialogX,
        kDialogY,
        kDialogWidth,
        kDialogHeight,
        {
            {kUnaddressed, K::Picture, kDialogPictureResource, 2, 0, 193, 123},
            {kUnaddressed, K::GroupBox, "Screen Resolution", 199, 6, 190, 59},
            {Id(kResolution640), K::RadioButton, "640 x 480", 210, 16, 48, 8, true},
            {Id(kResolution800), K::RadioButton, "800 x 600", 210, 25, 48, 8},
            {Id(kResolution1024), K::RadioButton, "1024 x 768", 210, 34, 52, 8},
            {Id(kResolution1152), K::RadioButton, "1152 x 864", 210, 43, 52, 8},
            {Id(kResolution1280), K::RadioButton, "1280 x 1024", 210, 52, 60, 8},
            {Id(kResolutionDesktop), K::RadioButton, "Desktop Resolution", 295, 16, 76, 8},
            {kIdColorDepth, K::CheckBox, "32 Bit Color Depth", 296, 35, 80, 8},
            {kIdDepthWarning, K::StaticText, "WARNING: Won't work on older 3DFX cards", 296, 44, 79,
             19},
            {kUnaddressed, K::GroupBox, "Detail Level", 199, 68, 190, 23},
            {Id(kPartLow), K::RadioButton, "Low (Faster)", 210, 77, 55, 10, true},
            {Id(kPartMedium), K::RadioButton, "Medium", 273, 77, 41, 10},
            {Id(kPartHigh), K::RadioButton, "High (Slower)", 323, 77, 58, 10},
            {kUnaddressed, K::GroupBox, "Audio Options", 199, 94, 190, 76},
            {kIdSoundEffects, K::CheckBox, "Play Sound Effects", 210, 105, 75, 8},
            {kIdMusic, K::CheckBox, "Play Music", 210, 117, 49, 8},
            {kIdAudioCd, K::CheckBox, "Play Audio CD", 210, 129, 57, 8},
            {kIdMp3, K::CheckBox, "Play MP3 File", 210, 141, 59, 8},
            {kIdMp3Path, K::EditBox, "", 210, 153, 110, 12},
            {kIdBrowse, K::PushButton, "Browse...", 329, 152, 50, 14},
            {kUnaddressed, K::StaticText,
             "NOTE: Playing Music or MP3 Files will result in ve- ry small performance hit.", 298,
             115, 80, 25},
            {kUnaddressed, K::GroupBox, "Misc Options", 6, 123, 185, 65},
            {kIdMotionBlur, K::CheckBox, "Motion Blur", 11, 133, 48, 8},
            {kIdCredits, K::CheckBox, "Show Credits", 11, 144, 55, 8},
            {kIdRestart, K::CheckBox, "Restart ScreenSaver", 11, 155, 81, 8},
            {kIdStarfield, K::CheckBox, "Starfield Background", 11, 166, 80, 8},
            {kIdNoText, K::CheckBox, "No Text (Matrox Users)", 11, 177, 90, 8},
            {kIdDebug, K::CheckBox, "Debug Mode", 105, 131, 56, 8},
            {kIdCaptionShown, K::CheckBox, "Display Caption", 105, 142, 61, 8},
            {kIdCaption, K::EditBox, "", 105, 152, 81, 12},
            {kUnaddressed, K::StaticText, "Letters Only - 7 Chars Max", 105, 165, 83, 8},
            {kIdHomePage, K::FlatButton, "Home Page", 106, 174, 48, 11},
            {kIdEmail, K::FlatButton, "E-Mail", 157, 174, 30, 11},
            {kIdHardwareTest, K::PushButton, "3D Test", 199, 174, 41, 14},
            {kIdDefault, K::PushButton, "DEFAULT", 242, 174, 44, 14},
            {kIdCancel, K::PushButton, "CANCEL", 287, 174, 45, 14},
            {kIdOk, K::PushButton, "OK", 334, 174, 55, 14},
        }};
    return dialog;
}
