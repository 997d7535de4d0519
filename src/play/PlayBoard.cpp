// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's board and level files: reading a level, building its orbs and background,
// filling the firing queue and starting the level's music.
#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <system_error>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "game/LevelCells.h"
#include "game/LevelFile.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/GfxFile.h"
#include "play/cPlayState.h"
#include "shell/AssetTable.h"

namespace {

std::filesystem::path LevelPathIn(const char* folder, int64_t level) {
    return gProgramFolder / "game" / folder / ("level" + std::to_string(level) + ".dat");
}

// What is wrong with a level file the reader refused, for a player who made it.
std::string LevelFault(const std::filesystem::path& path, bool withCloudsLine) {
    const auto file = GfxFile::ReadBounded(path, LevelLimits::MaxFileBytes);
    if (file.status != GfxFile::ReadStatus::Read) return "cannot be read: " + GfxFile::Explain(file.error);
    LevelProblems problems;
    ParseLevelFile(file.bytes, withCloudsLine, &problems);
    for (const LevelProblem& problem : problems)
        if (problem.error)
            return "is damaged: " + (problem.line > 0 ? "line " + std::to_string(problem.line) + ": " : "") +
                   problem.reason;
    return "cannot be played";
}

bool IsPlainFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// A level cell character as the orb it creates. Returns false for an empty cell.
bool CreateCellOrb(cOrb& orb, char c, int32_t column, int32_t row, const std::string& key) {
    const LevelCell* cell = FindLevelCell(c);
    if (!cell) return false;
    if (cell->orbType == 0) {
        orb.Create_Random_Orb(column, row, key, false);
        return true;
    }
    int32_t kind = cell->bonusKind;
    if (kind == 0) {
        // A surprise: drawn without reseeding, 1 chest, 2 tornado, 3 fireball.
        static constexpr int32_t kKinds[] = {BonusKind::Chest, BonusKind::Tornado, BonusKind::Fireball};
        kind = kKinds[gEngine->GetUtility().RandomRange(1, 3) - 1];
    }
    orb.Create_Orb(column, row, key, cell->orbType, kind, 1000);
    return true;
}

}  // namespace

std::string cPlayState::BoardKey(int32_t column, int32_t row) {
    // Built in one piece: the rules ask for keys several times per orb and frame.
    char x[12], y[12];
    char* xEnd = std::to_chars(x, x + sizeof x, column).ptr;
    char* yEnd = std::to_chars(y, y + sizeof y, row).ptr;
    std::string key("orbX");
    key.append(x, static_cast<size_t>(xEnd - x)).append(1, 'Y').append(y, static_cast<size_t>(yEnd - y));
    return key;
}

bool cPlayState::OrbExists(int32_t column, int32_t row) const { return m_Board.Exists(BoardKey(column, row)); }

bool cPlayState::IsMovingOrb(const std::string& key) const { return m_Moving.Exists(key); }

bool cPlayState::LevelFileExists(int32_t level) {
    return IsPlainFile(LevelPathIn("override", level)) || IsPlainFile(LevelPathIn("levels", level));
}

std::vector<int32_t> cPlayState::PlayableLevels(int32_t highest) {
    // The two folders are listed rather than probed number by number: a settings file may claim
    // any highest level, and only the files present can be played.
    std::set<int32_t> found;
    for (const char* folder : {"levels", "override"}) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(gProgramFolder / "game" / folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.size() <= 9 || name.rfind("level", 0) != 0 || name.compare(name.size() - 4, 4, ".dat") != 0)
                continue;
            const std::string digits = name.substr(5, name.size() - 9);
            if (digits.size() > 10 || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            const int64_t level = std::stoll(digits);
            if (level <= highest && IsPlainFile(it->path())) found.insert(static_cast<int32_t>(level));
        }
    }
    return {found.begin(), found.end()};
}

void cPlayState::PrepareLevelNumber() {
    if (gCurrentLevel < 1) gCurrentLevel = 1;
    if (gCurrentLevel > gHighestLevel) gHighestLevel = gCurrentLevel;
}

std::filesystem::path cPlayState::LevelFilePath() {
    const auto player = LevelPathIn("override", gCurrentLevel);
    return IsPlainFile(player) ? player : LevelPathIn("levels", gCurrentLevel);
}

LevelFile cPlayState::ReadLevel(const std::filesystem::path& path) const {
    return ReadLevelFile(path, LevelHasCloudsLine());
}

std::string cPlayState::LevelReportName() const { return std::to_string(gCurrentLevel); }

