// The title screen and level select: keys, joystick and mouse share one selection; New Game,
// Tutorial and OK fade out for a second and then switch state; Exit ends the run at once.
#include <gtest/gtest.h>

#include <vector>

#include "Fixture.h"
#include "ui/GameStates.h"
#include "ui/cTitleState.h"

namespace {
using kwtest::HeadlessGame;
using Action = cTitleState::Action;

// Stands in for the play and tutorial screens: records which state numbers were made.
std::vector<int> gMadeStates;
class FakeState final : public cBaseState {
public:
    explicit FakeState(int number) { gMadeStates.push_back(number); }
    void InitializeGraphics() override {}
    void HandleInput() override {}
    void DrawState() override {}
    void ProcessState() override {}
    void Destroy() override {}
};

// Centres of the buttons' pictures, and the band where New Game and Tutorial overlap.
struct Point {
    float x, y;
};
constexpr Point kNewGame{321, 200}, kTutorial{321, 265}, kLevelSelect{322, 317}, kExit{321, 367};
constexpr Point kBack{86, 182}, kOK{575, 179}, kNowhere{600, 450}, kOverlap{321, 240};

class TitleTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        gMadeStates.clear();
        RegisterGameStates();
        RegisterStateFactory(StatePlay, [] { return std::make_unique<FakeState>(StatePlay); });
        RegisterStateFactory(StateTutorial, [] { return std::make_unique<FakeState>(StateTutorial); });
        MouseTo(kNowhere.x, kNowhere.y);
        SetState(StateTitle);
    }

    // The title screen while it is current; null once it has handed over.
    cTitleState* Title() const { return dynamic_cast<cTitleState*>(gCurrentState.get()); }
    void Hover(Point p) {
        MouseTo(p.x, p.y);
        Frame();
    }
    void Click(Point p) { ClickAt(p.x, p.y); }
    void OpenLevelSelect() {
        Click(kLevelSelect);
        ASSERT_TRUE(Title()->InLevelSelect());
        Hover(kNowhere);
    }
    void JoyAxis(char axis, int32_t value) {
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

TEST_F(TitleTest, StartsOnNewGameWithItsSceneryAndTheTitleMusic) {
    Frame();
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(Title()->Selection(), Action::NewGame);
    EXPECT_FALSE(Title()->InLevelSelect());
    EXPECT_FALSE(Title()->Fading());
    ASSERT_EQ(gSprites->Count(), 2);
    EXPECT_TRUE(gSprites->Item("bg")->GetVisible());
    EXPECT_FALSE(gSprites->Item("levelselect")->GetVisible());
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "game\\sounds\\puzzle3.mp3");
    // The selected button shows its highlighted picture, the others their plain one.
    EXPECT_EQ(kwtest::Rgb(PixelAt(kNewGame.x, kNewGame.y)), kwtest::Rgb(kwtest::kHighlitColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(kExit.x, kExit.y)), kwtest::Rgb(kwtest::kButtonsColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(10, 10)), kwtest::Rgb(kwtest::kTitleColour));
}

struct KeyWalk {
    const char* name;
    std::vector<int32_t> keys;
    int expected;
};
class TitleKeys : public TitleTest, public ::testing::WithParamInterface<KeyWalk> {};

