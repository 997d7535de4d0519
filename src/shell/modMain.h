// SPDX-License-Identifier: GPL-3.0-or-later
// The program's spine: start-up, the frame loop and the orderly end.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "shell/GameFolder.h"

// Runs the whole program; answers the process exit code (0 orderly, 1 after an error box or a
// report that ends the program, or when another copy already runs in the same game folder).
int Main(const std::string& commandLine);
void RunGame();
// Ends the program in order: throws ExitSignal, which only Main catches; Main then saves the
// settings, deletes the unpacked files and releases everything. Never returns.
[[noreturn]] void ShutdownGame();
// Shows the "ERROR" box, then ends the program like ShutdownGame with exit code 1.
[[noreturn]] void FatalError(const std::string& message);
// ShutdownGame for a report that ends the program: exit code 1.
[[noreturn]] void ShutdownGameAfterError();
// True while Main runs the shutdown steps; a report or fatal error then no longer throws.
bool ShutdownInProgress();
// A report that ends the program from a destructor of a retired state cannot throw out of it;
// the end is taken as soon as the release is over.
bool InStateRelease();
void DeferEndAfterRelease();
void HandleMinimised();
void CheckDevice();

// The folder of the running program; the level tools find the game beside them.
std::filesystem::path ExecutableFolder();
// The game's folders as the running program (the game or a level tool) finds them: beside it, or
// the player's own folder and the installation's. Throws RuntimeError (76) like ChooseGameFolders.
GameFolders FindGameFolders();

// The command-line text the program was started with (for GetCommandLineValue).
const std::string& CommandLine();
void SetCommandLine(const std::string& commandLine);  // Main does this first

// Where the frame loop calls the hook; each call is followed by processing pending events, so
// events the hook injects arrive before the next frame's input handling.
enum class LoopPoint {
    BeforeFirstFrame,  // once, after RunGame's set-up
    AfterFrame,        // after each frame's EndFrame
    Minimised,         // each pass of the wait while the window is minimised
};
// The scripted runner uses this to advance the virtual clock and deliver its script. Empty in the game.
void SetFrameHook(std::function<void(LoopPoint)> hook);
