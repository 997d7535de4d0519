#include "PlayFixture.h"

#include <unistd.h>

#include <sstream>

#include "base/modError.h"
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
    OpenErrorLog();
}

void PlayFixture::TearDown() {
    gCurrentState.reset();
    CloseErrorLog();
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

std::string PlayFixture::ErrorLog() const {
    std::ifstream in(m_Folder / "game" / "errors.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void RulesPlay::SetUpRules() {
    m_Scores = std::make_unique<cScores>();
    auto dragon = std::make_shared<GfxSprite>();
    dragon->SetTexture(gTextures->Texture("sprites.png"));
    dragon->SetSourceRect(0, 0, 64, 96);
    dragon->SetX(356);
    dragon->SetY(0);
    gSprites->Add_Sprite(dragon, "dragon");
    m_DragonColumn = 9;
    m_FloorY = BoardGeometry::Bottom;
    m_RiseInterval = 1000000;
    m_CurrentOrb = MakeQueueOrb(OrbKind::Red);
    m_NextOrb = MakeQueueOrb(OrbKind::Blue);
}

OrbRef RulesPlay::Place(int32_t orbType, int32_t column, int32_t row, int32_t bonusKind) {
    auto orb = std::make_shared<cOrb>();
    orb->Create_Orb(column, row, BoardKey(column, row), orbType, bonusKind, 1000);
    m_Board.Add(orb, orb->Key());
    return orb;
}

OrbRef RulesPlay::At(int32_t column, int32_t row) const {
    const std::string key = BoardKey(column, row);
    return m_Board.Exists(key) ? m_Board.Item(key) : nullptr;
}

void RulesPlay::Shoot(int32_t orbType, int32_t column) {
    DragonSprite()->SetX(static_cast<float>(140 + 24 * column));
    m_DragonColumn = column;
    m_CurrentOrb = MakeQueueOrb(orbType);
    FireOrb();
}

int32_t RulesPlay::Score() const { return Scores()->CurrentScore(); }

void RulesFixture::SetUp() {
    PlayFixture::SetUp();
    fs::remove(m_Folder / "game" / "levels" / "level1.dat");  // the rule tests build their own boards
    UseVirtualClock(100000, 12 * 3600.0 + 17.0);
    m_Play = std::make_unique<RulesPlay>();
    m_Play->SetUpRules();
}

void RulesFixture::Play(int32_t milliseconds) {
    for (int32_t t = 0; t < milliseconds; t += 16) {
        AdvanceVirtualClock(16);
        m_Play->ProcessState();
    }
}

void RulesFixture::WriteLevelText(const std::string& folder, int32_t level, const std::string& content) const {
    std::ofstream out(m_Folder / "game" / folder / ("level" + std::to_string(level) + ".dat"), std::ios::binary);
    out << content;
}

}  // namespace playtest
