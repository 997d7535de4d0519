// The program's spine: start-up, the frame loop and the orderly end.
#pragma once

#include <string>

// Runs the whole program; answers the process exit code (0 orderly, 1 after an error box).
int Main(const std::string& commandLine);
void RunGame();
// Releases everything in order and ends the program: throws ExitSignal, never returns.
[[noreturn]] void ShutdownGame();
[[noreturn]] void FatalError(const std::string& message);
void HandleMinimised();
void CheckDevice();

// The command-line text the program was started with (for GetCommandLineValue).
const std::string& CommandLine();

// Called once per frame by the frame loop after EndFrame and event processing; the scripted
// runner uses it to advance the virtual clock and deliver its script. Empty in the game.
void SetFrameHook(void (*hook)());
