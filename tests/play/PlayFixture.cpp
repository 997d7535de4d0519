#include "PlayFixture.h"

#include <unistd.h>

#include "gfx/GfxTestSupport.h"

namespace playtest {
namespace {
fs::path s_AssetFolder;  // pictures and sounds, made once per test program
}  // namespace

void PlayFixture::SetUp() {
    if (s_AssetFolder.empty()) {
        // ctest runs test cases as parallel processes: each needs a folder of its own.
        s_AssetFolder = fs::path(::testing::TempDir()) / ("kw_play_assets_" + std::to_string(::getpid()));
        fs::remove_all(s_AssetFolder);
        const fs::path images = s_AssetFolder / "game" / "images";
        fs::create_directories(images);
        fs::create_directories(s_AssetFolder / "game" / "sounds");
        ASSERT_TRUE(GfxTestSupport::WriteSolidPng((images / "sprites.png").string(), 1024, 1024, kSpritesColour));
        ASSERT_TRUE(GfxTestSupport::WriteSolidPng((images / "text.png").string(), 512, 512, 0xFFFFFFFF));
        ASSERT_TRUE(GfxTestSupport::WriteSolidPng((images / "clouds.png").string(), 300, 300, 0x40FFFFFF));
        ASSERT_TRUE(GfxTestSupport::WriteSolidPng((images / "sky.png").string(), 510, 960, kSkyColour));
        for (const char* name : {"shoot", "fireball", "burn", "bonus", "penalty", "pause", "buttonclick"})
            ASSERT_TRUE(GfxTestSupport::WriteWav(
                (s_AssetFolder / "game" / "sounds" / (std::string(name) + ".wav")).string(), 50));
        for (const char* name : {"puzzle1", "puzzle2", "puzzle3", "puzzlel", "puzzlew"})
            ASSERT_TRUE(GfxTestSupport::WriteWav(
                (s_AssetFolder / "game" / "sounds" / (std::string(name) + ".mp3")).string(), 2000));
    }
    m_Folder = s_AssetFolder;
    fs::remove_all(m_Folder / "game" / "levels");
    fs::remove_all(m_Folder / "game" / "override");
    fs::remove_all(m_Folder / "game" / "data");
    fs::create_directories(m_Folder / "game" / "levels");
    fs::create_directories(m_Folder / "game" / "override");
    fs::create_directories(m_Folder / "game" / "data");
    WriteScores({{5000, "KWP"},
                 {4500, "ORB"},
                 {4000, "DRG"},
                 {3500, "EMB"},
                 {3000, "ASH"},
                 {2500, "FLM"},
                 {2000, "SPK"},
                 {1500, "WSP"},
                 {1000, "KIN"},
                 {500, "ZAP"}});
    // A level that cannot be won by accident: orbs of three colours far from the dragon.
    WriteLevel(1, {"", "", "R.B.G", "RRBBGG"});

    gProgramFolder = m_Folder;
    UseVirtualClock(100000, 12 * 3600.0);
    GfxEngine::SetHeadless(true);
    gEngine = std::make_unique<GfxEngine>();
    gEngine->SetWorkingFolder(m_Folder.string());
    ASSERT_TRUE(gEngine->Startup());
    ASSERT_TRUE(gEngine->InitializeDisplay());
    RegisterStateFactory(StatePlay, [] { return std::make_unique<cPlayState>(); });
    gSound = std::make_unique<cSound>();
    gTextures = std::make_unique<cTextures>();
    gSprites = std::make_unique<cSprites>();
    gMouse = std::make_unique<cMouse>();
    gRunning = true;
    gWindowed = true;
    gPaused = false;
    gInactive = false;
    gCurrentLevel = 1;
    gHighestLevel = 1;
    gMusicVolume = 80;
    gSoundVolume = 80;
}

void PlayFixture::TearDown() {
    gCurrentState.reset();
    ReleaseRetiredState();
    gMouse.reset();
    gSprites.reset();
    gTextures.reset();
    gSound.reset();
    if (gEngine) gEngine->Shutdown();
    gEngine.reset();
    UseRealClock();
}

void PlayFixture::WriteLevel(int32_t level, const std::vector<std::string>& rows, int32_t riseInterval) const {
    std::ofstream out(m_Folder / "game" / "levels" / ("level" + std::to_string(level) + ".dat"), std::ios::binary);
    out << riseInterval << "\r\n" << rows.size() << "\r\nsky\r\nNO\r\n";
    for (const auto& row : rows) out << row << "\r\n";
}

void PlayFixture::WriteScores(const std::vector<std::pair<int32_t, std::string>>& rows) const {
    std::ofstream out(m_Folder / "game" / "data" / "scores.dat", std::ios::binary);
    out << "KWSCORES 1\n";
    for (const auto& [score, initials] : rows) out << score << ' ' << initials << '\n';
}

PlayProbe& PlayFixture::Start() {
    auto probe = std::make_unique<PlayProbe>();
    m_Probe = probe.get();
    gCurrentState = std::move(probe);
    return *m_Probe;
}

void PlayFixture::Frame(uint32_t ms) {
    gEngine->PumpEvents();
    // Each operation is fetched afresh, as the frame loop does: a button may switch state.
    if (gCurrentState) gCurrentState->HandleInput();
    ReleaseRetiredState();
    if (gCurrentState) gCurrentState->ProcessState();
    ReleaseRetiredState();
    gEngine->GetDevice().BeginFrame();
    if (gCurrentState) gCurrentState->DrawState();
    ReleaseRetiredState();
    gEngine->GetDevice().EndFrame();
    AdvanceVirtualClock(ms);
}

}  // namespace playtest
