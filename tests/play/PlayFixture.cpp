// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlayFixture.h"

#include "game/PlayGeometry.h"
#include "shell/AssetTable.h"

namespace playtest {

void PlayFixture::SetUp() {
    m_Folder.WritePicture(assets::kSprites, kSpritesColour);
    m_Folder.WritePicture(assets::kClouds, 0x40FFFFFF);
    m_Folder.WritePicture("sky.png", kSkyColour);
    m_Folder.WriteText("game/data/scores.dat",
                       "KWSCORES 1\n5000 KWP\n4500 ORB\n4000 DRG\n3500 EMB\n3000 ASH\n2500 FLM\n2000 SPK\n1500 "
                       "WSP\n1000 KIN\n500 ZAP\n");
    // A level that cannot be won by accident: orbs of three colours far from the dragon.
    WriteLevel(1, {"", "", "R.B.G", "RRBBGG"});
    HeadlessGame::SetUp();
    RegisterStateFactory(StatePlay, [] { return std::make_unique<cPlayState>(); });
    gCurrentLevel = 1;
}

PlayProbe& PlayFixture::Start() {
    auto probe = std::make_unique<PlayProbe>();
    m_Probe = probe.get();
    gCurrentState = std::move(probe);
    return *m_Probe;
}

void PlayProbe::SetUpRules() {
    m_Scores = std::make_unique<cScores>();
    auto dragon = std::make_shared<GfxSprite>();
    dragon->SetTexture(gTextures->Texture("sprites.png"));
    dragon->SetSourceRect(0, 0, 64, 96);
    dragon->SetX(PlayGeometry::DragonStartX);
    dragon->SetY(0);
    gSprites->Add_Sprite(dragon, "dragon");
    m_DragonColumn = 9;
    m_FloorY = PlayGeometry::Bottom;
    m_RiseInterval = 1000000;
    m_CurrentOrb = MakeQueueOrb(OrbKind::Red);
    m_NextOrb = MakeQueueOrb(OrbKind::Blue);
}

OrbRef PlayProbe::Place(int32_t orbType, int32_t column, int32_t row, int32_t bonusKind) {
    auto orb = std::make_shared<cOrb>();
    orb->Create_Orb(column, row, BoardKey(column, row), orbType, bonusKind, 1000);
    m_Board.Add(orb, orb->Key());
    return orb;
}

OrbRef PlayProbe::At(int32_t column, int32_t row) const {
    const std::string key = BoardKey(column, row);
    return m_Board.Exists(key) ? m_Board.Item(key) : nullptr;
}

void PlayProbe::Shoot(int32_t orbType, int32_t column) {
    DragonSprite()->SetX(static_cast<float>(140 + 24 * column));
    m_DragonColumn = column;
    m_CurrentOrb = MakeQueueOrb(orbType);
    FireOrb();
}

int32_t PlayProbe::Score() const { return Scores()->CurrentScore(); }

void RulesFixture::SetUp() {
    PlayFixture::SetUp();
    std::filesystem::remove(m_Folder.Path("game/levels/level1.dat"));  // the rule tests build their own boards
    UseVirtualClock(100000, 12 * 3600.0 + 17.0);
    m_Play = std::make_unique<PlayProbe>(PlayProbe::NoSetUp{});
    m_Play->SetUpRules();
}

void RulesFixture::Play(int32_t milliseconds) {
    for (int32_t t = 0; t < milliseconds; t += 16) {
        AdvanceVirtualClock(16);
        m_Play->ProcessState();
    }
}

}  // namespace playtest
