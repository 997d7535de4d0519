// SPDX-License-Identifier: GPL-3.0-or-later
// Level files as the play state builds its board from them: what a well-formed file builds, the
// two reports for a bad one, and that no file, however large or strange, crashes the game.
#include <functional>

#include "PlayFixture.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"

namespace playtest {
namespace {

using namespace OrbKind;

TEST_F(Rules, AWellFormedLevelBuildsItsBoardRowsFromTheTopDown) {
    m_Folder.WriteLevel("levels", 1, "35\r\n3\r\nsky\r\n yes \r\nR B.\r\n\r\nWXZI12P\r\n");
    m_Play->CreateLevel();
    EXPECT_EQ(m_Play->RiseInterval(), 35);
    EXPECT_TRUE(m_Play->CloudsOn());
    EXPECT_EQ(gSprites->Item(std::string("board"))->GetTexture(), gTextures->Texture("sky.png"));
    ASSERT_EQ(m_Play->Board().Count(), 9);
    EXPECT_EQ(m_Play->At(0, 2)->OrbType(), Red);
    EXPECT_EQ(m_Play->At(2, 2)->OrbType(), Blue);
    EXPECT_EQ(m_Play->At(0, 2)->Key(), "orbX0Y2");
    EXPECT_EQ(m_Play->At(2, 2)->PixelY(), 450 - 48);
    const int32_t bottom[] = {White, White, White, Invisible, BlackFalling, BlackFixed, Purple};
    for (int32_t c = 0; c < 7; ++c) EXPECT_EQ(m_Play->At(c, 0)->OrbType(), bottom[c]) << c;
    EXPECT_EQ(m_Play->At(0, 0)->BonusKindHeld(), BonusKind::Chest);
    EXPECT_EQ(m_Play->At(1, 0)->BonusKindHeld(), BonusKind::Tornado);
    EXPECT_EQ(m_Play->At(2, 0)->BonusKindHeld(), BonusKind::Fireball);
    EXPECT_EQ(m_Play->At(0, 0)->BonusValue(), 1000);
    EXPECT_EQ(m_Play->CurrentOrb()->PixelX(), 30);
    EXPECT_EQ(m_Play->NextOrb()->Alpha(), 0);
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(Rules, LevelsWithUnixLineEndsAndRandomCellsLoadToo) {
    m_Folder.WriteLevel("levels", 1, "35\n1\nsky\nNO\nAAAAU\n");
    m_Play->CreateLevel();
    EXPECT_FALSE(m_Play->CloudsOn());
    ASSERT_EQ(m_Play->Board().Count(), 5);
    for (int32_t c = 0; c < 4; ++c) EXPECT_TRUE(IsColoured(m_Play->At(c, 0)->OrbType()));
    EXPECT_EQ(m_Play->At(4, 0)->OrbType(), White);
}

TEST_F(Rules, ALevelInTheOverrideFolderReplacesTheShippedOne) {
    m_Folder.WriteLevel("levels", 3, "35\r\n1\r\nsky\r\nNO\r\nR\r\n");
    m_Folder.WriteLevel("override", 3, "35\r\n1\r\nsky\r\nNO\r\nGG\r\n");
    gCurrentLevel = 3;
    m_Play->CreateLevel();
    ASSERT_EQ(m_Play->Board().Count(), 2);
    EXPECT_EQ(m_Play->At(0, 0)->OrbType(), Green);
    EXPECT_EQ(gHighestLevel, 3) << "playing a level unlocks it";
    // Re-installing cannot mend a player's own level: the report names it and says what to do.
    m_Folder.WriteLevel("override", 3, "35\r\nmany\r\nsky\r\nNO\r\n");
    EXPECT_THROW(m_Play->CreateLevel(), ExitSignal);
    const std::string file = m_Folder.Path("game/override/level3.dat").string();
    EXPECT_NE(ErrorLog().find(file + " is damaged: line 2: 'many' is not a number"), std::string::npos);
    EXPECT_NE(ErrorLog().find("Fix it, or remove it to play the game's own level 3."), std::string::npos);
}

TEST_F(Rules, LevelNumberZeroIsReadAsLevelOne) {
    m_Folder.WriteLevel("levels", 1, "35\r\n1\r\nsky\r\nNO\r\nR\r\n");
    gCurrentLevel = 0;
    m_Play->CreateLevel();
    EXPECT_EQ(gCurrentLevel, 1);
    EXPECT_EQ(m_Play->Board().Count(), 1);
}

enum class Outcome { Loads, Corrupt, NotFound };

struct BadFile {
    const char* name;
    std::function<std::string()> content;  // nullptr: no file at all
    Outcome outcome;
};

std::string Header(const std::string& rows) { return "30\r\n" + rows + "\r\nsky\r\nNO\r\n"; }

class LevelFileRobustness : public Rules, public ::testing::WithParamInterface<BadFile> {};

TEST_P(LevelFileRobustness, AnyFileLoadsOrEndsInALevelReport) {
    const BadFile file = GetParam();
    gCurrentLevel = 4;
    if (file.content) m_Folder.WriteLevel("levels", 4, file.content());
    bool ended = false;
    int exitCode = 0;
    try {
        m_Play->CreateLevel();
    } catch (const ExitSignal& signal) {
        ended = true;
        exitCode = signal.exitCode;
    }
    const std::string log = ErrorLog();
    switch (file.outcome) {
        case Outcome::Loads:
            EXPECT_FALSE(ended);
            EXPECT_EQ(log, "");
            EXPECT_NE(m_Play->CurrentOrb(), nullptr);
            break;
        case Outcome::Corrupt:
            EXPECT_TRUE(ended);
            EXPECT_EQ(exitCode, 1);
            EXPECT_NE(log.find("Handled Error Occurred in cPlayState.CreateLevel\r\nError Number: 13\r\n"
                               "Error: Level file 4 is corrupt. Please re-install."),
                      std::string::npos)
                << log;
            break;
        case Outcome::NotFound:
            EXPECT_TRUE(ended);
            EXPECT_NE(log.find("Error Number: 53\r\nError: Level file 4 is not found. Please re-install."),
                      std::string::npos)
                << log;
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LevelFileRobustness,
    ::testing::Values(
        BadFile{"Missing", nullptr, Outcome::NotFound},
        BadFile{"Empty", [] { return std::string(); }, Outcome::NotFound},
        BadFile{"HeaderCutShort", [] { return std::string("30\r\n2\r\nsky\r\n"); }, Outcome::NotFound},
        BadFile{"RiseNotANumber", [] { return std::string("abc\r\n2\r\nsky\r\nNO\r\n"); }, Outcome::Corrupt},
        BadFile{"TenMegabyteLine", [] { return Header("1") + std::string(10 << 20, 'R') + "\r\n"; }, Outcome::Corrupt},
        BadFile{"LongLineWithinTheSizeLimit", [] { return Header("1") + std::string(500000, 'R') + "\r\n"; },
                Outcome::Loads},
        BadFile{"TwoBillionRowsOfNothing", [] { return Header("2000000000") + "\r\n\r\n...\r\n"; }, Outcome::Loads},
        BadFile{"TwoBillionRowsWithOrbs", [] { return Header("2000000000") + "RGB\r\n"; }, Outcome::Corrupt},
        BadFile{"RowCountBeyond32Bits", [] { return Header("99999999999") + "R\r\n"; }, Outcome::Corrupt},
        BadFile{"LowestRowCount", [] { return Header("-2147483648") + "R\r\n"; }, Outcome::Corrupt},
        BadFile{"MoreOrbsThanAnyBoard",
                [] {
                    std::string rows;
                    for (int i = 0; i < 200; ++i) rows += "RGBPYRGBPYRGBPYRGBPY\r\n";
                    return Header("200") + rows;
                },
                Outcome::Corrupt},
        BadFile{"ManyBlankLines", [] { return Header("3") + std::string(400000, '\n') + "R"; }, Outcome::Loads},
        BadFile{"NulBytesInRows", [] { return Header("2") + std::string("R\0B\r\n\0\0\0\r\n", 10); }, Outcome::Loads},
        BadFile{"PictureWithBlanksAround", [] { return std::string("30\r\n1\r\n  sky\t\r\nNO\r\nR\r\n"); },
                Outcome::Loads},
        BadFile{"PictureOutsideTheGame", [] { return std::string("30\r\n1\r\n../../data/game\r\nNO\r\n"); },
                Outcome::Corrupt},
        BadFile{"NoPicture", [] { return std::string("30\r\n1\r\n \r\nNO\r\n"); }, Outcome::Corrupt}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST_F(Rules, OnlyTheColumnsThatCanShowOnScreenCreateOrbs) {
    m_Folder.WriteLevel("levels", 1, Header("1") + std::string(40, 'G') + "\r\n");
    m_Play->CreateLevel();
    EXPECT_EQ(m_Play->Board().Count(), 21) << "columns 19 and 20 still show at the right edge";
    ASSERT_NE(m_Play->At(20, 0), nullptr);
    EXPECT_EQ(m_Play->At(20, 0)->PixelX(), 158 + 24 * 20);
}

TEST_F(Rules, RowsBelowTheBottomAreKeptUnderTheBoard) {
    m_Folder.WriteLevel("levels", 1, Header("1") + "R\r\nB\r\n");
    m_Play->CreateLevel();
    ASSERT_NE(m_Play->At(0, -1), nullptr);
    EXPECT_EQ(m_Play->At(0, -1)->PixelY(), 474);
}

}  // namespace
}  // namespace playtest
