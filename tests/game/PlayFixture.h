// A play state on a scratch game folder, headless and on the virtual clock, with only the parts
// the rules need: the dragon, the scores, the queue and an empty board the tests fill.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxTestSupport.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/Globals.h"
#include "shell/RuntimeError.h"
#include "shell/modError.h"

// The play state with its rule procedures opened up for the tests.
class RulesPlay final : public cPlayState {
public:
    RulesPlay() : cPlayState(NoSetUp{}) {}

    using cPlayState::AdvanceLevel;
    using cPlayState::ChooseNextOrbType;
    using cPlayState::CreateLevel;
    using cPlayState::FireOrb;
    using cPlayState::m_Board;
    using cPlayState::m_BonusItems;
    using cPlayState::m_CurrentOrb;
    using cPlayState::m_DragonColumn;
    using cPlayState::m_FloorY;
    using cPlayState::m_GameOver;
    using cPlayState::m_LevelComplete;
    using cPlayState::m_LevelIntro;
    using cPlayState::m_Moving;
    using cPlayState::m_NextOrb;
    using cPlayState::m_OrbCounter;
    using cPlayState::m_RiseInterval;
    using cPlayState::MakeQueueOrb;
    using cPlayState::ReleaseBonus;
    using cPlayState::StartDragonMove;

    // What set-up gives a fresh play state, minus the screen.
    void SetUpRules() {
        m_Scores = std::make_unique<cScores>();
        auto dragon = std::make_shared<GfxSprite>();
        dragon->SetTexture(gTextures->Texture("sprites.png"));
        dragon->SetSourceRect(0, 0, 64, 96);
        dragon->SetX(356);
        dragon->SetY(0);
        gSprites->Add_Sprite(dragon, "dragon");
        m_DragonColumn = 9;
        m_FloorY = BoardGeometry::Bottom;
        m_RiseInterval = 1000000;  // the board stands still unless a test lets it rise
        m_CurrentOrb = MakeQueueOrb(OrbKind::Red);
        m_NextOrb = MakeQueueOrb(OrbKind::Blue);
    }

    OrbRef Place(int32_t orbType, int32_t column, int32_t row, int32_t bonusKind = BonusKind::Chest) {
        auto orb = std::make_shared<cOrb>();
        orb->Create_Orb(column, row, BoardKey(column, row), orbType, bonusKind, 1000);
        m_Board.Add(orb, orb->Key());
        return orb;
    }
    OrbRef At(int32_t column, int32_t row) const {
        const std::string key = BoardKey(column, row);
        return m_Board.Exists(key) ? m_Board.Item(key) : nullptr;
    }
    // Puts the dragon over a column and fires an orb of the given type from it.
    void Shoot(int32_t orbType, int32_t column) {
        DragonSprite()->SetX(static_cast<float>(140 + 24 * column));
        m_DragonColumn = column;
        m_CurrentOrb = MakeQueueOrb(orbType);
        FireOrb();
    }
    int32_t Score() const { return Scores()->CurrentScore(); }
};

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(100000, 12 * 3600.0 + 17.0);
        GfxEngine::SetHeadless(true);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_Folder = std::filesystem::path(KW_BINARY_DIR) / "tests-scratch" / "game" / name;
        std::filesystem::remove_all(m_Folder);
        for (const char* sub : {"images", "sounds", "levels", "override", "data"})
            std::filesystem::create_directories(m_Folder / "game" / sub);
        WriteAssets();

        m_SavedFolder = gProgramFolder;
        gProgramFolder = m_Folder;
        gCurrentLevel = 1;
        gHighestLevel = 1;
        gMusicVolume = 50;
        gPaused = false;
        gEngine = std::make_unique<GfxEngine>();
        gEngine->SetWorkingFolder(m_Folder.string());
        ASSERT_TRUE(gEngine->Startup());
        ASSERT_TRUE(gEngine->InitializeDisplay());
        gTextures = std::make_unique<cTextures>();
        gSound = std::make_unique<cSound>();
        gSprites = std::make_unique<cSprites>();
        OpenErrorLog();
        m_Play = std::make_unique<RulesPlay>();
        m_Play->SetUpRules();
    }

    void TearDown() override {
        m_Play.reset();
        CloseErrorLog();
        gSprites.reset();
        gSound.reset();
        gTextures.reset();
        gEngine.reset();
        gProgramFolder = m_SavedFolder;
        UseRealClock();
        std::filesystem::remove_all(m_Folder);
    }

    void WriteAssets() const {
        const auto images = m_Folder / "game" / "images";
        GfxTestSupport::WriteSolidPng((images / "sprites.png").string(), 8, 8, 0xFFFFFFFF);
        GfxTestSupport::WriteSolidPng((images / "sky.png").string(), 8, 8, 0xFF2040A0);
        for (const char* sound : {"shoot", "fireball", "burn", "bonus", "penalty"})
            GfxTestSupport::WriteWav((m_Folder / "game" / "sounds" / (std::string(sound) + ".wav")).string(), 10);
        std::ofstream scores(m_Folder / "game" / "data" / "scores.dat");
        scores << "KWSCORES 1\n";
        for (int i = 0; i < 10; ++i) scores << "0 AAA\n";
    }

    // Frames of 16 ms of play until the given virtual time has passed.
    void Play(int32_t milliseconds) {
        for (int32_t t = 0; t < milliseconds; t += 16) {
            AdvanceVirtualClock(16);
            m_Play->ProcessState();
        }
    }
    std::string ErrorLog() const {
        std::ifstream in(m_Folder / "game" / "errors.log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteLevel(const std::string& folder, int32_t level, const std::string& content) const {
        std::ofstream out(m_Folder / "game" / folder / ("level" + std::to_string(level) + ".dat"), std::ios::binary);
        out << content;
    }

    std::filesystem::path m_Folder;
    std::filesystem::path m_SavedFolder;
    std::unique_ptr<RulesPlay> m_Play;
};
