// SPDX-License-Identifier: GPL-3.0-or-later
// The recording of the run and the replays kept in game/replays/: last.kws at every orderly end
// (the one before kept as previous.kws), and <date>-<score>.kws for each game that entered the
// top ten, the best MaxScoreReplays of them. A folder that cannot be written is logged once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct ScriptSettings;

constexpr int MaxScoreReplays = 20;

std::filesystem::path ReplaysFolder();
// At start-up, once the engine exists: with Replay=FILE on the command line, watching that
// recording (below), else StartRecording.
void StartReplays();
// From start-up to SaveLastReplay.
void StartRecording();
// Plays a recording back in the window at its recorded pace. The player's input is ignored but
// for Esc (back to the title, where play goes on live) and P (pause); a run that watched a replay
// never writes scores or settings. A file that cannot be played ends the program with a message.
void StartWatching(const std::string& file);
bool ReplayWatched();
// The runner's script for the run Main makes next (nullptr once it is over), named in messages.
void PlayScript(const ScriptSettings* settings, const std::string& name);
// Whether a script drives this run's input (the runner's, or a replay being watched): a level it
// cannot play then ends the run, rather than feed the level's inputs to the menus.
bool ScriptDrivesRun();
// Once the settings are loaded: the script's starting settings in their place (a recording whose
// level has changed ends the program with a message), and the recording's own.
void StartFromScriptSettings();
// At each pass of the frame loop, once the clock has stepped.
void RecordFrame();
// The run so far as last.kws; ends the recording.
void SaveLastReplay();
// The run so far as a top-ten game's replay, in `file` when one was kept for the game already;
// the lowest of more than MaxScoreReplays go. Answers the file, for the game's next keeping.
std::filesystem::path KeepHighScoreReplay(int32_t score, const std::filesystem::path& file = {});
