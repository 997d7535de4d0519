// SPDX-License-Identifier: GPL-3.0-or-later
// Replays are written atomically and only into game/replays/: recording never touches the game's
// own files, and a failure costs the replay, never the game.
#include "shell/Replays.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "gfx/Script.h"
#include "gfx/ScriptRecorder.h"
#include "shell/CommandLine.h"
#include "shell/ScriptPlayer.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "shell/modSettings.h"

namespace {
std::unique_ptr<ScriptRecorder> sRecorder;

struct Watch {
    ScriptSettings settings;
    ScriptPlayer player{16};
    bool playing = true;  // false once the player has stopped it
    bool paused = false;
};
std::unique_ptr<Watch> sWatch;  // set for the whole run once a replay was watched
// A recording takes some ten bytes a frame at most; a file far beyond any game's is refused.
constexpr std::size_t MaxReplayBytes = 64 << 20;
bool sReportedUnwritable = false;  // one line in the log per run, however many saves fail

bool Write(const std::filesystem::path& file, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (GfxFile::WriteAtomically(file, text)) return true;
    if (!sReportedUnwritable) {
        sReportedUnwritable = true;
        ReportError(ErrorNumber::PathNotFound, "modReplays", "SaveReplay",
                    "Path to file " + file.string() + " could not be written; replays are not kept.", true, true,
                    false);
    }
    return false;
}

// The score a kept replay's name ends in ("2026-12-07T031500-1250.kws"), or nullopt for any other
// file: what a player keeps in the folder under another name is never pruned.
std::optional<long long> KeptScore(const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    constexpr std::string_view Date = "0000-00-00T000000-";
    if (file.extension() != ".kws" || stem.size() <= Date.size() || stem.size() > Date.size() + 12) return std::nullopt;
    for (size_t i = 0; i < stem.size(); ++i) {
        const char want = i < Date.size() ? Date[i] : '0';
        if (want == '0' ? !std::isdigit(static_cast<unsigned char>(stem[i])) : stem[i] != want) return std::nullopt;
    }
    return std::stoll(stem.substr(Date.size()));
}

void PruneScoreReplays() {
    std::error_code ec;
    std::vector<std::pair<long long, std::filesystem::path>> kept;
    for (const auto& entry : std::filesystem::directory_iterator(ReplaysFolder(), ec))
        if (const auto score = KeptScore(entry.path()); score && entry.is_regular_file(ec))
            kept.emplace_back(*score, entry.path());
    if (kept.size() <= static_cast<size_t>(MaxScoreReplays)) return;
    // Best first; among equal scores the older name (its date) stays.
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second.filename() < b.second.filename();
    });
    for (size_t i = MaxScoreReplays; i < kept.size(); ++i) std::filesystem::remove(kept[i].second, ec);
}

std::string DateText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H%M%S", &local);
    return text;
}

void StopWatching() {
    sWatch->playing = false;
    ContinueInRealTime();
    gEngine->SetScriptedInputOnly(false);
    if (gCurrentState) gCurrentState->Destroy();
    SetState(StateTitle);
}

void OnWatchLoop(LoopPoint point) {
    Watch& watch = *sWatch;
    if (!watch.playing) return;
    if (point == LoopPoint::BeforeFirstFrame) {
        ForgetLoadedSettings();  // what the replay does to them is not the player's
        if (watch.settings.joystick) gEngine->AttachVirtualJoystick();
        RestartPacing();
    } else {
        watch.player.PassDone(point);
        watch.player.Advance();
        PaceVirtualClock();
    }
    // Paused, the loop waits here: a frame may not run without its time passing.
    for (auto input = gEngine->TakePlayerInput(0);; input = gEngine->TakePlayerInput(20)) {
        if (input.close) {
            gRunning = false;
            return;
        }
        for (const int32_t key : input.keys) {
            if (key == GfxKey::Escape) return StopWatching();
            if (key == GfxKey::P) watch.paused = !watch.paused;
        }
        if (!watch.paused) break;
        RestartPacing();
    }
    watch.player.DeliverDue();
}
}  // namespace

void StartReplays() {
    if (sWatch) SetFrameHook(nullptr);  // an earlier run in this process watched
    sWatch.reset();
    const std::string file = CommandLineFile("Replay").string();
    if (file.empty())
        StartRecording();
    else
        StartWatching(file);
}

void StartWatching(const std::string& file) {
    sWatch = std::make_unique<Watch>();
    const auto read = GfxFile::ReadBounded(file, MaxReplayBytes);
    if (read.status != GfxFile::ReadStatus::Read || read.truncated)
        FatalError("The replay " + file + " could not be read.");
    std::istringstream in(read.bytes);
    ScriptReader reader(in);
    try {
        sWatch->settings = reader.ReadSettings();
        sWatch->player = ScriptPlayer(sWatch->settings.frameMs);
        while (const auto action = reader.Next()) sWatch->player.Add(*action);
    } catch (const ScriptError& error) {
        FatalError("The replay " + file + " could not be played: " + error.what());
    }
    UseVirtualClock(0, sWatch->settings.clockSeconds, sWatch->settings.day);
    gEngine->SetScriptedInputOnly(true);
    SetFrameHook(OnWatchLoop);
}

bool ReplayWatched() { return sWatch != nullptr; }

std::filesystem::path ReplaysFolder() { return gProgramFolder / "game" / "replays"; }

void StartRecording() {
    sReportedUnwritable = false;
    sRecorder = std::make_unique<ScriptRecorder>(
        GetTickCount(), ClockStartSeconds() + static_cast<double>(ClockElapsedMs()) / 1000.0, Today(), CommandLine());
    if (gEngine) gEngine->SetRecorder(sRecorder.get());
}

void RecordFrame() {
    if (sRecorder) sRecorder->Frame(GetTickCount());
}

void SaveLastReplay() {
    if (!sRecorder) return;
    if (gEngine) gEngine->SetRecorder(nullptr);
    const std::string text = sRecorder->Text();
    sRecorder.reset();
    const auto folder = ReplaysFolder();
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / "last.kws", ec))
        std::filesystem::rename(folder / "last.kws", folder / "previous.kws", ec);
    Write(folder / "last.kws", text);
}

void KeepHighScoreReplay(int32_t score) {
    if (!sRecorder) return;
    if (Write(ReplaysFolder() / (DateText() + "-" + std::to_string(score) + ".kws"), sRecorder->Text()))
        PruneScoreReplays();
}
