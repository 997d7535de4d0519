// The three archives of the game folder: each opens under the first password and under no other,
// holds exactly its files under bare names, and every entry matches what the build generated.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "gfx/GfxPacker.h"

namespace {

struct Archive {
    std::string name;
    std::filesystem::path path;
    std::vector<std::filesystem::path> sources;  // what it must hold, under bare names
};

std::vector<Archive> Archives() {
    const auto gen = content::GeneratedDir();
    Archive gfx{"kwgfx", content::GameDir() / "images" / "kwgfx.pak", {}};
    for (auto name : {assets::kSprites, assets::kText, assets::kTitle, assets::kButtonsRest, assets::kButtonsLit,
                      assets::kBackOk, assets::kFade, assets::kClouds})
        gfx.sources.push_back(gen / std::string(name));
    for (auto theme : assets::kBackgrounds) gfx.sources.push_back(gen / (std::string(theme) + ".png"));

    Archive lvl{"kwlvl", content::GameDir() / "levels" / "kwlvl.pak", {}};
    for (const auto& entry : std::filesystem::directory_iterator(content::LevelsDir()))
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
    std::set<std::string> expected, names;
    for (const auto& source : archive.sources) {
        expected.insert(source.filename().string());
        const auto it = entries.find(source.filename().string());
        ASSERT_NE(it, entries.end()) << source.filename() << " is missing";
        EXPECT_TRUE(it->second == content::ReadFile(source)) << source.filename() << " differs from the generated file";
    }
    for (const auto& [name, data] : entries) names.insert(name);
    EXPECT_EQ(names, expected) << "bare names only, nothing else";
    EXPECT_THROW(GfxPacker::ReadArchive(archive.path, ""), std::runtime_error);
    EXPECT_THROW(GfxPacker::ReadArchive(archive.path, "M4RL0WE47"), std::runtime_error)
        << "the second password is only a fallback; the archives are made with the first";
}

INSTANTIATE_TEST_SUITE_P(Content, EveryArchive, testing::ValuesIn(Archives()),
                         [](const auto& info) { return info.param.name; });

TEST(Packer, RoundTripsFilesAndLeavesNoArchiveWhenPackingFails) {
    const auto dir = std::filesystem::path(KW_BINARY_DIR) / ("packer-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "b");
    std::ofstream(dir / "one.dat", std::ios::binary) << "first\r\n";
    std::ofstream(dir / "b" / "one.dat", std::ios::binary) << "other\r\n";
    std::ofstream(dir / "two.png", std::ios::binary) << std::string(3000, 'x');
    GfxPacker::PackArchive(dir / "out" / "test.pak", {dir / "one.dat", dir / "two.png"}, "secret");
    const auto entries = GfxPacker::ReadArchive(dir / "out" / "test.pak", "secret");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("one.dat"), "first\r\n");
    EXPECT_EQ(entries.at("two.png"), std::string(3000, 'x'));
    EXPECT_THROW(GfxPacker::ReadArchive(dir / "out" / "test.pak", "wrong"), std::runtime_error);

    const auto failed = dir / "out" / "failed.pak";
    // Two entries of one name would overwrite each other when unpacked.
    EXPECT_THROW(GfxPacker::PackArchive(failed, {dir / "one.dat", dir / "b" / "one.dat"}, "secret"),
                 std::runtime_error);
    EXPECT_THROW(GfxPacker::PackArchive(failed, {dir / "missing.dat"}, "secret"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(failed));
    EXPECT_FALSE(std::filesystem::exists(failed.string() + ".part"));
    std::filesystem::remove_all(dir);
}

}  // namespace
