// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/EndlessBoard.h"

#include <algorithm>

#include "game/LevelCheck.h"
#include "game/LevelGenerator.h"

namespace {

// The trial's verdict is certain once it has its wins, or has lost more than it may.
bool Decided(const TrialSummary& summary) {
    const auto played = static_cast<int32_t>(summary.runs.size());
    return summary.Won() >= BoardProof::Wins || played - summary.Won() > BoardProof::Runs - BoardProof::Wins;
}

// Why a design is not shown, or empty when it passed.
std::string Prove(ProvenBoard& candidate) {
    const LevelProblems problems = CheckLevel(candidate.text, true, GamePictures({}));
    for (const LevelProblem& problem : problems)
        if (problem.error) return "the checker found an error: " + FormatProblem("board", problem);
    TrialOptions options;
    options.decided = Decided;
    candidate.proof = PlayLevelTrials(candidate.level, BoardProof::Runs, options);
    if (candidate.proof.Won() >= BoardProof::Wins) return "";
    return "the casual player won " + std::to_string(candidate.proof.Won()) + " of " +
           std::to_string(candidate.proof.runs.size()) + " runs";
}

}  // namespace

std::optional<ProvenBoard> GenerateProvenBoard(uint32_t seed, int32_t board,
                                               const std::function<void(const std::string&)>& log) {
    int32_t attempt = 0;
    // Past the hardest board every board is as hard as it, so easing starts from there.
    for (int32_t of = std::clamp(board, 1, EndlessBoards::HardestBoard);; of = std::min(of - 1, of * 3 / 4)) {
        of = std::max(of, 1);
        const int32_t tries =
            of == std::min(board, EndlessBoards::HardestBoard) ? BoardProof::FirstAttempts : BoardProof::EasedAttempts;
        for (int32_t i = 0; i < tries; ++i, ++attempt) {
            ProvenBoard candidate;
            candidate.attempts = attempt + 1;
            candidate.difficultyOf = of;
            // Read back as the game will read the file, so the proof plays exactly what is written.
            candidate.text = WriteLevelFile(DesignBoard(seed, board, attempt, DifficultyOf(of)), true);
            candidate.level = ParseLevelFile(candidate.text, true);
            const std::string why = Prove(candidate);
            if (why.empty()) return candidate;
            if (log)
                log("board " + std::to_string(board) + ", design " + std::to_string(attempt + 1) +
                    " at the difficulty of board " + std::to_string(of) + " not shown: " + why);
        }
        if (of == 1) return std::nullopt;
    }
}
