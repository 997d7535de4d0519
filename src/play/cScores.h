// SPDX-License-Identifier: GPL-3.0-or-later
// The score of the game being played and the high-score table it plays against: the ten entries
// the library's table held when the game began, and the current game's own entry. The table the
// player sees, and the one saved, is both together, best first, cut to ten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class cScores final {
public:
    // Loads the stored table. `kept`: this game's scores are saved (not the tutorial's). A table
    // that cannot be read is reported and left alone: the game is played against the default
    // table, and its scores are not kept.
    explicit cScores(bool kept = true);
    ~cScores();  // writes the table once more
    cScores(const cScores&) = delete;
    cScores& operator=(const cScores&) = delete;

    // The current game's row in the table, 0 while it ranks below the ten.
    int32_t CurrentPosition() const { return m_Position; }
    int32_t CurrentScore() const { return m_Current.score; }
    std::string HighScore_Initials(int32_t index) const;  // "" outside 1..10
    std::string HighScore_Score(int32_t index) const;     // "" outside 1..10
    int32_t HighScore(int32_t index) const;               // 0 outside 1..10

    // Steps one letter (1..3) of a row's initials by delta, held within A..Z.
    void AddInitialLetter(int32_t position, int32_t letterIndex, int32_t delta);
    void AddToScore(int32_t points);
    // Ends the program when the table cannot be written, unless the player was told already.
    void SaveScores();
    // The game is over: its score (with the initials given so far) and its top-ten replay are
    // saved at once, so a game killed while the initials are entered keeps them. A failure is
    // told to the player, and play goes on.
    void KeepFinishedGame();

    static std::string ScoresPath();  // the table's file under the program folder

private:
    struct Entry {
        std::string initials;
        int32_t score = 0;
    };
    static constexpr int32_t kCurrentRow = -1;  // a row that shows the current game

    void Rank();
    Entry& RowEntry(int32_t index);  // index 1..10
    const Entry& RowEntry(int32_t index) const;
    void WriteTable();  // the live table into the library's store, then to the file
    // Writes the table when this game keeps it; a first failure is reported, ending the program
    // with `terminate`, else told in a message box.
    void Save(const char* procedure, bool terminate, bool tell);

    std::vector<Entry> m_Stored;     // as loaded, best first; on a tie the older entry first
    Entry m_Current{"AAA", 0};       // the game being played; its score may fall below zero
    std::vector<int32_t> m_Rows;     // the live table: an index into m_Stored, or kCurrentRow
    int32_t m_Position = 0;          // row of the current game, 0 when outside the ten
    bool m_Kept;                     // the table is saved: a played game's, read from its file
    bool m_SaveFailed = false;       // a save failed and was reported; later ones only try again
    std::filesystem::path m_Replay;  // this game's top-ten replay, once kept
};
