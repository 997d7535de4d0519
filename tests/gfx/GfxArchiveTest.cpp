// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking password-protected archives: the second password is tried when the first fails,
// names that leave the folder are refused, and a damaged entry leaves no file behind.
#include <gtest/gtest.h>

#include <fstream>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {

class Unpacking : public GfxFixture {
protected:
    bool Extract(const std::string& pw1, const std::string& pw2) {
        return m_Engine->GetArchive().ExtractArchive("pack.pak", pw1, pw2, 0, "", &m_Written);
    }
    bool Zip(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& password) {
        return GfxTestSupport::WriteZip(PathOf("pack.pak"), entries, password);
    }
    std::string Read(const std::string& name) const { return kwtest::ReadFile(m_Folder / name); }
    // Names of every file below the working folder except the archive.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_Folder))
            if (e.is_regular_file() && e.path().filename() != "pack.pak")
                names.push_back(std::filesystem::relative(e.path(), m_Folder).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Flips one byte of the archive, `skip` bytes past the first `marker`.
    void Damage(const std::string& marker, size_t skip) {
        std::string bytes = Read("pack.pak");
        const size_t at = bytes.find(marker);
        ASSERT_NE(at, std::string::npos);
        bytes[at + skip] ^= 0x55;
        kwtest::WriteFile(m_Folder / "pack.pak", bytes);
    }
    // Made with 7-Zip (7z a -tzip -mem=AES256): its AES entries all carry a CRC of 0, and only their
    // authentication code guards them. small.txt is under 20 bytes, the other two above.
    void SevenZip() {
        std::filesystem::copy_file(std::filesystem::path(KW_SOURCE_DIR) / "tests/gfx/data/sevenzip.pak",
                                   PathOf("pack.pak"));
    }
    std::vector<std::filesystem::path> m_Written;
};

TEST_F(Unpacking, EntriesReplaceOldFilesWholeWithTheSecondPasswordWhenTheFirstFails) {
    EXPECT_FALSE(Extract("pw", "pw")) << "no archive at all";
    std::ofstream(m_Folder / "a.txt") << "an older and much longer text";
    const std::string big(200000, 'x');
    ASSERT_TRUE(Zip({{"a.txt", "alpha"}, {"sub/b.bin", big}}, "second"));
    EXPECT_TRUE(Extract("first", "second"));
    EXPECT_EQ(Read("a.txt"), "alpha");
    EXPECT_EQ(Read("sub/b.bin"), big);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt", "sub/b.bin"}));
    EXPECT_EQ(m_Written,
              (std::vector<std::filesystem::path>{m_Folder / "a.txt", m_Folder / "sub", m_Folder / "sub/b.bin"}));
}

TEST_F(Unpacking, NamesThatLeaveTheFolderOrReplaceTheGamesOwnFilesAreRefusedAndTheRestExtracted) {
    std::filesystem::create_directories(m_Folder / "in");
    m_Engine->SetWorkingFolder(PathOf("in"));  // names that escape it still land in the scratch folder
    const std::string absolute = (m_Folder / "abs.txt").string();
    ASSERT_TRUE(GfxTestSupport::WriteZip(PathOf("in/pack.pak"),
                                         {{"../x.txt", "up"},
                                          {absolute, "abs"},
                                          {"C:evil.txt", "drive"},
                                          {"sub/../../y.txt", "up2"},
                                          {"..\\z.txt", "up3"},
                                          {"kwgfx.pak", "archive"},
                                          {"sub/Scores.DAT", "scores"},
                                          {"game.dat.tmp", "settings"},
                                          {"errors.log", "log"},
                                          {"good.txt", "fine"},
                                          {"good.txt.kwpart", "a half-written file"}},
                                         "pw"));
    EXPECT_FALSE(Extract("pw", "pw"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"in/good.txt"}));
}

TEST_F(Unpacking, ADamagedPlainEntryLeavesNoFileButTheGoodOnesLand) {
    ASSERT_TRUE(Zip({{"bad.txt", "DAMAGEDENTRY"}, {"ok.txt", "fine"}}, ""));
    Damage("DAMAGEDENTRY", 2);
    EXPECT_FALSE(Extract("", ""));
    EXPECT_EQ(Files(), (std::vector<std::string>{"ok.txt"}));
}

TEST_F(Unpacking, AnEntryLargerThanAnyAssetIsRefusedAndTheRestExtracted) {
    ASSERT_TRUE(Zip({{"huge.bin", std::string((64 << 20) + 1, '\0')}, {"ok.txt", "fine"}}, "pw"));
    EXPECT_FALSE(Extract("pw", "pw"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"ok.txt"}));
}

TEST_F(Unpacking, SevenZipEntriesExtractWithTheRightPasswordOnly) {
    SevenZip();
    EXPECT_FALSE(Extract("wrong", "M4RL0WE47"));
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(Extract("wrong", "marlowe47"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"level1.dat", "noise.bin", "small.txt"}));
    EXPECT_EQ(Read("small.txt"), "tiny");
    EXPECT_EQ(Read("level1.dat"), "400\r\n1\r\nmeadow\r\nYES\r\nRRGGBB\r\n");
    EXPECT_EQ(Read("noise.bin").size(), 3000u);
}

TEST_F(Unpacking, ADamagedSevenZipEntryIsStillRefused) {
    SevenZip();
    Damage("noise.bin", 1500);  // inside its data
    EXPECT_FALSE(Extract("marlowe47", "marlowe47"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"level1.dat", "small.txt"}));
}

TEST_F(Unpacking, ArchivesUnpackedTogetherLandEachInItsFolderAndOneFailureSparesTheOthers) {
    std::vector<GfxArchive::Unpacking> archives;
    for (const std::string name : {"images", "levels", "sounds", "extra"}) {
        std::filesystem::create_directories(m_Folder / name);
        ASSERT_TRUE(GfxTestSupport::WriteZip(PathOf(name + "/pack.pak"), {{name + ".txt", name}},
                                             name == "sounds" ? "other" : "right"));
        archives.push_back({name + "/pack.pak", name});
    }
    EXPECT_FALSE(m_Engine->GetArchive().ExtractArchives(archives, "right", "", &m_Written));
    EXPECT_EQ(Files(), (std::vector<std::string>{"extra/extra.txt", "images/images.txt", "levels/levels.txt"}));
    EXPECT_EQ(m_Written,
              (std::vector<std::filesystem::path>{m_Folder / "images/images.txt", m_Folder / "levels/levels.txt",
                                                  m_Folder / "extra/extra.txt"}));
}

}  // namespace
