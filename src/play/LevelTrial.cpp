// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/LevelTrial.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "game/LevelFile.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cLevelFileState.h"
#include "shell/World.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kFrameMs = 16;  // a frame of a 60 Hz display, as the runner plays
constexpr uint32_t kStartTick = 100000;

// The play state under trial: the level it is given, without the intro display and the music,
// whose ends only drawing would reach; the player works its dragon through the state's own moves.
class cTrialPlay final : public cLevelFileState {
public:
    explicit cTrialPlay(const LevelFile& level) : cLevelFileState({}, Checked{}), m_Level(level) {
        InitializeGraphics();
    }
    void Step(int32_t direction) { StartDragonMove(direction); }
    void Fire() { FireOrb(); }

protected:
    LevelFile ReadLevel(const fs::path&) const override { return m_Level; }
    bool HasMusic() const override { return false; }
    bool HasLevelIntro() const override { return false; }

private:
    const LevelFile& m_Level;
};

// The board as the player sees it: what stands in each cell, and how high each column is.
class View {
public:
    explicit View(const cPlayState& play) {
        for (auto& column : m_Cells) column.fill(0);
        m_Top.fill(-1);
        for (const auto& entry : play.Board().Entries()) {
            const cOrb& orb = *entry.value;
            const int32_t c = orb.PositionX(), row = orb.PositionY();
            if (c < 0 || c >= kColumns || row < 0 || row >= kRows) continue;
            // A burning orb still stops a shot but joins no group.
            m_Cells[c][row] = orb.IsDestroyed() ? -1 : orb.OrbType();
            if (c < PlayGeometry::Columns && row < PlayGeometry::Rows) m_Top[c] = std::max(m_Top[c], row);
        }
    }
    int32_t Top(int32_t column) const { return m_Top[column]; }
    // The orbs a shot of this type landing on the column would join, itself included.
    int32_t GroupOnLanding(int32_t column, int32_t type) const {
        std::array<std::array<bool, kRows>, kColumns> seen{};
        const int32_t row = m_Top[column] + 1;
        int32_t count = 1;
        std::vector<std::pair<int32_t, int32_t>> todo{{column, row}};
        seen[column][row] = true;
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            for (const auto& [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
                if (nx < 0 || nx >= kColumns || ny < 0 || ny >= kRows || seen[nx][ny] || m_Cells[nx][ny] != type)
                    continue;
                seen[nx][ny] = true;
                ++count;
                todo.emplace_back(nx, ny);
            }
        }
        return count;
    }

private:
    // Columns past the board still hold orbs a group may reach; rows up to one above the board.
    static constexpr int32_t kColumns = LevelLimits::MaxColumns, kRows = PlayGeometry::Rows + 1;
    std::array<std::array<int32_t, kRows>, kColumns> m_Cells;
    std::array<int32_t, PlayGeometry::Columns> m_Top;
};

// The column the casual player aims at for the current orb.
int32_t ChooseColumn(const cPlayState& play) {
    const View view(play);
    const int32_t from = play.DragonColumn();
    const int32_t type = play.CurrentOrb()->OrbType();
    int64_t bestScore = LLONG_MIN;
    int32_t best = from;
    for (int32_t c = 0; c < PlayGeometry::Columns; ++c) {
        const int32_t top = view.Top(c);
        int64_t score = 0;  // tier, then its value
        if (type == OrbKind::Fireball) {
            score = top;  // the tallest stack
        } else if (top < 0) {
            score = 1'000;  // an empty column takes what cannot be used
        } else if (top + 1 < PlayGeometry::Rows) {
            const int32_t group = view.GroupOnLanding(c, type);
            score = group >= 3 ? 3'000 + group : group == 2 ? 2'000 : -top;
        } else {
            continue;  // a shot there would stand above the board
        }
        // Among equals, the nearest column.
        score = score * 100 - std::abs(c - from);
        if (score > bestScore) {
            bestScore = score;
            best = c;
        }
    }
    return best;
}

