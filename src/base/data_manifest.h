// The data files of the install folder: each file's role, its name as the program spells it
// (relative to the install folder, Windows style, "\data\front.jpg") and the file the build's
// generator makes (relative to the install folder, "data/Front.jpg").
//
// This is the only place a data file's name is written. Names are matched without regard to
// letter case when a file is opened (see DataPath), so the program's spelling and the made
// file may differ in case. The build reads the made files from this header
// (tools/CMakeLists.txt, tools/datagen/manifest.py): keep each row a brace with three members
// and the made file the only quoted text without a backslash.
#pragma once

enum class DataRole {
    OutlineFont,
    Music,
    LongBang,
    ShortBang1,
    ShortBang2,
    ShortBang3,
    ShortBang4,
    EnvTexture,
    FireTexture,
    FontTexture,
    FrontTexture,
    StarTexture,
    StelleTexture,
    Stelle2Texture,
    SunTexture,
    Icon,
    GreyLogo,
    Shadow,
    Title,
    ReportPage,
};

struct DataFileEntry {
    DataRole role;
    const char* name;      // as the program spells it, relative to the install folder
    const char* madeFile;  // as the generator writes it, relative to the install folder
};

inline constexpr int kDataFileCount = 20;

// In the order the install check opens them, which is also the order of DataRole.
inline constexpr DataFileEntry kDataManifest[kDataFileCount] = {
    {DataRole::OutlineFont, "\\data\\Vostrel.ttf", "data/Vostrel.ttf"},
    {DataRole::Music, "\\data\\gz2.xm", "data/Gz2.xm"},
    {DataRole::LongBang, "\\data\\bang.wav", "data/bang.wav"},
    {DataRole::ShortBang1, "\\data\\bangshrt1.wav", "data/bangshrt1.wav"},
    {DataRole::ShortBang2, "\\data\\bangshrt2.wav", "data/bangshrt2.wav"},
    {DataRole::ShortBang3, "\\data\\bangshrt3.wav", "data/bangshrt3.wav"},
    {DataRole::ShortBang4, "\\data\\bangshrt4.wav", "data/bangshrt4.wav"},
    {DataRole::EnvTexture, "\\data\\env.jpg", "data/env.jpg"},
    {DataRole::FireTexture, "\\data\\fire.jpg", "data/fire.jpg"},
    {DataRole::FontTexture, "\\data\\Font.jpg", "data/Font.jpg"},
    {DataRole::FrontTexture, "\\data\\front.jpg", "data/Front.jpg"},
    {DataRole::StarTexture, "\\data\\star.jpg", "data/star.jpg"},
    {DataRole::StelleTexture, "\\data\\stelle.jpg", "data/stelle.jpg"},
    {DataRole::Stelle2Texture, "\\data\\stelle2.jpg", "data/stelle2.jpg"},
    {DataRole::SunTexture, "\\data\\Sun.jpg", "data/Sun.jpg"},
    {DataRole::Icon, "\\data\\iconbig.gif", "data/iconbig.gif"},
    {DataRole::GreyLogo, "\\data\\VostrelGS1.gif", "data/VostrelGS1.gif"},
    {DataRole::Shadow, "\\data\\shad.gif", "data/shad.gif"},
    {DataRole::Title, "\\data\\title.gif", "data/title.gif"},
    {DataRole::ReportPage, "\\debug.htm", "debug.htm"},
};

constexpr bool RowsFollowTheRoles() {
    for (int i = 0; i < kDataFileCount; ++i) {
        if (static_cast<int>(kDataManifest[i].role) != i) return false;
    }
    return true;
}
// DataName indexes by role, so the rows must stand in the roles' order, one row a role.
static_assert(RowsFollowTheRoles());
static_assert(static_cast<int>(DataRole::ReportPage) + 1 == kDataFileCount);

// The program's spelling of a role's file, for DataPath.
constexpr const char* DataName(DataRole role) {
    return kDataManifest[static_cast<int>(role)].name;
}
