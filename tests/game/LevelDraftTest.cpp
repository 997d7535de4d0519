// SPDX-License-Identifier: GPL-3.0-or-later
// The level writer read back by the reader, and the editor's document: edits, undo and redo, and
// load and save through the level format.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "game/LevelDraft.h"
#include "game/LevelFile.h"
#include "support/GameFolder.h"

namespace {

namespace fs = std::filesystem;

// The shipped levels are written the way the editor writes, so each must come back byte for byte.
TEST(LevelWriter, WritesEveryShippedLevelBackAsItWasReadAndNothingUnreadable) {
    for (const auto& entry : fs::directory_iterator(fs::path(KW_SOURCE_DIR) / "data" / "levels")) {
        if (entry.path().extension() != ".dat") continue;
        const bool clouds = entry.path().filename() != "tutorial.dat";
        EXPECT_EQ(WriteLevelFile(ReadLevelFile(entry.path(), clouds), clouds), kwtest::ReadFile(entry.path()))
            << entry.path();
    }
    LevelFile outside;
    outside.picture = "../../home/secret";
    EXPECT_THROW(WriteLevelFile(outside, true), std::invalid_argument);
}

TEST(LevelDraft, AStrokeIsOneUndoStepAndUndoingBackToTheSavedStateLeavesNothingUnsaved) {
    LevelDraft draft;
    draft.BeginStroke();
    for (int32_t c = 0; c < 3; ++c) draft.SetCell(c, 0, 'R');
    draft.EndStroke();
    draft.SetCell(3, 0, 'q');  // no cell: ignored
    draft.SetRiseInterval(-5);
    EXPECT_EQ(draft.RiseInterval(), 1);
    EXPECT_TRUE(draft.Undo());
    EXPECT_EQ(draft.RiseInterval(), 500);
    EXPECT_TRUE(draft.Undo());
    EXPECT_EQ(draft.Cell(0, 0), LevelDraft::Empty);
    EXPECT_EQ(draft.Cell(2, 0), LevelDraft::Empty);
    EXPECT_FALSE(draft.Modified());
    EXPECT_FALSE(draft.Undo());
    EXPECT_TRUE(draft.Redo());
    EXPECT_EQ(draft.Cell(2, 0), 'R');
    draft.SetCloudsOn(false);  // a new edit forgets what could be redone
    EXPECT_FALSE(draft.CanRedo());
}

TEST(LevelDraft, SavesCrLfLevelsThatLoadBackCellForCellAndLeavesOutWhatIsOffTheBoard) {
    const fs::path file = fs::temp_directory_path() / ("kw-draft-" + std::to_string(::getpid()) + ".dat");
    LevelDraft draft;
    draft.SetCell(0, 0, 'B');
    draft.SetCell(18, 19, 'Z');
    draft.SetCell(9, 5, '2');
    draft.SetRiseInterval(420);
    draft.SetPicture("night");
    draft.SetPicture("../night");  // not a picture name: ignored
    draft.SetCloudsOn(false);
    std::string why;
    ASSERT_TRUE(draft.Save(file, why)) << why;
    EXPECT_FALSE(draft.Modified());
    const std::string text = kwtest::ReadFile(file);
    EXPECT_EQ(text.substr(0, 20), "420\r\n20\r\nnight\r\nNO\r\n");
    EXPECT_EQ(text.substr(text.size() - 21), "B..................\r\n");

    LevelDraft loaded;
    int32_t dropped = -1;
    ASSERT_TRUE(loaded.Load(file, why, dropped)) << why;
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(loaded.Text(), text);
    EXPECT_EQ(loaded.Cell(18, 19), 'Z');

    EXPECT_TRUE(loaded.LoadText("500\r\n2\r\nice\r\nYES\r\nR\r\n...................GG\r\n", dropped));
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(loaded.Cell(0, 1), 'R');
    EXPECT_FALSE(loaded.LoadText("500\r\n", dropped));
    fs::remove(file);
}

// Saving never destroys a player's level: a read-only one is refused and left as it is, and a
// link's level is saved in place, keeping its permissions, with the link kept.
TEST(LevelDraft, SavingRefusesAReadOnlyLevelAndWritesThroughALinkKeepingIt) {
    const kwtest::GameFolder folder;
    const fs::path level = folder.Path("mine.dat"), link = folder.Path("game/override/level1.dat");
    kwtest::WriteFile(level, "kept");
    fs::permissions(level, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    LevelDraft draft;
    draft.SetCell(0, 0, 'G');
    std::string why;
    EXPECT_FALSE(draft.Save(level, why));
    EXPECT_NE(why.find("read-only"), std::string::npos) << why;
    EXPECT_EQ(kwtest::ReadFile(level), "kept");
    fs::permissions(level, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    fs::create_symlink(level, link);
    ASSERT_TRUE(draft.Save(link, why)) << why;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(kwtest::ReadFile(level), draft.Text());
    EXPECT_EQ(fs::status(level).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
