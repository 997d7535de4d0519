// Builds the state report from the globals and the current screen's public getters.
#include "Report.h"

#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/Globals.h"
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
            return "play";
        case StateTutorial:
            return "tutorial";
        default:
            return nullptr;
    }
}
}  // namespace

json ReportTitle() {
    const auto* title = dynamic_cast<const cTitleState*>(gCurrentState.get());
    if (!title) return nullptr;
    return json{{"selection", title->Selection()},
                {"inLevelSelect", title->InLevelSelect()},
                {"selectedLevel", title->SelectedLevel()},
                {"fading", title->Fading()}};
}

json ReportPlay() { return nullptr; }

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
    if (!gEngine) return scores;
    const GfxUtility& utility = gEngine->GetUtility();
    for (int32_t i = 1; i <= 10; ++i)
        scores.push_back(json{{"initials", utility.GetHighScoreName(i)}, {"score", utility.GetHighScoreValue(i)}});
    return scores;
}

json BuildReport(int32_t frame) {
    json report;
    report["tick"] = GetTickCount();
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