OrbRef cPlayState::MakeQueueOrb(int32_t orbType) {
    auto orb = std::make_shared<cOrb>();
    orb->Create_Orb(-1, -1, "fired" + std::to_string(m_OrbCounter), orbType, BonusKind::Chest, 1000);
    ++m_OrbCounter;
    return orb;
}

void cPlayState::FillQueue() {
    m_NextOrb = std::make_shared<cOrb>();
    m_NextOrb->Create_Random_Orb(-1, -1, "fired" + std::to_string(m_OrbCounter), false);
    ++m_OrbCounter;
    auto current = std::make_shared<cOrb>();
    current->Create_Random_Orb(-1, -1, "fired" + std::to_string(m_OrbCounter), false);
    MakeCurrent(current);
    ++m_OrbCounter;
}

void cPlayState::MakeCurrent(OrbRef orb) {
    m_CurrentOrb = std::move(orb);
    m_CurrentOrb->SetPosition(PlayGeometry::NextOrbX, PlayGeometry::CurrentOrbY);
}

void cPlayState::CreateLevel() {
    std::filesystem::path path;
    try {
        PrepareLevelNumber();
        path = LevelFilePath();
        m_Board = Collection<OrbRef>();
        m_Moving = Collection<OrbRef>();
        const LevelFile level = ReadLevel(path);

        m_RiseInterval = level.riseInterval;
        LoadBoardImage(level.picture);
        m_CloudsOn = level.cloudsOn;

        for (const LevelFile::OrbRow& line : level.orbRows) {
            for (size_t column = 0; column < line.cells.size(); ++column) {
                const auto c32 = static_cast<int32_t>(column);
                const std::string key = BoardKey(c32, line.row);
                auto orb = std::make_shared<cOrb>();
                if (!CreateCellOrb(*orb, line.cells[column], c32, line.row, key)) continue;
                if (line.row == -1) orb->PlaceInCell();
                m_Board.Add(orb, key);
            }
        }

        FillQueue();

        if (HasMusic()) {
            GfxUtility& utility = gEngine->GetUtility();
            utility.SeedRandom(static_cast<int32_t>(std::lrint(Timer())));
            const int32_t track = utility.RandomRange(1, 3);
            GfxMusic& music = gEngine->GetMusic();
            music.LoadMusic("game/sounds/puzzle" + std::to_string(track) + ".mp3", 0);
            music.SetMusicVolume(0);
            music.PlayMusic(true, 0);
        }
    } catch (const RuntimeError& error) {
        ReportLevelFileError(error.Number(), path);
    } catch (const std::exception&) {
        ReportLevelFileError(0, path);
    }
}

void cPlayState::ReportLevelFileError(int32_t pendingError, const std::filesystem::path& path) {
    const std::string name = LevelReportName();
    // A player's own level: re-installing cannot mend it, so the file and its fault are named.
    if (!path.empty() && path.parent_path() == gProgramFolder / "game" / "override") {
        ReportError(pendingError == ErrorNumber::TypeMismatch ? pendingError : ErrorNumber::FileNotFound, "cPlayState",
                    "CreateLevel",
                    "The level file " + path.string() + " " + LevelFault(path, LevelHasCloudsLine()) +
                        ". Fix it, or remove it to play the game's own level " + name + ".",
                    true, true, true, pendingError);
        return;
    }
    ReportError(ErrorNumber::TypeMismatch, "cPlayState", "CreateLevel",
                "Level file " + name + " is corrupt. Please re-install.", true, false, true, pendingError);
    ReportError(ErrorNumber::FileNotFound, "cPlayState", "CreateLevel",
                "Level file " + name + " is not found. Please re-install.", true, true, true, pendingError);
}

void cPlayState::LoadBoardImage(const std::string& name) {
    for (const char* key : {"board", "board2"}) {
        if (gSprites->Item(std::string(key))) gSprites->Remove_Sprite(std::string(key));
        auto sprite = std::make_shared<GfxSprite>();
        gSprites->Add_Sprite(sprite, key, 1);
        sprite->SetTexture(gTextures->Texture(name + ".png"));
        sprite->SetSourceRect(0, 0, assets::kBoardW, assets::kBoardH);
        sprite->SetVisible(true);
        sprite->SetBlend(true);
        sprite->SetX(PlayGeometry::BackgroundX);
        sprite->SetY(std::string(key) == "board" ? 0.0F : static_cast<float>(assets::kBoardH));
    }
}
