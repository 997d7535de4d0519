// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the frame loop and the orderly end. Ending the program anywhere throws ExitSignal,
// which only Main catches, so the shutdown steps run with no state operation left on the stack.
#include "shell/modMain.h"

#include <cstdlib>
#include <iostream>
#include <new>
#include <stdexcept>
#include <utility>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxInstanceLock.h"
#include "shell/AssetTable.h"
#include "shell/CommandLine.h"
#include "shell/GameFolder.h"
#include "shell/Replays.h"
#include "shell/World.h"
#include "shell/cBaseState.h"
#include "shell/frmMain.h"
#include "shell/modSettings.h"

namespace {
std::string sCommandLine;
std::function<void(LoopPoint)> sFrameHook;
bool sShuttingDown = false;

// Each pass of the frame loop: the runner's hook first (it steps the virtual clock and injects
// its input), then the real clock's one step, so every read of the clock within a frame agrees.
void LoopPointReached(LoopPoint point) {
    if (sFrameHook) sFrameHook(point);
    if (point == LoopPoint::BeforeFirstFrame)
        HoldFrameClock();  // the first frame starts where start-up began, as in the runner
    else
        StepFrameClock();
    RecordFrame();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void WireWindowEvents() {
    GfxWindowEvents events;
    events.MouseDown = [](int32_t button, int32_t shift, float x, float y) {
        if (gMainForm) gMainForm->MouseDown(button, shift, x, y);
    };
    events.MouseUp = [](int32_t button, int32_t shift, float x, float y) {
        if (gMainForm) gMainForm->MouseUp(button, shift, x, y);
    };
    events.MouseMove = [](int32_t button, int32_t shift, float x, float y) {
        if (gMainForm) gMainForm->MouseMove(button, shift, x, y);
    };
    events.Unload = [] {
        if (gMainForm) gMainForm->Unload();
    };
    events.Activation = [](bool active) {
        WindowProc(gMainForm ? gMainForm->WindowHandle() : 0, WM_ACTIVATEAPP, active ? 1 : 0, 0);
    };
    events.ToggleFullScreen = [] {
        if (gMainForm) gMainForm->ToggleFullScreen();
    };
    gEngine->SetWindowEvents(std::move(events));
}

void StartUp() {
    gWindowed = GetCommandLineValue("Windowed", ";") != "NO";

    gMainForm = std::make_unique<frmMain>();
    CreateSharedServices();

    HookWindow(gMainForm->WindowHandle());
    OpenErrorLog();

    StartEngine();  // a display that cannot open is reported below
    WireWindowEvents();
    StartReplays();

    UnpackArchives();

    if (!gEngine->GetDisplaySettings().IsModeAvailable(640, 480, 16, true))
        FatalError("Unable to initialize engine. Display mode is unavailable.");

    GfxDisplaySettings& settings = gEngine->GetDisplaySettings();
    settings.SetBitDepth(16);
    settings.SetValue(80);
    settings.SetFlag(false);
    settings.SetFlag(true);
    settings.SetFlag(true);
    settings.SetValue(32);
    settings.SetValue(60);
    settings.SetWidth(640);
    settings.SetHeight(480);
    settings.SetValue(0);
    settings.SetValue(0);
    settings.SetWindowed(gWindowed);
    settings.SetWindowHandleA(gMainForm->WindowHandle());
    settings.SetWindowHandleB(gMainForm->WindowHandle());

    if (!gEngine->InitializeDisplay()) FatalError("The DirectX interface could not be initialized.");
    RunGame();
    ShutdownGame();
}

// Main's handler for a fault that nothing else handled.
[[noreturn]] void UnknownError(int32_t number, const std::string& description) {
    const std::string text = "Unknow Error Occurred While Initializing. \r\n" + std::to_string(number) +
                             " Error Description: " + description;
    WriteErrorLog(text);
    FatalError(text);
}

template <typename Step>
void ShutdownStep(const char* what, Step step) {
    try {
        step();
    } catch (const std::exception& e) {
        std::cerr << "Kindlewisp: shutdown step '" << what << "' failed: " << e.what() << '\n';
    } catch (const ExitSignal&) {
        // The program is ending already.
    }
}

void RunShutdownSteps() {
    sShuttingDown = true;
    ReleaseRetiredState();
    ShutdownStep("mouse", [] { gMouse.reset(); });
    ShutdownStep("settings", [] { SaveProgress(); });
    ShutdownStep("unpacked files", [] { DeleteUnpackedFiles(); });
    ShutdownStep("window hook", [] { UnhookWindow(gMainForm ? gMainForm->WindowHandle() : gHookedWindow); });
    ShutdownStep("window", [] {
        if (gMainForm) gMainForm->Unload();
    });
    ShutdownStep("engine", [] {
        if (gEngine) gEngine->Shutdown();
    });
    ShutdownStep("state", [] {
        gCurrentState.reset();
        ReleaseRetiredState();
    });
    // After the state's release, which may keep a top-ten game's replay from the same recording.
    ShutdownStep("replay", [] { SaveLastReplay(); });
    // Closed only after the state's release, whose last write of the high-score table may fail
    // (a full disk, a read-only folder) and must still be logged.
    ShutdownStep("error log", [] { CloseErrorLog(); });
    ShutdownStep("sprites", [] { gSprites.reset(); });
    ShutdownStep("textures", [] { gTextures.reset(); });
    ShutdownStep("sounds", [] { gSound.reset(); });
    ShutdownStep("engine object", [] { gEngine.reset(); });
    ShutdownStep("main window", [] { gMainForm.reset(); });
    gRunning = false;
    sShuttingDown = false;
}
}  // namespace

int Main(const std::string& commandLine) {
    SetCommandLine(commandLine);
    ResetGlobals();
    if (!IsVirtualClock()) UseRealClock();
    if (gProgramFolder.empty()) {
        try {
            const GameFolders folders = FindGameFolders();
            PrepareGameFolder(folders);
            gProgramFolder = folders.program;
            if (folders.installed != folders.program) gInstalledFolder = folders.installed;
        } catch (const RuntimeError& e) {
            GfxEngine::MessageBox("Kindlewisp", e.what());
            return 1;
        }
    }

    // A second copy in the same folder would unpack over the first one's files and delete them
    // when it ends; it leaves before touching anything.
    GfxInstanceLock lock;
    if (lock.Acquire(gProgramFolder / "game" / "kindlewisp.lock") == GfxInstanceLock::Result::HeldElsewhere) {
        GfxEngine::MessageBox("Kindlewisp", "Kindlewisp is already running.");
        return 1;
    }

    int exitCode = 0;
    try {
        try {
            StartUp();
        } catch (const RuntimeError& e) {
            UnknownError(e.Number(), e.what());
        } catch (const std::bad_alloc&) {
            UnknownError(7, "Out of memory");
        } catch (const std::out_of_range& e) {
            UnknownError(9, e.what());
        } catch (const std::exception& e) {
            UnknownError(51, e.what());
        }
    } catch (const ExitSignal& signal) {
        exitCode = signal.exitCode;
    }
    RunShutdownSteps();
    return exitCode;
}

void RunGame() {
    LoadSettings();
    StartFromScriptSettings();
    // Level=FILE starts on that level file in place of the title.
    SetState(GetCommandLineValue("Level", ";").empty() ? StateTitle : StateLevelFile);
    gMainForm->SetupScreen();
    gMouse->Create_Mouse(std::string(assets::kSprites), assets::kCursor.x, assets::kCursor.y, assets::kCursor.w,
                         assets::kCursor.h);
    gRunning = true;
    LoopPointReached(LoopPoint::BeforeFirstFrame);
    if (sFrameHook) gEngine->PumpEvents();

    while (gRunning) {
        HandleMinimised();
        CheckDevice();
        RunStatePass();
        LoopPointReached(LoopPoint::AfterFrame);
        gEngine->PumpEvents();
    }
}

void ShutdownGame() { throw ExitSignal{0}; }

void ShutdownGameAfterError() { throw ExitSignal{1}; }

bool ShutdownInProgress() { return sShuttingDown; }

void FatalError(const std::string& message) {
    GfxEngine::MessageBox("ERROR", "The following error occurred: \r\n" + message);
    if (sShuttingDown) throw ExitSignal{1};  // caught by the shutdown step that raised it
    ShutdownGameAfterError();
}

void HandleMinimised() {
    if (!gEngine->IsMinimized()) return;
    gEngine->GetSoundStore().PauseAll();
    gEngine->GetMusic().StopMusic();
    gPaused = true;
    // Closing the window from the task bar while minimised must still end the game.
    while (gEngine->IsMinimized() && gRunning) {
        LoopPointReached(LoopPoint::Minimised);
        gEngine->PumpEvents();  // waits for an event while minimised, so this does not spin a core
    }
    gPaused = false;
    gEngine->GetSoundStore().ResumeAll();
    gEngine->GetMusic().PlayMusic(true, 0);
}

void CheckDevice() {
    if (gEngine->GetDevice().IsDeviceLost()) FatalError("Engine failed. Device is lost.");
}

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) return exe.parent_path();
    return std::filesystem::current_path(ec);
}

GameFolders FindGameFolders() {
    return ChooseGameFolders(ExecutableFolder(), Environment("XDG_DATA_HOME"), Environment("HOME"));
}

const std::string& CommandLine() { return sCommandLine; }

void SetCommandLine(const std::string& commandLine) { sCommandLine = commandLine; }

void SetFrameHook(std::function<void(LoopPoint)> hook) { sFrameHook = std::move(hook); }
