// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's frame update in its fixed order, and the outcome of a level: lost, won,
// and the move on to the next level.
#include <cmath>
#include <limits>

#include "base/Globals.h"
#include "engine/cButton.h"
#include "engine/cCloud.h"
#include "engine/cMouse.h"
#include "engine/cSprites.h"
#include "game/PlayGeometry.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "play/cMessage.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/AssetTable.h"
#include "shell/modSettings.h"

cPlayState::cPlayState(NoSetUp) {}

bool cPlayState::IsPlayHalted() const { return m_GameOver || m_LevelComplete || m_LevelIntro; }

void cPlayState::ProcessState() {
    if (gMouse) {
        if (gMouse->CursorOutsideWindow()) gMouse->ShowDefaultCursor();
        if (!gWindowed) gMouse->SetFullScreenPosition();
    }
    if (gPaused) return;

    const int32_t now = GetTickCount();
    ScrollBoard();
    if (m_CloudsOn && m_Clouds && TicksSince(now, m_CloudTime) > 20) {
        m_Clouds->MoveClouds(1, 1);
        m_CloudTime = now;
    }
    if (!IsPlayHalted()) MoveDragon();
    AnimateDragon();
    if (TicksSince(now, m_FireTime) > 200 && m_DragonFiring) m_DragonFiring = false;
    AfterDragonUpdate();
    if (HasMusic()) FadeInMusic();

    for (const auto& entry : m_Popups.Snapshot()) entry.value->Process();
    for (const auto& entry : m_Popups.Snapshot())
        if (TicksSince(now, entry.value->StartTime()) > 1500 && m_Popups.Exists(entry.key)) m_Popups.Remove(entry.key);

    AnimateQueue();
    if (IsPlayHalted() || IsBoardFrozen()) return;

    // Orbs change collections during these walks (landing, falling, burning away); each walk
    // runs over a copy and skips an orb that is no longer where the copy saw it.
    for (const auto& entry : m_Moving.Snapshot()) {
        if (const OrbRef* now = m_Moving.TryItem(entry.key); !now || *now != entry.value) continue;
        const OrbRef& orb = entry.value;
        MoveOrb(orb);
        if (IsMovingOrb(orb->Key())) CheckCollision(orb);
    }
    const auto dragon = DragonSprite();
    for (const auto& entry : m_Board.Snapshot()) {
        if (const OrbRef* now = m_Board.TryItem(entry.key); !now || *now != entry.value) continue;
        const OrbRef& orb = entry.value;
        MoveOrb(orb);
        if (orb->OrbType() != OrbKind::BlackFixed && OrbExists(orb->PositionX(), orb->PositionY())) CheckForFall(orb);
        if (orb->PositionY() == 0) m_FloorY = orb->PixelY();
        CheckLoss(orb, dragon.get());
    }
    for (const auto& entry : m_BonusItems.Snapshot())
        if (m_BonusItems.Exists(entry.key) && m_BonusItems.Item(entry.key) == entry.value)
            ProcessBonusItem(entry.value);
    // A level already lost this frame cannot also be won.
    if (!m_LevelComplete && !m_GameOver) CheckWin();
}

void cPlayState::ScrollBoard() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_ScrollTime) <= 50) return;
    m_ScrollTime = now;
    const auto board = gSprites->Item(std::string("board"));
    const auto board2 = gSprites->Item(std::string("board2"));
    if (!board || !board2) return;
    board->MoveBy(0, -1);
    board2->MoveBy(0, -1);
    if (board->GetY() < -assets::kBoardH) board->SetY(board2->GetY() + assets::kBoardH);
    if (board2->GetY() < -assets::kBoardH) board2->SetY(board->GetY() + assets::kBoardH);
}

void cPlayState::FadeInMusic() {
    GfxMusic& music = gEngine->GetMusic();
    const auto volume = static_cast<int32_t>(std::lrint(music.GetMusicVolume()));
    if (volume > gMusicVolume)
        music.SetMusicVolume(static_cast<float>(gMusicVolume));
    else if (volume != gMusicVolume && music.IsPlaying() && !IsPlayHalted())
        music.SetMusicVolume(static_cast<float>(volume + 1));
}

void cPlayState::CheckLoss(const OrbRef& orb, const GfxSprite* dragon) {
    if (m_GameOver) return;
    const bool lost =
        orb->PixelY() < PlayGeometry::TopLine ||
        (dragon && ReachesDragon(*dragon, static_cast<float>(orb->PixelX()), static_cast<float>(orb->PixelY())));
    if (!lost) return;
    m_GameOver = true;
    m_GameOverAlpha = 1;
    m_GameOverTime = GetTickCount();
    m_InitialsCursor = 1;
    KeepFinishedGame();
    if (HasMusic()) {
        gEngine->GetMusic().LoadMusic("game/sounds/puzzlel.mp3", 0);
        gEngine->GetMusic().PlayMusic(true, 0);
    }
}

void cPlayState::CheckWin() {
    for (const auto& entry : m_Moving.Entries())
        if (OrbKind::IsColoured(entry.value->OrbType()) && !entry.value->IsFired()) return;
    for (const auto& entry : m_Board.Entries())
        if (OrbKind::IsColoured(entry.value->OrbType())) return;
    m_LevelComplete = true;
    m_CompleteAlpha = 1;
    m_CompleteTime = GetTickCount();
    m_CompleteBonus = 0;
    // The next level is the player's from the moment this one is won, whatever ends the run after.
    if (SavesScores() && gCurrentLevel < std::numeric_limits<int32_t>::max() && LevelFileExists(gCurrentLevel + 1) &&
        gCurrentLevel + 1 > gHighestLevel) {
        gHighestLevel = gCurrentLevel + 1;
        SaveProgress();
    }
    if (HasMusic()) {
        gEngine->GetMusic().LoadMusic("game/sounds/puzzlew.mp3", 0);
        gEngine->GetMusic().PlayMusic(true, 0);
    }
}

void cPlayState::AdvanceLevel() {
    if (m_AllLevelsDone) return;
    // The level just won was the last one: stay on the won board and congratulate instead of
    // asking for a file that is not there (which would end the game with a report). The player
    // then names the score as after a lost game.
    if (gCurrentLevel >= std::numeric_limits<int32_t>::max() || !LevelFileExists(gCurrentLevel + 1)) {
        m_AllLevelsDone = true;
        m_InitialsCursor = 1;
        KeepFinishedGame();
        return;
    }
    ++gCurrentLevel;
    m_LevelComplete = false;
    m_GameOver = false;
    // The floor follows the new board's bottom row, not the one the last level rose to.
    m_FloorY = PlayGeometry::Bottom;
    CreateLevel();
    if (const auto dragon = DragonSprite()) {
        dragon->SetX(PlayGeometry::DragonStartX);
        dragon->SetY(PlayGeometry::DragonStartY);
    }
    m_DragonColumn = PlayGeometry::DragonStartColumn;
    m_DragonMoving = false;
    m_IntroTime = GetTickCount();
    m_LevelIntro = HasLevelIntro();
    m_PopupCounter = 0;
}

void cPlayState::KeepFinishedGame() {
    if (!SavesScores()) return;
    if (m_Scores) m_Scores->KeepFinishedGame();
    SaveProgress();
}
