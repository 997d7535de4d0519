// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of play as a player meets them: shots, burns, chains, falls, bonuses, the dragon,
// and when a level is won or lost.
#include <cmath>
#include <tuple>

#include "PlayFixture.h"
#include "game/PlayGeometry.h"

namespace playtest {
namespace {

using namespace OrbKind;

// ---- Shots and matching ----

TEST_F(RulesFixture, AShotBesideTwoOfItsColourBurnsAllThreeAndScoresTwelve) {
    for (int32_t c : {4, 5, 6}) m_Play->Place(Blue, c, 0);
    m_Play->Place(Red, 4, 1);
    m_Play->Place(Red, 6, 1);
    m_Play->Shoot(Red, 5);
    Play(3000);
    EXPECT_EQ(m_Play->Score(), 12);
    ASSERT_EQ(m_Play->Board().Count(), 3) << "only the blue row is left";
    for (int32_t c : {4, 5, 6}) EXPECT_EQ(m_Play->At(c, 0)->OrbType(), Blue);
}

TEST_F(RulesFixture, AShotWithOnlyOneNeighbourOfItsColourOrLandingOnAnotherColourBurnsNothing) {
    m_Play->Place(Blue, 4, 0);
    m_Play->Place(Red, 4, 1);
    m_Play->Place(Blue, 5, 0);
    m_Play->Shoot(Red, 5);  // lands on blue, beside one red
    Play(2000);
    m_Play->Shoot(Blue, 4);  // lands on red
    Play(2000);
    EXPECT_EQ(m_Play->Score(), 0);
    EXPECT_EQ(m_Play->Board().Count(), 5);
    for (const auto& entry : m_Play->Board().Entries()) EXPECT_FALSE(entry.value->IsDestroyed()) << entry.key;
}

TEST_F(RulesFixture, AnLShapedGroupBurnsAsOneAndADiagonalNeighbourDoesNotJoin) {
    for (int32_t c : {3, 4, 5}) m_Play->Place(Blue, c, 0);
    m_Play->Place(Blue, 5, 1);
    for (int32_t r : {1, 2, 3}) m_Play->Place(Yellow, 3, r);  // the long arm of the L
    m_Play->Place(Yellow, 5, 2);                              // touches the landing cell diagonally
    m_Play->Place(Yellow, 2, 0);                              // touches the arm diagonally
    m_Play->Shoot(Yellow, 4);                                 // lands at (4, 1), the foot of the L
    Play(3000);
    EXPECT_EQ(m_Play->Score(), 20) << "four orbs burn once: 4 x 5";
    for (int32_t r : {1, 2, 3}) EXPECT_EQ(m_Play->At(3, r), nullptr);
    ASSERT_NE(m_Play->At(5, 2), nullptr);
    EXPECT_FALSE(m_Play->At(5, 2)->IsDestroyed());
    ASSERT_NE(m_Play->At(2, 0), nullptr);
    EXPECT_FALSE(m_Play->At(2, 0)->IsDestroyed());
}

TEST_F(RulesFixture, AShotThatMissesEverythingCostsTenPointsOnceBelowTheScreen) {
    m_Play->Place(Purple, 0, 0);  // a colour left, so the level is not won
    m_Play->Shoot(Green, 9);
    Play(2500);
    EXPECT_EQ(m_Play->Score(), -10);
    EXPECT_EQ(m_Play->Moving().Count(), 0);
    EXPECT_EQ(m_Play->Board().Count(), 1);
}

// ---- Falling and chains ----

TEST_F(RulesFixture, ATwoOrbColumnFallingOntoAThirdOfItsColourBurnsAllThreeOnceWithAChainBonus) {
    m_Play->Place(Red, 4, 0);
    m_Play->Place(Yellow, 4, 1)->Destroy();  // burning away under the column
    m_Play->Place(Red, 4, 2);
    m_Play->Place(Red, 4, 3);
    for (int frames = 0; frames < 300 && m_Play->Score() == 0; ++frames) Play(16);
    EXPECT_EQ(m_Play->Score(), 72) << "12 for three orbs and 60 chain bonus";
    ASSERT_EQ(m_Play->Popups().Count(), 1);
    EXPECT_EQ(m_Play->Popups().Item(1)->Amount(), 60);
    Play(1600);
    EXPECT_EQ(m_Play->Popups().Count(), 0) << "a popup lives 1.5 s";
    Play(1400);
    EXPECT_EQ(m_Play->Score(), 72) << "the group burns once";
    EXPECT_EQ(m_Play->Board().Count(), 0);
}

TEST_F(RulesFixture, AnOrbRestingOnABurningOrbWaitsUntilTheBurnHasEnded) {
    m_Play->Place(Green, 4, 0)->Destroy();
    m_Play->Place(Blue, 4, 1);
    Play(160);
    EXPECT_NE(m_Play->At(4, 1), nullptr) << "still held by the burning orb";
    Play(2000);
    ASSERT_NE(m_Play->At(4, 0), nullptr);
    EXPECT_EQ(m_Play->At(4, 0)->OrbType(), Blue);
    EXPECT_EQ(m_Play->At(4, 0)->PixelY(), 450);
}

class FallingKinds : public RulesFixture, public ::testing::WithParamInterface<std::tuple<int32_t, bool>> {};

TEST_P(FallingKinds, AnUnsupportedOrbFallsWithItsStackUnlessItIsTheBlackOrbThatNeverFalls) {
    const auto [type, falls] = GetParam();
    m_Play->Place(type, 4, 2);
    m_Play->Place(Red, 4, 3);
    Play(1500);
    EXPECT_EQ(m_Play->Moving().Count(), 0);
    const int32_t bottom = falls ? 0 : 2;
    ASSERT_NE(m_Play->At(4, bottom), nullptr);
    EXPECT_EQ(m_Play->At(4, bottom)->OrbType(), type);
    ASSERT_NE(m_Play->At(4, bottom + 1), nullptr);
    EXPECT_EQ(m_Play->At(4, bottom + 1)->OrbType(), Red);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FallingKinds,
                         ::testing::Values(std::make_tuple(BlackFixed, false), std::make_tuple(BlackFalling, true),
                                           std::make_tuple(Invisible, true), std::make_tuple(Purple, true)));

// Frame length, orbs in the falling stack, the board's rise interval, one slow frame mid-fall.
class FallingStacks : public RulesFixture,
                      public ::testing::WithParamInterface<std::tuple<int32_t, int32_t, int32_t, bool>> {};

TEST_P(FallingStacks, AStackLandsInItsOwnOrderWithEveryOrbAtAnyFrameRate) {
    const auto [frameMs, height, riseInterval, catchUp] = GetParam();
    static constexpr int32_t kColours[] = {Red, Blue, Green, Yellow, Purple};
    m_Play->m_RiseInterval = riseInterval;
    for (int32_t i = height - 1; i >= 0; --i) m_Play->Place(kColours[i], 4, 3 + i);  // top row first, as levels
    m_Play->Place(BlackFixed, 4, 2)->Destroy();                                      // burns away under the stack
    for (int32_t t = 0; t < 1500; t += frameMs) {
        AdvanceVirtualClock(catchUp && t / frameMs == 300 / frameMs ? 100 : frameMs);
        m_Play->ProcessState();
    }
    EXPECT_EQ(m_Play->Moving().Count(), 0);
    EXPECT_EQ(m_Play->Board().Count(), height);
    for (int32_t i = 0; i < height; ++i) {
        ASSERT_NE(m_Play->At(4, i), nullptr) << "row " << i;
        EXPECT_EQ(m_Play->At(4, i)->OrbType(), kColours[i]) << "row " << i;
    }
    EXPECT_EQ(ErrorLog(), "");
}

INSTANTIATE_TEST_SUITE_P(Frames, FallingStacks,
                         ::testing::Combine(::testing::Values(5, 7, 10, 16, 33), ::testing::Values(2, 3, 5),
                                            ::testing::Values(20, 1000), ::testing::Bool()));

TEST_F(RulesFixture, AnOrbFallingToTheFloorLandsWhereTheRisenBoardNowStands) {
    m_Play->Place(Blue, 2, 0)->OrbBob().SetY(300);  // the bottom row has risen to y 300
    m_Play->Place(Red, 4, 3);
    Play(1500);
    ASSERT_NE(m_Play->At(4, 0), nullptr);
    EXPECT_EQ(m_Play->At(4, 0)->PixelY(), 300);
}

// ---- Fireballs ----

class FireballTargets : public RulesFixture, public ::testing::WithParamInterface<int32_t> {};

TEST_P(FireballTargets, AFireballDestroysExactlyTheOrbItHits) {
    const int32_t type = GetParam();
    for (int32_t c : {3, 4, 5}) m_Play->Place(Blue, c, 0);
    m_Play->Place(type, 3, 1);
    const OrbRef target = m_Play->Place(type, 4, 1);
    m_Play->Place(type, 5, 1);
    m_Play->Shoot(Fireball, 4);
    Play(1200);
    EXPECT_TRUE(target->IsDestroyed());
    EXPECT_EQ(m_Play->Moving().Count(), 0) << "the fireball is spent";
    Play(1000);
    EXPECT_EQ(m_Play->At(4, 1), nullptr);
    EXPECT_EQ(m_Play->Board().Count(), 5);
    for (const auto& entry : m_Play->Board().Entries()) EXPECT_FALSE(entry.value->IsDestroyed()) << entry.key;
    EXPECT_EQ(m_Play->Score(), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FireballTargets, ::testing::Values(Red, BlackFalling, BlackFixed, Invisible));

// ---- White orbs and bonus items ----

TEST_F(RulesFixture, AWhiteOrbHitByAFallingOrbReleasesItsItem) {
    const OrbRef white = m_Play->Place(White, 2, 0);
    m_Play->Place(Yellow, 2, 1)->Destroy();
    m_Play->Place(Red, 2, 2);
    Play(1000);
    EXPECT_TRUE(white->IsDestroyed());
    EXPECT_EQ(m_Play->BonusItems().Count(), 1);
}

TEST_F(RulesFixture, WhiteOrbsBurntAsAGroupReleaseNothing) {
    for (int32_t c : {3, 4, 5}) m_Play->Place(Blue, c, 0);
    m_Play->Place(White, 3, 1);
    m_Play->Place(White, 5, 1);
    m_Play->Place(Yellow, 4, 1)->Destroy();
    m_Play->Place(White, 4, 2);  // falls between the other two
    Play(2500);
    EXPECT_EQ(m_Play->Board().Count(), 3) << "the three white orbs burnt";
    EXPECT_EQ(m_Play->BonusItems().Count(), 0);
    EXPECT_EQ(m_Play->Score(), 72);
}

TEST_F(RulesFixture, ABurningWhiteOrbHitDirectlyReleasesItsItemOnceHoweverOftenItIsHit) {
    m_Play->Place(Purple, 0, 0);  // a colour left, so the level is not won
    m_Play->Place(BlackFixed, 2, 13);
    const OrbRef white = m_Play->Place(White, 2, 14);  // just under the dragon's mouth
    white->Destroy();                                  // lit by a group burn: nothing released yet
    m_Play->Shoot(Fireball, 2);
    Play(32);
    EXPECT_EQ(m_Play->BonusItems().Count(), 1) << "the first direct hit pays";
    Play(200);
    m_Play->Shoot(Red, 2);
    Play(32);
    ASSERT_NE(m_Play->At(2, 15), nullptr) << "the shot has landed on the burning orb";
    Play(500);
    EXPECT_EQ(m_Play->Score(), 1000) << "one chest caught: the second hit pays nothing";
}

struct Catch {
    int32_t kind;
    int32_t score;
    const char* text;
};

class CaughtItems : public RulesFixture, public ::testing::WithParamInterface<Catch> {};

TEST_P(CaughtItems, AWhiteOrbHitByAShotReleasesAnItemThatTakesEffectWhenTheDragonCatchesIt) {
    m_Play->Place(Purple, 0, 0);  // a colour left, so the level is not won
    const Catch expected = GetParam();
    m_Play->Place(White, 9, 0, expected.kind);
    m_Play->Shoot(Red, 9);
    const OrbRef next = m_Play->NextOrb();
    Play(3000);
    EXPECT_EQ(m_Play->BonusItems().Count(), 0);
    EXPECT_EQ(m_Play->Score(), expected.score);
    EXPECT_EQ(m_Play->BonusText(), expected.text);
    ASSERT_NE(m_Play->At(9, 0), nullptr) << "the shot falls into the burnt orb's place";
    EXPECT_EQ(m_Play->At(9, 0)->OrbType(), Red);
    if (expected.kind == BonusKind::Fireball) {
        EXPECT_EQ(m_Play->CurrentOrb()->OrbType(), Fireball);
        EXPECT_EQ(m_Play->NextOrb(), next) << "the orb after it is unchanged";
        m_Play->FireOrb();
        ASSERT_EQ(m_Play->Moving().Count(), 1);
        EXPECT_EQ(m_Play->Moving().Item(1)->OrbType(), Fireball);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, CaughtItems,
                         ::testing::Values(Catch{BonusKind::Chest, 1000, "+1000"},
                                           Catch{BonusKind::Tornado, -1000, "-1000"},
                                           Catch{BonusKind::Fireball, 0, "FIREBALL"}));

TEST_F(RulesFixture, AnItemRisingOutsideTheDragonsSpanIsLostWithoutEffect) {
    m_Play->Place(Purple, 0, 0);  // a colour left, so the level is not won
    m_Play->Place(White, 10, 0, BonusKind::Chest);
    m_Play->Shoot(Red, 10);
    m_Play->DragonSprite()->SetX(PlayGeometry::DragonX(9));  // the dragon moves one column left
    m_Play->m_DragonColumn = 9;
    Play(3000);
    EXPECT_EQ(m_Play->BonusItems().Count(), 0);
    EXPECT_EQ(m_Play->Score(), 0);
    EXPECT_EQ(m_Play->BonusText(), "");
}

TEST_F(RulesFixture, BonusItemsAlwaysGetAnIdentifierNotInUse) {
    std::vector<OrbRef> whites;
    for (int32_t c : {1, 2, 3}) {
        whites.push_back(m_Play->Place(White, c, 0));
        whites.back()->Destroy();
    }
    m_Play->ReleaseBonus(whites[0]);
    m_Play->ReleaseBonus(whites[1]);
    m_Play->m_BonusItems.Remove(1);
    m_Play->ReleaseBonus(whites[2]);
    ASSERT_EQ(m_Play->BonusItems().Count(), 2);
    EXPECT_NE(m_Play->BonusItems().KeyAt(1), m_Play->BonusItems().KeyAt(2));
    for (const auto& entry : m_Play->BonusItems().Entries())
        EXPECT_EQ(std::to_string(std::lrint(entry.value->GetData(4))), entry.key);
}

// ---- The dragon and firing ----

struct Edge {
    int32_t startColumn;
    int32_t direction;
    float x;
    int32_t column;
};

class DragonEdges : public RulesFixture, public ::testing::WithParamInterface<Edge> {};

TEST_P(DragonEdges, TheDragonStopsAtTheEdgeOverTheOuterColumnAndCanStillFire) {
    m_Play->Place(Purple, 9, 0);  // a colour left, so the level is not won
    const Edge edge = GetParam();
    m_Play->DragonSprite()->SetX(static_cast<float>(140 + 24 * edge.startColumn));
    m_Play->m_DragonColumn = edge.startColumn;
    for (int step = 0; step < 5; ++step) {
        m_Play->StartDragonMove(edge.direction);
        Play(100);
    }
    EXPECT_EQ(m_Play->DragonSprite()->GetX(), edge.x);
    EXPECT_EQ(m_Play->DragonColumn(), edge.column);
    m_Play->FireOrb();
    ASSERT_EQ(m_Play->Moving().Count(), 1);
    EXPECT_EQ(m_Play->Moving().Item(1)->PositionX(), edge.column);
    EXPECT_EQ(m_Play->Moving().Item(1)->PixelX(), 158 + 24 * edge.column);
}

INSTANTIATE_TEST_SUITE_P(Edges, DragonEdges, ::testing::Values(Edge{16, +1, 572, 18}, Edge{2, -1, 140, 0}));

TEST_F(RulesFixture, NoShotWhileTheDragonIsBetweenColumnsNorWithin200Milliseconds) {
    m_Play->Place(Purple, 0, 0);  // a colour left, so the level is not won
    m_Play->StartDragonMove(+1);
    Play(20);
    m_Play->FireOrb();
    EXPECT_EQ(m_Play->Moving().Count(), 0) << "between columns";
    Play(200);
    EXPECT_EQ(m_Play->DragonColumn(), 10);
    m_Play->FireOrb();
    EXPECT_EQ(m_Play->Moving().Count(), 1);
    Play(192);
    m_Play->FireOrb();
    EXPECT_EQ(m_Play->Moving().Count(), 1) << "still in the firing pose";
    Play(16);
    m_Play->FireOrb();
    EXPECT_EQ(m_Play->Moving().Count(), 2);
}

TEST_F(RulesFixture, FiringMovesTheQueueOnAndDrawsANewOrbAfterIt) {
    m_Play->Place(Green, 0, 0);
    const OrbRef current = m_Play->CurrentOrb();
    const OrbRef next = m_Play->NextOrb();
    m_Play->FireOrb();
    EXPECT_TRUE(current->IsFired());
    EXPECT_EQ(m_Play->CurrentOrb(), next);
    EXPECT_EQ(m_Play->CurrentOrb()->PixelX(), 30);
    ASSERT_NE(m_Play->NextOrb(), next);
    EXPECT_TRUE(m_Play->NextOrb()->OrbType() == Green || m_Play->NextOrb()->OrbType() == Fireball);
}

// ---- Winning and losing ----

TEST_F(RulesFixture, TheLevelIsNotWonWhileAColouredOrbStillFalls) {
    m_Play->Place(Red, 3, 0);
    m_Play->Place(Red, 5, 0);
    m_Play->Place(Red, 4, 3);  // falls between them and burns
    Play(100);
    ASSERT_EQ(m_Play->Moving().Count(), 1);
    EXPECT_FALSE(m_Play->LevelComplete());
    Play(300);
    EXPECT_FALSE(m_Play->LevelComplete()) << "burning orbs still count";
    Play(2000);
    EXPECT_TRUE(m_Play->LevelComplete());
    EXPECT_EQ(m_Play->Board().Count(), 0);
}

TEST_F(RulesFixture, ABoardOfBlackWhiteAndInvisibleOrbsIsWonAtOnceEvenWithAShotInFlight) {
    m_Play->Place(BlackFalling, 1, 0);
    m_Play->Place(BlackFixed, 2, 0);
    m_Play->Place(White, 3, 0);
    m_Play->Place(Invisible, 4, 0);
    m_Play->Shoot(Red, 9);
    Play(16);
    EXPECT_TRUE(m_Play->LevelComplete());
}

struct Danger {
    int32_t column;
    int32_t row;
    bool lost;
};

class Losses : public RulesFixture, public ::testing::WithParamInterface<Danger> {};

TEST_P(Losses, AStackThatReachesTheTopOrTheDragonLosesTheLevelButNotDuringTheIntro) {
    const Danger danger = GetParam();
    m_Play->Place(BlackFixed, danger.column, danger.row);
    m_Play->Place(Red, 0, 0);  // keeps the level from being won
    m_Play->m_LevelIntro = true;
    Play(500);
    EXPECT_FALSE(m_Play->GameOver()) << "nothing is lost during the intro";
    m_Play->m_LevelIntro = false;
    Play(16);
    EXPECT_EQ(m_Play->GameOver(), danger.lost);
    EXPECT_FALSE(m_Play->LevelComplete());
    if (danger.lost) {
        EXPECT_EQ(m_Play->InitialsCursor(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Stacks, Losses,
                         ::testing::Values(Danger{2, 19, true},     // above the top of the screen
                                           Danger{9, 16, true},     // under the dragon
                                           Danger{10, 16, false},   // as high, just right of the dragon
                                           Danger{9, 15, false}));  // just below the dragon

TEST_F(RulesFixture, TheBoardRisesOnePixelPerRiseIntervalAndTheFloorRisesWithIt) {
    m_Play->m_RiseInterval = 100;
    const OrbRef bottom = m_Play->Place(Blue, 4, 0);
    bottom->SetLastMoved(GetTickCount());
    Play(1008);  // 63 frames of 16 ms: a step every 112 ms
    EXPECT_EQ(bottom->PixelY(), 441);
    EXPECT_EQ(m_Play->FloorY(), 441);
}

// ---- Moving on ----

TEST_F(RulesFixture, AfterTheLastLevelTheGameCongratulatesInsteadOfLoadingAnother) {
    m_Play->m_LevelComplete = true;
    m_Play->AdvanceLevel();
    EXPECT_TRUE(m_Play->AllLevelsDone());
    EXPECT_EQ(gCurrentLevel, 1);
    EXPECT_TRUE(m_Play->IsPlayHalted()) << "the won board stays still";
    EXPECT_EQ(ErrorLog(), "");
}

// The next level may exist only in the player's own folder.
TEST_F(RulesFixture, AdvancingLoadsTheNextLevelWithTheDragonBackInTheMiddleAndTheIntroShowing) {
    m_Folder.WriteLevel("override", 2, "40\r\n1\r\nsky\r\nNO\r\nRGB\r\n");
    m_Play->m_LevelComplete = true;
    m_Play->DragonSprite()->SetX(572);
    m_Play->m_DragonColumn = 18;
    m_Play->m_FloorY = 200;
    m_Play->AdvanceLevel();
    EXPECT_EQ(gCurrentLevel, 2);
    EXPECT_EQ(gHighestLevel, 2);
    EXPECT_FALSE(m_Play->LevelComplete());
    EXPECT_TRUE(m_Play->LevelIntro());
    EXPECT_EQ(m_Play->DragonSprite()->GetX(), PlayGeometry::DragonStartX);
    EXPECT_EQ(m_Play->DragonColumn(), PlayGeometry::DragonStartColumn);
    EXPECT_EQ(m_Play->FloorY(), PlayGeometry::Bottom);
    EXPECT_EQ(m_Play->RiseInterval(), 40);
    EXPECT_EQ(m_Play->Board().Count(), 3);
}

}  // namespace
}  // namespace playtest
