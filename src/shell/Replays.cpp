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
#include "base/Options.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "gfx/Script.h"
#include "gfx/ScriptRecorder.h"
#include "shell/CommandLine.h"
#include "shell/ScriptPlayer.h"
#include "shell/StartSettings.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "shell/modOptions.h"
#include "shell/modSettings.h"

namespace {
std::unique_ptr<ScriptRecorder> sRecorder;

struct Watch {
    std::string file;
    std::string ownCommandLine;  // the watcher's, back in force when play goes on live
    Controls ownControls;        // the watcher's, likewise
    std::istringstream bytes;    // the recording, read a frame ahead
    std::optional<ScriptReader> reader;
    ScriptSettings settings;
    ScriptPlayer player{16};
    bool inputDone = false;  // its end has been read
    bool playing = true;     // false once the player has stopped it
    bool paused = false;
};
std::unique_ptr<Watch> sWatch;  // set for the whole run once a replay was watched
// The runner's script and its name, for the run it makes.
const ScriptSettings* sRunnerScript = nullptr;
std::string sRunnerScriptName;
bool sReportedUnwritable = false;  // one line in the log per run, however many saves fail
// The longest the watch goes without reading the player's input, however long a recorded frame.
constexpr uint32_t AnswerSliceMs = 20;

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
    // Play goes on with the player's own settings, still never saved over by a run that watched.
    SetCommandLine(sWatch->ownCommandLine);
    gOptions.controls = sWatch->ownControls;
    LoadSettings();
    ForgetLoadedSettings();
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
    }
    // The pass waits until real time has caught up with the coming frame, and while paused; the
    // player's input is read in short slices meanwhile, so even an hour's frame answers at once.
    for (;;) {
        const uint64_t wait = watch.paused ? AnswerSliceMs : std::min<uint64_t>(VirtualClockLeadMs(), AnswerSliceMs);
        const auto input = gEngine->TakePlayerInput(static_cast<uint32_t>(wait));
        if (input.close) {
            gRunning = false;
            return;
        }
        for (const int32_t key : input.keys) {
            if (key == GfxKey::Escape) return StopWatching();
            if (key == GfxKey::P) watch.paused = !watch.paused;
        }
        if (watch.paused)
            RestartPacing();  // a frame may not run without its time passing
        else if (VirtualClockLeadMs() == 0)
            break;
    }
    while (!watch.inputDone && watch.player.WantsMore()) watch.inputDone = !watch.player.ReadOne(*watch.reader);
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
    Watch& watch = *sWatch;
    watch.file = file;
    const std::string problem = ScriptFileProblem(file);
    auto read = GfxFile::ReadBounded(file, MaxScriptBytes);
    if (!problem.empty() || read.status != GfxFile::ReadStatus::Read || read.truncated)
        FatalError("The replay " + file +
                   " could not be read: " + (problem.empty() ? "it changed while read" : problem) + ".");
    watch.bytes.str(std::move(read.bytes));
    try {
        CheckScript(watch.bytes);
        watch.reader.emplace(watch.bytes);
        watch.settings = watch.reader->ReadSettings();
        CheckStartSettings(watch.settings);
    } catch (const ScriptError& error) {
        FatalError("The replay " + file + " could not be played: " + error.what());
    }
    watch.player = ScriptPlayer(watch.settings.frameMs);
    // The recorded command line (Level=FILE) is the run's; the window stays as the watcher chose.
    watch.ownCommandLine = CommandLine();
    watch.ownControls = gOptions.controls;
    SetCommandLine(watch.settings.args);
    UseVirtualClock(0, watch.settings.clockSeconds, watch.settings.day);
    gEngine->SetScriptedInputOnly(true);
    SetFrameHook(OnWatchLoop);
}

bool ReplayWatched() { return sWatch != nullptr; }

void PlayScript(const ScriptSettings* settings, const std::string& name) {
    sRunnerScript = settings;
    sRunnerScriptName = name;
}

bool ScriptDrivesRun() { return (sWatch && sWatch->playing) || sRunnerScript; }

void StartFromScriptSettings() {
    const ScriptSettings* script = sWatch ? &sWatch->settings : sRunnerScript;
    if (script && !script->start.empty()) {
        const std::string refusal = ApplyStartSettings(*script);
        if (!refusal.empty())
            FatalError("The replay " + (sWatch ? sWatch->file : sRunnerScriptName) +
                       " could not be played: " + refusal + ".");
        ForgetLoadedSettings();  // the recorder's values, not this folder's: never saved over its own
        ForgetLoadedOptions();
    }
    if (sRecorder)
        for (const auto& [name, value] : CaptureStartSettings()) sRecorder->Start(name, value);
}

std::filesystem::path ReplaysFolder() { return gProgramFolder / "game" / "replays"; }

void StartRecording() {
    sReportedUnwritable = false;
    sRecorder = std::make_unique<ScriptRecorder>(
        ClockElapsedMs(), ClockStartSeconds() + static_cast<double>(ClockElapsedMs()) / 1000.0, Today(), CommandLine());
    if (gEngine) gEngine->SetRecorder(sRecorder.get());
}

void RecordFrame() {
    if (sRecorder) sRecorder->Frame(ClockElapsedMs());
}

void SaveLastReplay() {
    if (!sRecorder) return;
    if (gEngine) gEngine->SetRecorder(nullptr);
    const std::string text = sRecorder->Finish();
    sRecorder.reset();
    const auto folder = ReplaysFolder();
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / "last.kws", ec))
        std::filesystem::rename(folder / "last.kws", folder / "previous.kws", ec);
    Write(folder / "last.kws", text);
}

std::filesystem::path KeepHighScoreReplay(int32_t score, const std::filesystem::path& file) {
    if (!sRecorder) return file;
    const auto kept = file.empty() ? ReplaysFolder() / (DateText() + "-" + std::to_string(score) + ".kws") : file;
    if (Write(kept, sRecorder->Text())) PruneScoreReplays();
    return kept;
}
