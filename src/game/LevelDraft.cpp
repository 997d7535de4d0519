// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/LevelDraft.h"

#include <algorithm>
#include <system_error>

#include "base/RuntimeError.h"
#include "gfx/GfxFile.h"

namespace {
// Enough to take back an afternoon's work step by step; each step is a few hundred bytes.
constexpr size_t kMaxUndo = 1000;
}  // namespace

LevelDraft::LevelDraft() {
    for (auto& column : m_State.cells) column.fill(Empty);
    m_Saved = m_State;
}

bool LevelDraft::Load(const std::filesystem::path& file, std::string& why, int32_t& dropped) {
    const auto read = GfxFile::ReadBounded(file, LevelLimits::MaxFileBytes);
    if (read.status != GfxFile::ReadStatus::Read || read.truncated) {
        why = read.truncated ? "the file is too big to be a level" : "the file cannot be read";
        return false;
    }
    if (!LoadText(read.bytes, dropped)) {
        why = "the file is no level: its header cannot be read";
        return false;
    }
    return true;
}

bool LevelDraft::LoadText(const std::string& bytes, int32_t& dropped) {
    LevelProblems problems;
    const LevelFile level = ParseLevelFile(bytes, true, &problems);
    if (level.firstRowLine == 0) return false;
    State state;
    for (auto& column : state.cells) column.fill(Empty);
    state.riseInterval = level.riseInterval;
    if (!level.picture.empty()) state.picture = level.picture;
    state.cloudsOn = level.cloudsOn;
    dropped = 0;
    for (const LevelFile::OrbRow& line : level.orbRows) {
        for (size_t c = 0; c < line.cells.size(); ++c) {
            if (!IsOrbCharacter(line.cells[c])) continue;
            if (c < Columns && line.row >= 0 && line.row < Rows)
                state.cells[c][static_cast<size_t>(line.row)] = line.cells[c];
            else
                ++dropped;
        }
    }
    m_State = state;
    m_Saved = state;
    m_Undo.clear();
    m_Redo.clear();
    ++m_Revision;
    return true;
}

int32_t LevelDraft::RowCount() const {
    int32_t count = 0;
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t c = 0; c < Columns; ++c)
            if (Cell(c, row) != Empty) count = row + 1;
    return count;
}

std::string LevelDraft::Text() const {
    LevelFile level;
    level.riseInterval = m_State.riseInterval;
    level.picture = m_State.picture;
    level.cloudsOn = m_State.cloudsOn;
    level.rowCount = RowCount();
    for (int32_t row = level.rowCount - 1; row >= 0; --row) {
        std::string cells;
        for (int32_t c = 0; c < Columns; ++c) cells += Cell(c, row);
        level.orbRows.push_back({row, cells});
    }
    return WriteLevelFile(level, true);
}

bool LevelDraft::Save(const std::filesystem::path& file, std::string& why) {
    const std::string text = Text();
    // The game reads what is written exactly as the editor holds it, or nothing is written.
    LevelDraft check;
    int32_t dropped = 0;
    try {
        ParseLevelFile(text, true);
    } catch (const RuntimeError&) {
        why = "the level would not read back";
        return false;
    }
    if (!check.LoadText(text, dropped) || !(check.m_State == m_State)) {
        why = "the level would not read back";
        return false;
    }
    // Through a link, the level it leads to is saved and the link stays.
    std::filesystem::path target = file;
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, ec); ++hops)
        target = target.parent_path() / std::filesystem::read_symlink(target, ec);
    if (GfxFile::IsReadOnly(target)) {
        why = target.string() + " is read-only; make it writable (chmod u+w) to save over it";
        return false;
    }
    int error = 0;
    if (!GfxFile::WriteAtomically(target, text, &error)) {
        why = target.string() + " cannot be written: " + GfxFile::Explain(error);
        return false;
    }
    m_Saved = m_State;
    ++m_Revision;
    return true;
}

LevelProblems LevelDraft::Check(const PictureExists& pictureExists) const {
    return CheckLevel(Text(), true, pictureExists);
}

bool LevelDraft::CellOfFinding(const LevelProblem& problem, int32_t& column, int32_t& row) const {
    const int32_t index = problem.line - (LevelHeaderLines + 1);  // of the row lines, top first
    column = problem.column - 1;
    row = RowCount() - 1 - index;
    return index >= 0 && column >= 0 && column < Columns && row >= 0 && row < Rows;
}

char LevelDraft::Cell(int32_t column, int32_t row) const {
    if (column < 0 || column >= Columns || row < 0 || row >= Rows) return Empty;
    return m_State.cells[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

void LevelDraft::SetCell(int32_t column, int32_t row, char cell) {
    if (column < 0 || column >= Columns || row < 0 || row >= Rows) return;
    if (cell != Empty && !IsOrbCharacter(cell)) return;
    State next = m_State;
    next.cells[static_cast<size_t>(column)][static_cast<size_t>(row)] = cell;
    Change(next);
}

void LevelDraft::SetRiseInterval(int32_t ms) {
    State next = m_State;
    next.riseInterval = std::clamp(ms, LevelCheckLimits::MinRiseInterval, LevelCheckLimits::MaxRiseInterval);
    Change(next);
}

void LevelDraft::SetPicture(const std::string& name) {
    if (!IsPictureName(name)) return;
    State next = m_State;
    next.picture = name;
    Change(next);
}

void LevelDraft::SetCloudsOn(bool on) {
    State next = m_State;
    next.cloudsOn = on;
    Change(next);
}

void LevelDraft::BeginStroke() {
    m_InStroke = true;
    m_StrokeRecorded = false;
}

void LevelDraft::EndStroke() { m_InStroke = false; }

void LevelDraft::Change(const State& next) {
    if (next == m_State) return;
    if (!m_InStroke || !m_StrokeRecorded) {
        m_Undo.push_back(m_State);
        if (m_Undo.size() > kMaxUndo) m_Undo.erase(m_Undo.begin());
        m_StrokeRecorded = m_InStroke;
    }
    m_Redo.clear();
    m_State = next;
    ++m_Revision;
}

bool LevelDraft::Undo() {
    if (m_Undo.empty()) return false;
    m_Redo.push_back(m_State);
    m_State = m_Undo.back();
    m_Undo.pop_back();
    m_InStroke = false;
    ++m_Revision;
    return true;
}

bool LevelDraft::Redo() {
    if (m_Redo.empty()) return false;
    m_Undo.push_back(m_State);
    m_State = m_Redo.back();
    m_Redo.pop_back();
    ++m_Revision;
    return true;
}