TEST_P(TitleKeys, UpAndDownWalkTheFourItemsAndWrapAround) {
    for (int32_t key : GetParam().keys) TapKey(key);
    Frame();
    EXPECT_EQ(Title()->Selection(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, TitleKeys,
    ::testing::Values(KeyWalk{"DownOnce", {GfxKey::Down}, Action::Tutorial},
                      KeyWalk{"DownThreeTimes", {GfxKey::Down, GfxKey::Down, GfxKey::Down}, Action::Exit},
                      KeyWalk{"DownFromExitWraps", {GfxKey::Down, GfxKey::Down, GfxKey::Down, GfxKey::Down},
                              Action::NewGame},
                      KeyWalk{"UpFromNewGameWraps", {GfxKey::Up}, Action::Exit},
                      KeyWalk{"LeftAndRightAreNotRead", {GfxKey::Right, GfxKey::Left}, Action::NewGame}),
    [](const ::testing::TestParamInfo<KeyWalk>& info) { return info.param.name; });

TEST_F(TitleTest, AHeldStickMovesTheSelectionAtMostOncePer200ms) {
    ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    JoyAxis('y', 1);
    int moves = 0;
    int last = Title()->Selection();
    std::vector<uint32_t> when;
    for (uint32_t t = 0; t < 1000; t += 16) {
        Frame();
        if (Title()->Selection() != last) {
            ++moves;
            when.push_back(t);
            last = Title()->Selection();
        }
    }
    ASSERT_EQ(moves, 5);  // at 0, 208, 416, 624 and 832 ms
    for (size_t i = 1; i < when.size(); ++i) EXPECT_GT(when[i] - when[i - 1], 200u);
    EXPECT_EQ(Title()->Selection(), Action::Tutorial);  // five steps down wrap once round the four

    JoyAxis('y', -1);
    RunFor(200);
    EXPECT_EQ(Title()->Selection(), Action::NewGame) << "the stick up moves the other way";
}

TEST_F(TitleTest, HoverSelectsTheButtonUnderTheCursorAndBeatsTheKeys) {
    Hover(kExit);
    EXPECT_EQ(Title()->Selection(), Action::Exit);
    TapKey(GfxKey::Up);
    EXPECT_EQ(Title()->Selection(), Action::Exit) << "the hover test in the same frame selects it again";
    Hover(kNowhere);
    EXPECT_EQ(Title()->Selection(), Action::Exit) << "a cursor over no button keeps the selection";
    Hover(kOverlap);
    EXPECT_EQ(Title()->Selection(), Action::Tutorial) << "where New Game and Tutorial overlap, Tutorial wins";
}

TEST_F(TitleTest, ClickingWhereNewGameAndTutorialOverlapStartsTheTutorial) {
    Click(kOverlap);
    EXPECT_TRUE(Title()->Fading());
    EXPECT_EQ(ClickSounds(), 1) << "only Tutorial's click matches the selection";
    RunFor(1100, 100);  // past the one-second fade
    EXPECT_EQ(gMadeStates, std::vector<int>{StateTutorial});
}

TEST_F(TitleTest, EnterOnNewGameFadesForOneSecondThenStartsPlayWithoutTouchingTheLevel) {
    gCurrentLevel = 4;
    TapKey(GfxKey::Enter);
    ASSERT_TRUE(Title()->Fading());
    EXPECT_EQ(ClickSounds(), 1);
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "") << "the title music is unloaded as the fade starts";

    RunFor(960);  // 976 ms after the start: still fading, the title stays current
    ASSERT_NE(Title(), nullptr);
    EXPECT_TRUE(gMadeStates.empty());
    Frames(3);  // past 1000 ms: the fade's end hands over while the title draws
    EXPECT_EQ(Title(), nullptr);
    EXPECT_EQ(gMadeStates, std::vector<int>{StatePlay});
    EXPECT_EQ(gCurrentLevel, 4);
    EXPECT_EQ(gSprites->Count(), 0) << "the title took its scenery with it";
}

TEST_F(TitleTest, EnterOnExitEndsTheRunAtOnceWithTheClickSound) {
    TapKey(GfxKey::Up);
    TapKey(GfxKey::Enter);
    EXPECT_FALSE(gRunning);
    EXPECT_FALSE(Title()->Fading());
    EXPECT_EQ(ClickSounds(), 1);
}

TEST_F(TitleTest, TheJoystickButtonActsOnTheSelection) {
    ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    TapKey(GfxKey::Down);
    TapKey(GfxKey::Down);
    JoyTap(0);
    EXPECT_TRUE(Title()->InLevelSelect());
}

struct LevelWalk {
    const char* name;
    int32_t highest;
    std::vector<int32_t> keys;
    int expected;
};
class LevelSelectKeys : public TitleTest, public ::testing::WithParamInterface<LevelWalk> {};

TEST_P(LevelSelectKeys, TheLevelWrapsOverOneToTheHighestUnlocked) {
    gHighestLevel = GetParam().highest;
    OpenLevelSelect();
    EXPECT_EQ(Title()->SelectedLevel(), 1);
    for (int32_t key : GetParam().keys) TapKey(key);
    EXPECT_EQ(Title()->SelectedLevel(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, LevelSelectKeys,
    ::testing::Values(LevelWalk{"UpShowsTwo", 3, {GfxKey::Up}, 2}, LevelWalk{"RightShowsTwo", 3, {GfxKey::Right}, 2},
                      LevelWalk{"UpWithOnlyOneLevelStaysOnOne", 1, {GfxKey::Up}, 1},
                      LevelWalk{"DownFromOneShowsTheHighest", 5, {GfxKey::Down}, 5},
                      LevelWalk{"LeftFromOneShowsTheHighest", 5, {GfxKey::Left}, 5},
                      LevelWalk{"UpPastTheHighestWrapsToOne", 2, {GfxKey::Up, GfxKey::Up}, 1},
                      // A damaged settings file: level 1 is still the only choice, never 0 or below.
                      LevelWalk{"HighestBelowOneCountsAsOne", 0, {GfxKey::Down, GfxKey::Up}, 1}),
    [](const ::testing::TestParamInfo<LevelWalk>& info) { return info.param.name; });

TEST_F(TitleTest, LevelSelectShowsHeadingLabelNumberBackAndOK) {
    OpenLevelSelect();
    EXPECT_TRUE(gSprites->Item("levelselect")->GetVisible());
    EXPECT_EQ(ClickSounds(), 1);
    // Heading, "Level" label at (210, 260), the number 1 from (380, 270), Back and OK.
    EXPECT_EQ(kwtest::Rgb(PixelAt(230, 185)), kwtest::Rgb(kwtest::kHighlitColour));
    EXPECT_EQ(PixelAt(210, 260), kwtest::TextTexel(170, 72));
    EXPECT_EQ(PixelAt(380, 270), kwtest::TextTexel(30, 228));
    EXPECT_EQ(kwtest::Rgb(PixelAt(kBack.x, kBack.y)), kwtest::Rgb(kwtest::kBackOkColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(kOK.x, kOK.y)), kwtest::Rgb(kwtest::kBackOkColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(kExit.x, kExit.y)), kwtest::Rgb(kwtest::kTitleColour)) << "title buttons hidden";
}

TEST_F(TitleTest, OKWithLevel7FadesOutThenStartsPlayAtLevel7) {
    gHighestLevel = 9;
    OpenLevelSelect();
    for (int i = 0; i < 6; ++i) TapKey(GfxKey::Right);
    ASSERT_EQ(Title()->SelectedLevel(), 7);
    Click(kOK);
    ASSERT_TRUE(Title()->Fading());
    RunFor(1100, 100);  // past the one-second fade
    EXPECT_EQ(gMadeStates, std::vector<int>{StatePlay});
    EXPECT_EQ(gCurrentLevel, 7);
}

TEST_F(TitleTest, EnterOnLevelSelectIsOKAndStick3IsBack) {
    ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    OpenLevelSelect();
    JoyTap(3);
    EXPECT_FALSE(Title()->InLevelSelect());
    EXPECT_FALSE(gSprites->Item("levelselect")->GetVisible());
    EXPECT_EQ(Title()->Selection(), Action::NewGame);

    OpenLevelSelect();
    TapKey(GfxKey::Enter);
    EXPECT_EQ(Title()->Selection(), Action::OK);
    EXPECT_TRUE(Title()->Fading());
}

TEST_F(TitleTest, ClicksOnHiddenTitleButtonsDoNothingOnLevelSelect) {
    gHighestLevel = 3;
    OpenLevelSelect();
    TapKey(GfxKey::Up);
    const int32_t sounds = ClickSounds();
    Click(kExit);
    Click(kLevelSelect);  // even the selected item's own button is refused on this screen
    EXPECT_TRUE(gRunning);
    EXPECT_TRUE(Title()->InLevelSelect());
    EXPECT_EQ(Title()->SelectedLevel(), 2);
    EXPECT_EQ(ClickSounds(), sounds);
}

TEST_F(TitleTest, OnceTheFadeHasBegunTheSelectionNoLongerMoves) {
    ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    TapKey(GfxKey::Enter);  // New Game
    ASSERT_TRUE(Title()->Fading());
    const int32_t sounds = ClickSounds();

    TapKey(GfxKey::Down);
    Hover(kExit);
    JoyAxis('y', -1);
    Frames(20);
    JoyAxis('y', 0);
    Click(kExit);
    JoyTap(0);
    TapKey(GfxKey::Enter);
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(Title()->Selection(), Action::NewGame);
    EXPECT_TRUE(gRunning) << "a click on Exit during the fade starts nothing";
    EXPECT_EQ(ClickSounds(), sounds);

    RunFor(1100, 100);
    EXPECT_EQ(gMadeStates, std::vector<int>{StatePlay}) << "the fade ends in the state that was chosen";
}

TEST_F(TitleTest, HoveringBackDuringTheOKFadeCannotLeaveTheScreenCovered) {
    gHighestLevel = 3;
    OpenLevelSelect();
    TapKey(GfxKey::Up);
    Click(kOK);
    ASSERT_TRUE(Title()->Fading());
    Hover(kBack);
    TapKey(GfxKey::Up);
    EXPECT_EQ(Title()->Selection(), Action::OK);
    EXPECT_EQ(Title()->SelectedLevel(), 2) << "the level shown when OK was chosen is the one that starts";
    RunFor(1100, 100);  // past the one-second fade
    EXPECT_EQ(gMadeStates, std::vector<int>{StatePlay});
    EXPECT_EQ(gCurrentLevel, 2);
}
}  // namespace
