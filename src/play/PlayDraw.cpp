// SPDX-License-Identifier: GPL-3.0-or-later
// The play screen: scenery, orbs, timed displays, the panel's HUD with the top five, buttons and
// cursor, in that order. The intro, level-complete and game-over displays advance only when drawn.
#include <string>

#include "base/Globals.h"
#include "engine/cButton.h"
#include "engine/cCloud.h"
#include "engine/cMouse.h"
#include "engine/cSprites.h"
#include "game/PlayGeometry.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cMessage.h"
#include "play/cPlayState.h"
#include "play/cScores.h"

namespace {
constexpr int32_t kWhite = -1;
constexpr int32_t kBlack = static_cast<int32_t>(0xFF000000U);  // opaque
constexpr int32_t kTableRows = static_cast<int32_t>(PlayGeometry::ScoreRowY.size());
constexpr int32_t kIntroMs = 2000;
constexpr int32_t kFadeStepMs = 10;
constexpr int32_t kCompleteWaitMs = 1000;
constexpr int32_t kCompleteBonus = 1000;
constexpr int32_t kCompleteBonusStep = 5;
constexpr int32_t kBonusTextLifeMs = 1500;
constexpr int32_t kBonusTextStepMs = 100;
constexpr int32_t kVolumeShownMs = 1000;  // the readout after F7 or F8, fading over its last quarter

// Every text on the play screen is bold. Text over the moving board, and the initial being edited
// (dark blue on the dark panel), carries an outline in a contrasting colour so it reads anywhere.
void DrawBoldText(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, int32_t align,
                  int32_t colour, const std::string& face, float size, int32_t outline = 0) {
    const float offset = outline != 0 ? 1.0F : 0.0F;
    gEngine->GetText().DrawText(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                static_cast<float>(height), text, align, colour, face, size, true, 0, offset, offset,
                                outline);
}

// A text in the panel's box at height y (x for a letter of the initials).
void PanelText(int32_t y, const std::string& text, int32_t align, int32_t colour, const std::string& face, float size,
               int32_t outline = 0, int32_t x = PlayGeometry::TextX) {
    DrawBoldText(x, y, PlayGeometry::TextW, PlayGeometry::TextH, text, align, colour, face, size, outline);
}

const std::string kCongratulations =
    "Congratulations, you have mastered all the levels in Kindlewisp and helped teach our \r\n"
    "little friend how breathe fire. If your still looking for more action, try creating your own  \r\n"
    "levels and see if you can master your own creations. Instructions on how to create your own \r\n"
    "levels can be found in the Game Manual. Now that you are a Kindlewisp master, can you beat your \r\n"
    "own high score?";
}  // namespace

void cPlayState::DrawState() {
    const int32_t count = gSprites->Count();
    for (int32_t i = 1; i <= count; ++i) {
        gSprites->Item(i)->Render();
        // The clouds drift between the board backgrounds and the panel.
        if (i == 2 && m_CloudsOn) m_Clouds->Render();
    }

    for (const auto& entry : m_Board.Entries()) entry.value->Render();
    if (!IsPlayHalted())
        for (const auto& entry : m_Moving.Entries()) entry.value->Render();
    for (const auto& entry : m_BonusItems.Entries()) entry.value->Render();
    for (const auto& entry : m_Popups.Entries()) entry.value->Render();
    DrawBonusText();

    if (gPaused) m_Message->DrawPause(PlayGeometry::PausedX, PlayGeometry::PausedY, 255);
    if (m_GameOver) ShowGameOver();
    if (m_LevelComplete) ShowLevelComplete();
    if (m_LevelIntro) ShowLevelIntro();

    PanelText(PlayGeometry::ScoresHeadingY, "Top 5 Scores", 0, kWhite, m_HudFont, 12);
    for (int32_t i = 1; i <= kTableRows; ++i)
        PanelText(PlayGeometry::ScoreRowY[i - 1], m_Scores->HighScore_Score(i), 1, kWhite, "Arial", 8);
    DrawHighScoreInitials();
    PanelText(PlayGeometry::ScoreHeadingY, "Current Score", 0, kWhite, m_HudFont, 12);
    PanelText(PlayGeometry::ScoreY, std::to_string(m_Scores->CurrentScore()), 1, kWhite, "Arial", 8);
    PanelText(PlayGeometry::LevelHeadingY, "Current Level", 0, kWhite, m_HudFont, 12);
    DrawLevelLabel();
    PanelText(PlayGeometry::QueueHeadingY, "Next Orb", 0, kWhite, m_HudFont, 12);

    // A level advance inside ShowLevelComplete rebuilds the queue, so look the orbs up afresh.
    if (m_CurrentOrb) m_CurrentOrb->Render();
    if (m_NextOrb) m_NextOrb->Render();
    DrawAfterQueue();
    DrawVolume();

    if (m_AllLevelsDone)
        m_Message->DrawMessageBox(kCongratulations, PlayGeometry::MessageX, PlayGeometry::MessageY,
                                  PlayGeometry::MessageW, 100, 8, true, false);

    m_RestartButton->Render(-1, -1);
    m_ExitButton->Render(-1, -1);
    gMouse->Render();
}

