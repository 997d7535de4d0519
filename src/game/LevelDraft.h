// SPDX-License-Identifier: GPL-3.0-or-later
// The level editor's document: a 19 x 20 board of cells and the header a level file holds, with
// undo and redo, and load and save in the level format through the game's own reader and writer.
// No window: the editor draws it, the tests drive it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/LevelCheck.h"
#include "game/LevelFile.h"
#include "game/PlayGeometry.h"

class LevelDraft final {
public:
    static constexpr int32_t Columns = PlayGeometry::Columns, Rows = PlayGeometry::Rows;
    static constexpr char Empty = '.';

    LevelDraft();  // a new level: an empty board on the meadow, 500 ms, clouds on

    // ---- Reading; false with the reason when the file cannot be read ----
    // Cells off the board or that are no cell are left out: `dropped` counts them.
    bool Load(const std::filesystem::path& file, std::string& why, int32_t& dropped);
    bool LoadText(const std::string& bytes, int32_t& dropped);
    // Written atomically, and only when the game's reader reads it back as it stands; never over
    // a read-only file, and through a link into the file it leads to.
    bool Save(const std::filesystem::path& file, std::string& why);
    // The level file's text, CR LF lines.
    std::string Text() const;
    LevelProblems Check(const PictureExists& pictureExists) const;
    // The board cell a finding of Check points at; false for a finding about the header or file.
    bool CellOfFinding(const LevelProblem& problem, int32_t& column, int32_t& row) const;

    // ---- Reading the document ----
    char Cell(int32_t column, int32_t row) const;  // Empty outside the board
    int32_t RiseInterval() const { return m_State.riseInterval; }
    const std::string& Picture() const { return m_State.picture; }
    bool CloudsOn() const { return m_State.cloudsOn; }
    // Changed since it was loaded or saved; undoing back to that point makes it unchanged again.
    bool Modified() const { return !(m_State == m_Saved); }
    bool CanUndo() const { return !m_Undo.empty(); }
    bool CanRedo() const { return !m_Redo.empty(); }
    // Counts every change, undo and redo, so a view knows when to look again.
    uint64_t Revision() const { return m_Revision; }

    // ---- Edits; each is one undo step unless inside a stroke ----
    // A cell letter of the level format, or Empty; anything else is ignored.
    void SetCell(int32_t column, int32_t row, char cell);
    void SetRiseInterval(int32_t ms);          // kept within the range the checker accepts
    void SetPicture(const std::string& name);  // only a plain picture name
    void SetCloudsOn(bool on);
    // Every edit between these is one undo step (a drag of the mouse over many cells).
    void BeginStroke();
    void EndStroke();
    bool Undo();
    bool Redo();

private:
    struct State {
        std::array<std::array<char, Rows>, Columns> cells;  // [column][row], row 0 at the bottom
        int32_t riseInterval = 500;
        std::string picture = "meadow";
        bool cloudsOn = true;
        bool operator==(const State&) const = default;
    };
    // Rows the file holds: up to the highest orb.
    int32_t RowCount() const;
    // Remembers the state before an edit that changes something.
    void Change(const State& next);

    State m_State;
    State m_Saved;  // as last loaded or saved
    std::vector<State> m_Undo, m_Redo;
    bool m_InStroke = false;
    bool m_StrokeRecorded = false;  // the stroke has put its one undo step down
    uint64_t m_Revision = 0;
};
