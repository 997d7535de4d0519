// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted tutorial: the play state on the tutorial board, with fourteen lesson boxes that
// freeze the board, lesson shots judged by column, missed shots taken back, and a hand-over to play.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "play/cPlayState.h"

// One lesson shot the script waits for, tried in the order of LessonShots(); the first whose
// condition holds judges the shot and no other does.
struct LessonShot {
    int32_t target;    // index into the targets hit: 0 blue, 1 red, 2 green, 3 yellow
    int32_t fromStep;  // applies from this lesson step on, while its target is not yet hit
    int32_t firstHit;  // firing columns firstHit..lastHit count as a hit
    int32_t lastHit;
    int32_t hitStep;   // lesson step after a hit
    int32_t hitOrb;    // orb type handed over after a hit
    int32_t missStep;  // lesson step (and box) after a miss
    int32_t missOrb;   // orb type handed over again after a miss
};

// What the lesson-shot checks make of one shot.
struct LessonVerdict {
    int32_t target = -1;  // -1 when no check applies: the shot is not judged
    bool hit = false;
    int32_t step = 0;  // the lesson step afterwards
    int32_t orbToFire = 0;
};

class cTutorialState final : public cPlayState {
public:
    static constexpr int32_t kFreePlayStep = 14;  // the script is done; the board is played freely

    cTutorialState();  // runs InitializeGraphics

    void InitializeGraphics() override;

    void m_RestartButton_ButtonClick(int32_t& mouseButton) override;
    void m_ExitButton_ButtonClick(int32_t& mouseButton) override;

    int32_t LessonStep() const { return m_LessonStep; }
    bool ShowLesson() const { return m_ShowLesson; }
    bool CanShoot() const { return m_CanShoot; }
    const std::array<bool, 4>& TargetHit() const { return m_TargetHit; }

    static std::span<const LessonShot> LessonShots();
    static LessonVerdict JudgeLessonShot(int32_t step, const std::array<bool, 4>& targetHit, int32_t column);
    // The box of a lesson step: its lines joined by CR LF, and its height; "" and 0 for no box.
    static std::string LessonText(int32_t step);
    static int32_t LessonHeight(int32_t step);
    static std::filesystem::path TutorialLevelPath();

protected:
    std::filesystem::path LevelFilePath() override;
    std::string LevelReportName() const override { return "tutorial"; }
    void PrepareLevelNumber() override {}  // the tutorial neither reads nor unlocks a level number
    bool LevelHasCloudsLine() const override { return false; }
    void FillQueue() override;
    bool HasMusic() const override { return false; }
    bool HasChainBonus() const override { return false; }
    bool MayShoot() const override { return m_CanShoot && !m_ShowLesson; }
    void OnOrbFired() override;
    void OnBurntOrbRemoved() override;
    void OnBonusItemDone() override;
    void AfterDragonUpdate() override { AutoShowLesson(); }
    bool IsBoardFrozen() const override { return m_ShowLesson; }
    bool HasLevelIntro() const override { return false; }
    bool SavesScores() const override { return false; }  // tutorial points are practice
    void HandleKeyboard() override;
    void HandleJoystick() override;
    void DrawHighScoreInitials() override {}  // the tutorial's table shows scores only
    void DrawLevelLabel() override;
    void DrawAfterQueue() override { DrawLesson(); }
    void ShowLevelComplete() override { DrawTutorialComplete(); }

private:
    void DrawLesson();
    void CheckLessonShot();
    void AutoShowLesson();
    void DrawTutorialComplete();
    void AdvanceLesson();
    void TakeShotBack();
    void ReplaceOrbToFire(int32_t orbType);
    void ShowBoxAndAllowShot();

    int32_t m_LessonStep = 0;           // 0..13 the script, 14 free play
    bool m_ShowLesson = false;          // the box of m_LessonStep shows; the board stands still
    bool m_CanShoot = false;            // the script allows the next shot
    std::array<bool, 4> m_TargetHit{};  // lesson shots done: blue, red, green, yellow
    std::string m_LastShotKey;          // key of the orb the last shot put into m_Moving
    bool m_TutorialDone = false;        // the complete display has begun
    int16_t m_TutorialAlpha = 0;        // alpha of the Level and Complete labels, 0..255
    int32_t m_TutorialAlphaTime = 0;    // tick of the last alpha change
};
