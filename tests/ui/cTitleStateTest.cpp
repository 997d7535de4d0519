// SPDX-License-Identifier: GPL-3.0-or-later
// The title screen and level select: keys, joystick and mouse share one selection; New Game,
// Tutorial and OK fade out for a second and then switch state; Exit ends the run at once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/World.h"
#include "ui/GameStates.h"
#include "ui/cTitleState.h"

namespace {
using Action = cTitleState::Action;

// Stands in for the play and tutorial screens: records which state numbers were made.
std::vector<int> gMade;
class FakeState final : public cBaseState {
public:
    explicit FakeState(int number) { gMade.push_back(number); }
    void InitializeGraphics() override {}
    void HandleInput() override {}
    void DrawState() override {}
    void ProcessState() override {}
    void Destroy() override {}
};

// Points on the buttons' pictures; kOverlap lies on both New Game and Tutorial.
struct Point {
    float x, y;
};
constexpr Point kLevelSelect{322, 317}, kExit{321, 367}, kOK{575, 179}, kOverlap{321, 240};

class TitleTest : public kwtest::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        gMade.clear();
        RegisterGameStates();
        RegisterStateFactory(StatePlay, [] { return std::make_unique<FakeState>(StatePlay); });
        RegisterStateFactory(StateTutorial, [] { return std::make_unique<FakeState>(StateTutorial); });
        Hover({600, 450});  // over no button
        SetState(StateTitle);
        ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    }
    cTitleState* Title() const { return dynamic_cast<cTitleState*>(gCurrentState.get()); }
    void Hover(Point p) {
        gMouse->X = p.x;
        gMouse->Y = p.y;
        Frame();
    }
    void Click(Point p) { ClickAt(p.x, p.y); }
    // Level files 1 to 9 are there, but for level 8.
    void OpenLevelSelect(int32_t highest) {
        for (int32_t level = 1; level <= 9; ++level)
            if (level != 8) m_Folder.WriteLevel("levels", level, "");
        gHighestLevel = highest;
        Click(kLevelSelect);
        Hover({600, 450});
        ASSERT_TRUE(Title()->InLevelSelect());
    }
    void Joy(char axis, int32_t value) {
        gEngine->InjectJoyAxis(axis, value);
        gEngine->PumpEvents();
    }
    void JoyTap(int32_t button) {
        gEngine->InjectJoyButton(button, true);
        gEngine->PumpEvents();
        Frame();
        gEngine->InjectJoyButton(button, false);
        gEngine->PumpEvents();
    }
};

struct Walk {
    const char* name;
    int32_t highest;  // 0: the title screen, else level select with this many levels unlocked
    std::vector<int32_t> keys;
    int expected;  // the selection on the title screen, the level on level select
};
class KeyWalk : public TitleTest, public ::testing::WithParamInterface<Walk> {};

TEST_P(KeyWalk, SelectionAndLevelWrapAround) {
    if (GetParam().highest != 0) OpenLevelSelect(GetParam().highest);
    for (int32_t key : GetParam().keys) TapKey(key);
    EXPECT_EQ(GetParam().highest ? Title()->SelectedLevel() : Title()->Selection(), GetParam().expected);
}

using namespace GfxKey;
INSTANTIATE_TEST_SUITE_P(
    Keys, KeyWalk,
    ::testing::Values(
        Walk{"UpFromNewGameWrapsToExitAndRightIsNotRead", 0, {Up, Right}, Action::Exit},
        Walk{"DownWrapsPastExitAndLeftIsNotRead", 0, {Down, Down, Down, Down, Down, Left}, Action::Tutorial},
        Walk{"UpAndRightRaiseTheLevelAndWrapToOne", 3, {Up, Right, Up, Up}, 2},
        Walk{"DownAndLeftLowerTheLevelAndWrapToTheHighest", 5, {Down, Left}, 4},
        // Unlocked on levels since removed: only the levels with a file are offered.
        Walk{"OnlyLevelsWithAFileAreOffered", 12, {Down, Down}, 7},
        // A damaged settings file: level 1 is still the only choice, never 0 or below.
        Walk{"HighestBelowOneCountsAsOne", -3, {Down}, 1}),
    [](const auto& info) { return info.param.name; });

TEST_F(TitleTest, AHeldStickMovesTheSelectionAtMostOncePer200ms) {
    Joy('y', 1);
    RunFor(1000);  // moves at 0, 208, 416, 624 and 832 ms
    EXPECT_EQ(Title()->Selection(), Action::Tutorial);
    Joy('y', -1);
    RunFor(200);
    EXPECT_EQ(Title()->Selection(), Action::NewGame);
    Joy('y', 0);
    JoyTap(0);
    EXPECT_TRUE(Title()->Fading()) << "the stick's button 0 acts on the selection";
}

