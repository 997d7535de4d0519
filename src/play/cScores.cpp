// The current game's entry rides the high-score table: every change of score moves it by one
// bubble pass from the bottom, so equal scores keep their order.
#include "play/cScores.h"

#include <exception>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"

namespace {
constexpr int32_t kEntries = 10;

GfxUtility& Utility() { return gEngine->GetUtility(); }

bool InTable(int32_t index) { return index >= 1 && index <= kEntries; }

std::string NotFoundMessage() { return "Path to file " + cScores::ScoresPath() + " is not found."; }

int32_t PendingNumber(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e.Number();
    } catch (...) {
        return ErrorNumber::PathNotFound;
    }
}
}  // namespace

std::string cScores::ScoresPath() { return (gProgramFolder / "game" / "data" / "scores.dat").string(); }

cScores::cScores() {
    int32_t pending = 0;
    try {
        Utility().LoadHighScores(ScoresPath());
    } catch (const std::exception&) {
        pending = PendingNumber(std::current_exception());
    }
    if (pending != 0)
        ReportError(ErrorNumber::PathNotFound, "cScores", "Initialize", NotFoundMessage(), true, true, true, pending);
    Utility().SetHighScore(kEntries, "AAA", 0);
}

cScores::~cScores() {
    // The release writes the table once more. An error may not leave a destructor, so a failure
    // here is logged and the shutdown or state switch in progress goes on.
    if (!m_SaveOnRelease) return;
    try {
        Utility().SaveHighScores(ScoresPath());
    } catch (const std::exception&) {
        try {
            ReportError(ErrorNumber::PathNotFound, "cScores", "SaveScores", NotFoundMessage(), true, true, false,
                        PendingNumber(std::current_exception()));
        } catch (...) {
            // The log itself failed; there is nowhere left to report to.
        }
    }
}

std::string cScores::HighScore_Initials(int32_t index) const {
    return InTable(index) ? Utility().GetHighScoreName(index) : std::string();
}

std::string cScores::HighScore_Score(int32_t index) const {
    return InTable(index) ? std::to_string(Utility().GetHighScoreValue(index)) : std::string();
}

int32_t cScores::HighScore(int32_t index) const { return InTable(index) ? Utility().GetHighScoreValue(index) : 0; }

int32_t cScores::FindEntry(int32_t score) const {
    for (int32_t i = 1; i <= kEntries; ++i)
        if (HighScore(i) == score) return i;
    return 0;
}

void cScores::AddInitialLetter(int32_t position, int32_t letterIndex, int32_t delta) {
    // A game lost before any points has no entry (position 0), and a hand-edited file may hold
    // short initials: there is no letter to step then, so nothing changes.
    if (!InTable(position)) return;
    const std::string current = HighScore_Initials(position);
    if (letterIndex < 1 || letterIndex > static_cast<int32_t>(current.size())) return;
    const auto index = static_cast<size_t>(letterIndex - 1);
    int64_t code = static_cast<unsigned char>(current[index]) + static_cast<int64_t>(delta);
    if (code < 'A') code = 'A';
    if (code > 'Z') code = 'Z';
    std::string changed = current;
    changed[index] = static_cast<char>(code);
    // The entry's own score is passed back rather than the library's "keep the score" value -1,
    // so a game whose score really is -1 keeps it too.
    if (changed != current) Utility().SetHighScore(position, changed, HighScore(position));
}

void cScores::AddToScore(int32_t points) {
    const int32_t entry = FindEntry(m_Score);
    m_Score = static_cast<int32_t>(static_cast<uint32_t>(m_Score) + static_cast<uint32_t>(points));
    if (entry != 0) Utility().SetHighScore(entry, HighScore_Initials(entry), m_Score);
    for (int32_t j = kEntries - 1; j >= 1; --j) {
        if (HighScore(j) < HighScore(j + 1)) {
            const std::string initials = HighScore_Initials(j);
            const int32_t score = HighScore(j);
            Utility().SetHighScore(j, HighScore_Initials(j + 1), HighScore(j + 1));
            Utility().SetHighScore(j + 1, initials, score);
        }
    }
    m_Position = FindEntry(m_Score);
}

void cScores::SaveScores() {
    int32_t pending = 0;
    try {
        Utility().SaveHighScores(ScoresPath());
    } catch (const std::exception&) {
        pending = PendingNumber(std::current_exception());
    }
    if (pending != 0)
        ReportError(ErrorNumber::PathNotFound, "cScores", "SaveScores", NotFoundMessage(), true, true, true, pending);
}
