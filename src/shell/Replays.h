// The recording of the run and the replays kept in game/replays/: last.kws at every orderly end
// (the one before kept as previous.kws), and <date>-<score>.kws for each game that entered the
// top ten, the best MaxScoreReplays of them. A folder that cannot be written is logged once.
#pragma once

#include <cstdint>
#include <filesystem>

constexpr int MaxScoreReplays = 20;

std::filesystem::path ReplaysFolder();
// From start-up, once the engine exists, to SaveLastReplay; not while a replay is watched.
void StartRecording();
// At each pass of the frame loop, once the clock has stepped.
void RecordFrame();
// The run so far as last.kws; ends the recording.
void SaveLastReplay();
// The run so far as a top-ten game's replay; the lowest of more than MaxScoreReplays go.
void KeepHighScoreReplay(int32_t score);