TEST_F(TitleTest, HoverSelectsTheButtonUnderTheCursorAndBeatsTheKeys) {
    Hover(kExit);
    TapKey(Up);
    EXPECT_EQ(Title()->Selection(), Action::Exit) << "the same frame's hover selects it again";
    Hover({600, 450});
    EXPECT_EQ(Title()->Selection(), Action::Exit) << "a cursor over no button keeps the selection";
    Hover(kOverlap);
    EXPECT_EQ(Title()->Selection(), Action::Tutorial) << "where New Game and Tutorial overlap, Tutorial wins";
    Click(kOverlap);
    EXPECT_EQ(ClickSounds(), 1) << "both buttons click, only Tutorial matches the selection";
    RunFor(1100, 100);
    EXPECT_EQ(gMade, std::vector<int>{StateTutorial});
}

TEST_F(TitleTest, StartsOnNewGameWithTheTitleMusicAndEnterFadesForOneSecondThenStartsPlayAtTheSameLevel) {
    gCurrentLevel = 4;
    Frame();
    EXPECT_EQ(Title()->Selection(), Action::NewGame);
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "game\\sounds\\puzzle3.mp3");
    EXPECT_EQ(kwtest::Rgb(PixelAt(321, 200)), kwtest::Rgb(kwtest::kHighlitColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(kExit.x, kExit.y)), kwtest::Rgb(kwtest::kButtonsColour));
    TapKey(Enter);
    EXPECT_TRUE(Title()->Fading());
    EXPECT_EQ(ClickSounds(), 1);
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "");
    RunFor(992);  // frames up to 992 ms after the start: still fading
    EXPECT_TRUE(gMade.empty());
    Frame();  // 1008 ms: the fade's end hands over while the title draws
    EXPECT_EQ(Title(), nullptr);
    EXPECT_EQ(gMade, std::vector<int>{StatePlay});
    EXPECT_EQ(gCurrentLevel, 4);
    EXPECT_EQ(gSprites->Count(), 0);
}

TEST_F(TitleTest, LevelSelectShowsHeadingLevelAndNumberRefusesTheHiddenTitleButtonsAndOKStartsThatLevel) {
    OpenLevelSelect(9);
    for (int i = 0; i < 6; ++i) TapKey(Right);
    EXPECT_TRUE(gSprites->Item("levelselect")->GetVisible());
    EXPECT_EQ(kwtest::Rgb(PixelAt(230, 185)), kwtest::Rgb(kwtest::kHighlitColour));
    EXPECT_EQ(PixelAt(210, 260), kwtest::TextTexel(170, 72));   // "Level"
    EXPECT_EQ(PixelAt(380, 270), kwtest::TextTexel(278, 228));  // "7"
    EXPECT_EQ(kwtest::Rgb(PixelAt(kExit.x, kExit.y)), kwtest::Rgb(kwtest::kTitleColour));
    Click(kExit);
    Click(kLevelSelect);  // even the selected item's own button is refused on this screen
    EXPECT_TRUE(gRunning);
    EXPECT_EQ(ClickSounds(), 1);
    Click(kOK);
    RunFor(1100, 100);
    EXPECT_EQ(gMade, std::vector<int>{StatePlay});
    EXPECT_EQ(gCurrentLevel, 7);
}

TEST_F(TitleTest, TheWheelTheArrowsAndTheNumbersHalvesStepTheLevelAsUpAndDownDo) {
    OpenLevelSelect(9);  // offers 1 to 7 and 9; the widest, 4, puts the right arrow at 428
    const auto wheel = [](int32_t steps) {
        gEngine->InjectMouseWheel(steps);
        gEngine->PumpEvents();
        Frame();
    };
    wheel(+1);
    EXPECT_EQ(Title()->SelectedLevel(), 2);
    wheel(-3);
    EXPECT_EQ(Title()->SelectedLevel(), 7);
    wheel(+17);  // twice round the eight levels and one more
    EXPECT_EQ(Title()->SelectedLevel(), 9);
    const std::pair<Point, int32_t> clicks[] = {
        {{355, 298}, 7},  // the left arrow
        {{418, 298}, 9},  // the right half of "7"
        {{385, 298}, 7},  // the left half of "9"
        {{450, 298}, 9},  // the right arrow
        {{400, 336}, 9},  // below the number
        {{460, 298}, 9},  // past the right arrow
    };
    for (const auto& [point, level] : clicks) {
        Click(point);
        EXPECT_EQ(Title()->SelectedLevel(), level) << point.x << ", " << point.y;
    }
    Hover({450, 298});
    gMouse->Button_Down(1);
    RunFor(500);
    gMouse->Button_Up(1);
    Frame();
    EXPECT_EQ(Title()->SelectedLevel(), 1) << "a held press steps once, and past the last level to the first";
    EXPECT_EQ(ClickSounds(), 1);
}

TEST_F(TitleTest, OnceTheFadeHasBegunNoInputMovesTheSelectionOrStartsAnything) {
    TapKey(Enter);
    TapKey(Down);
    Hover(kExit);
    Joy('y', -1);
    RunFor(100);
    Click(kExit);
    JoyTap(0);
    EXPECT_EQ(Title()->Selection(), Action::NewGame);
    EXPECT_TRUE(gRunning);
    EXPECT_EQ(ClickSounds(), 1);
    RunFor(1100, 100);
    EXPECT_EQ(gMade, std::vector<int>{StatePlay}) << "the fade ends in the state that was chosen";
}

}  // namespace
