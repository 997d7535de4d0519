// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/World.h"

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "gfx/Gfx.h"
#include "shell/AssetTable.h"
#include "shell/cBaseState.h"

namespace kwtest {

void EngineFixture::SetUp() {
    m_World.emplace(HeadlessWorld::Options{
        .folder = m_Folder.Root(), .startTick = m_Tick, .timeOfDay = m_TimeOfDay, .errorLog = m_ErrorLog});
    ASSERT_TRUE(m_World->Started());
}

void HeadlessGame::SetUp() {
    m_Folder.WritePicture(assets::kTitle, kTitleColour);
    m_Folder.WritePicture(assets::kButtonsRest, kButtonsColour);
    m_Folder.WritePicture(assets::kButtonsLit, kHighlitColour);
    m_Folder.WritePicture(assets::kBackOk, kBackOkColour);
    m_Folder.WritePicture(assets::kOptions, 0x80402060);
    m_Folder.WritePicture(assets::kFade, 0xFF000000);
    m_Folder.WritePicture(assets::kText, TextTexel);
    m_Folder.WriteSounds();
    m_ErrorLog = true;
    EngineFixture::SetUp();
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
