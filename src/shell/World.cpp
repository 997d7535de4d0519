// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/World.h"

#include <memory>

#include "base/Globals.h"
#include "base/Options.h"
#include "base/modError.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/cBaseState.h"
#include "shell/modOptions.h"
#include "shell/modSettings.h"

void ResetGlobals() {
    gRunning = false;
    gWindowed = true;
    gPaused = false;
    gInactive = false;
    gHighestLevel = DefaultHighestLevel;
    gCurrentLevel = 1;
    gMusicVolume = DefaultMusicVolume;
    gSoundVolume = DefaultSoundVolume;
    gOptions = GameOptions();
    ForgetLoadedSettings();
    ForgetLoadedOptions();
}

void CreateSharedServices() {
    gSound = std::make_unique<cSound>();
    gTextures = std::make_unique<cTextures>();
    gSprites = std::make_unique<cSprites>();
    gMouse = std::make_unique<cMouse>();
}

bool StartEngine(bool standIns) {
    gEngine = std::make_unique<GfxEngine>();
    gEngine->SetWorkingFolder(gProgramFolder.string() + "/");
    if (standIns) gEngine->UseStandIns();
    return gEngine->Startup();
}

void RunStatePass() {
    gEngine->GetDevice().BeginFrame();
    for (auto operation : {&cBaseState::HandleInput, &cBaseState::ProcessState, &cBaseState::DrawState}) {
        if (gCurrentState) (gCurrentState.get()->*operation)();
        ReleaseRetiredState();
    }
    gEngine->GetDevice().EndFrame();
}

HeadlessWorld::HeadlessWorld(const Options& options) : m_SavedFolder(gProgramFolder), m_ErrorLog(options.errorLog) {
    if (!options.folder.empty()) gProgramFolder = options.folder;
    ResetGlobals();
    UseVirtualClock(options.startTick, options.timeOfDay);
    CreateSharedServices();
    GfxEngine::SetHeadless(true);
    m_Started = StartEngine(options.standIns) && gEngine->InitializeDisplay();
    gRunning = true;
    if (m_ErrorLog) OpenErrorLog();
}

HeadlessWorld::~HeadlessWorld() {
    gMouse.reset();
    gEngine->Shutdown();
    gCurrentState.reset();
    ReleaseRetiredState();
    if (m_ErrorLog) CloseErrorLog();
    gSprites.reset();
    gTextures.reset();
    gSound.reset();
    gEngine.reset();
    gRunning = false;
    UseRealClock();
    gProgramFolder = m_SavedFolder;
}

void HeadlessWorld::Frame(uint32_t ms) {
    RunStatePass();
    gEngine->PumpEvents();
    AdvanceVirtualClock(ms);
}
