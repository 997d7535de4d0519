// SPDX-License-Identifier: GPL-3.0-or-later
// The game's world and its one order: the globals as a run starts, the engine and the shared
// services over it, and one pass of the frame loop over the current state. The game's start-up,
// the tests, the casual player's trials and the benchmarks all build their world here, so a change
// of start-up order is made once. A HeadlessWorld is that world without a window, on the virtual clock.
#pragma once

#include <cstdint>
#include <filesystem>

// The globals as every fresh run starts with them (a run may follow another in one process).
void ResetGlobals();
// The sound and texture registries, the sprite list and the mouse, in start-up's order.
void CreateSharedServices();
// A new engine reading from the program folder, started (with stand-ins for every picture, sound,
// tune and score table when asked: see GfxEngine::UseStandIns). False when SDL cannot start.
bool StartEngine(bool standIns = false);
// One pass over the current state: the frame begins, its input, update and drawing run (each
// fetched afresh, since an operation may switch state, whose old state is released only after
// the operation returned), the frame is shown.
void RunStatePass();

class HeadlessWorld final {
public:
    struct Options {
        std::filesystem::path folder;  // the program folder; empty keeps the one set
        uint32_t startTick = 100000;
        double timeOfDay = 12 * 3600.0;
        // No picture, sound, tune or score table is read or written: a world that only plays the
        // rules, as the casual player's trials do, needs no game folder and leaves nothing behind.
        bool standIns = false;
        bool errorLog = false;  // opens the folder's game/errors.log
    };
    explicit HeadlessWorld(const Options& options);
    // Released in the order the game's shutdown uses; back on the real clock and the program
    // folder that was set before.
    ~HeadlessWorld();
    HeadlessWorld(const HeadlessWorld&) = delete;
    HeadlessWorld& operator=(const HeadlessWorld&) = delete;

    bool Started() const { return m_Started; }  // the engine and its display are up
    // One pass of the frame loop, the window's events, then the virtual clock moves on.
    static void Frame(uint32_t ms = 16);

private:
    std::filesystem::path m_SavedFolder;
    bool m_ErrorLog;
    bool m_Started = false;
};
