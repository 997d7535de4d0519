// SPDX-License-Identifier: GPL-3.0-or-later
// The play screen: scenery, orbs, timed displays, the panel's HUD with the top five, buttons and
// cursor, in that order. The intro, level-complete and game-over displays advance only when drawn.
#include <string>

#include "base/Globals.h"
#include "engine/cButton.h"
#include "engine/cCloud.h"
#include "engine/cMouse.h"
#include "engine/cSprites.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cMessage.h"
#include "play/cOptionsScreen.h"
#include "play/cPlayState.h"
#include "play/cScores.h"

namespace {
constexpr int32_t kWhite = -1;
constexpr int32_t kBlack = static_cast<int32_t>(0xFF000000U);  // opaque
constexpr int32_t kPanelX = 20;
constexpr int32_t kPanelWidth = 90;
constexpr int32_t kPanelHeight = 120;
constexpr int32_t kTableRows = 5;
constexpr int32_t kRowY[kTableRows] = {40, 55, 70, 85, 100};
constexpr int32_t kLetterX[3] = {20, 28, 36};
constexpr int32_t kIntroMs = 2000;
constexpr int32_t kFadeStepMs = 10;
constexpr int32_t kCompleteWaitMs = 1000;
constexpr int32_t kCompleteBonus = 1000;
constexpr int32_t kCompleteBonusStep = 5;
constexpr int32_t kBonusTextLifeMs = 1500;
constexpr int32_t kBonusTextStepMs = 100;

// Every text on the play screen is bold. Text over the moving board, and the initial being edited
// (dark blue on the dark panel), carries an outline in a contrasting colour so it reads anywhere.
void PanelText(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, int32_t align,
               int32_t colour, const std::string& face, float size, int32_t outline = 0) {
    const float offset = outline != 0 ? 1.0F : 0.0F;
    gEngine->GetText().DrawText(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                static_cast<float>(height), text, align, colour, face, size, true, 0, offset, offset,
                                outline);
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

    if (gPaused && !m_Options) m_Message->DrawPause(300, 178, 255);
    if (m_GameOver) ShowGameOver();
    if (m_LevelComplete) ShowLevelComplete();
    if (m_LevelIntro) ShowLevelIntro();

    PanelText(kPanelX, 22, kPanelWidth, kPanelHeight, "Top 5 Scores", 0, kWhite, m_HudFont, 12);
    for (int32_t i = 1; i <= kTableRows; ++i)
        PanelText(kPanelX, kRowY[i - 1], kPanelWidth, kPanelHeight, m_Scores->HighScore_Score(i), 1, kWhite, "Arial",
                  8);
    DrawHighScoreInitials();
    PanelText(kPanelX, 155, kPanelWidth, kPanelHeight, "Current Score", 0, kWhite, m_HudFont, 12);
    PanelText(kPanelX, 170, kPanelWidth, kPanelHeight, std::to_string(m_Scores->CurrentScore()), 1, kWhite, "Arial", 8);
    PanelText(kPanelX, 190, kPanelWidth, kPanelHeight, "Current Level", 0, kWhite, m_HudFont, 12);
    DrawLevelLabel();
    PanelText(kPanelX, 235, kPanelWidth, kPanelHeight, "Next Orb", 0, kWhite, m_HudFont, 12);

    // A level advance inside ShowLevelComplete rebuilds the queue, so look the orbs up afresh.
    if (m_CurrentOrb) m_CurrentOrb->Render();
    if (m_NextOrb) m_NextOrb->Render();
    DrawAfterQueue();

    if (m_AllLevelsDone) m_Message->DrawMessageBox(kCongratulations, 175, 200, 450, 100, 8, true, false);

    m_RestartButton->Render(-1, -1);
    m_ExitButton->Render(-1, -1);
    if (gPaused && !gInactive && !IsPlayHalted() && !m_Options && m_OptionsButton) m_OptionsButton->Render(-1, -1);
    if (m_Options) m_Options->Draw();
    gMouse->Render();
}

const std::string& cPlayState::CongratulationsText() { return kCongratulations; }

void cPlayState::DrawLevelLabel() {
    PanelText(kPanelX, 205, kPanelWidth, kPanelHeight, std::to_string(gCurrentLevel), 1, kWhite, "Arial", 8);
}

void cPlayState::DrawHighScoreInitials() {
    const int32_t editedRow = IsEnteringInitials() ? m_Scores->CurrentPosition() : 0;
    for (int32_t row = 1; row <= kTableRows; ++row) {
        const std::string initials = m_Scores->HighScore_Initials(row);
        if (row != editedRow) {
            PanelText(kPanelX, kRowY[row - 1], kPanelWidth, kPanelHeight, initials, 0, kWhite, "Arial", 8);
            continue;
        }
        // The row being edited: letter by letter, the one under the cursor larger and blue.
        for (int32_t letter = 1; letter <= 3; ++letter) {
            const auto index = static_cast<size_t>(letter - 1);
            const std::string text = index < initials.size() ? initials.substr(index, 1) : std::string();
            const bool edited = letter == m_InitialsCursor;
            PanelText(kLetterX[letter - 1], kRowY[row - 1], kPanelWidth, kPanelHeight, text, 0,
                      edited ? GfxUtility::MakeColor(255, 0, 0, 200) : kWhite, "Arial", edited ? 9.0F : 8.0F,
                      edited ? GfxUtility::MakeColor(255, 255, 244, 214) : 0);
        }
    }
}

void cPlayState::DrawBonusText() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_BonusTextStart) >= kBonusTextLifeMs) return;
    if (!m_BonusText.empty())
        PanelText(m_BonusTextX, m_BonusTextY, 100, 100, m_BonusText, 0, kWhite, "Arial", 8, kBlack);
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
    int32_t x = 430;
    m_Message->DrawLevel(280, 150, 255);
    m_Message->DrawNumber(std::to_string(gCurrentLevel), x, 160, 255);
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
    int32_t x = 430;
    m_Message->DrawLevel(280, 150, m_CompleteAlpha);
    m_Message->DrawNumber(std::to_string(gCurrentLevel), x, 160, m_CompleteAlpha);
    m_Message->DrawComplete(280, 230, m_CompleteAlpha);
}

void cPlayState::ShowGameOver() {
    if (TicksSince(GetTickCount(), m_GameOverTime) > kFadeStepMs && m_GameOverAlpha < 255) {
        ++m_GameOverAlpha;
        m_GameOverTime = GetTickCount();
        // The dragon shrinks away with the fade and stops at a speck.
        if (const auto dragon = DragonSprite(); dragon && dragon->GetScale() > 0.01F)
            dragon->SetScale(dragon->GetScale() - 0.005F);
    }
    m_Message->DrawGameOver(270, 178, m_GameOverAlpha);
}
