// SPDX-License-Identifier: GPL-3.0-or-later
// What the game folder ships. The three archives: each opens under the first password and under no
// other, holds exactly its files under bare names, and every entry matches what the build made.
// The levels and the tutorial pass the game's own reader and the level checker; how often each
// level is won is the level trial's (tests/play), the tutorial's lessons the tutorial test's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"
#include "gfx/GfxPacker.h"

namespace {

namespace fs = std::filesystem;

struct Archive {
    std::string name;
    fs::path path;
    std::vector<fs::path> sources;  // what it must hold, under bare names
};

std::vector<Archive> Archives() {
    const auto gen = content::GeneratedDir();
    Archive gfx{"kwgfx", content::GameDir() / "images" / "kwgfx.pak", {}};
    for (auto name : assets::kPictures) gfx.sources.push_back(gen / std::string(name));
    for (auto theme : assets::kBackgrounds) gfx.sources.push_back(gen / (std::string(theme) + ".png"));

    Archive lvl{"kwlvl", content::GameDir() / "levels" / "kwlvl.pak", {}};
    for (const auto& entry : fs::directory_iterator(content::LevelsDir()))
        if (entry.path().extension() == ".dat") lvl.sources.push_back(entry.path());

    Archive sfx{"kwsfx", content::GameDir() / "sounds" / "kwsfx.pak", {}};
    for (auto name : assets::kSounds) sfx.sources.push_back(gen / std::string(name));
    for (const auto& tune : assets::kTunes) sfx.sources.push_back(gen / std::string(tune.file));
    return {gfx, lvl, sfx};
}

class EveryArchive : public testing::TestWithParam<Archive> {};

TEST_P(EveryArchive, HoldsExactlyItsFilesUnderTheFirstPasswordOnly) {
    const Archive& archive = GetParam();
    const auto entries = GfxPacker::ReadArchive(archive.path, std::string(assets::kArchivePassword));
    for (const auto& source : archive.sources) {
        const auto it = entries.find(source.filename().string());
        ASSERT_NE(it, entries.end()) << source.filename() << " is missing";
        EXPECT_TRUE(it->second == content::ReadFile(source)) << source.filename() << " differs from the generated file";
    }
    EXPECT_EQ(entries.size(), archive.sources.size()) << "bare names only, nothing else";
    EXPECT_THROW(GfxPacker::ReadArchive(archive.path, ""), std::runtime_error);
    EXPECT_THROW(GfxPacker::ReadArchive(archive.path, "M4RL0WE47"), std::runtime_error)
        << "the second password is only a fallback; the archives are made with the first";
}

INSTANTIATE_TEST_SUITE_P(Content, EveryArchive, testing::ValuesIn(Archives()),
                         [](const auto& info) { return info.param.name; });

TEST(Packer, RoundTripsFilesAndLeavesNoArchiveWhenPackingFails) {
    const auto dir = fs::path(KW_BINARY_DIR) / ("packer-test-" + std::to_string(::getpid()));
    fs::create_directories(dir / "b");
    std::ofstream(dir / "one.dat", std::ios::binary) << "first\r\n";
    std::ofstream(dir / "b" / "one.dat", std::ios::binary) << "other\r\n";
    std::ofstream(dir / "two.png", std::ios::binary) << std::string(3000, 'x');
    GfxPacker::PackArchive(dir / "out" / "test.pak", {dir / "one.dat", dir / "two.png"}, "secret");
    const auto entries = GfxPacker::ReadArchive(dir / "out" / "test.pak", "secret");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("one.dat"), "first\r\n");
    EXPECT_EQ(entries.at("two.png"), std::string(3000, 'x'));

    const auto failed = dir / "out" / "failed.pak";
    // Two entries of one name would overwrite each other when unpacked.
    EXPECT_THROW(GfxPacker::PackArchive(failed, {dir / "one.dat", dir / "b" / "one.dat"}, "secret"),
                 std::runtime_error);
    EXPECT_THROW(GfxPacker::PackArchive(failed, {dir / "missing.dat"}, "secret"), std::runtime_error);
    EXPECT_FALSE(fs::exists(failed));
    EXPECT_FALSE(fs::exists(failed.string() + ".part"));
    fs::remove_all(dir);
}

// What a level maker must not ship: lines that are not CR LF, any finding of the level checker,
// or a background the build did not make.
TEST(Levels, EveryLevelAndTheTutorialFollowTheRulesAndCanBeWon) {
    int levels = 0;
    for (const auto& entry : fs::directory_iterator(content::LevelsDir())) {
        const fs::path& file = entry.path();
        if (file.extension() != ".dat") continue;
        SCOPED_TRACE(file.filename());
        const bool clouds = file.filename() != "tutorial.dat";
        levels += clouds;
        const std::string text = content::ReadFile(file);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
        EXPECT_TRUE(text.ends_with("\r\n"));
        for (const LevelProblem& problem : CheckLevelFile(file, clouds, GamePictures(fs::path())))
            ADD_FAILURE() << FormatProblem(file.filename().string(), problem);
        try {
            const LevelFile level = ReadLevelFile(file, clouds);
            EXPECT_TRUE(fs::exists(content::GeneratedDir() / (level.picture + ".png"))) << level.picture;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "refused by the game: " << e.what();
        }
    }
    EXPECT_GE(levels, assets::kMinLevels);
}

}  // namespace
