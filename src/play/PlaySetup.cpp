// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's construction, set-up, button handlers and tear-down.
#include <memory>

#include "base/Globals.h"
#include "engine/cButton.h"
#include "engine/cCloud.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "game/PlayGeometry.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cMessage.h"
#include "play/cOptionsScreen.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/AssetTable.h"

namespace {
// A visible, blended sprite on "sprites.png".
void Dress(GfxSprite& sprite, const assets::Rect& cell, float x, float y) {
    sprite.SetTexture(gTextures->Texture(std::string(assets::kSprites)));
    sprite.SetSourceRect(cell.x, cell.y, cell.w, cell.h);
    sprite.SetX(x);
    sprite.SetY(y);
    sprite.SetVisible(true);
    sprite.SetBlend(true);
}
}  // namespace

cPlayState::cPlayState() { InitializeGraphics(); }

cPlayState::~cPlayState() = default;

void cPlayState::InitializeGraphics() {
    const int32_t now = GetTickCount();

    gSprites = std::make_unique<cSprites>();
    gSprites->Add_Sprite(std::make_shared<GfxSprite>(), "panel");
    Dress(*gSprites->Item("panel"), assets::kPanel, 0, 0);
    gSprites->Add_Sprite(std::make_shared<GfxSprite>(), "dragon");
    Dress(*gSprites->Item("dragon"), assets::kDragon[0], PlayGeometry::DragonStartX, PlayGeometry::DragonStartY);

    // The button pictures belong to the buttons, not to the scenery list.
    auto restartPicture = std::make_shared<GfxSprite>();
    Dress(*restartPicture, assets::kRestartButton[0], PlayGeometry::ButtonX, PlayGeometry::RestartY);
    auto exitPicture = std::make_shared<GfxSprite>();
    Dress(*exitPicture, assets::kExitButton[0], PlayGeometry::ButtonX, PlayGeometry::ExitY);

    m_RestartButton = std::make_unique<cButton>();
    m_ExitButton = std::make_unique<cButton>();
    m_RestartButton->Create(restartPicture, "");
    for (int frame : {1, 2})
        m_RestartButton->AddDownAnimation(assets::kRestartButton[frame].x, assets::kRestartButton[frame].y);
    m_ExitButton->Create(exitPicture, "");
    for (int frame : {1, 2}) m_ExitButton->AddDownAnimation(assets::kExitButton[frame].x, assets::kExitButton[frame].y);
    m_RestartButton->ButtonClick = [this](int32_t& mouseButton) { m_RestartButton_ButtonClick(mouseButton); };
    m_ExitButton->ButtonClick = [this](int32_t& mouseButton) { m_ExitButton_ButtonClick(mouseButton); };
    auto optionsPicture = std::make_shared<GfxSprite>();
    optionsPicture->SetTexture(gTextures->Texture(std::string(assets::kOptions)));
    const assets::Rect& lit = assets::kOptionsButtonLit;  // the pause screen's one choice, so always lit
    optionsPicture->SetSourceRect(lit.x, lit.y, lit.w, lit.h);
    optionsPicture->SetX(310);
    optionsPicture->SetY(262);
    optionsPicture->SetBlend(true);
    m_OptionsButton = std::make_unique<cButton>();
    m_OptionsButton->Create(optionsPicture, "");
    m_OptionsButton->ButtonClick = [this](int32_t&) { OpenOptions(); };

    m_Scores = std::make_unique<cScores>(SavesScores(), ScoresFile());
    m_Message = std::make_unique<cMessage>();
    m_Clouds = std::make_unique<cCloud>();
    m_Board.Clear();
    m_Moving.Clear();
    m_BonusItems.Clear();
    m_Popups.Clear();

    m_DragonFrameTime = now;
    m_DragonFrame = 0;
    m_DragonColumn = PlayGeometry::DragonStartColumn;
    m_FloorY = PlayGeometry::Bottom;
    m_OrbCounter = 0;
    m_ScrollTime = now;

    CreateLevel();

    m_LevelIntro = HasLevelIntro();
    m_IntroTime = now;
    m_CompleteBonus = 0;
    m_PopupCounter = 0;
    PrepareForPlay();
}

void cPlayState::PrepareForPlay() const {
    // No frame of play should wait for a file or a font: a shot's sound, a first burn, a heading
    // shrunk to fit its box (which opens a face at several sizes) all come ready.
    for (const char* sound : {"shoot.wav", "fireball.wav", "burn.wav", "bonus.wav", "penalty.wav", "pause.wav"})
        gSound->Sound(sound);
    GfxText& text = gEngine->GetText();
    for (const std::string& heading :
         {std::string("Top 5 Scores"), std::string("Current Score"), LevelHeading(), std::string("Next Orb")})
        text.Prepare(heading, m_HudFont, 12, true, 90);
    text.Prepare("0", "Arial", 8, true, 90);    // scores, initials, level, bonus text
    text.Prepare("0", "Arial", 9, true, 90);    // the initial being edited
    text.Prepare("0", "Arial", 10, true, 150);  // score popups
}

std::string cPlayState::ScoresFile() const { return cScores::ScoresPath(); }

void cPlayState::m_RestartButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    SetState(StatePlay);  // a fresh game on the same gCurrentLevel
}

void cPlayState::m_ExitButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    SetState(StateTitle);
}

void cPlayState::Destroy() {
    const int32_t count = gSprites->Count();
    for (int32_t i = 0; i < count; ++i) gSprites->Remove_Sprite(1);
    m_Board.Clear();
    m_Moving.Clear();
    if (SavesScores()) m_Scores->SaveScores();
}
