// The score of the game being played and its place in the ten-entry high-score table that
// GfxUtility holds; owns nothing but the score and position, the table lives in the library.
#pragma once

#include <cstdint>
#include <string>

class cScores final {
public:
    cScores();   // loads the table and claims entry 10 for the new game
    ~cScores();  // writes the table once more
    cScores(const cScores&) = delete;
    cScores& operator=(const cScores&) = delete;

    int32_t CurrentPosition() const { return m_Position; }
    int32_t CurrentScore() const { return m_Score; }
    std::string HighScore_Initials(int32_t index) const;  // "" outside 1..10
    std::string HighScore_Score(int32_t index) const;     // "" outside 1..10
    int32_t HighScore(int32_t index) const;               // 0 outside 1..10

    // Steps one letter (1..3) of an entry's initials by delta, held within A..Z.
    void AddInitialLetter(int32_t position, int32_t letterIndex, int32_t delta);
    void AddToScore(int32_t points);
    void SaveScores();
    // A game that must leave the file alone (the tutorial) turns off the write at release.
    void SetSaveOnRelease(bool save) { m_SaveOnRelease = save; }

    static std::string ScoresPath();  // the table's file under the program folder

private:
    int32_t FindEntry(int32_t score) const;  // first entry holding score, 0 when none

    int32_t m_Score = 0;     // may fall below zero
    int32_t m_Position = 0;  // 1..10 once points were counted, 0 before
    bool m_SaveOnRelease = true;
};