class PlayerAtControls {
public:
    PlayerAtControls(const PlayerProfile& profile, int32_t run) : m_Profile(profile) {
        // A stream of its own: the play state's draws stay those of the run's time of day.
        m_Random.SeedRandom(run);
    }
    void Act(cTrialPlay& play, int32_t now) {
        if (play.DragonMoving() || !play.CurrentOrb()) return;
        if (play.CurrentOrb()->Key() != m_OrbKey) {  // a new orb to place
            m_OrbKey = play.CurrentOrb()->Key();
            m_RandomColumn = -1;
            if (m_Profile.randomShotOneIn > 0 && m_Random.RandomRange(1, m_Profile.randomShotOneIn) == 1)
                m_RandomColumn = m_Random.RandomRange(0, PlayGeometry::Columns - 1);
        }
        const int32_t target = m_RandomColumn >= 0 ? m_RandomColumn : ChooseColumn(play);
        if (target != play.DragonColumn()) {
            if (m_Stepped && TicksSince(now, m_StepAt) < m_Profile.stepGapMs) return;
            play.Step(target > play.DragonColumn() ? 1 : -1);
            m_Stepped = true;
            m_StepAt = now;
        } else if (!m_Fired || TicksSince(now, m_FireAt) >= m_Profile.fireGapMs) {
            if (play.DragonFiring()) return;
            play.Fire();
            m_Fired = true;
            m_FireAt = now;
        }
    }

private:
    const PlayerProfile& m_Profile;
    GfxUtility m_Random;
    std::string m_OrbKey;         // the queue orb the player last chose for
    int32_t m_RandomColumn = -1;  // where that orb goes when the player's mind wandered; -1: its choice
    bool m_Stepped = false, m_Fired = false;
    int32_t m_StepAt = 0, m_FireAt = 0;
};

TrialRun PlayOnce(const LevelFile& level, const PlayerProfile& profile, int32_t run, int32_t maxPlayMs) {
    // Runs start hours apart in the day, so each seeds its queue differently.
    UseVirtualClock(kStartTick, 3600.0 + (static_cast<int64_t>(run) * 7919) % 79200);
    TrialRun result;
    cTrialPlay play(level);
    PlayerAtControls player(profile, run);
    const auto dragon = play.DragonSprite();
    const int32_t dragonLine =
        static_cast<int32_t>(dragon->GetY()) + dragon->GetHeight() - PlayGeometry::UndersideInset;
    result.tightestMargin = INT32_MAX;
    for (int32_t played = 0; played < maxPlayMs; played += kFrameMs) {
        player.Act(play, GetTickCount());
        play.ProcessState();
        for (const auto& entry : play.Board().Entries())
            if (entry.value->PositionX() < PlayGeometry::Columns)
                result.tightestMargin = std::min(result.tightestMargin, entry.value->PixelY() - dragonLine);
        result.playedMs = played;
        result.won = play.LevelComplete();
        result.lost = play.GameOver();
        if (result.won || result.lost) break;
        AdvanceVirtualClock(kFrameMs);
    }
    if (result.tightestMargin == INT32_MAX) result.tightestMargin = 0;
    return result;
}

}  // namespace

int32_t TrialSummary::Won() const {
    return static_cast<int32_t>(std::count_if(runs.begin(), runs.end(), [](const TrialRun& r) { return r.won; }));
}

int32_t TrialSummary::Lost() const {
    return static_cast<int32_t>(std::count_if(runs.begin(), runs.end(), [](const TrialRun& r) { return r.lost; }));
}

std::optional<int32_t> TrialSummary::MedianWinMs() const {
    std::vector<int32_t> times;
    for (const TrialRun& r : runs)
        if (r.won) times.push_back(r.playedMs);
    if (times.empty()) return std::nullopt;
    std::sort(times.begin(), times.end());
    const size_t mid = times.size() / 2;
    return times.size() % 2 ? times[mid] : (times[mid - 1] + times[mid]) / 2;
}

std::optional<int32_t> TrialSummary::TightestWonMargin() const {
    std::optional<int32_t> tightest;
    for (const TrialRun& r : runs)
        if (r.won && (!tightest || r.tightestMargin < *tightest)) tightest = r.tightestMargin;
    return tightest;
}

const PlayerProfile* PlayerProfiles::Find(std::string_view name) {
    for (const PlayerProfile& profile : All)
        if (profile.name == name) return &profile;
    return nullptr;
}

TrialSummary PlayLevelTrials(const LevelFile& level, int32_t runs, const TrialOptions& options) {
    TrialSummary summary;
    HeadlessWorld::Options world;
    world.startTick = kStartTick;
    world.standIns = true;
    const HeadlessWorld headless(world);
    for (int32_t run = 0; run < runs; ++run) {
        summary.runs.push_back(PlayOnce(level, options.player, options.firstRun + run, options.maxPlayMs));
        if (options.decided && options.decided(summary)) break;
    }
    return summary;
}

TrialSummary PlayLevelTrials(const fs::path& levelFile, int32_t runs, const TrialOptions& options) {
    return PlayLevelTrials(ReadLevelFile(levelFile, true), runs, options);
}
