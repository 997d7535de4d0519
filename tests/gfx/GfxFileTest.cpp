// SPDX-License-Identifier: GPL-3.0-or-later
// What the game writes stays in its own files: no link planted at a file or at its temporary
// name, and no file left there, turns a save, the log, the lock or an unpacked entry into a write
// of some other file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "GfxFixture.h"
#include "gfx/GfxFile.h"
#include "gfx/GfxInstanceLock.h"
#include "gfx/GfxTestSupport.h"

namespace {

namespace fs = std::filesystem;

class PlantedLinks : public GfxFixture {
protected:
    // A file of someone else's that a link in the folder points at.
    fs::path Victim(const std::string& name) {
        const fs::path victim = m_Folder / "elsewhere" / name;
        fs::create_directories(victim.parent_path());
        kwtest::WriteFile(victim, "not the game's");
        return victim;
    }
    void Plant(const std::string& link, const fs::path& target) { fs::create_symlink(target, m_Folder / link); }
    std::string Read(const std::string& name) const { return kwtest::ReadFile(m_Folder / name); }
};

TEST_F(PlantedLinks, AreReplacedOrRefusedNeverFollowed) {
    // A save: the link at the temporary name is removed, the one at the file replaced.
    Plant("scores.dat.tmp", Victim("a"));
    Plant("scores.dat", Victim("b"));
    m_Engine->GetUtility().SaveHighScores("scores.dat");
    EXPECT_EQ(Read("scores.dat").rfind("KWSCORES 1\n", 0), 0u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_Folder / "scores.dat.tmp")));
    // A folder where the file should be: the save fails and leaves no temporary file behind.
    fs::create_directories(m_Folder / "blocked.dat" / "inside");
    EXPECT_THROW(m_Engine->GetUtility().SaveHighScores("blocked.dat"), GfxFile::FileError);
    EXPECT_FALSE(fs::exists(m_Folder / "blocked.dat.tmp"));
    // The log begins anew in place of the link; what it pointed at keeps its text.
    Plant("errors.log", Victim("c"));
    GfxFile::FreshFile log;
    ASSERT_TRUE(log.Open(m_Folder / "errors.log") && log.Append("entry"));
    EXPECT_EQ(Read("errors.log"), "entry");
    // The lock is not taken through a link, nor its target made.
    Plant("kindlewisp.lock", m_Folder / "elsewhere" / "made");
    GfxInstanceLock lock;
    EXPECT_EQ(lock.Acquire(m_Folder / "kindlewisp.lock"), GfxInstanceLock::Result::Unavailable);
    EXPECT_FALSE(fs::exists(m_Folder / "elsewhere" / "made"));
    // An unpacked entry lands in the folder, and so does one whose name a link held.
    Plant(std::string("a.png") + GfxArchive::PartSuffix, Victim("d"));
    Plant("b.png", Victim("e"));
    ASSERT_TRUE(GfxTestSupport::WriteZip(PathOf("pack.pak"), {{"a.png", "picture"}, {"b.png", "picture"}}, "pw"));
    EXPECT_TRUE(m_Engine->GetArchive().ExtractArchive("pack.pak", "pw", "pw", 0, ""));
    EXPECT_EQ(Read("a.png") + Read("b.png"), "picturepicture");
    for (const char* name : {"a", "b", "c", "d", "e"})
        EXPECT_EQ(Read("elsewhere/" + std::string(name)), "not the game's");
}

// The editor's scratch folder: a fresh one, ours alone, under a TMPDIR that can hold it
// or else /tmp; what an editor that was killed left goes, and nothing of anyone else's.
TEST(ScratchFolder, IsFreshAndPrivateAndOnlyOurOwnDeadOnesAreCleanedAway) {
    const kwtest::GameFolder scratch;
    const fs::path base = scratch.Root();
    const std::string pidMax = kwtest::ReadFile("/proc/sys/kernel/pid_max");  // no process has it
    const std::string deadPrefix = "kw-test-" + pidMax.substr(0, pidMax.find('\n'));
    const std::string dead = deadPrefix + "-a1b2c3", alive = "kw-test-" + std::to_string(::getpid()) + "-d4e5f6";
    for (const std::string& name : {dead, alive, std::string("kw-test-notapid-g7h8i9")})
        fs::create_directories(base / name);
    fs::create_symlink(base / alive, base / (deadPrefix + "-linked"));
    kwtest::WriteFile(base / "file", "not a folder");
    const std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", base.c_str(), 1);
    const fs::path first = GfxFile::MakeScratchFolder("kw-test");
    EXPECT_EQ(first.parent_path(), base);
    EXPECT_EQ(fs::status(first).permissions(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(base / dead));
    for (const std::string& kept : {alive, deadPrefix + "-linked", std::string("kw-test-notapid-g7h8i9")})
        EXPECT_TRUE(fs::exists(fs::symlink_status(base / kept))) << kept;
    for (const fs::path& unusable : {base / "missing", base / "file"}) {
        ::setenv("TMPDIR", unusable.c_str(), 1);
        const fs::path fallback = GfxFile::MakeScratchFolder("kw-test");
        EXPECT_EQ(fallback.parent_path(), "/tmp") << unusable;
        fs::remove(fallback);
    }
    saved.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", saved.c_str(), 1);
}

}  // namespace
