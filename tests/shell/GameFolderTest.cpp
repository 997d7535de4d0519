// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game reads and writes: beside the program when it may, otherwise each player's own
// folder, seeded from the installation and unpacked into, with the installation left untouched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "gfx/Gfx.h"
#include "gfx/GfxPacker.h"
#include "shell/GameFolder.h"
#include "shell/modSettings.h"
#include "support/GameFolder.h"

namespace fs = std::filesystem;

namespace {

using kwtest::ReadFile;

// An installed copy (usr/games, usr/share/games/kindlewisp/game) and a copy unpacked with its game folder
// beside the program (copy/game), in a scratch root.
class PlayersFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(m_Root);
        for (const auto& folder :
             {m_Root / "usr/games", m_Root / "copy/game", m_Installed / "game/data", m_Installed / "game/images"})
            fs::create_directories(folder);
        std::ofstream(m_Installed / "game/data/game.dat") << "1\r\n80\r\n80\r\n";
        std::ofstream(m_Installed / "game/data/scores.dat") << "shipped table";
        std::ofstream(m_Root / "picture.png") << "pixels";
        GfxPacker::PackArchive(m_Installed / "game/images/kwgfx.pak", {m_Root / "picture.png"}, "marlowe47");
    }
    void TearDown() override {
        gProgramFolder.clear();
        gInstalledFolder.clear();
        gEngine.reset();
        std::error_code ec;
        fs::permissions(m_Root / "copy/game", fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_Root, ec);
    }
    // Paths starting with "/" lie below the scratch root; others stay as written.
    std::string At(const std::string& path) const {
        return path.starts_with('/') ? (m_Root / path.substr(1)).string() : path;
    }
    std::map<std::string, std::string> Installation() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_Root / "usr"))
            files[entry.path().string()] = entry.is_regular_file() ? ReadFile(entry.path()) : "(folder)";
        return files;
    }
    const fs::path m_Root = fs::temp_directory_path() / ("kw-folders-" + std::to_string(::getpid()));
    const fs::path m_Installed = m_Root / "usr/share/games/kindlewisp";
};

struct FolderCase {
    const char* executable;
    const char* dataHome;
    const char* program;
    const char* installed;
};
class ChoosingTheFolder : public PlayersFolder, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(ChoosingTheFolder, FollowsTheLayoutBesideTheProgramAndThePlayersDataHome) {
    const GameFolders folders = ChooseGameFolders(At(GetParam().executable), At(GetParam().dataHome), At("/home"));
    EXPECT_EQ(folders.program, At(GetParam().program));
    EXPECT_EQ(folders.installed, At(GetParam().installed));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ChoosingTheFolder,
    ::testing::Values(
        // A writable game folder beside the program: everything stays there, as in the build folder.
        FolderCase{"/copy", "/xdg", "/copy", "/copy"},
        // Installed: the player's folder under XDG_DATA_HOME, the archives from share/games/kindlewisp.
        FolderCase{"/usr/games", "/xdg", "/xdg/kindlewisp", "/usr/share/games/kindlewisp"},
        // XDG_DATA_HOME unset, or relative (which the base-directory rules ignore): ~/.local/share.
        FolderCase{"/usr/games", "", "/home/.local/share/kindlewisp", "/usr/share/games/kindlewisp"},
        FolderCase{"/usr/games", "xdg", "/home/.local/share/kindlewisp", "/usr/share/games/kindlewisp"},
        // Neither layout: the folder beside the program, where the missing files get reported.
        FolderCase{"/usr", "/xdg", "/usr", "/usr"}));

TEST_F(PlayersFolder, AReadOnlyCopyBesideTheProgramKeepsThePlayersFilesInTheirOwnFolder) {
    fs::permissions(m_Root / "copy/game", fs::perms::all, fs::perm_options::remove);
    fs::permissions(m_Root / "copy/game", fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::add);
    if (GfxUtility::IsWritableFolder(m_Root / "copy/game")) GTEST_SKIP() << "permissions do not bind this user";
    const GameFolders folders = ChooseGameFolders(At("/copy"), At("/xdg"), "");
    EXPECT_EQ(folders.program, At("/xdg/kindlewisp"));
    EXPECT_EQ(folders.installed, At("/copy"));
}

TEST_F(PlayersFolder, EachPlayerStartsFromTheShippedScoresKeepsTheirOwnAndUnpacksOnlyIntoTheirFolder) {
    fs::permissions(m_Installed / "game/data/scores.dat", fs::perms::owner_read, fs::perm_options::replace);
    const auto before = Installation();
    EXPECT_THROW(ChooseGameFolders(At("/usr/games"), "", ""), RuntimeError);  // no home: never the prefix

    const GameFolders ann = ChooseGameFolders(At("/usr/games"), At("/ann"), "");
    PrepareGameFolder(ann);
    const fs::path annScores = ann.program / "game/data/scores.dat";
    EXPECT_EQ(ReadFile(annScores), "shipped table");
    EXPECT_EQ(ReadFile(ann.program / "game/data/game.dat"), "1\r\n80\r\n80\r\n");
    EXPECT_TRUE(fs::is_directory(ann.program / "game/override"));
    EXPECT_NE(fs::status(annScores).permissions() & fs::perms::owner_write, fs::perms::none);  // hers to write
    std::ofstream(annScores) << "ann's table";
    PrepareGameFolder(ann);  // her next start
    EXPECT_EQ(ReadFile(annScores), "ann's table");

    gEngine = std::make_unique<GfxEngine>();
    gProgramFolder = ann.program;
    gInstalledFolder = ann.installed;
    UnpackArchives();
    EXPECT_EQ(ReadFile(ann.program / "game/images/picture.png"), "pixels");
    DeleteUnpackedFiles();
    EXPECT_FALSE(fs::exists(ann.program / "game/images/picture.png"));
    EXPECT_EQ(Installation(), before);
}

}  // namespace
