// The three archives of the game folder: each opens under the first password and under no other,
// holds exactly its files under bare names, and every entry matches what the build generated.
#include <gtest/gtest.h>
#include <unistd.h>

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

class Packer : public testing::Test {
protected:
    void SetUp() override {
        m_Dir = std::filesystem::path(KW_BINARY_DIR) / ("packer-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_Dir);
        std::filesystem::create_directories(m_Dir / "a");
        std::filesystem::create_directories(m_Dir / "b");
        Write(m_Dir / "a" / "one.dat", "first\r\n");
        Write(m_Dir / "b" / "one.dat", "other\r\n");
        Write(m_Dir / "a" / "two.png", std::string(3000, 'x'));
    }
    void TearDown() override { std::filesystem::remove_all(m_Dir); }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    std::filesystem::path m_Dir;
};

TEST_F(Packer, RoundTripsFilesAndLeavesNoArchiveWhenPackingFails) {
    const auto archive = m_Dir / "out" / "test.pak";
    GfxPacker::PackArchive(archive, {m_Dir / "a" / "one.dat", m_Dir / "a" / "two.png"}, "secret");
    const auto entries = GfxPacker::ReadArchive(archive, "secret");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("one.dat"), "first\r\n");
    EXPECT_EQ(entries.at("two.png"), std::string(3000, 'x'));
    EXPECT_THROW(GfxPacker::ReadArchive(archive, "wrong"), std::runtime_error);

    const auto failed = m_Dir / "out" / "failed.pak";
    EXPECT_THROW(GfxPacker::PackArchive(failed, {m_Dir / "a" / "one.dat", m_Dir / "b" / "one.dat"}, "secret"),
                 std::runtime_error)
        << "two entries of one name would overwrite each other when unpacked";
    EXPECT_THROW(GfxPacker::PackArchive(failed, {m_Dir / "a" / "missing.dat"}, "secret"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(failed));
    EXPECT_FALSE(std::filesystem::exists(failed.string() + ".part"));
}

}  // namespace
