// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the state report from the globals and the current screen's public getters.
#include "Report.h"

#include <cmath>

#include "base/Globals.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/cBaseState.h"
#include "ui/cTitleState.h"
#include "ui/cTutorialState.h"

using nlohmann::json;

namespace {
json StateName() {
    switch (CurrentStateNumber()) {
        case StateTitle:
            return "title";
        case StatePlay:
        case StateLevelFile:
        case StateEndless:
            return "play";
        case StateTutorial:
            return "tutorial";
        default:
            return nullptr;
    }
}
}  // namespace

std::string ReportText(int32_t frame) {
    return BuildReport(frame).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

json ReportTitle() {
    const auto* title = dynamic_cast<const cTitleState*>(gCurrentState.get());
    if (!title) return nullptr;
    return json{{"selection", title->Selection()},
                {"inLevelSelect", title->InLevelSelect()},
                {"selectedLevel", title->SelectedLevel()},
                {"fading", title->Fading()}};
}

namespace {
json QueueOrb(const OrbRef& orb) {
    if (!orb) return nullptr;
    return json{{"key", orb->Key()}, {"type", orb->OrbType()}};
}
}  // namespace

json ReportPlay() {
    const auto* play = dynamic_cast<const cPlayState*>(gCurrentState.get());
    if (!play) return nullptr;
    const cScores* scores = play->Scores();
    json report{{"score", scores ? scores->CurrentScore() : 0},
                {"position", scores ? scores->CurrentPosition() : 0},
                {"levelIntro", play->LevelIntro()},
                {"levelComplete", play->LevelComplete()},
                {"gameOver", play->GameOver()},
                {"allLevelsDone", play->AllLevelsDone()},
                {"riseInterval", play->RiseInterval()},
                {"cloudsOn", play->CloudsOn()},
                {"floorY", play->FloorY()},
                {"initialsCursor", play->InitialsCursor()},
                {"bonusText", play->BonusText()}};
    const auto dragon = play->DragonSprite();
    report["dragon"] = json{{"x", dragon ? dragon->GetX() : 0.0F}, {"y", dragon ? dragon->GetY() : 0.0F},
                            {"column", play->DragonColumn()},      {"moving", play->DragonMoving()},
                            {"firing", play->DragonFiring()},      {"scale", dragon ? dragon->GetScale() : 0.0F}};
    report["current"] = QueueOrb(play->CurrentOrb());
    report["next"] = QueueOrb(play->NextOrb());
    json board = json::array();
    for (const auto& entry : play->Board().Entries()) {
        const cOrb& orb = *entry.value;
        board.push_back(json{{"key", orb.Key()},
                             {"column", orb.PositionX()},
                             {"row", orb.PositionY()},
                             {"type", orb.OrbType()},
                             {"x", orb.PixelX()},
                             {"y", orb.PixelY()},
                             {"destroyed", orb.IsDestroyed()}});
    }
    report["board"] = board;
    json moving = json::array();
    for (const auto& entry : play->Moving().Entries()) {
        const cOrb& orb = *entry.value;
        moving.push_back(json{{"key", orb.Key()},
                              {"column", orb.PositionX()},
                              {"row", orb.PositionY()},
                              {"type", orb.OrbType()},
                              {"x", orb.PixelX()},
                              {"y", orb.PixelY()},
                              {"fired", orb.IsFired()},
                              {"falling", orb.IsFalling()}});
    }
    report["moving"] = moving;
    // A bonus item carries its kind and value in the sprite's first two data values.
    json items = json::array();
    for (const auto& entry : play->BonusItems().Entries()) {
        const GfxSprite& item = entry.value->sprite;
        items.push_back(json{{"kind", std::lrint(item.GetData(1))},
                             {"value", std::lrint(item.GetData(2))},
                             {"x", std::lrint(item.GetX())},
                             {"y", std::lrint(item.GetY())}});
    }
    report["bonusItems"] = items;
    json popups = json::array();
    for (const auto& entry : play->Popups().Entries())
        popups.push_back(json{{"id", entry.value->ID()}, {"amount", entry.value->Amount()}});
    report["popups"] = popups;
    return report;
}

json ReportTutorial() {
    const auto* tutorial = dynamic_cast<const cTutorialState*>(gCurrentState.get());
    if (!tutorial) return nullptr;
    return json{{"step", tutorial->LessonStep()},
                {"showLesson", tutorial->ShowLesson()},
                {"canShoot", tutorial->CanShoot()},
                {"targetHit", tutorial->TargetHit()}};
}

json ReportScores() {
    json scores = json::array();
    // In play, the table as the player sees it: the stored entries with the current game's.
    const auto* play = dynamic_cast<const cPlayState*>(gCurrentState.get());
    if (const cScores* live = play ? play->Scores() : nullptr) {
        for (int32_t i = 1; i <= 10; ++i)
            scores.push_back(json{{"initials", live->HighScore_Initials(i)}, {"score", live->HighScore(i)}});
        return scores;
    }
    if (!gEngine) return scores;
    const GfxUtility& utility = gEngine->GetUtility();
    for (int32_t i = 1; i <= 10; ++i)
        scores.push_back(json{{"initials", utility.GetHighScoreName(i)}, {"score", utility.GetHighScoreValue(i)}});
    return scores;
}

json BuildReport(int32_t frame) {
    json report;
    report["tick"] = static_cast<uint32_t>(GetTickCount());  // the counter wraps at 2^32, as the game's
    report["frame"] = frame;
    report["running"] = gRunning;
    report["paused"] = gPaused;
    report["inactive"] = gInactive;
    report["currentLevel"] = gCurrentLevel;
    report["highestLevel"] = gHighestLevel;
    report["musicVolume"] = gMusicVolume;
    report["soundVolume"] = gSoundVolume;
    report["state"] = StateName();
    report["title"] = ReportTitle();
    report["play"] = ReportPlay();
    report["tutorial"] = ReportTutorial();
    report["scores"] = ReportScores();
    return report;
}
