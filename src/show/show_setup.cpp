#include "show/show_setup.h"

#include <GL/gl.h>

#include <memory>
#include <new>

#include "assets/textures.h"
#include "audio/show_audio.h"
#include "base/data_manifest.h"
#include "base/run_flags.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/bitmap_font.h"
#include "show/credits_text.h"
#include "show/music_notice.h"
#include "show/outline_font.h"
#include "show/particles.h"
#include "show/random.h"
#include "show/show_state.h"

std::string bangPath;
std::array<std::string, kShortBangCount> shortBangPaths;
bool showReady = false;

namespace {

struct DetailCounts {
    int debris, ringArms, comets;
};
constexpr DetailCounts kCountsByDetail[] = {{150, 180, 150}, {500, 360, 500}, {850, 480, 850}};

struct TextureFile {
    Texture* texture;
    DataRole role;
};
// Load order; shutdown deletes in the same order.
const TextureFile kTextureFiles[] = {
    {&texStar, DataRole::StarTexture},     {&texFire, DataRole::FireTexture},
    {&texStelle, DataRole::StelleTexture}, {&texStelle2, DataRole::Stelle2Texture},
    {&texEnv, DataRole::EnvTexture},       {&texSun, DataRole::SunTexture},
    {&texFont, DataRole::FontTexture},     {&texFront, DataRole::FrontTexture},
};

// The tables live until the process ends; a later set-up in the same process replaces them.
struct ShowTables {
    std::unique_ptr<const char*[]> creditLines;
    std::unique_ptr<float[]> creditY;
    std::unique_ptr<Debris[]> debris;
    std::unique_ptr<RingParticle[]> ringParticles;
    std::unique_ptr<Comet[]> comets;
    std::unique_ptr<RayDir[]> rayDirs;
};
ShowTables tables;

bool audioStarted = false;
bool fontsBuilt = false;
bool texturesLoaded = false;

template <typename T>
std::unique_ptr<T[]> AllocateTable(int count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]);
}

void PublishTables() {
    showState.creditLines = tables.creditLines.get();
    showState.creditY = tables.creditY.get();
    showState.debris = tables.debris.get();
    showState.ringParticles = tables.ringParticles.get();
    showState.comets = tables.comets.get();
    showState.rayDirs = tables.rayDirs.get();
}

// All or nothing: on any failure every table is released and false returned.
bool AllocateTables() {
    tables = {};
    tables.creditLines = AllocateTable<const char*>(kCreditLineCount);
    tables.creditY = AllocateTable<float>(kCreditLineCount);
    const DetailCounts& counts = kCountsByDetail[showState.detailLevel];
    showState.debrisCount = counts.debris;
    showState.ringArmCount = counts.ringArms;
    showState.cometCount = counts.comets;
    tables.debris = AllocateTable<Debris>(counts.debris);
    tables.ringParticles = AllocateTable<RingParticle>(counts.ringArms * kRingLayers);
    tables.comets = AllocateTable<Comet>(counts.comets);
    tables.rayDirs = AllocateTable<RayDir>(kRayCount);
    const bool complete = tables.creditLines && tables.creditY && tables.debris &&
                          tables.ringParticles && tables.comets && tables.rayDirs;
    if (!complete) tables = {};
    PublishTables();
    return complete;
}

void SwitchOffAudio() {
    settings.pmusic = 0;
    settings.pmp3 = 0;
    settings.psound = 0;
    settings.pcd = 0;
}

void LoadTextures() {
    for (const TextureFile& file : kTextureFiles) {
        file.texture->Load(DataPath(DataName(file.role)).c_str(), nullptr);
    }
    texturesLoaded = true;
}

void AimRays() {
    for (int i = 0; i < kRayCount; ++i) {
        showState.rayDirs[i].xRotation = static_cast<float>(Random(kFullCircle));
        showState.rayDirs[i].yRotation = static_cast<float>(Random(kFullCircle));
    }
}

void FillCredits() {
    ResetCreditY();
    for (int i = 0; i < kCreditLineCount; ++i) showState.creditLines[i] = kCreditsText[i];
}

}  // namespace

bool SetupSilencesRun() {
    return previewFlag != 0 || quietCopy != 0;
}

void SetupShow(int startFrame) {
    showReady = false;
    if (!installFolderFound) return;
    if (startFrame != 0) showState.showFrame = startFrame;
    if (settings.matrox != 0) showState.showFrame = kMatroxStartFrame;
    showState.detailLevel = DetailLevelFromPart(settings.part);
    if (previewFlag != 0) {
        showState.detailLevel = kDetailMedium;
        showState.showFrame = 0;
        settings.useblur = 0;
        settings.starfield = 0;
    }
    if (!AllocateTables()) return;
    if (SetupSilencesRun()) SwitchOffAudio();
    if (hardwareTest == 0) {
        StartAudio();
        audioStarted = true;
    }
    ArmMusicNotice();
    bangPath = DataPath(DataName(DataRole::LongBang));
    shortBangPaths = {
        DataPath(DataName(DataRole::ShortBang1)), DataPath(DataName(DataRole::ShortBang2)),
        DataPath(DataName(DataRole::ShortBang3)), DataPath(DataName(DataRole::ShortBang4))};
    LoadTextures();
    BuildOutlineFont();
    BuildBitmapFont();
    fontsBuilt = true;
    SetShowGlState();
    InitialiseRingParticles();
    InitialiseComets();
    InitialiseDebris();
    AimRays();
    FillCredits();
    showReady = true;
}

void ResetCreditY() {
    for (int i = 0; i < kCreditLineCount; ++i) {
        showState.creditY[i] = -kCreditLineSpacing * static_cast<float>(i);
    }
}

void SetShowGlState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
}

void ShutdownShow() {
    showReady = false;
    if (fontsBuilt) {
        DeleteOutlineFontLists();
        DeleteBitmapFontLists();
        UnregisterOutlineFontFile();
        fontsBuilt = false;
    }
    if (audioStarted) {
        StopAudio();
        audioStarted = false;
    }
    if (texturesLoaded) {
        for (const TextureFile& file : kTextureFiles) file.texture->Delete();
        texturesLoaded = false;
    }
}
