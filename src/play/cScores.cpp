// SPDX-License-Identifier: GPL-3.0-or-later
// The live high-score table is a merge, rebuilt after every change of score: the stored entries in
// their order and the current game placed after every stored score it does not beat. So the game
// climbs and sinks any number of places in one change, a tie leaves the older score ahead, and a
// stored entry pushed out of the ten comes back when the game falls below it again.
#include "play/cScores.h"

#include <algorithm>
#include <cerrno>
#include <numeric>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "shell/Replays.h"

namespace {
constexpr int32_t kEntries = 10;

GfxUtility& Utility() { return gEngine->GetUtility(); }

bool InTable(int32_t index) { return index >= 1 && index <= kEntries; }

// What is wrong with the file and what the player can do; the old words where they are true.
std::string Problem(const char* failed, int error) {
    if (error == ENOENT || error == ENOTDIR) return "Path to file " + cScores::ScoresPath() + " is not found.";
    return "The high-score file " + cScores::ScoresPath() + " cannot be " + failed + ": " + GfxFile::Explain(error) +
           ". Until then scores cannot be kept.";
}
}  // namespace

std::string cScores::ScoresPath() { return (gProgramFolder / "game" / "data" / "scores.dat").string(); }

cScores::cScores(bool kept) : m_Kept(kept) {
    try {
        Utility().LoadHighScores(ScoresPath());
    } catch (const GfxFile::FileError& e) {
        // The player's table is there but cannot be read: it is left for the player to mend, and
        // this game is played against the default table without saving over it.
        if (m_Kept) {
            const std::string problem = Problem("read", e.Error());
            ReportError(ErrorNumber::PathNotFound, "cScores", "Initialize", problem, true, true, false);
            GfxEngine::MessageBox("Kindlewisp", problem);
        }
        m_Kept = false;
    }
    for (int32_t i = 1; i <= kEntries; ++i)
        m_Stored.push_back({Utility().GetHighScoreName(i), Utility().GetHighScoreValue(i)});
    // A table written out of order (by hand, or by an older version) is shown and saved in order.
    std::stable_sort(m_Stored.begin(), m_Stored.end(),
                     [](const Entry& a, const Entry& b) { return a.score > b.score; });
    Rank();
}

cScores::~cScores() {
    // The release writes the table once more. An error may not leave a destructor, so a failure
    // here is logged and the shutdown or state switch in progress goes on.
    if (!m_Kept) return;
    if (m_Position > 0 && m_Current.score > 0) m_Replay = KeepHighScoreReplay(m_Current.score, m_Replay);
    try {
        Save("SaveScores", false, false);
    } catch (...) {
        // The log itself failed; there is nowhere left to report to.
    }
}

void cScores::Rank() {
    const auto ahead =
        static_cast<int32_t>(std::find_if(m_Stored.begin(), m_Stored.end(),
                                          [this](const Entry& stored) { return m_Current.score > stored.score; }) -
                             m_Stored.begin());
    m_Rows.resize(m_Stored.size());
    std::iota(m_Rows.begin(), m_Rows.end(), 0);
    m_Rows.insert(m_Rows.begin() + ahead, kCurrentRow);
    m_Rows.resize(kEntries);
    m_Position = ahead < kEntries ? ahead + 1 : 0;
}

const cScores::Entry& cScores::RowEntry(int32_t index) const {
    const int32_t row = m_Rows[static_cast<size_t>(index - 1)];
    return row == kCurrentRow ? m_Current : m_Stored[static_cast<size_t>(row)];
}

cScores::Entry& cScores::RowEntry(int32_t index) {
    return const_cast<Entry&>(static_cast<const cScores&>(*this).RowEntry(index));
}

std::string cScores::HighScore_Initials(int32_t index) const {
    return InTable(index) ? RowEntry(index).initials : std::string();
}

std::string cScores::HighScore_Score(int32_t index) const {
    return InTable(index) ? std::to_string(RowEntry(index).score) : std::string();
}

int32_t cScores::HighScore(int32_t index) const { return InTable(index) ? RowEntry(index).score : 0; }

void cScores::AddInitialLetter(int32_t position, int32_t letterIndex, int32_t delta) {
    // A game that ranks below the ten has no row (position 0), and a hand-edited file may hold
    // short initials: there is no letter to step then, so nothing changes.
    if (!InTable(position)) return;
    std::string& initials = RowEntry(position).initials;
    if (letterIndex < 1 || letterIndex > static_cast<int32_t>(initials.size())) return;
    const auto index = static_cast<size_t>(letterIndex - 1);
    const int64_t code = static_cast<unsigned char>(initials[index]) + static_cast<int64_t>(delta);
    initials[index] = static_cast<char>(std::clamp<int64_t>(code, 'A', 'Z'));
}

void cScores::AddToScore(int32_t points) {
    m_Current.score = static_cast<int32_t>(static_cast<uint32_t>(m_Current.score) + static_cast<uint32_t>(points));
    Rank();
}

void cScores::WriteTable() {
    if (ReplayWatched()) return;  // a replay's scores are not the player's
    for (int32_t i = 1; i <= kEntries; ++i) Utility().SetHighScoreEntry(i, RowEntry(i).initials, RowEntry(i).score);
    Utility().SaveHighScores(ScoresPath());
}

void cScores::Save(const char* procedure, bool terminate, bool tell) {
    if (!m_Kept) return;
    int error = 0;
    try {
        WriteTable();
        return;
    } catch (const GfxFile::FileError& e) {
        error = e.Error();
    }
    if (m_SaveFailed) return;
    m_SaveFailed = true;
    const std::string problem = Problem("written", error);
    ReportError(ErrorNumber::PathNotFound, "cScores", procedure, problem, true, true, terminate);
    if (tell) GfxEngine::MessageBox("Kindlewisp", problem);
}

void cScores::SaveScores() { Save("SaveScores", true, false); }

void cScores::KeepFinishedGame() {
    if (!m_Kept) return;
    if (m_Position > 0 && m_Current.score > 0) m_Replay = KeepHighScoreReplay(m_Current.score, m_Replay);
    Save("KeepFinishedGame", false, true);
}
