// SPDX-License-Identifier: GPL-3.0-or-later
// One orb on its own: where it appears, when it collides, how it moves and how long it burns.
#include "base/Globals.h"
#include "engine/cTextures.h"
#include "game/PlayGeometry.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "support/World.h"

namespace {

using namespace OrbKind;
using OrbRef = std::shared_ptr<cOrb>;

// Orbs draw from sprites.png through the texture registry.
class OrbFixture : public kwtest::EngineFixture {
protected:
    void SetUp() override {
        m_Folder.WriteImage("game/images/sprites.png", 8, 8);
        kwtest::EngineFixture::SetUp();
    }
};

OrbRef MakeOrb(int32_t type, int32_t column, int32_t row) {
    auto orb = std::make_shared<cOrb>();
    orb->Create_Orb(column, row, "orb", type, BonusKind::Chest, 1000);
    return orb;
}

TEST_F(OrbFixture, OrbsCollideAt24PixelsApartButNotAt25) {
    const OrbRef below = MakeOrb(Red, 3, 0);
    const OrbRef near = MakeOrb(Blue, 3, 5);
    near->OrbBob().SetY(450 - 24);
    EXPECT_TRUE(near->CheckCollision(*below));
    EXPECT_EQ(near->PositionY(), 1);
    const OrbRef far = MakeOrb(Blue, 3, 5);
    far->OrbBob().SetY(450 - 25);
    EXPECT_FALSE(far->CheckCollision(*below));
    EXPECT_EQ(far->PositionY(), 5) << "a miss changes nothing";
}

TEST_F(OrbFixture, OnlyOrbsOfOneColourMatchAndAFallingOrbNever) {
    const OrbRef a = MakeOrb(Red, 3, 1);
    const OrbRef b = MakeOrb(Red, 4, 1);
    EXPECT_TRUE(a->MatchingTypes(b.get()));
    EXPECT_FALSE(a->MatchingTypes(nullptr));
    b->Fall();
    EXPECT_FALSE(a->MatchingTypes(b.get()));
}

TEST_F(OrbFixture, AMoveNeedsMoreThanItsIntervalAndBoardOrbsRiseWhileShotsDrop) {
    const OrbRef board = MakeOrb(Red, 3, 1);
    AdvanceVirtualClock(30);
    EXPECT_FALSE(board->Move(30));
    AdvanceVirtualClock(1);
    EXPECT_TRUE(board->Move(30));
    EXPECT_EQ(board->PixelY(), 425);
    const OrbRef shot = MakeOrb(Red, -1, -1);
    shot->Fire(9);
    AdvanceVirtualClock(13);
    EXPECT_TRUE(shot->Move(12));
    EXPECT_EQ(shot->PixelY(), PlayGeometry::DragonStartY + PlayGeometry::ShotY + 6);
    EXPECT_EQ(shot->PixelX(), PlayGeometry::Left + PlayGeometry::Cell * 9);  // in the column fired into
}

class BurnLengths : public OrbFixture, public ::testing::WithParamInterface<std::tuple<int32_t, int>> {};

TEST_P(BurnLengths, ABurnRunsItsStepsAndThenTheOrbIsGone) {
    const auto [type, steps] = GetParam();
    const OrbRef orb = MakeOrb(type, 3, 1);
    orb->Destroy();
    int taken = 0;
    while (!orb->HasBeenDestroyed() && taken < 100) {
        AdvanceVirtualClock(21);
        orb->Move(1000000);
        ++taken;
    }
    EXPECT_EQ(taken, steps);
    EXPECT_FALSE(orb->OrbBob().GetVisible());
}

INSTANTIATE_TEST_SUITE_P(Types, BurnLengths,
                         ::testing::Values(std::make_tuple(Red, 13), std::make_tuple(White, 10),
                                           std::make_tuple(BlackFixed, 13)));

}  // namespace