const std::string& cPlayState::CongratulationsText() { return kCongratulations; }

void cPlayState::DrawLevelLabel() {
    PanelText(PlayGeometry::LevelY, std::to_string(gCurrentLevel), 1, kWhite, "Arial", 8);
}

void cPlayState::DrawHighScoreInitials() {
    const int32_t editedRow = IsEnteringInitials() ? m_Scores->CurrentPosition() : 0;
    for (int32_t row = 1; row <= kTableRows; ++row) {
        const std::string initials = m_Scores->HighScore_Initials(row);
        if (row != editedRow) {
            PanelText(PlayGeometry::ScoreRowY[row - 1], initials, 0, kWhite, "Arial", 8);
            continue;
        }
        // The row being edited: letter by letter, the one under the cursor larger and blue.
        for (int32_t letter = 1; letter <= 3; ++letter) {
            const auto index = static_cast<size_t>(letter - 1);
            const std::string text = index < initials.size() ? initials.substr(index, 1) : std::string();
            const bool edited = letter == m_InitialsCursor;
            PanelText(PlayGeometry::ScoreRowY[row - 1], text, 0,
                      edited ? GfxUtility::MakeColor(255, 0, 0, 200) : kWhite, "Arial", edited ? 9.0F : 8.0F,
                      edited ? GfxUtility::MakeColor(255, 255, 244, 214) : 0, PlayGeometry::InitialX[index]);
        }
    }
}

void cPlayState::DrawBonusText() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_BonusTextStart) >= kBonusTextLifeMs) return;
    if (!m_BonusText.empty())
        DrawBoldText(m_BonusTextX, m_BonusTextY, 100, 100, m_BonusText, 0, kWhite, "Arial", 8, kBlack);
    if (TicksSince(now, m_BonusTextMoveTime) > kBonusTextStepMs) {
        --m_BonusTextY;
        m_BonusTextMoveTime = now;
    }
}

void cPlayState::ShowLevelIntro() {
    if (TicksSince(GetTickCount(), m_IntroTime) > kIntroMs) {
        m_LevelIntro = false;
        return;
    }
    DrawLevelCaption(255);
}

void cPlayState::DrawLevelCaption(int16_t alpha) {
    m_Message->DrawLevel(PlayGeometry::LevelCaptionX, PlayGeometry::LevelCaptionY, alpha);
    m_Message->DrawNumber(std::to_string(gCurrentLevel), PlayGeometry::LevelNumberX, PlayGeometry::LevelNumberY, alpha);
}

void cPlayState::ShowLevelComplete() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_CompleteTime) > kFadeStepMs && m_CompleteAlpha < 255) {
        ++m_CompleteAlpha;
        m_CompleteTime = now;
    } else if (TicksSince(now, m_CompleteTime) > kCompleteWaitMs && m_CompleteAlpha == 255 &&
               m_CompleteBonus >= kCompleteBonus) {
        AdvanceLevel();
        return;
    }
    if (m_CompleteBonus < kCompleteBonus) {
        m_Scores->AddToScore(kCompleteBonusStep);
        m_CompleteBonus += kCompleteBonusStep;
    }
    DrawLevelCaption(m_CompleteAlpha);
    m_Message->DrawComplete(PlayGeometry::CompleteX, PlayGeometry::CompleteY, m_CompleteAlpha);
}

void cPlayState::ShowGameOver() {
    if (TicksSince(GetTickCount(), m_GameOverTime) > kFadeStepMs && m_GameOverAlpha < 255) {
        ++m_GameOverAlpha;
        m_GameOverTime = GetTickCount();
        // The dragon shrinks away with the fade and stops at a speck.
        if (const auto dragon = DragonSprite(); dragon && dragon->GetScale() > 0.01F)
            dragon->SetScale(dragon->GetScale() - 0.005F);
    }
    m_Message->DrawGameOver(PlayGeometry::GameOverX, PlayGeometry::GameOverY, m_GameOverAlpha);
}

void cPlayState::DrawVolume() {
    const int32_t shown = TicksSince(GetTickCount(), m_VolumeShownTime);
    if (!m_VolumeShown || shown >= kVolumeShownMs) return;
    const int32_t fade = kVolumeShownMs / 4;
    const auto alpha =
        static_cast<int16_t>(shown < kVolumeShownMs - fade ? 255 : 255 * (kVolumeShownMs - shown) / fade);
    // At the foot of the panel, below everything else the panel shows.
    PanelText(kPanelX, 432, 50, 20, "Music", 0, GfxUtility::MakeColor(alpha, 255, 255, 255), m_HudFont, 12,
              GfxUtility::MakeColor(alpha, 0, 0, 0));
    m_Message->DrawNumber(std::to_string(gMusicVolume), 72, 424, alpha, 0.5F);
}
