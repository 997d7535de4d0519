// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/World.h"

#include <memory>

#include "base/Globals.h"
#include "base/modError.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/AssetTable.h"
#include "shell/cBaseState.h"

namespace kwtest {

void EngineFixture::SetUp() {
    UseVirtualClock(m_Tick, m_TimeOfDay);
    GfxEngine::SetHeadless(true);
    gEngine = std::make_unique<GfxEngine>();
    gEngine->SetWorkingFolder(m_Folder.Root().string());
    ASSERT_TRUE(gEngine->Startup());
    ASSERT_TRUE(gEngine->InitializeDisplay());
}

void EngineFixture::TearDown() {
    if (gEngine) gEngine->Shutdown();
    gEngine.reset();
    UseRealClock();
}

void HeadlessGame::SetUp() {
    m_Folder.WritePicture(assets::kTitle, kTitleColour);
    m_Folder.WritePicture(assets::kButtonsRest, kButtonsColour);
    m_Folder.WritePicture(assets::kButtonsLit, kHighlitColour);
    m_Folder.WritePicture(assets::kBackOk, kBackOkColour);
    m_Folder.WritePicture(assets::kFade, 0xFF000000);
    m_Folder.WritePicture(assets::kText, TextTexel);
    m_Folder.WriteSounds();
    EngineFixture::SetUp();
    gSound = std::make_unique<cSound>();
    gTextures = std::make_unique<cTextures>();
    gSprites = std::make_unique<cSprites>();
    gMouse = std::make_unique<cMouse>();
    gRunning = gWindowed = true;
    gPaused = gInactive = false;
    gHighestLevel = 1;
    gCurrentLevel = 0;
    gMusicVolume = gSoundVolume = 80;
    OpenErrorLog();
}

void HeadlessGame::TearDown() {
    gCurrentState.reset();
    CloseErrorLog();
    ReleaseRetiredState();
    gMouse.reset();
    gSprites.reset();
    gTextures.reset();
    gSound.reset();
    EngineFixture::TearDown();
}

void HeadlessGame::Frame(uint32_t ms) {
    gEngine->GetDevice().BeginFrame();
    // Each operation is fetched afresh, as the frame loop does: a button may switch state.
    for (auto op : {&cBaseState::HandleInput, &cBaseState::ProcessState, &cBaseState::DrawState}) {
        if (gCurrentState) (gCurrentState.get()->*op)();
        ReleaseRetiredState();
    }
    gEngine->GetDevice().EndFrame();
    gEngine->PumpEvents();
    AdvanceVirtualClock(ms);
}

void HeadlessGame::RunFor(uint32_t ms, uint32_t frameMs) {
    for (uint32_t spent = 0; spent < ms; spent += frameMs) Frame(frameMs);
}

void HeadlessGame::TapKey(int32_t code) {
    gEngine->InjectKey(code, true);
    gEngine->PumpEvents();
    Frame();
    gEngine->InjectKey(code, false);
    gEngine->PumpEvents();
}

void HeadlessGame::ClickAt(float x, float y) {
    gMouse->X = x;
    gMouse->Y = y;
    Frame();
    gMouse->Button_Down(1);
    Frame();
    gMouse->Button_Up(1);
    Frame();
}

int32_t HeadlessGame::ClickSounds() { return gEngine->GetSoundStore().PlayCount(gSound->Sound("buttonclick.wav")); }

uint32_t HeadlessGame::PixelAt(float x, float y) {
    return gEngine->ReadPixel(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void BeginTestFrame() { gEngine->GetDevice().BeginFrame(); }
void EndTestFrame() { gEngine->GetDevice().EndFrame(); }

}  // namespace kwtest
