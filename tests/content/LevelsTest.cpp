// The shipped levels and the tutorial as the game's own reader and the level checker see them.
// How often each level is won is the level trial's (tests/play); the tutorial's own board is
// proven by playing every lesson on it (tests/ui).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ContentFiles.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"

namespace {

namespace fs = std::filesystem;

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

TEST(Levels, RiseNoSlowerFromFirstToLast) {
    const auto path = [](int n) { return content::LevelsDir() / ("level" + std::to_string(n) + ".dat"); };
    for (int n = 2; fs::exists(path(n)); ++n)
        EXPECT_LE(ReadLevelFile(path(n), true).riseInterval, ReadLevelFile(path(n - 1), true).riseInterval)
            << "level " << n;
}

}  // namespace
